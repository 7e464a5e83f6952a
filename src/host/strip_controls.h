#pragma once
// The strip's standard controls, so that keyboard and screen-reader users reach them: a static
// text and the buttons. Over a page that is not the application's the text is the page's origin
// (elided on the left of its host when it does not fit, whole in the tooltip and the accessible
// name), with "Back to wispermoth" and "Close", and what happened after it when the page failed
// to load; over the application's document that failed, what happened, with "Try again" and
// "Close". Children of the top-level window; the window lays
// them out, answers their commands and paints the strip behind them. The text takes no pointer,
// so that the window answers for it as its title bar. The strip stands before the page in the
// order of Tab and of screen readers; its buttons have access keys, and its text is a live
// region that a screen reader reads out when it appears or changes.

#include <windows.h>

#include <optional>
#include <string>

#include <oleacc.h>

#include "base/strip_layout.h"
#include "host/com.h"
#include "host/handles.h"

namespace wm::host {

// The buttons' identifiers, in WM_COMMAND's low word.
enum StripCommand : WORD {
    kStripBack = 101,   // "Back to wispermoth": the application's origin again
    kStripClose = 102,  // "Close": the window closes as a page's "close" closes it
    kStripRetry = 103,  // "Try again": the document that failed, loaded again at once
};

// Where the keyboard enters the page when it leaves the strip (kPageFocusMessage's WPARAM).
enum class PageEntry : WPARAM {
    resume,  // where the page had it (F6)
    first,   // its first element (Tab past the strip's last button)
    last,    // its last element (Shift+Tab before the strip's first button)
};

class AwayStrip {
public:
    AwayStrip() = default;
    AwayStrip(const AwayStrip&) = delete;
    AwayStrip& operator=(const AwayStrip&) = delete;

    // Makes the controls, hidden, in `parent`, before its existing children in the order of Tab
    // and of screen readers; nothing once they are made.
    void create(HWND parent);
    bool shown() const noexcept { return shown_; }
    // The origin of a page that is not the application's, or nothing; true when the strip
    // appeared or went.
    bool show(const std::optional<std::string>& text);
    // What happened to a document that failed, or nothing once one loaded; it follows the origin
    // while there is one. True when the strip appeared or went.
    bool show_failure(const std::optional<std::string>& text);
    // The words in the font of the window's DPI, made or remade first when needed.
    StripText measure(UINT dpi);
    // Moves the controls where the layout puts them, in the font `measure` made.
    void place(const StripLayout& layout);
    // The system's font or colours changed: the next `measure` reads the font again; the
    // controls are painted again.
    void follow_system_look();
    // Gives the keyboard focus to the first or last button shown; false without a strip.
    bool focus_button(bool last);
    // Whether a button shown has this access key (a letter or digit, upper case).
    bool has_access_key(UINT key) const;
    // Clicks the button shown whose access key this is; false when none has it.
    bool press_access_key(UINT key) const;
    // The pointer moving over the window's title bar, `screen_point` as WM_NCMOUSEMOVE gives it:
    // over the text, the tooltip shows the whole of it.
    void relay_pointer(LPARAM screen_point) const;

private:
    static LRESULT CALLBACK text_procedure(HWND text, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    bool update();
    void paint(HDC dc);
    // Asks screen readers to read the text out, at most once per text shown.
    void announce();
    HWND button_for(UINT key) const;

    // Children of the parent: destroyed with it.
    HWND parent_ = nullptr;
    HWND text_ = nullptr;
    HWND back_ = nullptr;
    HWND retry_ = nullptr;
    HWND close_ = nullptr;
    WNDPROC text_original_ = nullptr;
    host::UniqueWindow tip_;  // the text's tooltip, a window of its own
    host::UniqueFont font_;
    UINT font_dpi_ = 0;
    StripText measured_;  // the words in `font_`
    // Marks the text as a live region; made with the controls, null where the system has none.
    ComPtr<IAccPropServices> annotations_;
    std::wstring announced_;  // the text screen readers were last asked to read, while shown
    bool created_ = false;
    bool shown_ = false;
    std::optional<std::string> away_;
    std::optional<std::string> failure_;
    std::wstring text_shown_;  // the control's text, whole
    // The origin's last elision, kept: the static repaints often, and its text and width rarely change.
    struct Elided {
        std::wstring text;
        LONG width = -1;
        HFONT font = nullptr;
        std::wstring shown;
    } elided_;
};

}  // namespace wm::host
