// Extra windows and the picker: opened by page messages, placed from the window that asked, peers
// of the main window in everything, and gone without a trace once closed.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "driver/page_case.h"
#include "driver/placement.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/window_messages.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kForeignPage[] = "https://example.com/";

std::string windows_changed(bool picker_open) {
    return std::string("shellWindowsChanged(") + (picker_open ? "true" : "false") + ")";
}

class ShellWindows : public PageCase {
protected:
    // Raises the message in the window's page and returns the window it opened, once its web view
    // exists; null when none opened in time.
    HWND open_from(HWND from, std::string_view message) const {
        const auto known = shell_windows(process_id());
        if (!send_command(wait_for_web_view(from), StandinCommand::post_message, message)) return nullptr;
        return wait_for_new_window(process_id(), known, standin_log());
    }

    void command_in(HWND window, StandinCommand command, std::string_view payload) const {
        ASSERT_TRUE(send_command(wait_for_web_view(window), command, payload)) << "refused: " << payload;
    }
    void post_in(HWND window, std::string_view message) const {
        command_in(window, StandinCommand::post_message, message);
    }

    std::vector<std::string> scripts_in(HWND window) const {
        return window_payloads(standin_log().entries(), window, "execute_script");
    }
    // Whether the window's page comes to have run exactly these scripts.
    bool runs_scripts(HWND window, const std::vector<std::string>& expected) const {
        return poll_until(kEffectTimeout, [&] { return scripts_in(window) == expected; });
    }

    bool closes(HWND window) const {
        return poll_until(kEffectTimeout, [&] { return !IsWindow(window); });
    }
};

TEST_F(ShellWindows, AWindowMessageOpensACascadedWindowOnThatPathOfTheOrigin) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(place_window(window_, {100, 50, {1000, 700}}));

    HWND second = open_from(window_, "window:/chat");
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(placement_of(second), (Placement{140, 90, {1000, 700}}));
    EXPECT_EQ(window_payloads(standin_log().entries(), second, "navigate"),
              std::vector<std::string>{"https://wispermoth.app/chat"});
    HWND third = open_from(second, "window:/");
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(placement_of(third), (Placement{180, 130, {1000, 700}}));

    for (const char* message : {"window:", "window:chat", "window://example.com/chat", "window:/a b"}) post(message);
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));
    EXPECT_EQ(shell_windows(process_id()).size(), 3u);

    // A minimised window has no inner area to cascade from.
    post_in(third, "min");
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsIconic(third) != FALSE; }));
    HWND fourth = open_from(third, "window:/x");
    ASSERT_NE(fourth, nullptr);
    EXPECT_EQ(client_size(fourth), (Size{1200, 800}));
}

TEST_F(ShellWindows, OnePickerAtItsOwnSizeIsBroughtForwardWhileOpenAndOpensAgainOnceClosed) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(place_window(window_, {100, 50, {1000, 700}}));

    HWND picker = open_from(window_, "picker:/pick");
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(placement_of(picker), (Placement{140, 90, {380, 620}}));

    ShowWindow(picker, SW_MINIMIZE);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsIconic(picker) != FALSE; }));
    post("picker:/other");
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return !IsIconic(picker) && GetForegroundWindow() == picker; }))
        << "minimised " << IsIconic(picker) << ", foreground " << GetForegroundWindow();
    post("picker:pick");
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));
    EXPECT_EQ(shell_windows(process_id()).size(), 2u);
    EXPECT_EQ(window_payloads(standin_log().entries(), picker, "navigate"),
              std::vector<std::string>{"https://wispermoth.app/pick"});

    post_in(picker, "close");
    ASSERT_TRUE(closes(picker));
    HWND again = open_from(window_, "picker:/pick");
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(client_size(again), (Size{380, 620}));
}

