// The strip a window shows while its page is not the application's: the origin, a way back, a
// way out and a title bar, with the page moved below it and given everything again on return.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "base/strip_layout.h"
#include "driver/page_case.h"
#include "driver/registry.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/text.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kOriginRoot[] = "https://wispermoth.app/";
constexpr char kLoginPage[] = "https://id.example.org/login?next=%2F";

// A child's rectangle in the window's client coordinates.
RECT rect_in_client(HWND window, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class AwayStrip : public PageCase {
protected:
    // The page goes elsewhere by itself, as through a link without a target.
    void leave_to(std::string_view address) { command(StandinCommand::set_source, address); }

    // Waits until the web view lies at `top` in the client area, its bounds the rest of it.
    bool page_starts_at(HWND window, LONG top) const {
        const Size client = client_size(window);
        const RECT expected{0, top, client.width, client.height};
        const std::string bounds = "0 0 " + std::to_string(client.width) + " " + std::to_string(client.height - top);
        HWND page = wait_for_web_view(window);
        return poll_until(kEffectTimeout, [&] {
            const RECT actual = rect_in_client(window, page);
            const auto logged = window_payloads(standin_log().entries(), window, "bounds");
            return EqualRect(&expected, &actual) && !logged.empty() && logged.back() == bounds;
        });
    }

    std::string page_rect(HWND window) const { return to_string(rect_in_client(window, wait_for_web_view(window))); }
};

TEST_F(AwayStrip, LeavingTheOriginShowsTheStripWithThePageBelowIt) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_EQ(visible_child(window_, L"Button"), nullptr);
    leave_to(kLoginPage);
    EXPECT_TRUE(page_starts_at(window_, 32)) << page_rect(window_) << "\n" << standin_log().text();
    EXPECT_NE(visible_child(window_, L"Button", L"Back to wispermoth"), nullptr);
    EXPECT_NE(visible_child(window_, L"Button", L"Close"), nullptr);
    EXPECT_EQ(visible_child(window_, L"Button", L"Try again"), nullptr);
}

// The shell reloads a page whose renderer died: a foreign page comes back with its strip.
TEST_F(AwayStrip, AForeignPageReloadedAfterACrashKeepsTheStrip) {
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to(kLoginPage);
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    command(StandinCommand::process_failed, "1");
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) { return !payloads(entries, "reload").empty(); }))
        << standin_log().text();
    EXPECT_NE(visible_child(window_, L"Button", L"Back to wispermoth"), nullptr);
    EXPECT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
}

TEST_F(AwayStrip, TheTextNamesTheOriginAndWarnsWithoutHttps) {
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to("http://id.example.org:8080/login?next=https://wispermoth.app/");
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    HWND text = visible_child(window_, L"Static");
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(window_title(text), L"Not secure: http://id.example.org:8080");
}

TEST_F(AwayStrip, BackNavigatesToTheOriginAndThePageGetsTheWholeClientAreaAgain) {
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to(kLoginPage);
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    HWND back = visible_child(window_, L"Button", L"Back to wispermoth");
    ASSERT_NE(back, nullptr);
    const auto before = payloads(standin_log().entries(), "navigate").size();

    SendMessageW(back, BM_CLICK, 0, 0);
    const auto entries = standin_log().wait_until([&](const auto& entries) {
        return payloads(entries, "navigate").size() > before && last_payload(entries, "source_changed") == kOriginRoot;
    });
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(last_payload(*entries, "navigate"), kOriginRoot);
    EXPECT_TRUE(page_starts_at(window_, 0)) << page_rect(window_);
    EXPECT_EQ(visible_child(window_, L"Button"), nullptr);
    EXPECT_EQ(visible_child(window_, L"Static"), nullptr);
}

TEST_F(AwayStrip, CloseClosesTheWindowAsThePagesCloseWould) {
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to(kLoginPage);
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    HWND close = visible_child(window_, L"Button", L"Close");
    ASSERT_NE(close, nullptr);
    SendMessageW(close, BM_CLICK, 0, 0);
    // The last window: the shell ends, as after a page's "close".
    EXPECT_EQ(wait_for_exit(), 0u) << standin_log().text();
}

