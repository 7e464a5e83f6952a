#pragma once
// Reading and answering the message boxes another process shows.

#include <windows.h>

#include <string>

namespace e2e {

// The process's visible message box with this caption; null when none shows up in time.
HWND wait_for_message_box(DWORD process_id, const std::wstring& caption);

std::wstring message_box_text(HWND box);

// Whether the box offers this button (IDOK, IDCANCEL, ...).
bool has_button(HWND box, int id);

// Clicks the button the way the box's own button would report a click.
void press_button(HWND box, int id);

}  // namespace e2e
