#pragma once
// The icon file in the application folder, and the application identity.

#include <optional>
#include <string>
#include <string_view>

namespace wm {

// Writes the built-in image as "moth.png" unless the file already holds it; its path when the
// file holds the image.
std::optional<std::wstring> write_app_icon_file();

// Writes the identity's DisplayName, its CustomActivator (the toast activator class), and IconUri
// when this start found or wrote the icon file; then names the running executable as the
// activator class's local server. Every failure is silent.
void register_app_identity(const std::optional<std::wstring>& icon_file);

// Gives the process the identity its taskbar group and notifications use.
void set_process_identity();

}  // namespace wm
