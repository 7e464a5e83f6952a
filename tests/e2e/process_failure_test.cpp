// The runtime's processes can die under the shell: a page whose renderer went is reloaded, and
// when the browser process itself goes, every window gets a new web view on the page it showed,
// with the same scripts and the same answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/log.h"
#include "driver/page_case.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/wait.h"

namespace e2e {
namespace {

constexpr char kRoom[] = "https://wispermoth.app/room";

struct FailureCase {
    const char* name;
    int kind;      // COREWEBVIEW2_PROCESS_FAILED_KIND
    bool reloads;  // whether the page is reloaded
};

class PageProcessFailure : public PageCase, public testing::WithParamInterface<FailureCase> {};

TEST_P(PageProcessFailure, ReloadsThePageWhenItsRendererWentAndLeavesHelpersToTheRuntime) {
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::set_source, kRoom);
    command(StandinCommand::process_failed, std::to_string(GetParam().kind));
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));
    const auto entries = standin_log().entries();
    EXPECT_EQ(payloads(entries, "reload"), GetParam().reloads ? std::vector<std::string>{kRoom} : std::vector<std::string>{});
    EXPECT_EQ(payloads(entries, "environment_created").size(), 1u);
    EXPECT_EQ(payloads(entries, "controller_created").size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageProcessFailure,
                         testing::Values(FailureCase{"render_process_exited", 1, true},
                                         FailureCase{"render_process_unresponsive", 2, true},
                                         FailureCase{"utility_process_exited", 4, false},
                                         FailureCase{"gpu_process_exited", 6, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A page that crashes its renderer as it loads would otherwise be reloaded for ever, and a
// browser process that dies at every start rebuilt for ever.
using CrashLoop = PageCase;

TEST_F(CrashLoop, RecoveryStopsAfterThreeInAMinuteAndTheWindowStillCloses) {
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::set_source, kRoom);
    for (int i = 0; i < 5; ++i) command(StandinCommand::process_failed, "1");
    ASSERT_NO_FATAL_FAILURE(handled_through("after reloads"));
    EXPECT_EQ(payloads(standin_log().entries(), "reload").size(), 3u);

    for (std::size_t failures = 1; failures <= 4; ++failures) {
        HWND web_view = wait_for_web_view(window_);
        ASSERT_NE(web_view, nullptr) << "no web view after " << failures - 1 << " failures";
        ASSERT_TRUE(send_command(web_view, StandinCommand::process_failed, "0"));
        // Once the shell's handler has returned, the rebuild is queued before anything the case
        // posts later.
        ASSERT_TRUE(standin_log().wait_until([&](const auto& entries) {
            return payloads(entries, "browser_exited").size() == failures;
        })) << standin_log().text();
        if (failures < 4) {
            ASSERT_TRUE(standin_log().wait_until([&](const auto& entries) {
                return payloads(entries, "navigate").size() == failures + 1;
            })) << standin_log().text();
        }
    }
    PostMessageW(window_, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(), 0u);
    EXPECT_EQ(payloads(standin_log().entries(), "controller_created").size(), 4u) << "one first, three rebuilt";
}

using BrowserProcessFailure = PageCase;

TEST_F(BrowserProcessFailure, EveryWindowGetsANewWebViewOnThePageItShowedThatAnswersAsBefore) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND second = open_window("window:/second");
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(send_command(wait_for_web_view(second), StandinCommand::set_source, kRoom));
    const std::vector<std::string> scripts_before = window_payloads(standin_log().entries(), window_, "add_script");
    ASSERT_EQ(scripts_before.size(), 3u);

    command(StandinCommand::process_failed, "0");
    const auto rebuilt = standin_log().wait_until([&](const auto& entries) {
        return window_payloads(entries, window_, "navigate").size() == 2 &&
               window_payloads(entries, second, "navigate").size() == 2;
    });
    ASSERT_TRUE(rebuilt) << standin_log().text();
    EXPECT_EQ(payloads(*rebuilt, "environment_created").size(), 2u) << "one new environment for both windows";
    EXPECT_EQ(window_payloads(*rebuilt, window_, "navigate").back(), "https://wispermoth.app/");
    EXPECT_EQ(window_payloads(*rebuilt, second, "navigate").back(), kRoom);
    for (HWND window : {window_, second}) {
        std::vector<std::string> twice = scripts_before;
        twice.insert(twice.end(), scripts_before.begin(), scripts_before.end());
        EXPECT_EQ(window_payloads(*rebuilt, window, "add_script"), twice);
    }

    // The new web views carry the page's messages and the shell's answers.
    web_view_ = wait_for_web_view(window_);
    ASSERT_NE(web_view_, nullptr);
    const std::size_t before = standin_log().entries().size();
    ASSERT_TRUE(send_command(wait_for_web_view(second), StandinCommand::post_message, "top:1"));
    const auto answered = standin_log().wait_until([&](const auto& entries) {
        const std::vector<StandinEntry> later(entries.begin() + static_cast<long>(before), entries.end());
        return window_payloads(later, window_, "execute_script") == std::vector<std::string>{"shellTopState(true)"} &&
               window_payloads(later, second, "execute_script") == std::vector<std::string>{"shellTopState(true)"};
    });
    EXPECT_TRUE(answered) << standin_log().text();
    EXPECT_EQ(shell_windows(process_id()).size(), 2u);
}

}  // namespace
}  // namespace e2e
