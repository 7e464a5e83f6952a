#pragma once
// The texts of the saved state files: "window", "top" and "icon".

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
// On exactly when the trimmed text is "1".
bool parse_always_on_top(const std::optional<std::string>& text) noexcept;
// The trimmed text when it is one of the five icon words, otherwise the default "".
std::string parse_icon_variant(const std::optional<std::string>& text);

}  // namespace wm
