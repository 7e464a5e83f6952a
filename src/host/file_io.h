#pragma once
// Whole-file reads and writes, and the executable's own resources.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "base/file_facts.h"

namespace wm::host {

// The running executable's full path; nothing when it cannot be obtained.
std::optional<std::wstring> executable_path();

// A variable of the process's environment; nothing when it is not set or empty.
std::optional<std::wstring> environment_variable(const wchar_t* name);

// The folder part of a path, without its trailing separator.
std::wstring parent_folder(const std::wstring& path);

// Which file an open handle is; nothing when the system cannot tell.
std::optional<FileIdentity> file_identity(HANDLE file);
// Which file `path` opens now; nothing when it opens none or cannot be read.
std::optional<FileIdentity> file_identity(const std::wstring& path);

// Whether two paths open the same file, however each is spelled (an 8.3 alias, a "\\?\" prefix,
// a hard link): by the files' identities where both exist, by name within the same folder where
// neither does. A path that cannot be judged counts as the same, so that a rule which refuses such
// a name errs on the safe side.
bool same_file(std::wstring_view first, std::wstring_view second);

// Creates the folder and any missing parents; true when it exists afterwards.
bool create_folders(const std::wstring& folder) noexcept;

// An RCDATA resource of the executable; empty when missing.
std::span<const std::byte> resource_bytes(int id) noexcept;

// Writes `temporary` and renames it over `path`, so that a process that dies at any moment
// leaves either the old content or the new, never a torn file.
bool write_file_replacing(const std::wstring& path, const std::wstring& temporary,
                          std::span<const std::byte> bytes) noexcept;

// The whole file when `accept` takes its facts; nothing when it cannot be opened or read, when
// `accept` refuses it, or when it has grown past the size seen.
std::optional<std::string> read_file(const std::wstring& path, const std::function<bool(const FileFacts&)>& accept);

}  // namespace wm::host
