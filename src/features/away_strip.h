#pragma once
// The strip a window shows above a page that is not the application's: what it says and where
// it and the page go. A window has no address bar, so without it a foreign page (a login, a
// redirect, a link followed in place) would pass for the application and leave no way back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/geometry.h"

namespace wm {

// Logical pixels, scaled by the window's DPI.
inline constexpr std::int64_t kStripHeight = 32;

// The strip's text for the page at `address`: its scheme and host (and port) as the address
// writes them, user information left out, with "Not secure: " before it unless the scheme is
// https. Nothing when the page is the application's, which never sees a strip.
std::optional<std::string> away_strip_text(std::string_view address);

// Client-area rectangles in physical pixels: the strip's controls, and where the web view goes.
struct StripLayout {
    std::int64_t strip_height = 0;  // 0 without a strip
    PhysicalRect text;
    PhysicalRect back;
    PhysicalRect close;
    PhysicalRect page;
};

// The client area split between the strip (when `away`) and the page. The buttons keep their
// size at the right; the text takes what is left, none in a window too narrow for it.
StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away) noexcept;

}  // namespace wm
