// A maximised window on a system with two monitors. Needs the two-monitor display of
// scripts/test.sh (wine_session.sh with two_monitors); elsewhere it is skipped.

#include <gtest/gtest.h>

#include <vector>

#include "driver/page_case.h"
#include "driver/windows.h"

namespace e2e {
namespace {

std::vector<MONITORINFO> monitors() {
    std::vector<MONITORINFO> found;
    EnumDisplayMonitors(
        nullptr, nullptr,
        [](HMONITOR monitor, HDC, LPRECT, LPARAM context) -> BOOL {
            MONITORINFO info{};
            info.cbSize = sizeof(info);
            if (GetMonitorInfoW(monitor, &info)) reinterpret_cast<std::vector<MONITORINFO>*>(context)->push_back(info);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

using TwoMonitors = PageCase;

TEST_F(TwoMonitors, AMaximisedWindowFillsTheWorkAreaOfTheMonitorItIsMovedTo) {
    const auto found = monitors();
    if (found.size() < 2) GTEST_SKIP() << "one monitor";
    ASSERT_NO_FATAL_FAILURE(open());
    MONITORINFO own{};
    own.cbSize = sizeof(own);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &own));
    const MONITORINFO& other = EqualRect(&found[0].rcMonitor, &own.rcMonitor) ? found[1] : found[0];

    post("max");
    ASSERT_TRUE(wait_for_scripts(1)) << standin_log().text();
    RECT client = client_rect_on_screen(window_);
    EXPECT_TRUE(EqualRect(&client, &own.rcWork)) << to_string(client) << " on " << to_string(own.rcWork);

    // What moving a maximised window to another monitor asks of it (Win+Shift+arrow): the other
    // monitor's area with the frame outside it, while the window still lies on the first.
    const RECT outer = window_rect(window_);
    const LONG frame = client.left - outer.left;
    RECT target = other.rcWork;
    InflateRect(&target, frame, frame);
    ASSERT_TRUE(SetWindowPos(window_, nullptr, target.left, target.top, target.right - target.left,
                             target.bottom - target.top, SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(IsZoomed(window_));
    client = client_rect_on_screen(window_);
    EXPECT_TRUE(EqualRect(&client, &other.rcWork)) << to_string(client) << " on " << to_string(other.rcWork);
}

}  // namespace
}  // namespace e2e
