// The ways a start ends before the shell runs: no WebView2 runtime, or no window.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "driver/files.h"
#include "driver/log.h"
#include "driver/message_box.h"
#include "driver/shell_case.h"
#include "driver/text.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kMissingRuntimeText[] =
    "wispermoth needs Microsoft Edge WebView2, which this PC doesn't have.\n\n"
    "Open Microsoft's download page? Run the Evergreen installer there, then start wispermoth again.";
constexpr char kWindowFailurePrefix[] = "wispermoth could not open its window:\n\n";
constexpr char kDownloadPagePath[] = "/microsoft-edge/webview2/";

// Opened by the case once the shell has ended: the system's handler takes addresses in the order
// they were asked for, so once this one has arrived none of the shell's can still follow.
constexpr char kLaterAddress[] = "https://wispermoth.test/after-the-shell";

struct MissingRuntimeCase {
    const char* name;
    int button;
    bool opens_download_page;
};

class MissingRuntime : public ShellCaseWithParam<MissingRuntimeCase> {};

TEST_P(MissingRuntime, AsksOnceThenEndsWithZeroLeavingNothingBehind) {
    const MissingRuntimeCase& row = GetParam();
    const std::filesystem::path leftovers[] = {folder() / L"wispermoth.old.exe", folder() / L"wispermoth.new.exe"};
    for (const auto& leftover : leftovers) std::ofstream(leftover) << "an earlier update";
    const OpenedLog opened = OpenedLog::from_environment();

    start({.runtime = Runtime::none});
    HWND box = wait_for_message_box();
    ASSERT_NE(box, nullptr) << "no missing-runtime box";
    EXPECT_EQ(narrow(message_box_text(box)), kMissingRuntimeText);
    EXPECT_TRUE(has_button(box, IDOK));
    EXPECT_TRUE(has_button(box, IDCANCEL));
    // Clearing update leftovers comes before the runtime check.
    for (const auto& leftover : leftovers) EXPECT_FALSE(std::filesystem::exists(leftover)) << leftover;

    press_button(box, row.button);
    EXPECT_EQ(wait_for_exit(), 0u);

    if (row.opens_download_page) {
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    }
    ASSERT_GT(reinterpret_cast<INT_PTR>(
                  ShellExecuteW(nullptr, L"open", widen(kLaterAddress).c_str(), nullptr, nullptr, SW_SHOWNORMAL)),
              32);
    std::vector<std::string> lines;
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] {
        lines = opened.lines();
        return std::erase(lines, kLaterAddress) == 1;
    })) << "the later address did not arrive";
    if (row.opens_download_page) {
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(lines[0].starts_with("https://")) << lines[0];
        EXPECT_NE(lines[0].find(kDownloadPagePath), std::string::npos) << lines[0];
    } else {
        EXPECT_TRUE(lines.empty()) << "opened " << lines.front();
    }
    EXPECT_FALSE(std::filesystem::exists(app_data() / kProductName));
    EXPECT_FALSE(key_exists(HKEY_CURRENT_USER, kIdentityKey));
}

