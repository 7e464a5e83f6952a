#include "driver/report.h"

#include <algorithm>

namespace bench {

std::string Report::markdown() const {
    std::string text =
        "| measure | wispermoth | floor | ratio, median (min–max) | goal | met |\n"
        "|---|---|---|---|---|---|\n";
    // In the order of the measurements' numbers, whatever order they ran in.
    auto rows = rows_;
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.measure.front() < b.measure.front(); });
    for (const auto& row : rows)
        text += "| " + row.measure + " | " + row.shell + " | " + row.floor + " | " + row.ratio + " | " + row.goal +
                " | " + row.met + " |\n";
    if (!notes_.empty()) {
        text += "\n";
        for (const auto& note : notes_) text += "- " + note + "\n";
    }
    return text;
}

}  // namespace bench
