#include "base/retry_budget.h"

#include <gtest/gtest.h>

#include <vector>

namespace wm::host {
namespace {

using namespace std::chrono_literals;

TEST(RetryBudget, AllowsThreeAttemptsInAnySixtySeconds) {
    struct Case {
        const char* label;
        std::vector<RetryBudget::Clock::duration> attempts;  // since the start
        std::vector<bool> allowed;
    };
    const Case cases[] = {
        {"three at once, then no more", {0s, 0s, 0s, 0s, 59s}, {true, true, true, false, false}},
        {"a slot frees sixty seconds after its attempt", {0s, 1s, 2s, 60s, 60s}, {true, true, true, true, false}},
        {"refusals spend nothing", {0s, 1s, 2s, 30s, 45s, 61s}, {true, true, true, false, false, true}},
        {"slow failures are always recovered", {0s, 30s, 60s, 90s, 120s, 150s}, {true, true, true, true, true, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        RetryBudget budget(3, 60s);
        const RetryBudget::Clock::time_point start{};
        std::vector<bool> allowed;
        for (const auto at : c.attempts) allowed.push_back(budget.try_spend(start + at));
        EXPECT_EQ(allowed, c.allowed);
    }
}

}  // namespace
}  // namespace wm::host
