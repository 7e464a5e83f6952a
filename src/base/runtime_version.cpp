#include "base/runtime_version.h"

#include <charconv>

namespace wm {

std::optional<RuntimeVersion> parse_runtime_version(std::string_view text) noexcept {
    RuntimeVersion version;
    for (size_t i = 0; i < version.parts.size(); ++i) {
        const size_t dot = text.find('.');
        const std::string_view piece = i + 1 < version.parts.size() ? text.substr(0, dot) : text;
        if (piece.empty() || (i + 1 < version.parts.size() && dot == std::string_view::npos)) return std::nullopt;
        const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), version.parts[i]);
        if (error != std::errc() || end != piece.data() + piece.size()) return std::nullopt;
        if (i + 1 < version.parts.size()) text.remove_prefix(dot + 1);
    }
    return version;
}

std::optional<RuntimeVersion> version_of_runtime_folder(std::string_view folder) noexcept {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.remove_suffix(1);
    const size_t separator = folder.find_last_of("\\/");
    return parse_runtime_version(separator == std::string_view::npos ? folder : folder.substr(separator + 1));
}

std::optional<std::wstring> first_installed_runtime(
    std::size_t channels, const std::function<std::optional<std::wstring>(std::size_t, RuntimeScope)>& registered,
    const std::function<bool(const std::wstring&)>& qualifies) {
    for (std::size_t channel = 0; channel < channels; ++channel)
        for (const RuntimeScope scope : {RuntimeScope::machine, RuntimeScope::user})
            if (auto folder = registered(channel, scope); folder && qualifies(*folder)) return folder;
    return std::nullopt;
}

}  // namespace wm
