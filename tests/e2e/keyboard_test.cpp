// The keyboard and the screen reader: the page has the focus where the user types, Tab and F6
// move between the page and the strip, the window's keys work from inside the page, and the
// strip is read out and sized by its font.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/page_case.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kOriginRoot[] = "https://wispermoth.app/";
constexpr char kLoginPage[] = "https://id.example.org/login";

HWND keyboard_focus(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

class Keyboard : public PageCase {
protected:
    void show_strip(std::string_view address = kLoginPage) {
        command(StandinCommand::set_source, address);
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return visible_child(window_, L"Button", L"Close"); }));
    }
    bool focus_reaches(HWND window, HWND expected) const {
        return poll_until(kEffectTimeout, [&] { return keyboard_focus(window) == expected; });
    }
};

struct StartCase {
    const char* name;
    const char* opener;  // the message that opens the window, or nothing for the main window
    bool restored;       // minimised and restored first
};

class FocusAtStart : public Keyboard, public testing::WithParamInterface<StartCase> {};

TEST_P(FocusAtStart, TheKeyboardIsInThePage) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND window = *GetParam().opener ? open_window(GetParam().opener) : window_;
    ASSERT_NE(window, nullptr);
    HWND page = wait_for_web_view(window);
    if (GetParam().restored) {
        ASSERT_TRUE(focus_reaches(window, page));
        ShowWindow(window, SW_MINIMIZE);
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsIconic(window); }));
        ShowWindow(window, SW_RESTORE);
    }
    EXPECT_TRUE(focus_reaches(window, page)) << keyboard_focus(window) << "\n" << standin_log().text();
}

INSTANTIATE_TEST_SUITE_P(Windows, FocusAtStart,
                         testing::Values(StartCase{"main", "", false}, StartCase{"extra", "window:/other", false},
                                         StartCase{"picker", "picker:/pick", false},
                                         StartCase{"restored", "", true}),
                         [](const auto& info) { return std::string(info.param.name); });

enum class Press { tab_in_page, shift_tab_in_page, f6_in_page, tab_on_close, f6_on_back };
enum class Target { back, close, page };

struct StripFocusCase {
    const char* name;
    std::vector<std::pair<Press, Target>> steps;
};

class StripFocus : public Keyboard, public testing::WithParamInterface<StripFocusCase> {};

// The strip stands before the page: Tab past either end wraps round into the other.
TEST_P(StripFocus, TabAndF6MoveBetweenThePageAndTheStrip) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(show_strip());
    HWND back = visible_child(window_, L"Button", L"Back to wispermoth");
    HWND close = visible_child(window_, L"Button", L"Close");
    for (const auto& [press, target] : GetParam().steps) {
        switch (press) {
        case Press::tab_in_page: command(StandinCommand::tab_out, "next"); break;
        case Press::shift_tab_in_page: command(StandinCommand::tab_out, "previous"); break;
        case Press::f6_in_page: command(StandinCommand::key, "0 117"); break;
        case Press::tab_on_close: PostMessageW(close, WM_KEYDOWN, VK_TAB, 1); break;
        case Press::f6_on_back: PostMessageW(back, WM_KEYDOWN, VK_F6, 1); break;
        }
        const HWND expected = target == Target::back ? back : target == Target::close ? close : web_view_;
        ASSERT_TRUE(focus_reaches(window_, expected)) << keyboard_focus(window_) << "\n" << standin_log().text();
    }
    // Left to the runtime, the focus would go wherever its own search found a window.
    for (const auto& result : payloads(standin_log().entries(), "move_focus_requested_result"))
        EXPECT_EQ(result, "handled=1");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StripFocus,
    testing::Values(
        StripFocusCase{"tab_past_the_page_reaches_the_first_button", {{Press::tab_in_page, Target::back}}},
        StripFocusCase{"shift_tab_before_the_page_reaches_the_last_button", {{Press::shift_tab_in_page, Target::close}}},
        StripFocusCase{"tab_past_the_last_button_enters_the_page",
                       {{Press::shift_tab_in_page, Target::close}, {Press::tab_on_close, Target::page}}},
        StripFocusCase{"f6_in_the_page_reaches_the_strip", {{Press::f6_in_page, Target::back}}},
        StripFocusCase{"f6_on_the_strip_returns_to_the_page",
                       {{Press::f6_in_page, Target::back}, {Press::f6_on_back, Target::page}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Keyboard, AltBInThePageGoesBack) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(show_strip());
    const auto before = payloads(standin_log().entries(), "navigate").size();
    command(StandinCommand::key, "2 66 alt");
    EXPECT_TRUE(standin_log().wait_until([&](const auto& entries) {
        return payloads(entries, "navigate").size() > before && last_payload(entries, "navigate") == kOriginRoot;
    })) << standin_log().text();
}

TEST_F(Keyboard, AltSpaceInThePageOpensTheSystemMenu) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::size_t from = standin_log().entries().size();
    command(StandinCommand::key, "2 32 alt");
    EXPECT_TRUE(wait_for_window_message("WM_INITMENUPOPUP system=1", from)) << standin_log().text();
}

TEST_F(Keyboard, AltF4InThePageClosesTheWindow) {
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::key, "2 115 alt");
    EXPECT_EQ(wait_for_exit(), 0u) << standin_log().text();
}

TEST_F(Keyboard, TheStripIsReadOutOncePerText) {
    ASSERT_NO_FATAL_FAILURE(open());
    const auto heard = [&] { return window_payloads(standin_log().entries(), window_, "live_region"); };
    ASSERT_NO_FATAL_FAILURE(show_strip());
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return heard().size() == 1; })) << standin_log().text();
    command(StandinCommand::set_source, "https://id.example.org/consent");  // the same origin
    command(StandinCommand::set_source, "https://other.example/");
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return heard().size() >= 2; })) << standin_log().text();
    EXPECT_EQ(heard(), (std::vector<std::string>{"https://id.example.org", "https://other.example"}));
}

TEST_F(Keyboard, TheStripComesBeforeThePageInReadingOrder) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(show_strip());
    std::vector<std::wstring> children;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(window_class(child));
    EXPECT_EQ(children, (std::vector<std::wstring>{L"Static", L"Button", L"Button", L"Button", L"wispermoth.content"}));
}

// Windows' "Make text bigger" enlarges the system's fonts: the strip follows its message font.
TEST_F(Keyboard, TheButtonsShowTheirWholeLabelsInAMessageFontTwiceAsLarge) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight *= 2;
    const std::wstring key = L"Control Panel\\Desktop\\WindowMetrics";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"MessageFont", REG_BINARY, &font, sizeof font),
              ERROR_SUCCESS);
    ASSERT_NO_FATAL_FAILURE(open());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"MessageFont");
    ASSERT_NO_FATAL_FAILURE(show_strip());

    HDC dc = GetDC(nullptr);
    HFONT large = CreateFontIndirectW(&font);
    const HGDIOBJ previous = SelectObject(dc, large);
    for (const wchar_t* label : {L"Back to wispermoth", L"Close"}) {
        SIZE text{};
        GetTextExtentPoint32W(dc, label, static_cast<int>(wcslen(label)), &text);
        RECT button{};
        GetClientRect(visible_child(window_, L"Button", label), &button);
        EXPECT_GT(button.right, text.cx) << label;
        EXPECT_GT(button.bottom, text.cy) << label;
    }
    SelectObject(dc, previous);
    DeleteObject(large);
    ReleaseDC(nullptr, dc);
}

}  // namespace
}  // namespace e2e
