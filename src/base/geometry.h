#pragma once
// Window placement arithmetic between physical, logical and CSS pixels.

#include <cstdint>
#include <optional>
#include <span>

namespace wm {

// Outer top-left corner and inner (client) size, in logical pixels.
struct WindowGeometry {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    friend bool operator==(const WindowGeometry&, const WindowGeometry&) = default;
};

// The main window's saved placement: the rectangle it has when not maximised, and whether it was
// maximised over it.
struct WindowPlacement {
    WindowGeometry normal;
    bool maximized = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

struct PhysicalRect {
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = 0;
    std::int64_t bottom = 0;
};

// A monitor's full rectangle in physical pixels and its scale (DPI / 96).
struct MonitorArea {
    PhysicalRect rect;
    double scale = 1.0;
};

// physical / scale, rounded to nearest with halves away from zero, clamped to int32.
std::int32_t to_logical(std::int64_t physical, double scale) noexcept;
// logical * scale, rounded the same way, clamped to int32.
std::int32_t to_physical(std::int64_t logical, double scale) noexcept;

// What a window's outer rectangle and client size amount to in logical pixels; nothing when the
// logical client width or height is not positive.
std::optional<WindowGeometry> logical_geometry(const PhysicalRect& outer, std::int64_t client_width,
                                               std::int64_t client_height, double scale) noexcept;

// Whether the geometry's rectangle (outer corner, inner size) overlaps some monitor with an area
// greater than zero.
bool overlaps_any_monitor(const WindowGeometry& geometry, std::span<const MonitorArea> monitors) noexcept;

// Where a window opened from a reference window goes: 40 logical pixels right and down of it,
// with its inner size. Nothing when the reference has no inner area.
std::optional<WindowGeometry> cascade_geometry(const std::optional<WindowGeometry>& reference) noexcept;

// A rectangle in CSS pixels of the page's viewport.
struct CssRect {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    friend bool operator==(const CssRect&, const CssRect&) = default;
};

// The rectangle in the window's client pixels: CSS pixels times the window's scale (DPI / 96)
// times the web view's zoom factor, each edge rounded like `to_physical`, moved by where the web
// view's top-left corner lies in the client area.
PhysicalRect client_snap_rect(const CssRect& area, double scale, double zoom, std::int64_t offset_x,
                              std::int64_t offset_y) noexcept;

// The snap rectangle as far as it lies inside the page area (client pixels) and below the
// window's top resize band, `top_band` pixels from the client area's top: the strip and the edge
// the window is resized from stay the window's. Empty (no area) when nothing is left.
PhysicalRect clip_snap_rect(const PhysicalRect& rect, const PhysicalRect& page, std::int64_t top_band) noexcept;

}  // namespace wm
