// The page's own maximise button answered as the window's: the "snap:" rectangle, the
// hit-testing that Windows 11's snap layouts follow, and what the page hears of the pointer.
// The flyout itself is drawn by Windows 11 and cannot be seen under Wine.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/log.h"
#include "driver/page_case.h"
#include "driver/pointer.h"
#include "driver/standin.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kSnapMessage[] = "snap:1100 0 40 32";
// Client points at 96 DPI, inside the rectangle and beside it on either axis.
constexpr POINT kInside{1120, 16};
constexpr POINT kOutside[] = {{1099, 16}, {1140, 16}, {1120, 32}, {600, 400}};

POINT on_screen(HWND window, POINT client) {
    (void)ClientToScreen(window, &client);
    return client;
}

LRESULT hit_test(HWND window, POINT screen) {
    return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
}

// What the page heard through shellSnapState, in order.
std::vector<std::string> snap_states(const std::vector<std::string>& scripts) {
    std::vector<std::string> states;
    for (const auto& script : scripts)
        if (script.starts_with("shellSnapState(")) states.push_back(script);
    return states;
}

class SnapArea : public PageCase {
protected:
    // The hit-test answers at the case's points before any rectangle.
    void SetUp() override {
        PageCase::SetUp();
        ASSERT_NO_FATAL_FAILURE(open());
        ASSERT_EQ(GetDpiForWindow(window_), 96u);
        inside_before_ = hit_test(window_, on_screen(window_, kInside));
        for (const POINT point : kOutside) outside_before_.push_back(hit_test(window_, on_screen(window_, point)));
    }

    void post_and_settle(std::string_view message) {
        post(message);
        ASSERT_NO_FATAL_FAILURE(handled_through("after " + std::string(message)));
    }

    void expect_outside_unchanged() const {
        for (std::size_t i = 0; i < std::size(kOutside); ++i)
            EXPECT_EQ(hit_test(window_, on_screen(window_, kOutside[i])), outside_before_[i])
                << kOutside[i].x << "," << kOutside[i].y;
    }

    HWND window_at(POINT client) const { return WindowFromPoint(on_screen(window_, client)); }

    LRESULT inside_before_ = 0;
    std::vector<LRESULT> outside_before_;
};

TEST_F(SnapArea, InsideTheRectangleTheWindowAndTheWindowAboveThePageAnswerTheMaximiseButton) {
    ASSERT_NE(inside_before_, HTMAXBUTTON);
    ASSERT_NO_FATAL_FAILURE(post_and_settle(kSnapMessage));

    EXPECT_EQ(hit_test(window_, on_screen(window_, kInside)), HTMAXBUTTON);
    expect_outside_unchanged();
    // The pointer there meets a window of the shell's, not the page.
    const HWND above = window_at(kInside);
    ASSERT_NE(above, nullptr);
    EXPECT_NE(above, web_view_);
    EXPECT_EQ(GetAncestor(above, GA_ROOT), window_);
    EXPECT_EQ(hit_test(above, on_screen(window_, kInside)), HTMAXBUTTON);
    EXPECT_EQ(window_at({600, 400}), web_view_);
}

// The window keeps its top edge and corners for resizing: the system's resize band at the top,
// across the whole width, whatever the page's rectangle covers.
TEST_F(SnapArea, AWholeWindowRectangleLeavesTheTopResizeBandAndItsCornersAsTheyWere) {
    const int band = GetSystemMetricsForDpi(SM_CYSIZEFRAME, 96) + GetSystemMetricsForDpi(SM_CXPADDEDBORDER, 96);
    ASSERT_GT(band, 0);
    RECT outer{};
    ASSERT_TRUE(GetWindowRect(window_, &outer));
    const RECT client = client_rect_on_screen(window_);
    const LONG middle = (client.left + client.right) / 2;
    const std::vector<POINT> top = {{outer.left, outer.top},        {client.left, client.top},
                                    {middle, client.top},           {middle, client.top + band - 1},
                                    {client.right - 1, client.top}, {outer.right - 1, outer.top}};
    std::vector<LRESULT> before;
    for (const POINT point : top) before.push_back(hit_test(window_, point));

    ASSERT_NO_FATAL_FAILURE(post_and_settle("snap:-50 -50 100000 100000"));
    for (std::size_t i = 0; i < top.size(); ++i)
        EXPECT_EQ(hit_test(window_, top[i]), before[i]) << top[i].x << "," << top[i].y;
    EXPECT_EQ(hit_test(window_, {middle, client.top + band}), HTMAXBUTTON);
    // The snap window, too, leaves the band to the page below it.
    EXPECT_EQ(window_at({600, 0}), web_view_);
    EXPECT_NE(window_at({600, band}), web_view_);
}

