#include "features/icon_variants.h"

#include <array>
#include <utility>

namespace wm {

std::optional<int> icon_resource_id(std::string_view word) noexcept {
    constexpr std::array<std::pair<std::string_view, int>, 5> groups = {{
        {"", 1},
        {"bubble", 2},
        {"wordmark", 3},
        {"peek", 4},
        {"says", 5},
    }};
    for (const auto& [name, id] : groups) {
        if (name == word) return id;
    }
    return std::nullopt;
}

}  // namespace wm
