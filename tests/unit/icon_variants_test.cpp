#include "features/icon_variants.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>
#include <utility>

namespace wm {
namespace {

TEST(IconVariants, WordsMapToTheirIconGroups) {
    for (const auto& [word, id] : {
             std::pair<std::string_view, std::optional<int>>{"", 1},
             {"bubble", 2},
             {"wordmark", 3},
             {"peek", 4},
             {"says", 5},
             {"Bubble", std::nullopt},
             {"bubble ", std::nullopt},
             {" ", std::nullopt},
             {"icon", std::nullopt},
             {std::string_view("peek\0", 5), std::nullopt},
         }) {
        EXPECT_EQ(icon_resource_id(word), id) << '"' << word << '"';
    }
}

}  // namespace
}  // namespace wm