TEST_F(AwayStrip, TheStripAroundItsControlsIsTheWindowsTitleBar) {
    ASSERT_NO_FATAL_FAILURE(open());
    const RECT client = client_rect_on_screen(window_);
    // Above the controls, in the middle of the width: the window itself, no control, is there.
    const POINT in_strip{(client.left + client.right) / 2, client.top + 2};
    const auto hit_test = [&] { return SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM(in_strip.x, in_strip.y)); };
    ASSERT_EQ(hit_test(), HTCLIENT) << "on the origin the page owns the top";

    leave_to(kLoginPage);
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    POINT local = in_strip;
    ScreenToClient(window_, &local);
    ASSERT_EQ(ChildWindowFromPointEx(window_, local, CWP_SKIPINVISIBLE), window_);
    EXPECT_EQ(hit_test(), HTCAPTION);
    // The origin's text takes most of the strip: the pointer goes through it to the title bar.
    const RECT text = window_rect(visible_child(window_, L"Static"));
    const LPARAM on_text = MAKELPARAM((text.left + text.right) / 2, (text.top + text.bottom) / 2);
    EXPECT_EQ(SendMessageW(visible_child(window_, L"Static"), WM_NCHITTEST, 0, on_text), HTTRANSPARENT);
    EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, on_text), HTCAPTION);
}

// The static control paints a text set while it shows inside WM_SETTEXT, unshortened: a second
// origin must still read as the first one did.
TEST_F(AwayStrip, AnOriginShownWhileTheStripIsUpIsPaintedElidedAsAtFirst) {
    const std::string look_alike = "https://wispermoth.app." + std::string(150, 'a') + ".attacker.example/";
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to(look_alike);
    ASSERT_TRUE(page_starts_at(window_, 32)) << page_rect(window_);
    HWND text = visible_child(window_, L"Static");
    std::vector<std::uint32_t> first;
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] {
        first = screen_pixels(window_rect(text));
        return !first.empty() && std::ranges::count(first, first.front()) != std::ssize(first);
    }));
    leave_to(kLoginPage);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return window_title(text) == L"https://id.example.org"; }));
    leave_to(look_alike);
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return screen_pixels(window_rect(text)) == first; }));
}

// The strip's text as the shell must draw it in a control of `size`: the origin elided by its rule
// (given back in `elided`), then a failure's words cut at their end, in the system's message font
// and the colours a window gives a static control.
std::vector<std::uint32_t> drawn_as_expected(SIZE size, const std::string& origin, const std::string& words,
                                             std::string& elided) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size.cx, -size.cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::uint32_t* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    SelectObject(dc, bitmap);
    SelectObject(dc, font);
    RECT area{0, 0, size.cx, size.cy};
    FillRect(dc, &area, GetSysColorBrush(COLOR_3DFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    const auto width = [dc](std::string_view text) {
        const std::wstring wide = widen(text);
        SIZE extent{};
        GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &extent);
        return std::int64_t{extent.cx};
    };
    elided = wm::elide_strip_text(origin, size.cx, width);
    constexpr UINT format = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    DrawTextW(dc, widen(elided).c_str(), -1, &area, format);
    area.left += static_cast<LONG>(width(elided));
    DrawTextW(dc, widen(words.empty() ? "" : " " + words).c_str(), -1, &area, format | DT_END_ELLIPSIS);
    GdiFlush();
    std::vector<std::uint32_t> pixels(bits, bits + static_cast<std::ptrdiff_t>(size.cx) * size.cy);
    DeleteDC(dc);
    DeleteObject(bitmap);
    DeleteObject(font);
    return pixels;
}

