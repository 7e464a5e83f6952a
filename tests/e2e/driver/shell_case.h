#pragma once
// The fixture of every end-to-end case: a fresh folder with its own copy of wispermoth.exe, its
// own APPDATA and stand-in log, the per-user registry state cleared, and one started shell.

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/product.h"
#include "driver/log.h"
#include "driver/process.h"
#include "driver/registry.h"

namespace e2e {

inline const std::wstring kProductName(wm::kProductNameW);
inline const std::wstring kIdentityKey = L"Software\\Classes\\AppUserModelId\\" + std::wstring(wm::kAppIdentityW);
// Fixed for good: a shell naming another class would leave clicks on older toasts unheard.
inline const std::wstring kToastActivatorClass = L"{BB6C802F-3422-45F9-A006-360D8F9943E4}";
inline const std::wstring kToastActivatorKey = L"Software\\Classes\\CLSID\\" + kToastActivatorClass;
inline const std::wstring kEdgeUpdateKey = L"Software\\Microsoft\\EdgeUpdate";
inline const std::wstring kStableChannelKey =
    kEdgeUpdateKey + L"\\ClientState\\{F3017226-FE2A-4295-8BDF-00C3A9A7E4C5}";

// How a case offers the WebView2 runtime to the shell.
enum class Runtime {
    none,             // nowhere: the missing-runtime path
    folder_variable,  // the stand-in named by WEBVIEW2_BROWSER_EXECUTABLE_FOLDER
    drive_relative,   // the same, drive-relative ("Z:..\standin") from the shell's working folder
    registry,         // the stand-in registered as the installed runtime of the stable channel
};

std::string to_string(Runtime runtime);

struct Launch {
    Runtime runtime = Runtime::folder_variable;
    bool with_app_data = true;
    // Further variables, e.g. STANDIN_FAIL_CONTROLLER.
    std::vector<std::pair<std::wstring, std::wstring>> variables = {};
    std::wstring arguments = {};  // the command line after the executable, e.g. COM's "-Embedding"
    std::optional<WORD> show_command = {};  // the starter's STARTUPINFO show command
};

class ShellCase : public testing::Test {
protected:
    void SetUp() override;

    // Starts the case's copy of wispermoth.exe. A second start (a restart) first ends the
    // previous process if it still runs; each start begins a new stand-in log.
    const ChildProcess& start(const Launch& launch = {});
    // One more shell beside the case's own, sharing its application folder (the default launch),
    // with its own stand-in log "standin.<tag>.log" in the case's folder.
    ChildProcess start_another(const std::wstring& tag) const;
    DWORD process_id() const { return process_->id(); }
    std::optional<DWORD> wait_for_exit(std::chrono::milliseconds timeout = kEffectTimeout) const;

    // The shell's visible top-level window titled "wispermoth"; null when none shows in time.
    HWND wait_for_shell_window() const;
    // The shell's message box captioned "wispermoth"; null when none shows in time.
    HWND wait_for_message_box() const;
    // Waits until the shell's start has done what it leaves until after its first Navigate (the
    // clean-ups, moth.png, the identity, the Run value), which ends with naming this executable
    // as the notification activator's server. False when that does not happen in time.
    bool wait_for_start_work() const;

    // Asks the stand-in for a microphone permission and waits for the answer: proof that the
    // shell's loop turns. The answer is given inside the runtime's callback, so it is no barrier
    // for events the shell has queued; `settle` is. Returns the log at that point; nothing when no
    // answer came.
    std::optional<std::vector<StandinEntry>> round_trip(HWND shell_window) const;

    // Waits until the shell has handled every event queued before now, window events included:
    // a "saved:" marker joins the back of the same queue, so its answer comes after theirs.
    // Needs the page on the origin. False when the answer does not come. The marker is the
    // text after "saved:", one new to the case when none is given.
    bool settle(HWND shell_window, std::string marker = {}) const;

    const std::filesystem::path& folder() const { return folder_; }
    std::filesystem::path executable() const { return folder_ / executable_name_; }
    // Renames the case's copy of the executable before the shell is started.
    void rename_executable(const std::wstring& name);
    std::filesystem::path app_data() const { return folder_ / L"appdata"; }
    const StandinLog& standin_log() const { return standin_log_; }
    std::string standard_error() const;

private:
    // The activator's server names this case's executable.
    bool start_work_done() const;
    ChildProcess launch_shell(const Launch& launch, const std::filesystem::path& log, const std::wstring& tag) const;

    std::filesystem::path folder_;
    std::wstring executable_name_ = L"wispermoth.exe";
    StandinLog standin_log_{std::filesystem::path()};
    // Declared before the process so that the runtime stays registered until it is gone.
    std::optional<ScopedStringKey> installed_runtime_;
    std::optional<ChildProcess> process_;
    mutable int settle_markers_ = 0;
};

template <class Param>
class ShellCaseWithParam : public ShellCase, public testing::WithParamInterface<Param> {};

}  // namespace e2e
