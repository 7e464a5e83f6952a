#pragma once
// The few keys the shell takes from a page that has the keyboard focus: those that belong to
// the window (its system menu, closing it) or to the strip (moving to it, its access keys).
// Everything else stays the page's.

namespace wm {

enum class PageKeyAction {
    none,             // the page's
    system_menu,      // Alt+Space: the window's system menu
    close_window,     // Alt+F4
    to_strip,         // F6 while the strip shows: the strip's first button
    strip_access_key,  // Alt+letter while the strip shows: a button whose access key it is, if any
    show_access_keys   // Alt pressed while the strip shows: its buttons underline their access keys,
                       // and the key stays the page's
};

// A key as the runtime reports it, before the page sees it.
struct PageKey {
    bool down = false;    // pressed, not released
    bool system = false;  // WM_SYSKEYDOWN or WM_SYSKEYUP: Alt, or F10
    unsigned virtual_key = 0;
    bool alt = false;
    bool ctrl = false;  // with Alt: AltGr, which types characters on many layouts
};

PageKeyAction page_key_action(const PageKey& key, bool strip_shown) noexcept;

}  // namespace wm
