#pragma once
// Building a shell window with its web view, and the Win32 side of the dispatcher's host.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/shell_host.h"
#include "features/badge_win.h"
#include "host/event_loop.h"
#include "host/webview.h"
#include "notify/pending_click.h"
#include "notify/toast_activator_win.h"
#include "notify/toast_win.h"
#include "update/update_paths.h"

namespace wm {

inline constexpr std::uint32_t kDefaultInnerWidth = 1200;
inline constexpr std::uint32_t kDefaultInnerHeight = 800;

struct BuiltWindow {
    std::optional<WindowRecord> record;
    std::wstring error;  // the window or web view layer's description when record is empty
};

class Win32ShellHost final : public ShellHost {
public:
    // `folder_held` answers the runtime's refusal of a page-data folder that another process's
    // browser holds with other options (below, WebViewEnvironment); `runtime` is where the start
    // found the runtime.
    Win32ShellHost(host::EventLoop& loop, host::WebViewEnvironment::FolderHeld folder_held,
                   host::RuntimeLocation runtime)
        : loop_(loop), environment_(std::move(folder_held), std::move(runtime)) {}

    // With the layer's description of a failure, for the main window's dialog.
    BuiltWindow build(const WindowRequest& request);

    void write_state_file(std::string_view name, std::string_view contents) override;
    void show_notification(const NotificationRequest& request) override {
        hear_notification_clicks();
        toasts_.show(request);
    }
    // Registers the receiver of clicks on the shell's notifications with COM, once: at the first
    // notification, or before the first window in a start that COM made for a click.
    void hear_notification_clicks();
    // The click waiting in the loop has been handled: the next one may be posted.
    void notification_click_handled() { pending_click_.handled(); }
    bool apply_update() override;
    bool update_download_running() const override;
    bool update_downloaded() const override { return downloaded_update_.has_value(); }
    std::optional<WindowRecord> build_window(const WindowRequest& request) override {
        return build(request).record;
    }
    bool set_autostart(bool on) override;
    bool read_autostart() override;

private:
    // Tells the window's page how its download ended; an update download's file is recorded first.
    void download_ended(WindowId window, const host::FinishedDownload& download);

    host::EventLoop& loop_;
    // Created for the first window, shared by every later one.
    host::WebViewEnvironment environment_;
    Toasts toasts_;
    // Every window's silent downloads, which may end after their window.
    host::DownloadWatch downloads_{loop_};
    // The file that the last update download of this run completed, known by what it is, while no
    // later update download failed and no attempt to apply it did.
    struct DownloadedUpdate {
        FileIdentity file;
        std::uint64_t order = 0;  // the download's, in the download watch's count
    };
    std::optional<DownloadedUpdate> downloaded_update_;
    // Shared by every window; outlives them, as the host outlives the dispatcher's state.
    TaskbarOverlay taskbar_;
    PendingClick pending_click_;
    // Not made in a start that never notifies: COM's local-server registration is a large share
    // of a start's time and memory.
    std::optional<ToastActivator> activator_;
};

}  // namespace wm
