#pragma once
// The names of the files the shell keeps in its application folder.

#include <array>
#include <string_view>

namespace wm {

// The saved state files.
inline constexpr std::string_view kWindowFile = "window";
inline constexpr std::string_view kTopFile = "top";
inline constexpr std::string_view kIconFile = "icon";
inline constexpr std::string_view kZoomFile = "zoom";
// The application's last known page colour, for the first frame of the next web view.
inline constexpr std::string_view kBackgroundFile = "background";
// The built-in image, written for the toasts to show.
inline constexpr std::string_view kImageFile = "moth.png";

// Every file the shell replaces through a per-process temporary file.
inline constexpr std::array<std::string_view, 6> kAppFolderFiles = {kWindowFile, kTopFile,  kIconFile,
                                                                   kZoomFile,   kImageFile, kBackgroundFile};

}  // namespace wm
