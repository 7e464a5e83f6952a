#include "driver/shell_case.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "driver/message_box.h"
#include "driver/registry.h"
#include "driver/standin.h"
#include "driver/text.h"
#include "driver/wait.h"
#include "driver/windows.h"

namespace e2e {
namespace {

// Build-tree paths, given by CMake in their Unix form.
std::filesystem::path shell_executable() { return windows_path(WM_E2E_SHELL_EXE); }
std::filesystem::path standin_runtime() { return windows_path(WM_E2E_STANDIN_RUNTIME); }
std::filesystem::path cases_folder() { return windows_path(WM_E2E_CASES_DIR); }

// Variables of the driver's own environment that would choose a runtime or a failure for the
// shell behind the case's back.
constexpr const wchar_t* kCaseVariables[] = {
    L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", L"WEBVIEW2_USER_DATA_FOLDER",
    L"WEBVIEW2_RELEASE_CHANNEL_PREFERENCE", L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS",
    L"STANDIN_LOG", L"STANDIN_FAIL_ENVIRONMENT", L"STANDIN_FAIL_CONTROLLER", L"STANDIN_HOLD_CONTROLLER",
};

std::filesystem::path case_folder_name() {
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    std::replace(name.begin(), name.end(), '/', '_');
    return widen(name);
}

}  // namespace

std::string to_string(Runtime runtime) {
    switch (runtime) {
        case Runtime::none: return "none";
        case Runtime::folder_variable: return "folder_variable";
        case Runtime::drive_relative: return "drive_relative";
        case Runtime::registry: return "registry";
    }
    return "unknown";
}

void ShellCase::SetUp() {
    folder_ = cases_folder() / case_folder_name();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(app_data());
    std::filesystem::copy_file(shell_executable(), executable());
    standin_log_ = StandinLog(folder_ / L"standin.log");

    delete_key_tree(HKEY_CURRENT_USER, kIdentityKey);
    delete_key_tree(HKEY_CURRENT_USER, kToastActivatorKey);
    delete_key_tree(HKEY_CURRENT_USER, kEdgeUpdateKey);
}

void ShellCase::rename_executable(const std::wstring& name) {
    const auto before = executable();
    executable_name_ = name;
    std::filesystem::rename(before, executable());
}

const ChildProcess& ShellCase::start(const Launch& launch) {
    process_.reset();
    installed_runtime_.reset();
    std::filesystem::remove(standin_log_.path());
    standin_log_ = StandinLog(standin_log_.path());  // forgets what it read of the old one
    // What an earlier start of this case left must not pass for this start's work.
    if (start_work_done()) delete_key_tree(HKEY_CURRENT_USER, kToastActivatorKey + L"\\LocalServer32");
    if (launch.runtime == Runtime::registry)
        installed_runtime_.emplace(HKEY_CURRENT_USER, kStableChannelKey, L"EBWebView", standin_runtime().native());
    process_.emplace(launch_shell(launch, standin_log_.path(), L""));
    return *process_;
}

ChildProcess ShellCase::start_another(const std::wstring& tag) const {
    return launch_shell({}, folder_ / (L"standin." + tag + L".log"), tag);
}

ChildProcess ShellCase::launch_shell(const Launch& launch, const std::filesystem::path& log,
                                     const std::wstring& tag) const {
    Environment environment = Environment::inherited();
    for (const wchar_t* name : kCaseVariables) environment.remove(name);
    if (launch.with_app_data)
        environment.set(L"APPDATA", app_data().native());
    else
        environment.remove(L"APPDATA");
    environment.set(L"STANDIN_LOG", log.native());
    if (launch.runtime == Runtime::folder_variable)
        environment.set(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", standin_runtime().native());
    if (launch.runtime == Runtime::drive_relative)
        environment.set(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER",
                        standin_runtime().root_name().native() +
                            std::filesystem::relative(standin_runtime(), folder_).native());
    for (const auto& [name, value] : launch.variables) environment.set(name, value);

    return ChildProcess::start({.executable = executable(),
                                .arguments = launch.arguments,
                                .working_directory = folder_,
                                .environment = std::move(environment),
                                .stdout_file = folder_ / (L"stdout" + tag + L".txt"),
                                .stderr_file = folder_ / (L"stderr" + tag + L".txt"),
                                .show_command = launch.show_command});
}

std::optional<DWORD> ShellCase::wait_for_exit(std::chrono::milliseconds timeout) const {
    return process_->wait_for_exit(timeout);
}

HWND ShellCase::wait_for_shell_window() const {
    HWND window = wait_for_titled_window(process_id(), kProductName);
    if (!window) {
        // Tells a shell that never started from one that started and then stalled or failed.
        const auto exit_code = process_->wait_for_exit(std::chrono::milliseconds(0));
        ADD_FAILURE() << "no shell window after " << kStartTimeout.count() << " s; the process "
                      << (exit_code ? "ended with " + std::to_string(*exit_code) : std::string("still runs"))
                      << "; top-level windows: " << top_level_windows(process_id()).size()
                      << "\nstandard error: " << standard_error() << "\nstand-in log:\n" << standin_log_.text();
    }
    return window;
}

bool ShellCase::wait_for_start_work() const {
    return poll_until(kStartTimeout, [&] { return start_work_done(); });
}

bool ShellCase::start_work_done() const {
    return read_string(HKEY_CURRENT_USER, kToastActivatorKey + L"\\LocalServer32", L"") ==
           L'"' + executable().native() + L'"';
}

HWND ShellCase::wait_for_message_box() const { return e2e::wait_for_message_box(process_id(), kProductName); }

std::optional<std::vector<StandinEntry>> ShellCase::round_trip(HWND shell_window) const {
    const auto answered_before = payloads(standin_log_.entries(), "permission_result").size();
    if (!send_command(wait_for_web_view(shell_window), StandinCommand::permission, "1")) return std::nullopt;
    return standin_log_.wait_until([&](const std::vector<StandinEntry>& entries) {
        return payloads(entries, "permission_result").size() > answered_before;
    });
}

bool ShellCase::settle(HWND shell_window, std::string marker) const {
    if (marker.empty()) marker = "settled-" + std::to_string(++settle_markers_);
    if (!send_command(wait_for_web_view(shell_window), StandinCommand::post_message, "saved:" + marker))
        return false;
    const std::string answer = "shellSaved('" + marker + "')";
    return standin_log_
        .wait_until([&](const std::vector<StandinEntry>& entries) {
            const auto scripts = payloads(entries, "execute_script");
            return std::find(scripts.begin(), scripts.end(), answer) != scripts.end();
        })
        .has_value();
}

std::string ShellCase::standard_error() const {
    std::ifstream file(folder_ / L"stderr.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace e2e
