#pragma once
// A bound on automatic recovery: a page that crashes as it loads, or a browser process that dies
// at every start, must not be brought back for ever.

#include <chrono>
#include <cstddef>
#include <vector>

namespace wm {

// At most `limit` attempts within any `span` of time.
class RetryBudget {
public:
    using Clock = std::chrono::steady_clock;

    RetryBudget(std::size_t limit, Clock::duration span) : limit_(limit), span_(span) {}

    // Whether an attempt may be made at `now`; one that may is counted.
    bool try_spend(Clock::time_point now);

private:
    std::size_t limit_;
    Clock::duration span_;
    std::vector<Clock::time_point> spent_;  // the attempts still inside the span, oldest first
};

}  // namespace wm
