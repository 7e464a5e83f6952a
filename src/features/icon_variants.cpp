#include "features/icon_variants.h"

#include "base/icon_words.h"

namespace wm {

std::optional<int> icon_resource_id(std::string_view word) noexcept {
    // The groups are numbered from 1 in the words' order.
    for (std::size_t index = 0; index < kIconWords.size(); ++index) {
        if (kIconWords[index] == word) return static_cast<int>(index) + 1;
    }
    return std::nullopt;
}

}  // namespace wm
