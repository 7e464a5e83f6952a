#pragma once
// The window messages of a controller's top-level window that a test cannot watch from another
// process: the presses that start the system's move and size loops, the loops themselves, and
// requests for and changes of the window's place in the z-order, the opening of its menus. They
// go to the log as `window_message` lines (PROTOCOL.md). Changes of its live regions, which a
// screen reader reads out, go as `live_region` lines.

#include <windows.h>

#include "log.h"

namespace standin {

class MessageWatch {
public:
    // Watches the top-level window that holds `parent`, on the calling thread. The thread's
    // message hooks come with its first watch and go with its last.
    MessageWatch(HWND parent, Reporter reporter);
    ~MessageWatch();
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;

    // Called by the hooks for every message that reaches a window of the thread.
    void observe(HWND window, UINT message, WPARAM wparam, LPARAM lparam) const;
    // Called by the thread's WinEvent hook for a live region's change in a window of the thread.
    void observe_live_region(HWND window) const;
    // Called once per such message, whatever the number of watches: the benchmark's counters.
    void count(HWND window, bool posted) const noexcept { reporter_.counters().message_seen(window, posted); }

private:
    HWND top_level_;
    Reporter reporter_;
};

}  // namespace standin
