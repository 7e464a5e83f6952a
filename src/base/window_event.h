#pragma once
// The native window events the dispatcher acts on, as the window layer reports them.

#include "base/window_id.h"

namespace wm {

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
    // The web view's document has loaded: the page's first scripts have run.
    page_loaded,
    // Windows made a taskbar button for the window (TaskbarButtonCreated).
    taskbar_button_created,
};

struct WindowEvent {
    WindowId window = 0;
    WindowEventKind kind = WindowEventKind::resized;
};

}  // namespace wm
