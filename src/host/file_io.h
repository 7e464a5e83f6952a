#pragma once
// Whole-file reads and writes, and the executable's own resources.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>

namespace wm::host {

// The running executable's full path; nothing when it cannot be obtained.
std::optional<std::filesystem::path> executable_path();

// An RCDATA resource of the executable; empty when missing.
std::span<const std::byte> resource_bytes(int id) noexcept;

// Creates or truncates the file and writes all of `bytes`.
bool write_file_whole(const std::filesystem::path& path, std::span<const std::byte> bytes) noexcept;

// Writes a sibling temporary file and renames it over `path`, so that a crash or a power loss
// leaves either the old content or the new, never a torn file.
bool write_file_replacing(const std::filesystem::path& path, std::span<const std::byte> bytes) noexcept;

std::optional<std::string> read_file(const std::filesystem::path& path);

}  // namespace wm::host
