#pragma once
// WebView2 runtime versions: four dot-separated numbers, compared part by part.

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string_view>

namespace wm {

struct RuntimeVersion {
    std::array<std::uint32_t, 4> parts{};
    friend auto operator<=>(const RuntimeVersion&, const RuntimeVersion&) = default;
};

// Older runtimes lack interfaces the shell relies on.
inline constexpr RuntimeVersion kMinimumRuntimeVersion{{86, 0, 616, 0}};

std::optional<RuntimeVersion> parse_runtime_version(std::string_view text) noexcept;

// A runtime folder qualifies by the version it names (its last path component).
std::optional<RuntimeVersion> version_of_runtime_folder(std::string_view folder) noexcept;

}  // namespace wm
