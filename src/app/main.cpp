// The entry: start-up in its fixed order, then the event loop until the last window goes.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdlib>
#include <exception>
#include <variant>

#include "app/app_files.h"
#include "app/failure_dialogs.h"
#include "app/shell_window.h"
#include "base/product.h"
#include "bridge/dispatcher.h"
#include "bridge/init_script.h"
#include "features/autostart_win.h"
#include "features/state_files.h"
#include "host/event_loop.h"
#include "host/first_show.h"
#include "host/handles.h"
#include "host/text.h"
#include "host/webview2_loader.h"
#include "update/update_files_win.h"

namespace {

// The user-interface thread is a single-threaded apartment with OLE (drag and drop) ready.
class OleApartment {
public:
    OleApartment() : initialized_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleApartment() {
        if (initialized_) OleUninitialize();
    }
    OleApartment(const OleApartment&) = delete;
    OleApartment& operator=(const OleApartment&) = delete;

private:
    bool initialized_;
};

// GUI programs have no console, but a parent that gave them a standard error stream reads it.
void write_error_line(const std::wstring& description) {
    const std::string line = "Error: " + wm::host::to_utf8(description) + "\n";
    DWORD written = 0;
    const HANDLE stream = GetStdHandle(STD_ERROR_HANDLE);
    if (stream && stream != INVALID_HANDLE_VALUE)
        (void)WriteFile(stream, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

// COM starts the shell with "-Embedding" to hand it a click on one of its notifications; every
// other argument is ignored.
bool started_for_a_click() {
    int count = 0;
    const wm::host::UniqueHandleOf<LPWSTR*, &LocalFree> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
    for (int i = 1; arguments && i < count; ++i)
        if (_wcsicmp(arguments.get()[i], L"-Embedding") == 0 || _wcsicmp(arguments.get()[i], L"/Embedding") == 0)
            return true;
    return false;
}

// What no window needs before it shows: run from the loop once the first window has navigated.
// The activator's server is named last, so that a reader of the registry knows this work done.
void tidy_after_first_navigation(bool started_as_update) {
    // Started as an update, this build must not delete its predecessor's file while that one waits
    // to learn whether to put it back; the wait deletes it.
    if (!started_as_update) wm::clean_update_files();
    wm::remove_leftover_files();
    (void)wm::refresh_autostart();
    wm::register_app_identity(wm::write_app_icon_file());
}

int run_shell() {
    wm::UpdateStart update_start = wm::take_update_start();
    const bool started_as_update = static_cast<bool>(update_start.ready);

    // Before the runtime check: the missing-runtime dialog opens its page with ShellExecute,
    // which may hand the address to COM objects.
    OleApartment apartment;
    auto runtime = wm::host::find_runtime();
    if (!runtime) {
        if (!started_as_update) wm::clean_update_files();
        wm::show_missing_runtime_dialog();
        return 0;
    }
    // Before any window: the taskbar groups windows under the identity the process has when the
    // first one appears.
    wm::set_process_identity();

    auto loop = wm::host::EventLoop::create();
    if (!loop) {
        const std::wstring description = wm::host::describe_last_error(GetLastError());
        wm::show_window_failure_dialog(description);
        write_error_line(description);
        return 1;
    }

    const auto placement = wm::load_window_placement();
    const bool always_on_top = wm::load_always_on_top();
    const std::string icon_variant = wm::load_icon_variant();
    const double zoom = wm::load_zoom();
    // Read for the page's shellInfo; a value naming a moved executable is rewritten later.
    const bool autostart = wm::read_autostart();

    wm::ShellState state;
    state.always_on_top = always_on_top;
    state.icon_variant = icon_variant;
    state.zoom = zoom;
    state.autostart = autostart;
    state.init_script = wm::build_init_script(always_on_top, icon_variant, autostart);

    // Started as an update, this build may find its predecessor's browser on the same page data
    // with other options (a release that changed them), which the runtime refuses. The
    // predecessor ends its browser before starting this build, where the runtime reports the end;
    // where it does not (an older runtime, a browser slower than the predecessor's wait), the
    // predecessor is told at once, as it ends once told or after its whole wait, which keeps the
    // update just the same, and creation is tried again while its browser ends. Only an update
    // start retries: any other refusal stands.
    wm::Win32ShellHost host(
        *loop,
        [&update_start, &loop] {
            if (!update_start.ready) return false;
            wm::report_update_ready(update_start, *loop);
            return true;
        },
        std::move(*runtime));
    // Before the first window in a start for a click: COM waits for the registration to hand the
    // click over, and the click, queued, then brings the first window forward once it is there.
    // Any other start registers with its first notification.
    if (started_for_a_click()) host.hear_notification_clicks();
    auto built = host.build({.address = std::string(wm::kOriginRoot),
                             .geometry = placement ? std::optional(placement->normal) : std::nullopt,
                             .always_on_top = always_on_top,
                             .icon_variant = icon_variant,
                             .init_script = state.init_script,
                             .maximized = placement && placement->maximized,
                             // Only the first window: a shortcut set to "Minimised" asks it of the start.
                             .minimized = wm::host::start_asks_minimized(),
                             .zoom = zoom});
    // A quit message ends the shell normally, also while its first window waits for the runtime.
    if (!built.record && loop->quit_received()) return 0;
    if (!built.record) {
        wm::show_window_failure_dialog(built.error);
        write_error_line(built.error);
        return 1;
    }

    wm::report_update_ready(update_start, *loop);
    loop->defer([started_as_update] { tidy_after_first_navigation(started_as_update); });

    state.main_window = built.record->native_window->id();
    state.windows.emplace(state.main_window, std::move(*built.record));
    // The handler owns the state: when the loop drops it, every web view and window goes.
    return loop->run([state = std::make_shared<wm::ShellState>(std::move(state)), &host](const wm::LoopEvent& event) {
        if (std::holds_alternative<wm::NotificationClicked>(event)) host.notification_click_handled();
        wm::LoopControl control = wm::LoopControl::wait;
        wm::handle_event(*state, host, event, control);
        return control == wm::LoopControl::wait;
    });
}

}  // namespace

// Replaces the standard library's default terminate handler, which names the exception's type on
// the standard error stream and brings a demangler and a printf of its own (about 58 KiB) for it.
// Every exception is caught at the entry; one that escapes a noexcept function ends the process
// as any terminate does.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // LOAD BEARING: first of all. The executable's folder is often Downloads, where any page may
    // have saved a DLL; from here on no load by name looks there.
    (void)SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS);
    try {
        return run_shell();
    } catch (const std::exception& failure) {
        write_error_line(wm::host::to_wide(failure.what()));
    } catch (...) {
        write_error_line(L"unexpected failure");
    }
    return 1;
}
