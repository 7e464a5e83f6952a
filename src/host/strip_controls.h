#pragma once
// The strip's standard controls, so that keyboard and screen-reader users reach them: the
// origin as a static text (elided on the left of its host when it does not fit, whole in its
// tooltip and its accessible name) and two buttons. Children of the top-level window; the window lays
// them out, answers their commands and paints the strip behind them.

#include <windows.h>

#include <optional>
#include <string>

#include "base/strip_layout.h"
#include "host/handles.h"

namespace wm::host {

// The buttons' identifiers, in WM_COMMAND's low word.
enum StripCommand : WORD {
    kStripBack = 101,   // "Back to wispermoth": the application's origin again
    kStripClose = 102,  // "Close": the window closes as a page's "close" closes it
};

class AwayStrip {
public:
    AwayStrip() = default;
    AwayStrip(const AwayStrip&) = delete;
    AwayStrip& operator=(const AwayStrip&) = delete;

    // Makes the controls, hidden, in `parent`; nothing once they are made.
    void create(HWND parent);
    bool shown() const noexcept { return shown_; }
    // Shows the strip with this text, or hides it for nothing; true when it appeared or went.
    bool show(const std::optional<std::string>& text);
    // Moves the controls where the layout puts them, in a font of the window's DPI.
    void place(const StripLayout& layout, UINT dpi);

private:
    // Children of the parent: destroyed with it.
    HWND text_ = nullptr;
    HWND back_ = nullptr;
    HWND close_ = nullptr;
    host::UniqueWindow tip_;  // the text's tooltip, a window of its own
    host::UniqueFont font_;
    UINT font_dpi_ = 0;
    bool created_ = false;
    bool shown_ = false;
};

}  // namespace wm::host
