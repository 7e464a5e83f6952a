#include "features/window_paths.h"

#include <algorithm>

#include "base/product.h"

namespace wm {

bool is_application_path(std::string_view path) noexcept {
    if (path.empty() || path[0] != '/' || path.starts_with("//")) return false;
    return std::all_of(path.begin(), path.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x21 && byte <= 0x7E;
    });
}

std::optional<std::string> page_url_for_path(std::string_view path) {
    if (!is_application_path(path)) return std::nullopt;
    std::string_view origin = kOriginRoot;
    while (origin.ends_with('/')) origin.remove_suffix(1);
    return std::string(origin) + std::string(path);
}

}  // namespace wm
