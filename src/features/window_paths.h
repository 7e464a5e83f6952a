#pragma once
// The paths a page may open a further window on, and the address such a window loads.

#include <optional>
#include <string>
#include <string_view>

namespace wm {

// An application path: starts with "/", not "//", only bytes 0x21..0x7E.
bool is_application_path(std::string_view path) noexcept;

// The origin's root without its trailing "/", followed by the path; nothing when the path is not
// an application path.
std::optional<std::string> page_url_for_path(std::string_view path);

}  // namespace wm
