#include "stats.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace bench {

Spread spread(std::vector<double> samples) {
    if (samples.empty()) throw std::runtime_error("no samples");
    std::sort(samples.begin(), samples.end());
    const std::size_t middle = samples.size() / 2;
    const double median =
        samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    return {median, samples.front(), samples.back()};
}

std::string format(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string format(const Spread& spread, int decimals) {
    return format(spread.median, decimals) + " (" + format(spread.min, decimals) + "–" +
           format(spread.max, decimals) + ")";
}

}  // namespace bench
