// Which runtime folders qualify by the version they name.

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "base/runtime_version.h"

namespace wm::host {
namespace {

TEST(RuntimeVersion, FolderVersionsAgainstTheFloor) {
    struct Case {
        const char* folder;
        bool parses;
        bool qualifies;
    };
    const Case cases[] = {
        {R"(C:\Program Files (x86)\Microsoft\EdgeWebView\Application\120.0.2210.91)", true, true},
        {R"(C:\rt\86.0.616.0)", true, true},
        {R"(C:\rt\86.0.616.0\)", true, true},
        {"/opt/rt/86.0.615.99", true, false},
        {R"(C:\rt\85.9999.9999.9999)", true, false},
        {R"(C:\rt\100.0.0.0)", true, true},
        {R"(C:\rt\86.0.616)", false, false},
        {R"(C:\rt\86.0.616.0.1)", false, false},
        {R"(C:\rt\86..616.0)", false, false},
        {R"(C:\rt\86.0.616.x)", false, false},
        {R"(C:\rt\+86.0.616.0)", false, false},
        {R"(C:\rt\86.0.616.99999999999)", false, false},
        {R"(C:\rt\Application)", false, false},
        {"", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        const auto version = version_of_runtime_folder(c.folder);
        EXPECT_EQ(version.has_value(), c.parses);
        EXPECT_EQ(version && *version >= kMinimumRuntimeVersion, c.qualifies);
    }
}

TEST(RuntimeVersion, ComparesPartByPartNotAsText) {
    EXPECT_LT(*parse_runtime_version("9.0.0.0"), *parse_runtime_version("10.0.0.0"));
    EXPECT_LT(*parse_runtime_version("120.0.2210.9"), *parse_runtime_version("120.0.2210.91"));
    EXPECT_EQ(*parse_runtime_version("1.2.3.4"), (RuntimeVersion{{1, 2, 3, 4}}));
}

TEST(RuntimeVersion, EachChannelIsLookedForFirstAtTheMachineLevelThenPerUser) {
    // Registered folders by channel and scope; "old" does not qualify.
    using Registered = std::map<std::pair<std::size_t, RuntimeScope>, std::wstring>;
    constexpr auto machine = RuntimeScope::machine;
    constexpr auto user = RuntimeScope::user;
    const std::pair<Registered, std::optional<std::wstring>> cases[] = {
        {{{{0, user}, L"user"}, {{0, machine}, L"machine"}}, L"machine"},
        {{{{0, user}, L"user"}, {{0, machine}, L"old"}}, L"user"},
        {{{{0, user}, L"user"}, {{1, machine}, L"machine"}}, L"user"},  // channels first
        {{{{0, machine}, L"old"}}, std::nullopt},
    };
    for (const auto& [registered, found] : cases) {
        const auto folder = [&in = registered](std::size_t channel, RuntimeScope scope) -> std::optional<std::wstring> {
            const auto at = in.find({channel, scope});
            return at == in.end() ? std::nullopt : std::optional(at->second);
        };
        EXPECT_EQ(first_installed_runtime(4, folder, [](const std::wstring& f) { return f != L"old"; }), found);
    }
}

}  // namespace
}  // namespace wm::host
