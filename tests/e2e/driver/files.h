#pragma once
// Files a case compares with, plants for, or reads back from the shell: the repository's own
// resources, the shell's state files, and folder listings.

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "driver/wait.h"

namespace e2e {

// A file of the repository's resources folder, e.g. "moth.png".
std::filesystem::path repository_resource(std::string_view name);

// The whole file as bytes; nothing when it cannot be opened, e.g. when it does not exist.
std::optional<std::string> read_file(const std::filesystem::path& path);
// Creates or replaces the file with exactly these bytes; throws when that fails.
void write_file(const std::filesystem::path& path, std::string_view content);

// Which file the path names now: a replacing rename gives the name another identity, even with
// the same content. Nothing when it cannot be opened.
std::optional<std::uint64_t> file_identity(const std::filesystem::path& path);

// Every file and folder below `folder`, as paths relative to it.
std::set<std::filesystem::path> folder_listing(const std::filesystem::path& folder);

// Waits until the file holds exactly `content`.
bool wait_for_content(const std::filesystem::path& path, std::string_view content,
                      std::chrono::milliseconds timeout = kEffectTimeout);

}  // namespace e2e
