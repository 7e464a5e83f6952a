#include "features/leftovers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

namespace wm {
namespace {

TEST(Leftovers, TemporaryFilesOfTheFolderNameTheirWriter) {
    EXPECT_EQ(temporary_file_name(L"window", 4242), L"window.4242.tmp");
    struct Case {
        std::wstring_view file_name;
        std::optional<std::uint32_t> owner;
    };
    const Case cases[] = {
        {L"window.4242.tmp", 4242},
        {L"top.1.tmp", 1},
        {L"icon.0.tmp", 0},
        {L"moth.png.4294967295.tmp", 4294967295u},
        {L"moth.png.4294967296.tmp", std::nullopt},
        {L"window", std::nullopt},
        {L"window.tmp", std::nullopt},
        {L"window..tmp", std::nullopt},
        {L"window.12a.tmp", std::nullopt},
        {L"window.-1.tmp", std::nullopt},
        {L"window.12.TMP", std::nullopt},
        {L"notes.12.tmp", std::nullopt},
        {L"moth.12.tmp", std::nullopt},
        {L"xwindow.12.tmp", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.file_name)));
        EXPECT_EQ(temporary_file_owner(c.file_name), c.owner);
    }
}

}  // namespace
}  // namespace wm
