// A window whose document fails to load, here a start without a network: the strip says so,
// moves the window, and the shell tries again until the application is back; and the loads that
// the shell leaves as they ended.

#include <gtest/gtest.h>

#include <algorithm>

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

// Documents answered as `STANDIN_ANSWER` says: a server's status, or an error.
class AnsweredLoad : public PageCase {
protected:
    std::size_t loads(std::string_view address) const {
        return std::ranges::count(window_payloads(standin_log().entries(), window_, "navigate"), address);
    }
    // No further load by the shell within its first retry's wait (2 s) and one more second.
    bool never_loaded_again(std::string_view address, std::size_t loaded) const {
        return !poll_until(std::chrono::seconds(3), [&] { return loads(address) > loaded; });
    }
};

constexpr char kAppPage[] = "https://wispermoth.app/";

// A 4xx is the server's answer: the application's 404 with no strip, a foreign sign-in's 401
// under the strip that names its origin; neither is loaded again.
TEST_F(AnsweredLoad, AServersErrorIsShownAsServedAndNotLoadedAgain) {
    constexpr char kLogin[] = "https://id.example.org/login";
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_ANSWER", L"https://wispermoth.app/ http:404\t"
                                                                        L"https://id.example.org/login http:401"}}}));
    EXPECT_TRUE(never_loaded_again(kAppPage, 1)) << standin_log().text();
    EXPECT_EQ(visible_child(window_, L"Static"), nullptr);
    command(StandinCommand::set_source, kLogin);
    EXPECT_TRUE(never_loaded_again(kLogin, 0)) << standin_log().text();
    EXPECT_EQ(window_title(visible_child(window_, L"Static")), L"https://id.example.org");
    EXPECT_NE(visible_child(window_, L"Button", L"Back to wispermoth"), nullptr);
}

// A captive portal answers with a certificate the browser refuses (CERTIFICATE_IS_INVALID).
TEST_F(AnsweredLoad, ARefusedCertificateIsSaidAndLoadedAgainOnlyWhenTheUserAsks) {
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"STANDIN_ANSWER", L"https://wispermoth.app/ error:5"}}}));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return visible_child(window_, L"Button", L"Try again"); }));
    EXPECT_EQ(window_title(visible_child(window_, L"Static")),
              L"wispermoth.app is not safe to open: its certificate is not valid");
    EXPECT_TRUE(never_loaded_again(kAppPage, 1)) << standin_log().text();
    SendMessageW(visible_child(window_, L"Button", L"Try again"), BM_CLICK, 0, 0);
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return loads(kAppPage) == 2; })) << standin_log().text();
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
