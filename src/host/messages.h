#pragma once
// The shell's private window messages.

#include <windows.h>

namespace wm::host {

enum : UINT {
    // To the loop's message-only window: hand the oldest queued event to the handler.
    // WPARAM and LPARAM are unused.
    kWakeMessage = WM_APP + 1,
    // To the loop's message-only window: run the oldest deferred task. WPARAM and LPARAM unused.
    kTaskMessage = WM_APP + 2,
    // To a window's retry window, from a thread of the system's pool: Windows reports the
    // network reachable again. WPARAM and LPARAM unused.
    kNetworkBackMessage = WM_APP + 3,
    // To a shell window, from its strip's buttons: Tab, Shift+Tab or F6 leaves the strip for the
    // page. WPARAM: a PageEntry (host/strip_controls.h). LPARAM unused.
    kPageFocusMessage = WM_APP + 4,
    // To a shell window, posted while its page has the focus (F6): the strip's first button takes
    // it. WPARAM and LPARAM unused.
    kStripFocusMessage = WM_APP + 5,
};

}  // namespace wm::host
