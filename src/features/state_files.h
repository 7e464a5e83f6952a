#pragma once
// The saved state files in the application folder: written as values change, read once at start.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/geometry.h"

namespace wm {

// "%APPDATA%\wispermoth\<name>"; nothing when APPDATA is not set. Creates nothing.
std::optional<std::wstring> app_file_path(std::string_view name);

// Replaces a file of the application folder through a per-process temporary file, so that the
// file is whole whenever the process dies. False on any failure.
bool replace_app_file(const std::wstring& path, std::span<const std::byte> bytes);

// Deletes the temporary files that shells which died mid-write left in the application folder.
void remove_leftover_files();

// Creates the folder if needed and replaces the file's contents; every failure is ignored.
void write_state_file(std::string_view name, std::string_view contents);
// The whole file; nothing when it is missing, unreadable or not valid UTF-8.
std::optional<std::string> read_state_file(std::string_view name);

// The saved placement when it is valid and its normal rectangle overlaps a monitor; the event
// loop must exist.
std::optional<WindowPlacement> load_window_placement();
bool load_always_on_top();
std::string load_icon_variant();
// The application's zoom factor; 1 when none is stored or it is outside 25 %-500 %.
double load_zoom();

}  // namespace wm
