// The application's identity: the icon file in the application folder, the registry entry that
// names the application, points at that file and names the toast activator class, and the class's
// local server, which is the executable of the latest start.

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <vector>

#include "driver/files.h"
#include "driver/registry.h"
#include "driver/state_case.h"
#include "driver/text.h"

namespace e2e {
namespace {

// A registry value as stored: its type and its raw data.
struct RegistryValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::optional<RegistryValue> read_value(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    RegistryValue value;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        value.data.resize(size);
        status = RegQueryValueExW(key, name.c_str(), nullptr, &value.type, value.data.data(), &size);
        value.data.resize(size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return value;
}

// REG_SZ holding exactly the text, its terminating zero counted in the data size.
testing::AssertionResult holds_string(const std::optional<RegistryValue>& value, const std::wstring& text) {
    if (!value) return testing::AssertionFailure() << "no such value";
    if (value->type != REG_SZ) return testing::AssertionFailure() << "type " << value->type << ", not REG_SZ";
    const std::size_t expected_size = (text.size() + 1) * sizeof(wchar_t);
    if (value->data.size() != expected_size)
        return testing::AssertionFailure() << value->data.size() << " bytes, not " << expected_size;
    std::wstring stored(text.size() + 1, L'\0');
    std::memcpy(stored.data(), value->data.data(), expected_size);
    if (stored.back() != L'\0') return testing::AssertionFailure() << "no terminating zero";
    stored.pop_back();
    if (stored != text) return testing::AssertionFailure() << "holds \"" << narrow(stored) << "\"";
    return testing::AssertionSuccess();
}

std::optional<RegistryValue> identity_value(const wchar_t* name) {
    return read_value(HKEY_CURRENT_USER, kIdentityKey, name);
}

// Built when asked: Clang runs the initializers of header-defined inline strings after this file's own.
std::wstring activator_server_key() { return kToastActivatorKey + L"\\LocalServer32"; }

std::optional<RegistryValue> activator_server() {
    return read_value(HKEY_CURRENT_USER, activator_server_key(), L"");
}

struct IconFileCase {
    const char* name;
    std::optional<std::string> earlier_file;  // what "moth.png" held before the start
    bool earlier_is_built_in = false;         // or the built-in image itself, which is kept
};

class IconFileAndIdentity : public StateCase, public testing::WithParamInterface<IconFileCase> {};

TEST_P(IconFileAndIdentity, TheBuiltInImageIsWrittenAndRegisteredByItsFullPath) {
    const auto built_in = read_file(repository_resource("moth.png"));
    ASSERT_TRUE(built_in && !built_in->empty()) << "no resources/moth.png";
    if (GetParam().earlier_file) plant(L"moth.png", *GetParam().earlier_file);
    if (GetParam().earlier_is_built_in) plant(L"moth.png", *built_in);

    HWND window = start_shell();
    ASSERT_NE(window, nullptr);

    const auto written = read_file(app_file(L"moth.png"));
    ASSERT_TRUE(written) << "no moth.png in " << app_folder();
    EXPECT_TRUE(*written == *built_in) << written->size() << " bytes differ from the " << built_in->size()
                                       << " of resources/moth.png";
    EXPECT_TRUE(holds_string(identity_value(L"DisplayName"), kProductName));
    EXPECT_TRUE(holds_string(identity_value(L"IconUri"), app_file(L"moth.png").native()));
    EXPECT_TRUE(holds_string(identity_value(L"CustomActivator"), kToastActivatorClass));
    EXPECT_TRUE(holds_string(activator_server(), L'"' + executable().native() + L'"'));
}

INSTANTIATE_TEST_SUITE_P(Starts, IconFileAndIdentity,
                         testing::Values(IconFileCase{"first", std::nullopt},
                                         IconFileCase{"over_another_picture", "an earlier picture"},
                                         IconFileCase{"over_the_same_picture", std::nullopt, true}),
                         [](const auto& info) { return std::string(info.param.name); });

using ToastActivatorServer = StateCase;

TEST_F(ToastActivatorServer, IsTheExecutableOfTheLatestStartEvenWhenMovedOrRenamed) {
    const ScopedStringKey earlier(HKEY_CURRENT_USER, activator_server_key(), L"", L"\"C:\\earlier\\wispermoth.exe\"");
    rename_executable(L"wisper moth.exe");

    HWND window = start_shell();
    ASSERT_NE(window, nullptr);

    EXPECT_TRUE(holds_string(activator_server(), L'"' + executable().native() + L'"'));
}

using IdentityWithoutFolder = StateCase;

TEST_F(IdentityWithoutFolder, WithoutAppDataTheWindowOpensAndOnlyTheDisplayNameIsWritten) {
    // Where a shell that fell back to the prefix's own folder would write.
    wchar_t own_app_data[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"APPDATA", own_app_data, MAX_PATH);
    ASSERT_TRUE(length > 0 && length < MAX_PATH);
    const std::filesystem::path fallback = std::filesystem::path(own_app_data) / kProductName;
    std::filesystem::remove_all(fallback);
    auto expected = folder_listing(folder());
    // Written by the driver and the stand-in, not by the shell.
    for (const wchar_t* output : {L"stdout.txt", L"stderr.txt", L"standin.log", L"wispermoth.exe.WebView2",
                                  L"wispermoth.exe.WebView2\\EBWebView"})
        expected.insert(output);

    HWND window = start_shell({.with_app_data = false});
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(round_trip(window)) << standin_log().text();

    EXPECT_TRUE(holds_string(identity_value(L"DisplayName"), kProductName));
    EXPECT_TRUE(holds_string(identity_value(L"CustomActivator"), kToastActivatorClass));
    EXPECT_FALSE(identity_value(L"IconUri")) << "an IconUri was written";
    EXPECT_EQ(folder_listing(folder()), expected);
    EXPECT_FALSE(std::filesystem::exists(fallback)) << fallback;
}

TEST_F(IdentityWithoutFolder, AFileWhereTheFolderBelongsKeepsTheEarlierIconUri) {
    const std::wstring earlier_uri = L"C:\\earlier\\wispermoth\\moth.png";
    const ScopedStringKey earlier(HKEY_CURRENT_USER, kIdentityKey, L"IconUri", earlier_uri);
    write_file(app_folder(), "a file, not a folder");

    HWND window = start_shell();
    ASSERT_NE(window, nullptr);

    EXPECT_TRUE(holds_string(identity_value(L"DisplayName"), kProductName));
    EXPECT_TRUE(holds_string(identity_value(L"IconUri"), earlier_uri));
    EXPECT_TRUE(std::filesystem::is_regular_file(app_folder()));
    EXPECT_EQ(read_file(app_folder()), "a file, not a folder");
}

}  // namespace
}  // namespace e2e
