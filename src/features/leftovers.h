#pragma once
// The temporary files through which the application folder's files are replaced, and telling a
// dead writer's leftover from one still in use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wm {

// "<name>.<pid>.tmp": per process, so that two running shells never share a temporary file.
std::wstring temporary_file_name(std::wstring_view name, std::uint32_t process_id);

// The writing process of a temporary file of one of the application folder's files ("window",
// "top", "icon", "moth.png"); nothing for any other file name.
std::optional<std::uint32_t> temporary_file_owner(std::wstring_view file_name) noexcept;

}  // namespace wm
