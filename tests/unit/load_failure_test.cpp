#include "features/load_failure.h"

#include <gtest/gtest.h>

namespace wm {
namespace {

TEST(LoadFailure, SaysWhatHappenedAndWhetherTheShellTriesAgain) {
    struct Row {
        LoadResult result;
        AfterLoad after;
        std::string text;
    };
    const Row rows[] = {
        {{"https://wispermoth.app/", true, LoadError::none, 200}, AfterLoad::done, ""},
        {{"https://wispermoth.app/", false, LoadError::no_network, 0},
         AfterLoad::retry_by_itself,
         "wispermoth.app cannot be reached \u2014 no network"},
        // The origin's own server error is a failure; a foreign page's is its own affair.
        {{"https://chat.wispermoth.app/x", true, LoadError::none, 503},
         AfterLoad::retry_by_itself,
         "chat.wispermoth.app answered with an error (HTTP 503)"},
        {{"https://id.example.org/", true, LoadError::none, 503}, AfterLoad::done, ""},
        // A foreign host is not named: it could read as the application's.
        {{"https://wispermoth.app.evil.example/", false, LoadError::no_network, 0},
         AfterLoad::retry_by_itself,
         "This page cannot be reached \u2014 no network"},
        {{"https://wispermoth.app/", false, LoadError::certificate, 0},
         AfterLoad::wait_for_user,
         "wispermoth.app is not safe to open: its certificate is not valid"},
        {{"https://wispermoth.app/", false, LoadError::cancelled, 0}, AfterLoad::unchanged, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result.address + " " + std::to_string(row.result.http_status));
        const LoadVerdict verdict = judge_load(row.result);
        EXPECT_EQ(verdict.after, row.after);
        EXPECT_EQ(verdict.text, row.text);
    }
}

TEST(LoadFailure, RetriesWaitTwoSecondsDoublingToAMinute) {
    const std::pair<unsigned, long> rows[] = {{0, 2000}, {1, 4000}, {4, 32000}, {5, 60000}, {4000000000u, 60000}};
    for (const auto& [attempt, wait] : rows) EXPECT_EQ(retry_delay(attempt).count(), wait) << attempt;
}

}  // namespace
}  // namespace wm