TEST_F(ShellWindows, ClosingOneTellsTheOthersWhetherThePickerIsOpenAndTheLastEndsTheProcess) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND first_extra = open_from(window_, "window:/a");
    HWND extra = open_from(window_, "window:/b");
    ASSERT_TRUE(first_extra && extra);

    PostMessageW(first_extra, WM_CLOSE, 0, 0);  // as Alt+F4 does
    ASSERT_TRUE(closes(first_extra));
    EXPECT_TRUE(runs_scripts(window_, {windows_changed(false)})) << standin_log().text();
    EXPECT_TRUE(runs_scripts(extra, {windows_changed(false)})) << standin_log().text();

    HWND picker = open_from(window_, "picker:/pick");
    ASSERT_NE(picker, nullptr);
    const auto saved_placement = state_file(L"window");
    post("close");
    ASSERT_TRUE(closes(window_));
    EXPECT_TRUE(runs_scripts(extra, {windows_changed(false), windows_changed(true)})) << standin_log().text();
    EXPECT_TRUE(runs_scripts(picker, {windows_changed(true)})) << standin_log().text();

    // Without the main window, no placement is saved.
    ASSERT_TRUE(place_window(extra, {333, 222, {700, 500}}));
    ASSERT_TRUE(settle(extra));
    EXPECT_EQ(state_file(L"window"), saved_placement);

    post_in(picker, "close");
    ASSERT_TRUE(closes(picker));
    EXPECT_TRUE(runs_scripts(
        extra, {windows_changed(false), windows_changed(true), "shellSaved('settled-1')", windows_changed(false)}))
        << standin_log().text();
    const auto scripts_before = payloads(standin_log().entries(), "execute_script");
    post_in(extra, "close");
    EXPECT_EQ(wait_for_exit(), 0u);
    EXPECT_EQ(payloads(standin_log().entries(), "execute_script"), scripts_before) << "told after the last close";
}

TEST_F(ShellWindows, AlwaysOnTopReachesEveryWindowAndALaterOneOpensOnTopWithItsStartUpInfo) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND extra = open_from(window_, "window:/a");
    HWND picker = open_from(window_, "picker:/p");
    ASSERT_TRUE(extra && picker);

    post("top:1");
    for (HWND window : {window_, extra, picker}) {
        EXPECT_TRUE(runs_scripts(window, {"shellTopState(true)"})) << standin_log().text();
        EXPECT_TRUE(is_topmost(window));
    }
    HWND later = open_from(extra, "window:/b");
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(is_topmost(later));
    const auto scripts = window_payloads(standin_log().entries(), later, "add_script");
    EXPECT_TRUE(std::any_of(scripts.begin(), scripts.end(), [](const std::string& s) {
        return s.find(",top:'0',") != std::string::npos;
    })) << standin_log().text();
}

TEST_F(ShellWindows, AForeignPageInAnExtraWindowCommandsNothing) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND extra = open_from(window_, "window:/a");
    ASSERT_NE(extra, nullptr);

    command_in(extra, StandinCommand::post_message_from, std::string(kForeignPage) + "\ttop:1");
    command_in(extra, StandinCommand::post_message_from, std::string(kForeignPage) + "\twindow:/b");
    command_in(extra, StandinCommand::post_message_from, std::string(kForeignPage) + "\tclose");
    ASSERT_TRUE(settle(extra, "after"));
    EXPECT_EQ(scripts_in(extra), std::vector<std::string>{"shellSaved('after')"});
    EXPECT_FALSE(is_topmost(extra));
    EXPECT_EQ(shell_windows(process_id()).size(), 2u);
    EXPECT_EQ(state_file(L"top"), std::nullopt);
}

