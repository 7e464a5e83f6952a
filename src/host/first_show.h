#pragma once
// A window's first show, as Windows rules it: the first ShowWindow of a process whose starter
// gave a STARTUPINFO may be given the starter's command instead of its own.

#include <windows.h>

namespace wm::host {

// Whoever started the process asked for its window minimised: a shortcut set to "Minimised",
// `start /min`, a program that starts this one with a minimise command.
bool start_asks_minimized() noexcept;

// Shows a window just made: maximised when `maximized`, otherwise in its normal place, and
// minimised when `minimized`, restoring then to the maximised or normal window.
void show_first(HWND window, bool maximized, bool minimized) noexcept;

}  // namespace wm::host
