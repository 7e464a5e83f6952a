#pragma once
// Summaries of repeated samples: the machines are noisy, so every figure is a median with its
// minimum and maximum.

#include <string>
#include <vector>

namespace bench {

struct Spread {
    double median = 0;
    double min = 0;
    double max = 0;
};

// Throws when there are no samples.
Spread spread(std::vector<double> samples);

// "1.23 (1.10–1.40)" with the given number of decimals.
std::string format(const Spread& spread, int decimals);
std::string format(double value, int decimals);

}  // namespace bench
