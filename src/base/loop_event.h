#pragma once
// The events the user-interface loop carries to the dispatcher, one type for each kind.

#include <string>
#include <variant>

#include "base/window_event.h"
#include "base/window_id.h"

namespace wm {

// A message from a window's page.
struct PageMessage {
    WindowId source_window = 0;
    std::string message;  // UTF-8, exactly as received
    // The address of the page that posted it: a page that is not the application must not
    // command the shell, even when the window shows the application again by the time the
    // message is handled.
    std::string source_page;
};

// How a download ended, as its page is told.
struct DownloadEnd {
    enum class Kind { update_finished, update_failed, saved };
    Kind kind = Kind::saved;
    std::string file_name;  // for `saved`: the name alone, UTF-8, without its folder

    bool operator==(const DownloadEnd&) const = default;
};

// A download's end, in the name of the window whose page started it.
struct DownloadEnded {
    WindowId source_window = 0;
    DownloadEnd end;
    // The page that started the download, judged as a message's sender is.
    std::string source_page;
};

// The user clicked one of the shell's toasts.
struct NotificationClicked {
    std::string tag;  // the toast's tag; empty for a toast without one
};

// A window's web view reported a new zoom factor: the user's, or one the shell gave it.
struct ZoomChanged {
    WindowId source_window = 0;
    double zoom = 1.0;
};

using LoopEvent = std::variant<PageMessage, WindowEvent, DownloadEnded, NotificationClicked, ZoomChanged>;

}  // namespace wm
