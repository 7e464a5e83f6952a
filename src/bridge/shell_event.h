#pragma once

#include <string>
#include <variant>

#include "base/window_id.h"

namespace wm {

// A user event of the loop: a message from a window's page, or a download notice.
struct ShellEvent {
    WindowId source_window = 0;
    std::string message;  // UTF-8, exactly as received
    // The address of the page that posted the message (for a notice, of the page whose download
    // it was): a page that is not the application must not command the shell, even when the
    // window shows the application again by the time the message is handled.
    std::string source_page;
};

// The native window events the dispatcher acts on; the window layer reports no others.
enum class WindowEventKind {
    resized,
    moved,
    close_requested,
    // The user asked, from the strip over a page that is not the application's, for the
    // application again.
    back_requested,
    // The pointer over the page's maximise button (the "snap:" rectangle): entered it, pressed,
    // released or left it.
    snap_entered,
    snap_pressed,
    snap_released,
    snap_left,
    // The web view shows a new document: the page that sent the rectangle is gone.
    page_replaced,
};

struct WindowEvent {
    WindowId window = 0;
    WindowEventKind kind = WindowEventKind::resized;
};

// The user clicked one of the shell's toasts.
struct NotificationClicked {};

using LoopEvent = std::variant<ShellEvent, WindowEvent, NotificationClicked>;

// Set by the handler for every event: wait for the next one, or end the loop with exit code 0.
enum class LoopControl { wait, exit };

}  // namespace wm
