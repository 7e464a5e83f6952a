#include "base/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace wm {
namespace {

constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// Rounds halves away from zero (std::round does) and clamps to int32 before converting, since
// converting an out-of-range double is undefined.
std::int32_t round_to_int32(double value) noexcept {
    if (std::isnan(value)) return 0;
    const double rounded = std::round(value);
    if (rounded <= static_cast<double>(kInt32Min)) return static_cast<std::int32_t>(kInt32Min);
    if (rounded >= static_cast<double>(kInt32Max)) return static_cast<std::int32_t>(kInt32Max);
    return static_cast<std::int32_t>(rounded);
}

std::int32_t clamp_to_int32(std::int64_t value) noexcept {
    if (value < kInt32Min) return static_cast<std::int32_t>(kInt32Min);
    if (value > kInt32Max) return static_cast<std::int32_t>(kInt32Max);
    return static_cast<std::int32_t>(value);
}

// A rectangle's extent; saturates rather than overflowing on absurd coordinates.
std::int64_t extent(std::int64_t from, std::int64_t to) noexcept {
    std::int64_t result = 0;
    if (__builtin_sub_overflow(to, from, &result))
        return to > from ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return result;
}

std::int64_t scaled(std::int64_t css, double factor) noexcept {
    return static_cast<std::int64_t>(std::round(static_cast<double>(css) * factor));
}

}  // namespace

std::int32_t to_logical(std::int64_t physical, double scale) noexcept {
    return round_to_int32(static_cast<double>(physical) / scale);
}

std::int32_t to_physical(std::int64_t logical, double scale) noexcept {
    return round_to_int32(static_cast<double>(logical) * scale);
}

std::optional<WindowGeometry> logical_geometry(const PhysicalRect& outer, std::int64_t client_width,
                                               std::int64_t client_height, double scale) noexcept {
    const std::int32_t width = to_logical(client_width, scale);
    const std::int32_t height = to_logical(client_height, scale);
    if (width <= 0 || height <= 0) return std::nullopt;
    return WindowGeometry{
        .x = to_logical(outer.left, scale),
        .y = to_logical(outer.top, scale),
        .width = static_cast<std::uint32_t>(width),
        .height = static_cast<std::uint32_t>(height),
    };
}

bool overlaps_any_monitor(const WindowGeometry& geometry, std::span<const MonitorArea> monitors) noexcept {
    // A placement without area (a hand-edited zero width or height) overlaps nothing; it would
    // otherwise pass the four comparisons when it lies inside a monitor.
    if (geometry.width == 0 || geometry.height == 0) return false;
    // All in int64: int32 corners plus uint32 sizes cannot overflow there.
    const std::int64_t x = geometry.x;
    const std::int64_t y = geometry.y;
    const std::int64_t right = x + geometry.width;
    const std::int64_t bottom = y + geometry.height;
    for (const MonitorArea& monitor : monitors) {
        const std::int64_t mx = to_logical(monitor.rect.left, monitor.scale);
        const std::int64_t my = to_logical(monitor.rect.top, monitor.scale);
        const std::int64_t mw = to_logical(extent(monitor.rect.left, monitor.rect.right), monitor.scale);
        const std::int64_t mh = to_logical(extent(monitor.rect.top, monitor.rect.bottom), monitor.scale);
        if (x < mx + mw && mx < right && y < my + mh && my < bottom) return true;
    }
    return false;
}

std::optional<WindowGeometry> cascade_geometry(const std::optional<WindowGeometry>& reference) noexcept {
    constexpr std::int64_t kOffset = 40;
    if (!reference || reference->width == 0 || reference->height == 0) return std::nullopt;
    return WindowGeometry{
        .x = clamp_to_int32(reference->x + kOffset),
        .y = clamp_to_int32(reference->y + kOffset),
        .width = reference->width,
        .height = reference->height,
    };
}

PhysicalRect client_snap_rect(const CssRect& area, double scale, double zoom, std::int64_t offset_x,
                              std::int64_t offset_y) noexcept {
    // Both edges are rounded, not the size, so that rectangles side by side stay side by side.
    const double factor = scale * zoom;
    return {offset_x + scaled(area.x, factor), offset_y + scaled(area.y, factor),
            offset_x + scaled(std::int64_t{area.x} + area.width, factor),
            offset_y + scaled(std::int64_t{area.y} + area.height, factor)};
}

PhysicalRect clip_snap_rect(const PhysicalRect& rect, const PhysicalRect& page, std::int64_t top_band) noexcept {
    const PhysicalRect clipped{std::max(rect.left, page.left), std::max({rect.top, page.top, top_band}),
                               std::min(rect.right, page.right), std::min(rect.bottom, page.bottom)};
    if (clipped.left >= clipped.right || clipped.top >= clipped.bottom) return {};
    return clipped;
}

}  // namespace wm
