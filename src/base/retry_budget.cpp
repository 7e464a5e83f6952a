#include "base/retry_budget.h"

#include <algorithm>

namespace wm {

bool RetryBudget::try_spend(Clock::time_point now) {
    std::erase_if(spent_, [&](Clock::time_point at) { return now - at >= span_; });
    if (spent_.size() >= limit_) return false;
    spent_.push_back(now);
    return true;
}

}  // namespace wm
