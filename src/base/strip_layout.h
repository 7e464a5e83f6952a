#pragma once
// Where the strip over a page that is not the application's puts its controls, and where the
// page goes below it.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

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

// The strip's words as its font draws them now, in physical pixels; 0 where nothing was measured.
struct StripText {
    std::int64_t line_height = 0;
    std::int64_t back_label = 0;  // the wider of the two labels that take Back's place
    std::int64_t close_label = 0;
};

// The client area split between the strip (when `away`) and the page. The strip grows with its
// font's line, and the buttons with their labels, from a minimum for the system's usual fonts.
// The buttons keep their size at the right; the text takes what is left, none in a window too
// narrow for it, where Back narrows to stay inside the window.
StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away,
                         const StripText& text = {}) noexcept;

// The strip's text (what stands before the host, such as "https://", then the host and any port)
// as it fits `width` pixels, which `measure` gives for a UTF-8 text. Cut on the right, a long
// host would read as the application ("https://wispermoth.app.xxxx"); so the host is cut on its
// left, and what stands before it and the port always show: the whole text when it fits and its
// host has at most 255 characters; else "…" and the longest end of the host (within its last
// 255 characters) that starts at a label and keeps the last two labels; else the start of the
// second-level label, "…" and the rest; else what stands before the host and "…"; else nothing.
// Measures a number of candidates logarithmic in the host's length.
std::string elide_strip_text(std::string_view text, std::int64_t width,
                             const std::function<std::int64_t(std::string_view)>& measure);

}  // namespace wm
