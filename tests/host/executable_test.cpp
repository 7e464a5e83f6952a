// The built wispermoth.exe as Windows and its tools read it: a GUI program with a version
// resource, an application manifest that the system loader accepts, and five icon groups whose
// every frame loads.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/release.h"

namespace {

// A Unix path; Wine resolves it on the drive of the working folder.
const std::wstring kExecutable = L"" WM_SHELL_EXE;

struct FreeModule {
    void operator()(HMODULE module) const noexcept { FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

struct DestroyIconHandle {
    void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<std::remove_pointer_t<HICON>, DestroyIconHandle>;

struct DeleteBitmap {
    void operator()(HBITMAP bitmap) const noexcept { DeleteObject(bitmap); }
};
using UniqueBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, DeleteBitmap>;

struct ReleaseContext {
    void operator()(HANDLE context) const noexcept { ReleaseActCtx(context); }
};
using UniqueActCtx = std::unique_ptr<void, ReleaseContext>;

// Resources only: none of the executable's code is loaded or run.
UniqueModule resources() {
    return UniqueModule(
        LoadLibraryExW(kExecutable.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

TEST(Executable, IsAGuiProgramForX64) {
    std::ifstream file(kExecutable.c_str(), std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " << WM_SHELL_EXE;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    IMAGE_DOS_HEADER dos{};
    ASSERT_GE(bytes.size(), sizeof dos);
    std::memcpy(&dos, bytes.data(), sizeof dos);
    IMAGE_NT_HEADERS64 nt{};
    ASSERT_GE(bytes.size(), static_cast<std::size_t>(dos.e_lfanew) + sizeof nt);
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    EXPECT_EQ(nt.Signature, IMAGE_NT_SIGNATURE);
    EXPECT_EQ(nt.FileHeader.Machine, IMAGE_FILE_MACHINE_AMD64);
    // No console window opens with it.
    EXPECT_EQ(nt.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
}

// The DLLs that Windows loads from System32 alone, whatever lies beside the executable.
const std::vector<std::string> kKnownDlls = {"advapi32.dll", "combase.dll", "gdi32.dll", "kernel32.dll",
                                             "msvcrt.dll",   "ole32.dll",   "oleaut32.dll", "shcore.dll",
                                             "shell32.dll",  "user32.dll"};

// The names in the import table and the delay-load table, lower-cased.
std::vector<std::string> imported_dlls(const std::vector<char>& bytes) {
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, bytes.data(), sizeof dos);
    IMAGE_NT_HEADERS64 nt{};
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof nt);
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        bytes.data() + dos.e_lfanew + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) + nt.FileHeader.SizeOfOptionalHeader);
    const auto at = [&](DWORD rva) -> const char* {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            const auto& section = sections[i];
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return bytes.data() + section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return nullptr;
    };
    std::vector<std::string> names;
    const auto add = [&](DWORD name_rva) {
        std::string name = at(name_rva);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
        names.push_back(std::move(name));
    };
    const auto& directories = nt.OptionalHeader.DataDirectory;
    if (const char* table = at(directories[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress))
        for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(table); entry->Name; ++entry)
            add(entry->Name);
    if (const char* table = at(directories[IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT].VirtualAddress))
        for (auto* entry = reinterpret_cast<const IMAGE_DELAYLOAD_DESCRIPTOR*>(table); entry->DllNameRVA; ++entry)
            add(entry->DllNameRVA);
    return names;
}

// Any other DLL would be looked for beside the executable first, before any of its code runs.
TEST(Executable, ImportsOnlyDllsThatLoadFromSystem32Alone) {
    std::ifstream file(kExecutable.c_str(), std::ios::binary);
    ASSERT_TRUE(file) << "cannot read " << WM_SHELL_EXE;
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto names = imported_dlls(bytes);
    EXPECT_FALSE(names.empty());
    for (const auto& name : names)
        EXPECT_NE(std::find(kKnownDlls.begin(), kKnownDlls.end(), name), kKnownDlls.end()) << name << " is imported";
}

TEST(Executable, CarriesItsVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(kExecutable.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(kExecutable.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(WM_VERSION_MINOR, WM_VERSION_MAJOR));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, WM_VERSION_PATCH));
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a debug, patched or pre-release build";

    // The strings are read in the language that the translation table names, as Explorer does.
    WORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    EXPECT_EQ(translation[0], MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    wchar_t block[48];
    swprintf(block, std::size(block), L"\\StringFileInfo\\%04x%04x\\", translation[0], translation[1]);

    struct Value {
        const wchar_t* name;
        const wchar_t* text;
    };
    for (const auto& [name, text] : std::array<Value, 6>{{
             {L"ProductName", L"" WM_PRODUCT_NAME},
             {L"FileDescription", L"" WM_PRODUCT_NAME},
             {L"ProductVersion", L"" WM_VERSION_TEXT},
             {L"FileVersion", L"" WM_VERSION_TEXT},
             {L"OriginalFilename", L"" WM_PRODUCT_NAME ".exe"},
             {L"InternalName", L"" WM_PRODUCT_NAME},
         }}) {
        wchar_t* value = nullptr;
        const std::wstring query = std::wstring(block) + name;
        ASSERT_TRUE(VerQueryValueW(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << "no " << std::string(name, name + wcslen(name));
        EXPECT_EQ(std::wstring(value), text);
    }
}

// The manifest as the loader reads it: an activation context built from resource 1.
class Manifest : public testing::Test {
protected:
    void SetUp() override {
        ACTCTXW description{};
        description.cbSize = sizeof description;
        description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        description.lpSource = kExecutable.c_str();
        description.lpResourceName = MAKEINTRESOURCEW(1);
        HANDLE context = CreateActCtxW(&description);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << "the loader refuses the manifest, error " << GetLastError();
        context_.reset(context);
    }

    std::wstring setting(const wchar_t* schema, const wchar_t* name) const {
        wchar_t value[64] = {};
        SIZE_T written = 0;
        if (!QueryActCtxSettingsW(0, context_.get(), schema, name, value, std::size(value), &written)) return L"-";
        return value;
    }

    UniqueActCtx context_;
};

TEST_F(Manifest, DeclaresPerMonitorV2WithPerMonitorFallback) {
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
              L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(setting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"), L"true/pm");
}

TEST_F(Manifest, DeclaresWindows10And11) {
    constexpr GUID kWindows10 = {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}};
    std::array<BYTE, 1024> buffer{};
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxW(0, context_.get(), nullptr, CompatibilityInformationInActivationContext, buffer.data(),
                             buffer.size(), &written));
    // Each element is the GUID and then its type; how long an element is differs between
    // versions of Windows (and of mingw's headers), so the GUID is searched for.
    const auto* guid = reinterpret_cast<const BYTE*>(&kWindows10);
    const auto end = buffer.begin() + static_cast<std::ptrdiff_t>(std::min<SIZE_T>(written, buffer.size()));
    const auto at = std::search(buffer.begin(), end, guid, guid + sizeof kWindows10);
    ASSERT_LE(at + sizeof kWindows10 + sizeof(DWORD), end) << "no supportedOS entry for Windows 10 and 11";
    DWORD type = 0;
    std::memcpy(&type, &*(at + sizeof kWindows10), sizeof type);
    EXPECT_EQ(type, static_cast<DWORD>(ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS));
}

TEST_F(Manifest, BringsCommonControls6) {
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context_.get(), &cookie));
    UniqueModule controls(LoadLibraryW(L"comctl32.dll"));
    DeactivateActCtx(0, cookie);
    ASSERT_TRUE(controls);
    // Version 6 lives in the side-by-side store; without the dependency the system folder's
    // version 5 loads.
    wchar_t path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(controls.get(), path, MAX_PATH), 0u);
    CharLowerW(path);
    const std::wstring loaded = path;
    EXPECT_NE(loaded.find(L"_microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::wstring::npos)
        << std::string(loaded.begin(), loaded.end());
}

TEST(IconGroups, GroupOneComesFirstSoItIsTheFilesIcon) {
    const auto module = resources();
    ASSERT_TRUE(module);
    std::vector<ULONG_PTR> ids;
    EnumResourceNamesW(
        module.get(), RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(reinterpret_cast<ULONG_PTR>(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    EXPECT_EQ(ids, (std::vector<ULONG_PTR>{1, 2, 3, 4, 5}));
    for (int id = 1; id <= 5; ++id)
        EXPECT_NE(FindResourceExW(module.get(), RT_GROUP_ICON, MAKEINTRESOURCEW(id),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)),
                  nullptr)
            << "group " << id << " is not in English (United States)";
}

struct Frame {
    int group;
    int size;
};

class IconFrames : public testing::TestWithParam<Frame> {};

// The frame of exactly this size decodes to the drawing: a transparent corner, an opaque centre
// and mostly opaque pixels.
TEST_P(IconFrames, Load) {
    const auto [group, size] = GetParam();
    const auto module = resources();
    ASSERT_TRUE(module);
    const UniqueIcon icon(
        static_cast<HICON>(LoadImageW(module.get(), MAKEINTRESOURCEW(group), IMAGE_ICON, size, size, 0)));
    ASSERT_TRUE(icon) << "error " << GetLastError();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon.get(), &info));
    const UniqueBitmap colour(info.hbmColor);
    const UniqueBitmap mask(info.hbmMask);
    ASSERT_TRUE(colour);
    BITMAP bitmap{};
    ASSERT_TRUE(GetObjectW(colour.get(), sizeof bitmap, &bitmap));
    EXPECT_EQ(bitmap.bmWidth, size);
    EXPECT_EQ(bitmap.bmHeight, size);

    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<DWORD> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, colour.get(), 0, size, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(rows, size);
    const auto alpha = [&](int x, int y) { return pixels[static_cast<std::size_t>(y * size + x)] >> 24; };
    EXPECT_EQ(alpha(0, 0), 0u);
    EXPECT_EQ(alpha(size / 2, size / 2), 0xFFu);
    const auto opaque = std::count_if(pixels.begin(), pixels.end(), [](DWORD pixel) { return pixel >> 24 == 0xFF; });
    EXPECT_GT(static_cast<std::size_t>(opaque), pixels.size() / 2);
}

std::vector<Frame> every_frame() {
    std::vector<Frame> frames;
    for (int group = 1; group <= 5; ++group)
        for (const int size : {16, 32, 48, 64, 256}) frames.push_back({group, size});
    return frames;
}

INSTANTIATE_TEST_SUITE_P(EveryGroupAndSize, IconFrames, testing::ValuesIn(every_frame()),
                         [](const testing::TestParamInfo<Frame>& info) {
                             return "group" + std::to_string(info.param.group) + "_" + std::to_string(info.param.size) +
                                    "px";
                         });

}  // namespace
