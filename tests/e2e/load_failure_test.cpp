// A window whose document fails to load, here a start without a network: the strip says so,
// moves the window, and the shell tries again until the application is back.

#include <gtest/gtest.h>

#include "driver/page_case.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/wait.h"
#include "driver/windows.h"

namespace e2e {
namespace {

class LoadFailure : public PageCase {
protected:
    void SetUp() override {
        PageCase::SetUp();
        ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_NO_NETWORK", L"1"}}}));
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return visible_child(window_, L"Button", L"Try again"); }))
            << standin_log().text();
    }

    std::size_t loads() const { return window_payloads(standin_log().entries(), window_, "navigate").size(); }
};

TEST_F(LoadFailure, AStartWithoutNetworkSaysSoAndOffersTryAgainAndClose) {
    EXPECT_EQ(window_title(visible_child(window_, L"Static")), L"wispermoth.app cannot be reached \u2014 no network");
    EXPECT_NE(visible_child(window_, L"Button", L"Close"), nullptr);
    EXPECT_EQ(visible_child(window_, L"Button", L"Back to wispermoth"), nullptr);
}

TEST_F(LoadFailure, TheStripMovesTheWindowOverItsText) {
    HWND text = visible_child(window_, L"Static");
    const RECT rect = window_rect(text);
    const LPARAM on_text = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    EXPECT_EQ(SendMessageW(text, WM_NCHITTEST, 0, on_text), HTTRANSPARENT);
    EXPECT_EQ(SendMessageW(window_, WM_NCHITTEST, 0, on_text), HTCAPTION);
}

TEST_F(LoadFailure, TheShellTriesAgainByItself) {
    const std::size_t first = loads();
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return loads() > first; })) << standin_log().text();
    EXPECT_NE(visible_child(window_, L"Button", L"Try again"), nullptr);  // still offline
}

TEST_F(LoadFailure, WithTheNetworkBackTheApplicationReturnsByItself) {
    command(StandinCommand::network_back, "");
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] {
        return visible_child(window_, L"Button") == nullptr && visible_child(window_, L"Static") == nullptr;
    })) << standin_log().text();
    const RECT page = window_rect(wait_for_web_view(window_));
    EXPECT_EQ(page.top, client_rect_on_screen(window_).top);
}

// The runtime ends a navigation that became a download unsuccessful, with no document: the page
// is still there, and the download (the update) must not be fetched again and again.
class DownloadNavigation : public PageCase {};

TEST_F(DownloadNavigation, ShowsNoStrip) {
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::download, "\t\tinterrupted");
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) {
        return last_payload(entries, "navigation_completed") == "success=0 status=9";
    })) << standin_log().text();
    ASSERT_NO_FATAL_FAILURE(handled_through("after the download"));
    EXPECT_EQ(visible_child(window_, L"Button"), nullptr);
}

}  // namespace
}  // namespace e2e
