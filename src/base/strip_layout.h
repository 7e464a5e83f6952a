#pragma once
// Where the strip over a page that is not the application's puts its controls, and where the
// page goes below it.

#include <cstdint>

#include "base/geometry.h"

namespace wm {

// Client-area rectangles in physical pixels: the strip's controls, and where the web view goes.
struct StripLayout {
    std::int64_t strip_height = 0;  // 0 without a strip
    PhysicalRect text;
    PhysicalRect back;
    PhysicalRect close;
    PhysicalRect page;
};

// The client area split between the strip (when `away`) and the page. The buttons keep their
// size at the right; the text takes what is left, none in a window too narrow for it, where Back
// narrows to stay inside the window.
StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away) noexcept;

}  // namespace wm
