#include "features/load_failure.h"

#include <gtest/gtest.h>

#include "base/load_retries.h"

namespace wm {
namespace {

TEST(LoadFailure, SaysWhatHappenedAndWhetherTheShellTriesAgain) {
    struct Row {
        LoadResult result;
        AfterLoad after;
        std::string words;
    };
    constexpr auto retry = AfterLoad::retry_by_itself;
    const Row rows[] = {
        {{"https://wispermoth.app/", true, LoadError::none, 200}, AfterLoad::done, ""},
        {{"https://wispermoth.app/", false, LoadError::no_network, 0}, retry, "wispermoth.app cannot be reached \u2014 no network"},
        // User information never names the host.
        {{"https://evil.example@wispermoth.app/", false, LoadError::timed_out, 0}, retry,
         "wispermoth.app cannot be reached \u2014 no answer in time"},
        // The application's own server error is a failure, from 500 on.
        {{"https://chat.wispermoth.app/x", true, LoadError::none, 500}, retry,
         "chat.wispermoth.app answered with an error (HTTP 500)"},
        // A 4xx is the server's answer, wherever it comes from and whatever error comes with it;
        // a foreign 5xx its own affair; a page that stopped itself after a 200 is there.
        {{"https://wispermoth.app/gone", false, LoadError::unreachable, 404}, AfterLoad::done, ""},
        {{"https://id.example.org/", true, LoadError::none, 503}, AfterLoad::done, ""},
        {{"https://wispermoth.app/", false, LoadError::unreachable, 200}, AfterLoad::done, ""},
        {{"https://wispermoth.app/", false, LoadError::unreachable, 0}, retry, "wispermoth.app cannot be reached"},
        // A foreign page's words follow its origin on the strip, and it is never loaded again by itself.
        {{"https://wispermoth.app.evil.example/", false, LoadError::no_network, 0}, AfterLoad::left_to_user,
         "cannot be reached \u2014 no network"},
        {{"https://wispermoth.app/", false, LoadError::certificate, 0}, AfterLoad::retry_when_network_changes,
         "wispermoth.app is not safe to open: its certificate is not valid"},
        {{"https://wispermoth.app/", false, LoadError::cancelled, 0}, AfterLoad::unchanged, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result.address + " " + std::to_string(row.result.http_status));
        const LoadVerdict verdict = judge_load(row.result);
        EXPECT_EQ(verdict.after, row.after);
        EXPECT_EQ(verdict.words, row.words);
    }
}

TEST(LoadFailure, RetriesWaitTwoSecondsDoublingToAMinute) {
    const std::pair<unsigned, long> rows[] = {{0, 2000}, {1, 4000}, {4, 32000}, {5, 60000}, {4000000000u, 60000}};
    for (const auto& [attempt, wait] : rows) EXPECT_EQ(retry_delay(attempt).count(), wait) << attempt;
}

constexpr char kPage[] = "https://wispermoth.app/";
const LoadRetries::Clock::time_point kStart{};

// Each failure of the shell's own retries waits longer, until the network's report starts over.
TEST(LoadRetries, EachRetryWaitsLongerAndTheNetworkReportStartsOverAtMostOnceAMinute) {
    LoadRetries retries;
    for (const long wait : {2000, 4000, 8000, 16000, 32000, 60000, 60000}) {
        EXPECT_EQ(retries.ended(AfterLoad::retry_by_itself, kPage).wait.count(), wait);
        EXPECT_EQ(retries.timer_fired().load, kPage) << wait;
    }
    EXPECT_EQ(retries.timer_fired().load, "") << "one load of its own at a time";
    (void)retries.ended(AfterLoad::retry_by_itself, kPage);
    EXPECT_EQ(retries.network_changed(kStart).load, kPage);
    EXPECT_EQ(retries.ended(AfterLoad::retry_by_itself, kPage).wait.count(), 2000);
    EXPECT_EQ(retries.network_changed(kStart + std::chrono::seconds(59)).load, "");
    EXPECT_EQ(retries.network_changed(kStart + std::chrono::seconds(60)).load, kPage);
}

TEST(LoadRetries, WhoLoadsAFailedDocumentAgain) {
    struct Row {
        AfterLoad after;
        bool timer, network, user;  // whether a load follows the timer, the network's report, the user
    };
    const Row rows[] = {{AfterLoad::retry_by_itself, true, true, true},
                        {AfterLoad::retry_when_network_changes, false, true, true},
                        {AfterLoad::left_to_user, false, false, true},
                        {AfterLoad::done, false, false, false}};
    for (const Row& row : rows) {
        const auto loads = [&](LoadRetries::Plan (*event)(LoadRetries&)) {
            LoadRetries retries;
            (void)retries.ended(row.after, kPage);
            return event(retries).load == kPage;
        };
        EXPECT_EQ(loads([](LoadRetries& r) { return r.timer_fired(); }), row.timer) << static_cast<int>(row.after);
        EXPECT_EQ(loads([](LoadRetries& r) { return r.network_changed(kStart); }), row.network);
        EXPECT_EQ(loads([](LoadRetries& r) { return r.user_asked(); }), row.user);
    }
    LoadRetries certificate;  // once more at every report
    for (int report = 0; report < 3; ++report) {
        (void)certificate.ended(AfterLoad::retry_when_network_changes, kPage);
        EXPECT_EQ(certificate.network_changed(kStart).load, kPage) << report;
    }
}

TEST(LoadRetries, AnotherDocumentEndsTheFailureAndItsRetries) {
    LoadRetries retries;
    (void)retries.ended(AfterLoad::retry_by_itself, kPage);
    EXPECT_FALSE(retries.document_started(kPage).failure_gone) << "a retry of the same address";
    EXPECT_TRUE(retries.document_started("https://wispermoth.app/other").failure_gone);
    EXPECT_EQ(retries.timer_fired().load, "");
}

}  // namespace
}  // namespace wm