INSTANTIATE_TEST_SUITE_P(Buttons, MissingRuntime,
                         testing::Values(MissingRuntimeCase{"ok", IDOK, true},
                                         MissingRuntimeCase{"cancel", IDCANCEL, false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct WindowFailureCase {
    const char* name;
    const wchar_t* variable;
};

class WindowFailure : public ShellCaseWithParam<WindowFailureCase> {};

TEST_P(WindowFailure, ShowsTheErrorAloneThenEndsWithOne) {
    start({.variables = {{GetParam().variable, L"0x8007000E"}}});
    HWND box = wait_for_message_box();
    ASSERT_NE(box, nullptr) << "no window-failure box";

    const std::string text = narrow(message_box_text(box));
    EXPECT_TRUE(text.starts_with(kWindowFailurePrefix)) << text;
    EXPECT_GT(text.size(), std::string_view(kWindowFailurePrefix).size()) << "no description";
    EXPECT_NE(text.find("(0x8007000E)"), std::string::npos) << text;
    EXPECT_TRUE(has_button(box, IDOK));
    EXPECT_FALSE(has_button(box, IDCANCEL));
    for (HWND window : titled_windows(process_id(), kProductName))
        EXPECT_FALSE(IsWindowVisible(window)) << "a shell window is left while the box shows";

    press_button(box, IDOK);
    EXPECT_EQ(wait_for_exit(), 1u);

    std::vector<std::string> lines;
    std::istringstream errors(standard_error());
    for (std::string line; std::getline(errors, line);) {
        if (line.ends_with('\r')) line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    ASSERT_EQ(lines.size(), 1u) << standard_error();
    EXPECT_TRUE(lines[0].starts_with("Error: ")) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(Creation, WindowFailure,
                         testing::Values(WindowFailureCase{"controller", L"STANDIN_FAIL_CONTROLLER"},
                                         WindowFailureCase{"environment", L"STANDIN_FAIL_ENVIRONMENT"}),
                         [](const auto& info) { return std::string(info.param.name); });

using ShellLifetime = ShellCase;

TEST_F(ShellLifetime, NativeCloseOfTheOnlyWindowEndsWithZero) {
    start();
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(round_trip(window)) << standin_log().text();

    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(), 0u);
}

TEST_F(ShellLifetime, AQuitMessageWhileTheFirstWindowWaitsForTheRuntimeEndsWithZeroAndNoDialog) {
    start({.variables = {{L"STANDIN_HOLD_CONTROLLER", L"1"}}});
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) { return first_index(entries, "controller_held") <
                                                                          entries.size(); }))
        << standin_log().text();

    ASSERT_TRUE(PostThreadMessageW(GetWindowThreadProcessId(window, nullptr), WM_QUIT, 0, 0));
    // A failure dialog would hold the process until it is answered.
    EXPECT_EQ(wait_for_exit(), 0u);
    EXPECT_EQ(standard_error(), "");
}

// The folder a user starts the shell from is often Downloads, where any page can save a file.
TEST_F(ShellLifetime, DllsNamedLikeSystemDllsBesideTheExecutableAreNeverLoaded) {
    const std::vector<std::wstring> planted = {L"dwmapi.dll", L"version.dll", L"uxtheme.dll"};
    for (const auto& name : planted) std::filesystem::copy_file(windows_path(WM_E2E_PLANTED_DLL), folder() / name);

    // Wine loads its own copy of a system DLL wherever a search looks, unless asked to prefer a
    // file found on the way: then a planted file loads exactly when the shell's search reaches
    // the executable's folder, as on Windows. Not version.dll, which Wine's user32 imports before
    // the shell's first instruction.
    wchar_t overrides[1024] = {};
    GetEnvironmentVariableW(L"WINEDLLOVERRIDES", overrides, static_cast<DWORD>(std::size(overrides)));
    start({.variables = {{L"WINEDLLOVERRIDES", std::wstring(overrides) + L";dwmapi,uxtheme=n,b"}}});
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(round_trip(window)) << standin_log().text();
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(), 0u);
    for (const auto& name : planted)
        EXPECT_FALSE(std::filesystem::exists(folder() / (name + L".loaded"))) << narrow(name) << " was loaded";
}

// A copy in a folder the user cannot write to (Program Files, a read-only share): the runtime
// cannot make its data folder beside the executable, here because a file bears its name.
TEST_F(ShellLifetime, PageDataThatCannotLieBesideTheExecutableGoesToTheUsersOwnFolder) {
    write_file(folder() / L"wispermoth.exe.WebView2", "a file where the runtime's folder belongs");
    const auto local_app_data = folder() / L"localappdata";
    start({.variables = {{L"LOCALAPPDATA", local_app_data.native()}}});
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    const auto entries = round_trip(window);
    ASSERT_TRUE(entries) << standin_log().text();
    const auto data = local_app_data / kProductName / L"WebView2";
    EXPECT_EQ(last_payload(*entries, "user_data_folder"), narrow(data.native()));
    EXPECT_TRUE(std::filesystem::is_directory(data / L"EBWebView")) << "the runtime's data is not there";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(), 0u);
}

}  // namespace
}  // namespace e2e