TEST_F(ShellWindows, MessagesArrivingWhileAWindowIsBuiltWaitAndKeepTheirOrderAndSenders) {
    // The third web view's runtime answer is held back until the case lets it go.
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_HOLD_CONTROLLER", L"3"}}}));
    HWND extra = open_from(window_, "window:/a");
    ASSERT_NE(extra, nullptr);

    post("window:/b");
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) {
        return payloads(entries, "controller_created").size() == 3;
    })) << standin_log().text();
    // The shell now pumps messages while it waits: the pages' messages arrive meanwhile.
    command_in(extra, StandinCommand::post_message, "saved:one");
    command_in(extra, StandinCommand::post_message_from, std::string(kForeignPage) + "\ttop:1");
    post("saved:two");
    command_in(extra, StandinCommand::post_message, "saved:three");
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) {
        return last_payload(entries, "command") == "post_message saved:three";
    })) << standin_log().text();
    EXPECT_TRUE(scripts_in(window_).empty() && scripts_in(extra).empty()) << "handled during the wait";

    command(StandinCommand::release_controller, "");
    HWND built = wait_for_new_window(process_id(), {window_, extra}, standin_log());
    ASSERT_NE(built, nullptr);
    EXPECT_TRUE(runs_scripts(extra, {"shellSaved('one')", "shellSaved('three')"})) << standin_log().text();
    EXPECT_TRUE(runs_scripts(window_, {"shellSaved('two')"})) << standin_log().text();
    EXPECT_EQ(payloads(standin_log().entries(), "execute_script"),
              (std::vector<std::string>{"shellSaved('one')", "shellSaved('two')", "shellSaved('three')"}));
    EXPECT_FALSE(is_topmost(extra));
}

TEST_F(ShellWindows, LaterWindowsShareTheEnvironmentAndWorkOnceTheFirstHasClosed) {
    const auto navigated = [this](HWND window) {
        return poll_until(kEffectTimeout,
                          [&] { return !window_payloads(standin_log().entries(), window, "navigate").empty(); });
    };
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_TRUE(navigated(window_));

    HWND extra = open_from(window_, "window:/a");
    ASSERT_NE(extra, nullptr);
    ASSERT_TRUE(navigated(extra));

    post("close");
    ASSERT_TRUE(closes(window_));
    HWND later = open_from(extra, "window:/b");
    ASSERT_NE(later, nullptr);
    EXPECT_TRUE(settle(later));
    EXPECT_EQ(payloads(standin_log().entries(), "environment_created").size(), 1u) << standin_log().text();
}

TEST_F(ShellWindows, AClosedWindowReleasesItsRuntimeObjectsAndFiftyLeaveTheCountsWhereTheyWere) {
    ASSERT_NO_FATAL_FAILURE(open());
    const auto open_and_close = [&] {
        HWND window = open_from(window_, "window:/n");
        ASSERT_NE(window, nullptr);
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(closes(window));
    };
    // Whatever the first further window creates once for the process exists from now on.
    ASSERT_NO_FATAL_FAILURE(open_and_close());
    ASSERT_TRUE(settle(window_));
    const ProcessCounts before = process_counts(process_id());
    for (int i = 0; i < 50; ++i) ASSERT_NO_FATAL_FAILURE(open_and_close());
    ASSERT_TRUE(settle(window_));
    const ProcessCounts after = process_counts(process_id());
    EXPECT_EQ(after.windows, before.windows);
    EXPECT_GT(before.handles, 0u) << "the handle count could not be read";
    EXPECT_LE(after.handles, before.handles + 8);

    // Every web view but the main window's was released, controller and view alike.
    const auto entries = standin_log().entries();
    std::set<std::string> views;
    for (const auto& entry : entries)
        if (entry.event == "controller_created") views.insert(entry.view);
    ASSERT_EQ(views.size(), 52u);
    std::multiset<std::string> controllers, webviews;
    for (const auto& entry : entries) {
        if (entry.event == "controller_released") controllers.insert(entry.view);
        if (entry.event == "webview_released") webviews.insert(entry.view);
    }
    for (const auto& view : views) {
        const std::size_t expected = GetAncestor(window_from_hex(view), GA_ROOT) == window_ ? 0 : 1;
        EXPECT_EQ(controllers.count(view), expected) << view;
        EXPECT_EQ(webviews.count(view), expected) << view;
    }
}

}  // namespace
}  // namespace e2e
