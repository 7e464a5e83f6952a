#include "features/snap_area.h"

#include <gtest/gtest.h>

namespace wm {
namespace {

// The grammar's accepted and refused texts are rows of the classification table; these are the
// values the accepted ones carry.
TEST(SnapArea, ParsedValuesInOrder) {
    EXPECT_EQ(parse_snap_rect("1100 0 40 32"), (CssRect{1100, 0, 40, 32}));
    EXPECT_EQ(parse_snap_rect("-5 -3 0 7"), (CssRect{-5, -3, 0, 7}));
    EXPECT_EQ(parse_snap_rect("007 8 9 10"), (CssRect{7, 8, 9, 10}));
    EXPECT_EQ(parse_snap_rect(""), std::nullopt);
}

struct ConversionCase {
    const char* label;
    CssRect area;
    double scale;
    double zoom;
    std::int64_t offset_x;
    std::int64_t offset_y;
    PhysicalRect expected;
};

void PrintTo(const ConversionCase& c, std::ostream* out) {
    *out << c.label;
}

class SnapConversion : public testing::TestWithParam<ConversionCase> {};

TEST_P(SnapConversion, EdgesScaleByDpiTimesZoomThenMoveWithTheWebView) {
    const ConversionCase& c = GetParam();
    const PhysicalRect r = client_snap_rect(c.area, c.scale, c.zoom, c.offset_x, c.offset_y);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SnapConversion,
    testing::Values(ConversionCase{"96 dpi", {1100, 0, 40, 32}, 1.0, 1.0, 0, 0, {1100, 0, 1140, 32}},
                    ConversionCase{"144 dpi", {1100, 0, 40, 32}, 1.5, 1.0, 0, 0, {1650, 0, 1710, 48}},
                    ConversionCase{"96 dpi, zoom 1.25", {1100, 0, 40, 32}, 1.0, 1.25, 0, 0, {1375, 0, 1425, 40}},
                    // 2062.5 and 2137.5: each edge rounds half away from zero.
                    ConversionCase{"144 dpi, zoom 1.25", {1100, 0, 40, 32}, 1.5, 1.25, 0, 0, {2063, 0, 2138, 60}},
                    // Odd sizes: the edges are rounded, not the size, so 3 CSS pixels may cover 4 or 5.
                    ConversionCase{"edges rounded apart", {1, 1, 3, 3}, 1.5, 1.0, 0, 0, {2, 2, 6, 6}},
                    // A web view placed lower in the client area (a strip above it) moves the rectangle with it.
                    ConversionCase{"web view moved down", {1100, 0, 40, 32}, 1.5, 1.0, 0, 45, {1650, 45, 1710, 93}},
                    ConversionCase{"left of the viewport", {-10, -2, 20, 4}, 1.0, 1.0, 3, 0, {-7, -2, 13, 2}}),
    [](const auto& info) { return std::to_string(info.index); });

struct ClipCase {
    const char* label;
    PhysicalRect rect;
    PhysicalRect page;
    std::int64_t top_band;
    PhysicalRect expected;
};

void PrintTo(const ClipCase& c, std::ostream* out) {
    *out << c.label;
}

class SnapClip : public testing::TestWithParam<ClipCase> {};

TEST_P(SnapClip, KeptToThePageAndBelowTheTopResizeBand) {
    const ClipCase& c = GetParam();
    const PhysicalRect r = clip_snap_rect(c.rect, c.page, c.top_band);
    EXPECT_EQ(r.left, c.expected.left);
    EXPECT_EQ(r.top, c.expected.top);
    EXPECT_EQ(r.right, c.expected.right);
    EXPECT_EQ(r.bottom, c.expected.bottom);
}

// Bands as the system gives them: 4 + 4 pixels at 96 DPI, 6 + 6 at 144, 8 + 8 at 192.
INSTANTIATE_TEST_SUITE_P(
    Rows, SnapClip,
    testing::Values(
        ClipCase{"inside, below the band", {1100, 8, 1140, 32}, {0, 0, 1200, 800}, 8, {1100, 8, 1140, 32}},
        ClipCase{"a button at the top, 96 dpi", {1100, 0, 1140, 32}, {0, 0, 1200, 800}, 8, {1100, 8, 1140, 32}},
        ClipCase{"a button at the top, 144 dpi", {1650, 0, 1710, 48}, {0, 0, 1800, 1200}, 12, {1650, 12, 1710, 48}},
        ClipCase{
            "the whole window, 192 dpi", {-100, -100, 200000, 200000}, {0, 0, 2400, 1600}, 16, {0, 16, 2400, 1600}},
        // The strip lies above the page: the page's top is lower than the band.
        ClipCase{"below a strip", {-50, -18, 100000, 100000}, {0, 32, 1200, 800}, 8, {0, 32, 1200, 800}},
        ClipCase{"maximised: no band", {1100, 0, 1140, 32}, {0, 0, 1200, 800}, 0, {1100, 0, 1140, 32}},
        ClipCase{"all inside the band", {1100, 0, 1140, 8}, {0, 0, 1200, 800}, 8, {}},
        ClipCase{"right of the page", {1200, 10, 1240, 32}, {0, 0, 1200, 800}, 8, {}},
        ClipCase{"no area", {1100, 10, 1100, 32}, {0, 0, 1200, 800}, 8, {}}),
    [](const auto& info) { return std::to_string(info.index); });

struct PointerCase {
    SnapPointer now;
    SnapInput input;
    SnapStep expected;
};

TEST(SnapPointerSteps, EnterPressReleaseLeaveLikeACaptionButton) {
    using enum SnapPointer;
    const PointerCase table[] = {
        {outside, SnapInput::entered, {hover, true, false}},
        {hover, SnapInput::entered, {hover, false, false}},
        {pressed, SnapInput::entered, {pressed, false, false}},
        {outside, SnapInput::pressed, {pressed, true, false}},
        {hover, SnapInput::pressed, {pressed, true, false}},
        {pressed, SnapInput::pressed, {pressed, false, false}},
        // A click: the press began inside.
        {pressed, SnapInput::released, {hover, true, true}},
        // A button pressed elsewhere and let go over the rectangle clicks nothing.
        {hover, SnapInput::released, {hover, false, false}},
        {outside, SnapInput::released, {outside, false, false}},
        {hover, SnapInput::left, {outside, true, false}},
        {pressed, SnapInput::left, {outside, true, false}},
        {outside, SnapInput::left, {outside, false, false}},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(std::to_string(static_cast<int>(row.now)) + " + " + std::to_string(static_cast<int>(row.input)));
        const SnapStep step = step_snap_pointer(row.now, row.input);
        EXPECT_EQ(step.next, row.expected.next);
        EXPECT_EQ(step.report, row.expected.report);
        EXPECT_EQ(step.toggle_maximized, row.expected.toggle_maximized);
    }
}

TEST(SnapPointerSteps, WordsThePageHears) {
    EXPECT_EQ(snap_state_word(SnapPointer::hover), "hover");
    EXPECT_EQ(snap_state_word(SnapPointer::pressed), "press");
    EXPECT_EQ(snap_state_word(SnapPointer::outside), "");
}

}  // namespace
}  // namespace wm