TEST_F(SnapArea, AnEmptySnapWithdrawsIt) {
    ASSERT_NO_FATAL_FAILURE(post_and_settle(kSnapMessage));
    ASSERT_EQ(hit_test(window_, on_screen(window_, kInside)), HTMAXBUTTON);

    ASSERT_NO_FATAL_FAILURE(post_and_settle("snap:"));
    EXPECT_EQ(hit_test(window_, on_screen(window_, kInside)), inside_before_);
    EXPECT_EQ(window_at(kInside), web_view_);
    expect_outside_unchanged();
}

TEST_F(SnapArea, AForeignPagesSnapChangesNothing) {
    ASSERT_NO_FATAL_FAILURE(post_and_settle(kSnapMessage));
    command(StandinCommand::post_message_from, "https://example.com/\tsnap:");
    command(StandinCommand::post_message_from, "https://example.com/\tsnap:0 0 1200 800");
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));

    EXPECT_EQ(hit_test(window_, on_screen(window_, kInside)), HTMAXBUTTON);
    expect_outside_unchanged();
}

// Another address, or the same page reloaded (which changes no address).
struct NewDocumentRow {
    const char* name;
    StandinCommand command;
    const char* payload;
};

class SnapAreaNewDocument : public SnapArea, public testing::WithParamInterface<NewDocumentRow> {};

TEST_P(SnapAreaNewDocument, DropsItUntilThePageSendsItAgain) {
    ASSERT_NO_FATAL_FAILURE(post_and_settle(kSnapMessage));
    command(GetParam().command, GetParam().payload);
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));

    EXPECT_EQ(hit_test(window_, on_screen(window_, kInside)), inside_before_);
    EXPECT_EQ(window_at(kInside), web_view_);
}

INSTANTIATE_TEST_SUITE_P(, SnapAreaNewDocument,
                         testing::Values(NewDocumentRow{"other_address", StandinCommand::set_source,
                                                        "https://wispermoth.app/other"},
                                         NewDocumentRow{"reload", StandinCommand::reload, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SnapArea, ThePointerIsReportedToThePageAndAClickMaximisesAsMaxDoes) {
    ASSERT_NO_FATAL_FAILURE(post_and_settle(kSnapMessage));
    const auto heard = [this](std::size_t count) {
        return standin_log().wait_until(
            [this, count](const auto& entries) { return snap_states(scripts(entries)).size() >= count; });
    };

    // The real pointer, through the X server and Wine's own hit-testing.
    ASSERT_TRUE(move_pointer(on_screen(window_, kInside)));
    ASSERT_TRUE(heard(1)) << standin_log().text();
    {
        LeftButton button;
        ASSERT_TRUE(button.pressed());
        ASSERT_TRUE(heard(2)) << standin_log().text();
        EXPECT_FALSE(IsZoomed(window_));
        ASSERT_TRUE(button.release());
    }
    const auto maximised = standin_log().wait_until([this](const auto& entries) {
        const auto all = scripts(entries);
        return std::find(all.begin(), all.end(), "shellMaxState(true)") != all.end();
    });
    ASSERT_TRUE(maximised) << standin_log().text();
    EXPECT_TRUE(IsZoomed(window_));
    // Maximised, the window has no resize band: the rectangle's top row is the button too.
    EXPECT_EQ(hit_test(window_, on_screen(web_view_, {1120, 0})), HTMAXBUTTON);

    ASSERT_TRUE(move_pointer(on_screen(window_, {600, 400})));
    ASSERT_TRUE(heard(4)) << standin_log().text();
    ASSERT_NO_FATAL_FAILURE(handled_through("after"));
    EXPECT_EQ(snap_states(scripts()),
              (std::vector<std::string>{"shellSnapState('hover')", "shellSnapState('press')",
                                        "shellSnapState('hover')", "shellSnapState('')"}));
}

}  // namespace
}  // namespace e2e
