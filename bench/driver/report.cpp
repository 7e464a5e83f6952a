#include "driver/report.h"

namespace bench {

std::string Report::markdown() const {
    std::string text =
        "| measure | wispermoth | floor | ratio, median (min–max) | goal | met |\n"
        "|---|---|---|---|---|---|\n";
    for (const auto& row : rows_)
        text += "| " + row.measure + " | " + row.shell + " | " + row.floor + " | " + row.ratio + " | " + row.goal +
                " | " + row.met + " |\n";
    if (!notes_.empty()) {
        text += "\n";
        for (const auto& note : notes_) text += "- " + note + "\n";
    }
    return text;
}

}  // namespace bench
