// The names that open the update's files, against real files: an 8.3 alias, a "\\?\" prefix, a
// hard link, and a name its folder has not yet taken.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "host/file_io.h"

namespace wm::host {
namespace {

std::wstring short_form(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    return std::wstring(buffer, GetShortPathNameW(path.c_str(), buffer, MAX_PATH));
}

TEST(SameFile, ComparesWhatEachNameOpens) {
    const std::wstring dir = (std::filesystem::temp_directory_path() / L"wispermoth same-file test").wstring();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::wstring staged = dir + L"\\wispermoth.new.exe", absent = dir + L"\\wispermoth.old.exe";
    for (const std::wstring& made : {staged, dir + L"\\other.exe"}) std::ofstream(std::filesystem::path(made)) << "MZ";
    ASSERT_TRUE(CreateHardLinkW((dir + L"\\notes.txt").c_str(), staged.c_str(), nullptr));
    ASSERT_NE(short_form(staged), staged);
    ASSERT_NE(short_form(dir), dir);
    const struct {
        std::wstring name, reserved;
        bool same;
    } cases[] = {
        {short_form(staged), staged, true},
        {L"\\\\?\\" + staged, staged, true},
        {dir + L"\\notes.txt", staged, true},
        {short_form(dir) + L"\\WISPERMOTH.OLD.EXE", absent, true},
        {L"\\\\?\\" + absent, absent, true},
        {dir + L"\\other.exe", staged, false},
        {dir + L"\\wispermoth.old.exe.txt", absent, false},
        {staged, absent, false},
    };
    for (const auto& c : cases) EXPECT_EQ(same_file(c.name, c.reserved), c.same) << std::filesystem::path(c.name).string();
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace wm::host
