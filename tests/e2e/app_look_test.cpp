// How the shell's windows look and behave from their first frame: the application's one zoom,
// the colour before the page paints, and an application's menu rather than a browser tab's.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/files.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/state_case.h"

namespace e2e {
namespace {

const std::wstring kPersonalizeKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The entries of the latest shell process: those after its environment was created.
std::vector<StandinEntry> latest_start(std::vector<StandinEntry> entries) {
    const auto start = std::find_if(entries.rbegin(), entries.rend(),
                                    [](const StandinEntry& e) { return e.event == "environment_created"; });
    entries.erase(entries.begin(), start.base());
    return entries;
}

// The payload of the first `event` of the latest start, and whether it came before the first
// navigation.
std::string before_navigation(const std::vector<StandinEntry>& entries, std::string_view event) {
    for (const auto& entry : latest_start(entries)) {
        if (entry.event == "navigate") return "(after the navigation)";
        if (entry.event == event) return entry.payload;
    }
    return "(none)";
}

using AppLook = StateCase;

TEST_F(AppLook, TheUsersZoomReachesEveryWindowAndTheNextStart) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    HWND view = wait_for_web_view(window);
    ASSERT_TRUE(post_page_message(window, "window:/b")) << standin_log().text();
    HWND second = wait_for_new_window(process_id(), {window}, standin_log());
    ASSERT_NE(second, nullptr);

    ASSERT_TRUE(send_command(view, StandinCommand::zoom, "1.5"));
    // The default of every window, the zoomed one's too: the runtime takes a user's zoom back at
    // the page's next load.
    EXPECT_TRUE(standin_log().wait_until([&](const auto& entries) {
        return window_payloads(entries, window, "zoom").back() == "1.5" &&
               window_payloads(entries, second, "zoom").back() == "1.5";
    })) << standin_log().text();
    EXPECT_TRUE(wait_for_content(app_file(L"zoom"), "1.5"));
    ASSERT_TRUE(send_command(view, StandinCommand::reload, ""));
    // Another site's zoom is that page's alone.
    const HWND second_view = wait_for_web_view(second);
    ASSERT_TRUE(send_command(second_view, StandinCommand::set_source, "https://example.com/"));
    ASSERT_TRUE(send_command(second_view, StandinCommand::zoom, "3"));
    ASSERT_TRUE(settle(window)) << standin_log().text();
    EXPECT_EQ(window_payloads(standin_log().entries(), second, "zoom").back(), "1.5");
    EXPECT_EQ(read_file(app_file(L"zoom")), "1.5");

    PostMessageW(second, WM_CLOSE, 0, 0);
    ASSERT_TRUE(close_shell(window));
    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(before_navigation(standin_log().entries(), "zoom"), "1.5");
}

TEST_F(AppLook, TheFirstFrameIsDarkInADarkThemeAndThenThePagesOwnColour) {
    const ScopedDword dark(HKEY_CURRENT_USER, kPersonalizeKey, L"AppsUseLightTheme", 0);
    ASSERT_NE(start_shell({.variables = {{L"STANDIN_PAGE_COLOUR", L"rgb(16, 32, 48)"}}}), nullptr);
    // The controller's first colour, before it can be put.
    EXPECT_EQ(before_navigation(standin_log().entries(), "initial_background"), "FF202020");
    // Learned once the application's document has loaded.
    EXPECT_TRUE(wait_for_content(app_file(L"background"), "#102030"));
    ASSERT_TRUE(close_shell(wait_for_shell_window()));

    ASSERT_NE(start_shell(), nullptr);
    EXPECT_EQ(before_navigation(standin_log().entries(), "initial_background"), "FF102030");
}

TEST_F(AppLook, NoSwipeNavigationAndTheMenuKeepsOnlyWhatAChatUserUses) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(before_navigation(standin_log().entries(), "swipe_navigation"), "0");
    ASSERT_TRUE(send_command(wait_for_web_view(window), StandinCommand::context_menu,
                             "back forward reload - cut copy paste selectAll - spellCheck emoji - copyLinkLocation "
                             "copyImage saveImageAs - saveAs print share cast webCapture - viewPageSource "
                             "inspect"));
    const auto entries = standin_log().wait_until(
        [](const auto& entries) { return last_payload(entries, "context_menu_result").has_value(); });
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(last_payload(*entries, "context_menu_result"),
              "cut copy paste selectAll - spellCheck emoji - copyLinkLocation copyImage saveImageAs");
}

}  // namespace
}  // namespace e2e
