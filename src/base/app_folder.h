#pragma once
// The names of the files the shell keeps in its application folder.

#include <array>
#include <string_view>

namespace wm {

// The saved state files.
inline constexpr std::string_view kWindowFile = "window";
inline constexpr std::string_view kTopFile = "top";
inline constexpr std::string_view kIconFile = "icon";
// The built-in image, written for the toasts to show.
inline constexpr std::string_view kImageFile = "moth.png";

// Every file the shell replaces through a per-process temporary file.
inline constexpr std::array<std::string_view, 4> kAppFolderFiles = {kWindowFile, kTopFile, kIconFile, kImageFile};

}  // namespace wm
