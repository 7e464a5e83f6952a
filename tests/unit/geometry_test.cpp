#include "base/geometry.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <vector>

namespace wm {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(Geometry, ConversionsRoundHalvesAwayFromZeroAndClamp) {
    struct Case {
        std::int64_t value;
        double scale;
        std::int32_t logical;
    };
    for (const auto& [value, scale, logical] : std::array<Case, 12>{{
             {300, 1.5, 200},
             {0, 1.25, 0},
             {5, 2.0, 3},    // 2.5
             {-5, 2.0, -3},  // -2.5
             {3, 2.0, 2},    // 1.5
             {-3, 2.0, -2},
             {7, 4.0, 2},    // 1.75
             {-7, 4.0, -2},
             {1, 4.0, 0},    // 0.25
             {int64_t{1} << 40, 1.0, kMax},
             {-(int64_t{1} << 40), 1.0, kMin},
             {std::numeric_limits<std::int64_t>::min(), 0.5, kMin},
         }}) {
        EXPECT_EQ(to_logical(value, scale), logical) << value << " / " << scale;
    }
    EXPECT_EQ(to_physical(200, 1.5), 300);
    EXPECT_EQ(to_physical(5, 1.25), 6);    // 6.25
    EXPECT_EQ(to_physical(-3, 1.5), -5);   // -4.5
    EXPECT_EQ(to_physical(3, 1.5), 5);     // 4.5
    EXPECT_EQ(to_physical(kMax, 2.0), kMax);
    EXPECT_EQ(to_physical(kMin, 1.75), kMin);
}

TEST(Geometry, LogicalGeometryOfAWindow) {
    EXPECT_EQ(logical_geometry({300, 150, 1800, 1050}, 1500, 900, 1.5), (WindowGeometry{200, 100, 1000, 600}));
    EXPECT_EQ(logical_geometry({-1927, -9, 0, 0}, 800, 600, 1.0), (WindowGeometry{-1927, -9, 800, 600}));
    // The client size decides, not the outer rectangle: the outer corner may be anywhere.
    EXPECT_EQ(logical_geometry({-3, 5, 0, 0}, 3, 1, 2.0), (WindowGeometry{-2, 3, 2, 1}));
    EXPECT_EQ(logical_geometry({0, 0, 10, 10}, 0, 600, 1.0), std::nullopt);
    EXPECT_EQ(logical_geometry({0, 0, 10, 10}, 800, 0, 1.0), std::nullopt);
    EXPECT_EQ(logical_geometry({0, 0, 10, 10}, 1, 800, 4.0), std::nullopt);  // rounds to 0
    EXPECT_EQ(logical_geometry({0, 0, 10, 10}, -800, 600, 1.0), std::nullopt);
}

struct OverlapCase {
    const char* what;
    WindowGeometry geometry;
    bool visible;
};

TEST(Geometry, OverlapNeedsAreaOnSomeMonitor) {
    const std::array<MonitorArea, 1> single = {MonitorArea{{0, 0, 1920, 1080}, 1.0}};
    for (const auto& [what, geometry, visible] : std::array<OverlapCase, 11>{{
             {"far off", {5000, 5000, 800, 600}, false},
             {"one pixel over the right edge", {1919, 0, 800, 600}, true},
             {"touching the right edge", {1920, 0, 800, 600}, false},
             {"touching the left edge", {-800, 0, 800, 600}, false},
             {"one pixel over the left edge", {-799, 0, 800, 600}, true},
             {"touching the bottom", {0, 1080, 800, 600}, false},
             {"one pixel over the top", {0, -599, 800, 600}, true},
             {"touching the top", {0, -600, 800, 600}, false},
             {"covering the monitor", {-10000, -10000, 30000, 30000}, true},
             {"no width, inside", {100, 100, 0, 600}, false},
             {"no height, inside", {100, 100, 800, 0}, false},
         }}) {
        EXPECT_EQ(overlaps_any_monitor(geometry, single), visible) << what;
    }
    EXPECT_FALSE(overlaps_any_monitor({0, 0, 800, 600}, {}));
}

TEST(Geometry, EachMonitorUsesItsOwnScale) {
    // Primary at 100 %, and a 150 % monitor to its left: physical -2880..0 is logical -1920..0.
    const std::vector<MonitorArea> monitors = {
        {{0, 0, 1920, 1080}, 1.0},
        {{-2880, 0, 0, 1620}, 1.5},
    };
    EXPECT_TRUE(overlaps_any_monitor({-1920, 0, 800, 600}, monitors));
    EXPECT_TRUE(overlaps_any_monitor({-100, 1079, 800, 600}, monitors));
    EXPECT_FALSE(overlaps_any_monitor({-2720, 0, 800, 600}, monitors));  // touches -1920
    EXPECT_TRUE(overlaps_any_monitor({-2719, 0, 800, 600}, monitors));
    EXPECT_FALSE(overlaps_any_monitor({-1920, 1080, 800, 600}, monitors));  // below both

    // A 200 % monitor above the primary: physical -2160..0 is logical -1080..0.
    const std::array<MonitorArea, 1> above = {MonitorArea{{0, -2160, 3840, 0}, 2.0}};
    EXPECT_FALSE(overlaps_any_monitor({0, -1680, 800, 600}, above));  // touches -1080
    EXPECT_TRUE(overlaps_any_monitor({0, -1679, 800, 600}, above));
    EXPECT_TRUE(overlaps_any_monitor({1919, -1, 800, 600}, above));
    EXPECT_FALSE(overlaps_any_monitor({1920, -1, 800, 600}, above));
    EXPECT_FALSE(overlaps_any_monitor({0, 0, 800, 600}, above));

    // At 125 % the logical edges are rounded one by one: left 2 / 1.25 = 1.6 → 2, width
    // 1601 / 1.25 = 1280.8 → 1281, so the monitor covers 2 up to 1283 (not 1.6 up to 1282.4).
    const std::array<MonitorArea, 1> odd = {MonitorArea{{2, 0, 1603, 1000}, 1.25}};
    EXPECT_FALSE(overlaps_any_monitor({-798, 0, 800, 600}, odd));
    EXPECT_TRUE(overlaps_any_monitor({-797, 0, 800, 600}, odd));
    EXPECT_TRUE(overlaps_any_monitor({1282, 0, 800, 600}, odd));
    EXPECT_FALSE(overlaps_any_monitor({1283, 0, 800, 600}, odd));
}

TEST(Geometry, ExtremeValuesDoNotOverflow) {
    const std::array<MonitorArea, 1> single = {MonitorArea{{0, 0, 1920, 1080}, 1.0}};
    EXPECT_TRUE(overlaps_any_monitor({kMin, kMin, 0xFFFFFFFFu, 0xFFFFFFFFu}, single));
    EXPECT_FALSE(overlaps_any_monitor({kMax, kMax, 0xFFFFFFFFu, 0xFFFFFFFFu}, single));

    constexpr auto lowest = std::numeric_limits<std::int64_t>::min();
    constexpr auto highest = std::numeric_limits<std::int64_t>::max();
    const std::array<MonitorArea, 1> absurd = {MonitorArea{{lowest, lowest, highest, highest}, 1.0}};
    EXPECT_TRUE(overlaps_any_monitor({kMin, kMin, 10, 10}, absurd));
}

TEST(Geometry, CascadeOffsetsByFortyAndKeepsTheInnerSize) {
    EXPECT_EQ(cascade_geometry(WindowGeometry{100, 50, 1000, 700}), (WindowGeometry{140, 90, 1000, 700}));
    EXPECT_EQ(cascade_geometry(cascade_geometry(WindowGeometry{100, 50, 1000, 700})),
              (WindowGeometry{180, 130, 1000, 700}));
    EXPECT_EQ(cascade_geometry(WindowGeometry{-2000, -45, 1, 1}), (WindowGeometry{-1960, -5, 1, 1}));
    EXPECT_EQ(cascade_geometry(WindowGeometry{kMax - 10, kMax, 5, 5}), (WindowGeometry{kMax, kMax, 5, 5}));
    EXPECT_EQ(cascade_geometry(WindowGeometry{0, 0, 0, 700}), std::nullopt);
    EXPECT_EQ(cascade_geometry(WindowGeometry{0, 0, 1000, 0}), std::nullopt);
    EXPECT_EQ(cascade_geometry(std::nullopt), std::nullopt);
}

}  // namespace
}  // namespace wm
