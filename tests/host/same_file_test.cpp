// Which names open the update's files: the spellings Windows accepts for one file (an 8.3 alias,
// a "\\?\" prefix, a hard link) against real files, and a name not yet taken by its folder.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/file_io.h"

namespace wm::host {
namespace {

std::wstring short_form(const std::wstring& path) {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : std::wstring();
}

TEST(SameFile, ComparesWhatEachNameOpens) {
    wchar_t temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::filesystem::path folder = std::filesystem::path(temp) / L"wispermoth same-file test";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    const std::wstring dir = folder.wstring() + L"\\";
    const std::wstring staged = dir + L"wispermoth.new.exe";
    const std::wstring absent = dir + L"wispermoth.old.exe";
    for (const std::wstring& made : {staged, dir + L"other.exe"}) std::ofstream(std::filesystem::path(made)) << "MZ";
    ASSERT_TRUE(CreateHardLinkW((dir + L"notes.txt").c_str(), staged.c_str(), nullptr));
    const std::wstring staged_alias = short_form(staged);
    const std::wstring folder_alias = short_form(folder.wstring());
    ASSERT_NE(staged_alias, staged);
    ASSERT_NE(folder_alias, folder.wstring());
    const struct {
        std::wstring name;
        std::wstring reserved;
        bool same;
    } cases[] = {
        {staged_alias, staged, true},
        {L"\\\\?\\" + staged, staged, true},
        {dir + L"notes.txt", staged, true},
        {folder_alias + L"\\WISPERMOTH.OLD.EXE", absent, true},
        {L"\\\\?\\" + absent, absent, true},
        {dir + L"other.exe", staged, false},
        {dir + L"wispermoth.old.exe.txt", absent, false},
        {staged, absent, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name.begin(), c.name.end()));
        EXPECT_EQ(same_file(c.name, c.reserved), c.same);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace wm::host
