#include "driver/report.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

namespace bench {

std::string Report::markdown() const {
    std::string text =
        "| measure | wispermoth | floor | ratio, median (min–max) | goal | met |\n"
        "|---|---|---|---|---|---|\n";
    // In the order of the measurements' numbers, whatever order they ran in; the rows of one
    // measurement in theirs (an index sort: libstdc++'s stable_sort trips Clang's deprecation warning).
    std::vector<std::size_t> order(rows_.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return std::pair(rows_[a].measure.front(), a) < std::pair(rows_[b].measure.front(), b);
    });
    for (const std::size_t index : order) {
        const Row& row = rows_[index];
        text += "| " + row.measure + " | " + row.shell + " | " + row.floor + " | " + row.ratio + " | " + row.goal +
                " | " + row.met + " |\n";
    }
    if (!notes_.empty()) {
        text += "\n";
        for (const auto& note : notes_) text += "- " + note + "\n";
    }
    return text;
}

}  // namespace bench
