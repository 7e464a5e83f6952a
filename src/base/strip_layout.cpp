#include "base/strip_layout.h"

#include <algorithm>

namespace wm {
namespace {

// Logical pixels, scaled by the window's DPI. The labels are fixed, so fixed widths hold them in
// the system's fonts.
constexpr std::int64_t kStripHeight = 32;
constexpr std::int64_t kMargin = 4;
constexpr std::int64_t kGap = 6;
constexpr std::int64_t kBackWidth = 120;
constexpr std::int64_t kCloseWidth = 56;
constexpr std::int64_t kTextIndent = 8;

}  // namespace

StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away) noexcept {
    StripLayout layout;
    const auto px = [scale](std::int64_t logical) -> std::int64_t { return to_physical(logical, scale); };
    layout.strip_height = away ? px(kStripHeight) : 0;
    // A window lower than the strip (it never is, by its minimum size) leaves the page empty.
    layout.page = {0, layout.strip_height, client_width, std::max(client_height, layout.strip_height)};
    if (!away) return layout;

    const std::int64_t top = px(kMargin);
    const std::int64_t bottom = px(kStripHeight - kMargin);
    layout.close = {client_width - px(kGap) - px(kCloseWidth), top, client_width - px(kGap), bottom};
    // In a window too narrow for both, Back gives up width rather than leave the window on the left.
    layout.back = {std::max(px(kGap), layout.close.left - px(kGap) - px(kBackWidth)), top, layout.close.left - px(kGap),
                   bottom};
    const std::int64_t text_left = px(kTextIndent);
    layout.text = {text_left, top, std::max(text_left, layout.back.left - px(kGap)), bottom};
    return layout;
}

}  // namespace wm
