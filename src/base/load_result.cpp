#include "base/load_result.h"

#include <algorithm>

namespace wm {

std::chrono::milliseconds retry_delay(unsigned attempt) noexcept {
    constexpr std::chrono::milliseconds first{2000};
    constexpr std::chrono::milliseconds longest{60000};
    // Past five doublings the wait is already at its bound; no shift can overflow.
    return attempt >= 5 ? longest : std::min(longest, first * (1 << attempt));
}

}  // namespace wm
