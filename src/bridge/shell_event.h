#pragma once

#include <string>
#include <variant>

#include "base/window_event.h"
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

// The user clicked one of the shell's toasts.
struct NotificationClicked {};

using LoopEvent = std::variant<ShellEvent, WindowEvent, NotificationClicked>;

// Set by the handler for every event: wait for the next one, or end the loop with exit code 0.
enum class LoopControl { wait, exit };

}  // namespace wm
