#pragma once
// The dispatcher: owns the shell's run-time state and acts on every loop event, one at a time,
// on the user-interface thread.

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/loop_event.h"
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
    // The one zoom of every window, as the user last set it in any of them.
    double zoom = 1.0;
    // Not saved: a new run starts without one.
    Badge badge;
    // As read at start and after each change: whether the program starts at sign-in.
    bool autostart = false;
    // The tag of a clicked notification that the application's page has not been told yet.
    std::string clicked_tag;
};

// Set by the handler for every event: wait for the next one, or end the loop with exit code 0.
enum class LoopControl { wait, exit };

void handle_event(ShellState& state, ShellHost& host, const LoopEvent& event, LoopControl& control);

}  // namespace wm
