// A DLL saved beside the executable under a system DLL's name: the functions the shell looks up
// at run time come from Windows' own copy, even in a process (like this one) whose search order
// still looks beside the executable.

#include <windows.h>
#include <dwmapi.h>

#include <gtest/gtest.h>

#include <string>

#include "host/system_library.h"

namespace {

// A Unix path; Wine resolves it on the drive of the working folder.
const std::wstring kPlanted = L"" WM_PLANTED_DLL;

std::wstring executable_folder() {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST(SystemFunction, NeverLoadsTheFileBesideTheExecutable) {
    ASSERT_EQ(GetModuleHandleW(L"dwmapi.dll"), nullptr) << "loaded before the case: it would prove nothing";
    const std::wstring beside = executable_folder() + L"\\dwmapi.dll";
    const std::wstring marker = beside + L".loaded";
    (void)DeleteFileW(marker.c_str());
    ASSERT_TRUE(CopyFileW(kPlanted.c_str(), beside.c_str(), FALSE));

    const auto extend = wm::host::system_function<decltype(&DwmExtendFrameIntoClientArea)>(
        L"dwmapi.dll", "DwmExtendFrameIntoClientArea");
    EXPECT_NE(extend, nullptr);
    EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted file was loaded";
    (void)DeleteFileW(beside.c_str());  // fails when it was loaded; the next run replaces it
}

}  // namespace
