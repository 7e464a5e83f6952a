#pragma once
// The dispatcher: owns the shell's run-time state and acts on every loop event, one at a time,
// on the user-interface thread.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/shell_event.h"
#include "bridge/shell_host.h"

namespace wm {

struct ShellState {
    std::optional<WindowId> picker_window;  // never cleared: open while it is in `windows`
    std::string icon_variant;
    std::string init_script;  // built once at start, given unchanged to every later window
    std::map<WindowId, WindowRecord> windows;
    WindowId main_window = 0;
    // The windows opened after the main window and still open, oldest first.
    std::vector<WindowId> later_windows;
    bool always_on_top = false;
};

void handle_event(ShellState& state, ShellHost& host, const LoopEvent& event, LoopControl& control);
void handle_shell_event(ShellState& state, ShellHost& host, const ShellEvent& event, LoopControl& control);
void handle_window_event(ShellState& state, ShellHost& host, const WindowEvent& event, LoopControl& control);

// Brings the main window forward, or once it is closed the earliest-opened window still open.
void bring_application_forward(ShellState& state);

// Drops the window's record (its web view, then its window), ends the loop when none is left,
// and tells the remaining pages.
void remove_window(ShellState& state, WindowId window, LoopControl& control);
void broadcast_windows_changed(ShellState& state);

// A further window on the path, cascaded from the source window; nothing for an invalid path or a
// window that could not be built.
void open_extra_window(ShellState& state, ShellHost& host, const WindowRecord& source, std::string_view path);
// The one picker: brought forward when open, otherwise built on the path at its fixed size.
void open_picker(ShellState& state, ShellHost& host, const WindowRecord& source, std::string_view path);

void set_always_on_top(ShellState& state, ShellHost& host, bool on);
void set_icon_variant(ShellState& state, ShellHost& host, std::string_view word);
// Stores the main window's placement; nothing while it is minimised or unreadable.
void save_window_geometry(ShellHost& host, const NativeWindow& window);

}  // namespace wm