// Read from the screen: a look-alike host cut on its left so that its real end shows, with and
// without https, a failure's words after the origin, never in its place, and a short host whole.
TEST_F(AwayStrip, TheOriginIsDrawnWithItsHostCutOnTheLeftAndAFailuresWordsAfterIt) {
    // Its name not found; then stopped by the page itself (OPERATION_CANCELED), which ends nothing.
    constexpr char kUnreachable[] = "https://id.example.org:8443/";
    constexpr char kStopped[] = "https://id.example.org/stopped";
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_ANSWER", widen(kUnreachable) + L" error:13\t" +
                                                                        widen(kStopped) + L" error:14"}}}));
    const std::string look_alike = "wispermoth.app." + std::string(150, 'a');
    const std::vector<std::vector<std::string>> rows = {  // address, origin, words
        {"https://" + look_alike + ".attacker.example/", "https://" + look_alike + ".attacker.example", ""},
        {"http://" + look_alike + ".example:8080/x", "Not secure: http://" + look_alike + ".example:8080", ""},
        {kUnreachable, "https://id.example.org:8443", "cannot be reached \u2014 its name was not found"},
        {kStopped, "https://id.example.org", ""},  // the words go with their document
    };
    for (const auto& row : rows) {
        leave_to(row[0]);
        const std::string whole = row[1] + (row[2].empty() ? "" : " " + row[2]);
        HWND text = nullptr;
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] {
            return (text = visible_child(window_, L"Static")) && narrow(window_title(text)) == whole;
        })) << whole;
        const RECT rect = window_rect(text);
        std::string elided;
        const auto expected = drawn_as_expected({rect.right - rect.left, rect.bottom - rect.top}, row[1], row[2], elided);
        EXPECT_EQ(elided != row[1], row[1].size() > 100) << elided;  // the look-alikes are cut
        EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return screen_pixels(rect) == expected; })) << elided;
    }
}

// A page can send its window to a host of any length: the strip must not freeze the shell.
TEST_F(AwayStrip, AVeryLongHostIsShownWithoutHoldingUpTheWindow) {
    ASSERT_NO_FATAL_FAILURE(open());
    const auto started = std::chrono::steady_clock::now();
    leave_to("https://" + std::string(30000, 'x') + ".example/");
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return visible_child(window_, L"Static") != nullptr; }));
    Sleep(300);  // the strip's first painting starts
    DWORD_PTR hit = 0;
    ASSERT_TRUE(SendMessageTimeoutW(window_, WM_NCHITTEST, 0, 0, SMTO_BLOCK, 20000, &hit));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// Held back here by a further window waiting for its web view, the page-replaced event cannot
// take the page's snap window away: the strip must do it as it shows.
TEST_F(AwayStrip, TheStripIsTheTitleBarAtOnceThoughThePageHadSentASnapRectangle) {
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_HOLD_CONTROLLER", L"2"}}}));
    post("snap:-50 -50 100000 100000");
    ASSERT_NO_FATAL_FAILURE(handled_through("snap"));
    post("window:/other");
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) {
        return !payloads(entries, "controller_held").empty();
    })) << standin_log().text();

    leave_to(kLoginPage);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return visible_child(window_, L"Button", L"Close") != nullptr; }));
    const RECT client = client_rect_on_screen(window_);
    EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, MAKELPARAM((client.left + client.right) / 2, client.top + 2)),
              HTCAPTION);
    // Nor does the old page's rectangle lie over the new page.
    EXPECT_EQ(window_class(ChildWindowFromPointEx(window_, {600, 400}, CWP_SKIPINVISIBLE)), L"wispermoth.content");
    command(StandinCommand::release_controller, "");
}

// Made when first needed: the web view's host is the only child of a window whose page stays on
// the origin and sends no snap rectangle.
TEST_F(AwayStrip, AWindowWhosePageStaysOnTheOriginHasNoStripControls) {
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to("https://wispermoth.app/elsewhere");
    ASSERT_NO_FATAL_FAILURE(handled_through("moved"));
    std::vector<std::wstring> children;
    for (HWND child = GetWindow(window_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(window_class(child));
    EXPECT_EQ(children, std::vector<std::wstring>{L"wispermoth.content"});
}

TEST_F(AwayStrip, At144DpiTheStripIs48PixelsHigh) {
    const ScopedDword dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", 144);
    ASSERT_NO_FATAL_FAILURE(open());
    leave_to(kLoginPage);
    EXPECT_TRUE(page_starts_at(window_, 48)) << page_rect(window_) << "\n" << standin_log().text();
}

TEST_F(AwayStrip, ThePickersPageOnTheOriginHasItsWholeInnerSize) {
    ASSERT_NO_FATAL_FAILURE(open());
    HWND picker = open_window("picker:/pick");
    ASSERT_NE(picker, nullptr);
    ASSERT_TRUE(standin_log().wait_until([&](const auto& entries) {
        return !window_payloads(entries, picker, "source_changed").empty();
    })) << standin_log().text();
    EXPECT_EQ(client_size(picker), (Size{380, 620}));
    EXPECT_TRUE(page_starts_at(picker, 0)) << page_rect(picker);
    EXPECT_EQ(visible_child(picker, L"Button"), nullptr);
}

}  // namespace
}  // namespace e2e
