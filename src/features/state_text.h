#pragma once
// The texts of the saved state files: "window", "top" and "icon".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/app_folder.h"
#include "base/file_facts.h"
#include "base/geometry.h"

namespace wm {

// Whether a file is read as a state file: a plain disk file of at most 64 KiB. Anything else (a
// pipe or a device, whose read may block the start; a file no shell wrote) counts as not there.
bool is_state_file(const FileFacts& facts) noexcept;

// "pt x y width height".
std::string format_window_geometry(const WindowGeometry& geometry);
// The grammar of the "window" file, without the monitor check.
std::optional<WindowGeometry> parse_window_geometry(std::string_view text) noexcept;
// The geometry, then " max" when the window was maximised over it: a build that reads only the
// first five pieces reads the normal rectangle.
std::string format_window_placement(const WindowPlacement& placement);
// The geometry as above; maximised when the sixth piece is "max".
std::optional<WindowPlacement> parse_window_placement(std::string_view text) noexcept;
// The application's zoom: the web view's zoom factor, 1 for 100 %.
inline constexpr double kMinZoom = 0.25;
inline constexpr double kMaxZoom = 5.0;
bool is_app_zoom(double zoom) noexcept;
// The shortest text that reads back as the same factor.
std::string format_zoom(double zoom);
// The trimmed text as a decimal factor within the application's range; otherwise 1.
double parse_zoom(const std::optional<std::string>& text) noexcept;

// A colour as "#rrggbb", and back: anything else is no colour.
std::string format_colour(std::uint32_t rgb);
std::optional<std::uint32_t> parse_colour(const std::optional<std::string>& text) noexcept;
// An opaque colour as a page's computed style gives it, "rgb(r, g, b)", as 0xRRGGBB; nothing for
// any other form (a transparent or translucent colour does not fill a frame).
std::optional<std::uint32_t> parse_css_rgb(std::string_view text) noexcept;

// On exactly when the trimmed text is "1".
bool parse_always_on_top(const std::optional<std::string>& text) noexcept;
// The trimmed text when it is one of the five icon words, otherwise the default "".
std::string parse_icon_variant(const std::optional<std::string>& text);

}  // namespace wm
