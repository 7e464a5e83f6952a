#pragma once
// What the dispatcher asks of the platform beyond the windows it holds: the state files, new
// windows, toasts and the update. The Win32 host implements it; tests use a fake.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/geometry.h"
#include "base/window_id.h"
#include "features/badge.h"
#include "features/snap_area.h"
#include "notify/notification.h"

namespace wm {

// A window's web view.
class WebView {
public:
    virtual ~WebView() = default;
    // The address of the page shown now; nothing when it cannot be read.
    virtual std::optional<std::string> page_address() const = 0;
    // Runs a script in the page without waiting for it; the outcome is ignored.
    virtual void run_script(std::string_view script) = 0;
    virtual void navigate(const std::string& address) = 0;
    virtual void set_visible(bool visible) = 0;
    // The page's zoom factor, 1 for 100 %.
    virtual void set_zoom(double zoom) = 0;
};

// A top-level window of the shell.
class NativeWindow {
public:
    virtual ~NativeWindow() = default;
    virtual WindowId id() const = 0;
    virtual bool is_minimized() const = 0;
    // The window layer's maximised flag, kept from every WM_SIZE.
    virtual bool is_maximized() const = 0;
    virtual void minimize() = 0;
    virtual void set_maximized(bool maximized) = 0;
    // Starts the system's move or size loop as if the frame were pressed at `hit_test`.
    virtual void start_drag(int hit_test) = 0;
    // Restores the window when minimised and makes it the foreground window.
    virtual void bring_forward() = 0;
    // Changes the window only when its topmost state differs.
    virtual void set_always_on_top(bool on) = 0;
    virtual void apply_icon_variant(std::string_view word) = 0;
    // Outer corner and inner size in logical pixels, unless minimised or unreadable.
    virtual std::optional<WindowGeometry> logical_geometry() const = 0;
    // The same, as the window last was when neither maximised nor minimised: where it returns
    // when restored.
    virtual std::optional<WindowGeometry> normal_geometry() const = 0;
    // Where the page's maximise button is, in CSS pixels of the page; nothing to forget it.
    virtual void set_snap_area(const std::optional<CssRect>& area) = 0;
    // Puts the badge on the window's taskbar button, or takes it away for no badge.
    virtual void show_badge(const Badge& badge) = 0;
};

// One open window. Members are destroyed in reverse order: the web view before its window.
struct WindowRecord {
    std::unique_ptr<NativeWindow> native_window;
    std::unique_ptr<WebView> webview;
    // The maximised state the page was last told; a minimised window keeps the one it had.
    bool maximized_reported = false;
    SnapPointer snap_pointer = SnapPointer::outside;
    // The document has loaded and no other has replaced it since: its functions are defined.
    bool page_loaded = false;
};

// What a new window is built from.
struct WindowRequest {
    std::string address;
    // Outer corner and inner size; without one, the default size where the system places it.
    std::optional<WindowGeometry> geometry;
    bool always_on_top = false;
    std::string_view icon_variant;
    std::string_view init_script;
    bool maximized = false;  // opened maximised, over the geometry as its normal rectangle
    bool minimized = false;  // opened minimised, restoring to the normal or maximised window
    double zoom = 1.0;       // the web view's zoom factor from its first page on
};

class ShellHost {
public:
    virtual ~ShellHost() = default;
    virtual void write_state_file(std::string_view name, std::string_view contents) = 0;
    // Hands the toast to the system and returns; a failure is dropped.
    virtual void show_notification(const NotificationRequest& request) = 0;
    // Swaps the staged update in for the running executable and starts it; true once the new
    // process has built its first window or ran on for the whole wait, false with everything put
    // back when it ended first.
    virtual bool apply_update() = 0;
    // An update download of this process has started and not yet ended.
    virtual bool update_download_running() const = 0;
    // An update download of this process completed in this run: only its file is ever applied.
    virtual bool update_downloaded() const = 0;
    // A window with its web view loading the request's address, its page-message handlers posting
    // to the loop; nothing, and nothing left on screen, when either could not be built. Pumps
    // messages while the runtime answers; queued events wait.
    virtual std::optional<WindowRecord> build_window(const WindowRequest& request) = 0;
    // Makes the program start at sign-in, or no longer; whether it does, read back afterwards.
    virtual bool set_autostart(bool on) = 0;
    // Whether the program starts at sign-in, read from the registry now; nothing is written.
    virtual bool read_autostart() = 0;
};

}  // namespace wm
