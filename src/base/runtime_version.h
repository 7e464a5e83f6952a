#pragma once
// WebView2 runtime versions: four dot-separated numbers, compared part by part.

#include <array>
#include <compare>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
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

// Where an installed runtime is registered.
enum class RuntimeScope { machine, user };

// The installed runtime's folder: for each of `channels` release channels in order, the folder
// registered first at the machine level, then per user, as the vendor's loader looks; the first
// that qualifies.
std::optional<std::wstring> first_installed_runtime(
    std::size_t channels, const std::function<std::optional<std::wstring>(std::size_t, RuntimeScope)>& registered,
    const std::function<bool(const std::wstring&)>& qualifies);

}  // namespace wm
