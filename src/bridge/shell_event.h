#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace wm {

// A window's identifier: its HWND's value.
using WindowId = std::uintptr_t;

// The only user event of the loop: a message from a window's page, or a download notice.
struct ShellEvent {
    WindowId source_window = 0;
    std::string message;  // UTF-8, exactly as received
};

// The native window events the dispatcher acts on; the window layer reports no others.
enum class WindowEventKind { resized, moved, close_requested };

struct WindowEvent {
    WindowId window = 0;
    WindowEventKind kind = WindowEventKind::resized;
};

using LoopEvent = std::variant<ShellEvent, WindowEvent>;

// Set by the handler for every event: wait for the next one, or end the loop with exit code 0.
enum class LoopControl { wait, exit };

}  // namespace wm
