#include "host/first_show.h"

namespace wm::host {

bool start_asks_minimized() noexcept {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    GetStartupInfoW(&startup);
    // wShowWindow means something only with this flag.
    if (!(startup.dwFlags & STARTF_USESHOWWINDOW)) return false;
    switch (startup.wShowWindow) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
    case SW_FORCEMINIMIZE:
        return true;
    default:
        return false;
    }
}

namespace {

bool shows_as(HWND window, bool maximized, bool minimized) noexcept {
    return IsWindowVisible(window) && (IsIconic(window) != FALSE) == minimized &&
           (minimized || (IsZoomed(window) != FALSE) == maximized);
}

}  // namespace

void show_first(HWND window, bool maximized, bool minimized) noexcept {
    // "nCmdShow ... is ignored the first time an application calls ShowWindow, if the program that
    // launched the application provides a STARTUPINFO structure", as Explorer, the Start menu, a
    // shortcut and sign-in's start all do: a window saved maximised would open in its normal
    // place, or hidden after a start with SW_HIDE. Later calls are obeyed, so a first call that
    // was given the starter's command is made again.
    if (minimized && maximized) {
        // Minimised, restoring to maximised: the flag holds only with SW_SHOWMINIMIZED.
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window, &placement)) {
            placement.flags |= WPF_RESTORETOMAXIMIZED;
            placement.showCmd = SW_SHOWMINIMIZED;
            (void)SetWindowPlacement(window, &placement);
        }
    }
    const int command = minimized ? SW_SHOWMINNOACTIVE : maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    for (int attempt = 0; attempt < 2 && !shows_as(window, maximized, minimized); ++attempt)
        ShowWindow(window, command);
}

}  // namespace wm::host
