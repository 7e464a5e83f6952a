#pragma once
// The page's maximise button as the shell knows it: the rectangle a page sends with "snap:", where
// it lies in the window's client area, and what the pointer does over it. Windows 11 offers its
// snap layouts only over a window part that answers WM_NCHITTEST with HTMAXBUTTON, so the shell
// answers for the page there and tells the page what its own button no longer sees.

#include <cstdint>
#include <optional>
#include <string_view>

#include "base/geometry.h"

namespace wm {

// "x y w h": four decimal integers separated by single spaces, x and y within ±100000, width and
// height from 0 to 100000; nothing for any other text.
std::optional<CssRect> parse_snap_rect(std::string_view text) noexcept;

// Where the pointer is as the page sees its button.
enum class SnapPointer { outside, hover, pressed };

// What the window reports of the pointer over the rectangle.
enum class SnapInput { entered, pressed, released, left };

struct SnapStep {
    SnapPointer next = SnapPointer::outside;
    bool report = false;            // the page hears `next` through shellSnapState
    bool toggle_maximized = false;  // a press and release inside: the button was clicked
};

SnapStep step_snap_pointer(SnapPointer now, SnapInput input) noexcept;

// The word shellSnapState reports for a pointer state: "hover", "press" or "".
std::string_view snap_state_word(SnapPointer pointer) noexcept;

}  // namespace wm
