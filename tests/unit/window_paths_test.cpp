// The application-path rule and the address a further window loads, one row per part of the rule.

#include "features/window_paths.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace wm {
namespace {

TEST(WindowPaths, OnlyApplicationPathsGiveAnAddressUnderTheOrigin) {
    const std::pair<std::string_view, std::optional<std::string>> table[] = {
        {"/", "https://wispermoth.app/"},
        {"/chat", "https://wispermoth.app/chat"},
        {"/a/b?c=d#e", "https://wispermoth.app/a/b?c=d#e"},
        {"/%7E", "https://wispermoth.app/%7E"},
        {"/!~", "https://wispermoth.app/!~"},
        {"/a//b", "https://wispermoth.app/a//b"},
        {"/@example.com", "https://wispermoth.app/@example.com"},
        // Must start with exactly one "/".
        {"", std::nullopt},
        {"a", std::nullopt},
        {"chat/", std::nullopt},
        {"//", std::nullopt},
        {"//example.com/", std::nullopt},
        {"\\/chat", std::nullopt},
        // Visible ASCII only.
        {"/ ", std::nullopt},
        {"/a b", std::nullopt},
        {"/\x20", std::nullopt},
        {"/\t", std::nullopt},
        {"/\x7f", std::nullopt},
        {"/\x80", std::nullopt},
        {"/caf\xc3\xa9", std::nullopt},
        {"/\xff", std::nullopt},
        {std::string_view("/\0", 2), std::nullopt},
    };
    for (const auto& [path, address] : table) {
        SCOPED_TRACE(testing::PrintToString(std::string(path)));
        EXPECT_EQ(page_url_for_path(path), address);
        EXPECT_EQ(is_application_path(path), address.has_value());
    }
}

}  // namespace
}  // namespace wm
