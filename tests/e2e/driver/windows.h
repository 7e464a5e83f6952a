#pragma once
// Finding and inspecting another process's top-level windows.

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace e2e {

// Every top-level window of the process, visible or not, in z-order.
std::vector<HWND> top_level_windows(DWORD process_id);

std::wstring window_title(HWND window);
std::wstring window_class(HWND window);

// The process's top-level windows with this title that are not message boxes.
std::vector<HWND> titled_windows(DWORD process_id, const std::wstring& title);

// The first visible window of `titled_windows`, waiting for it to appear; null after the timeout.
HWND wait_for_titled_window(DWORD process_id, const std::wstring& title);

struct Size {
    LONG width = 0;
    LONG height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};
std::ostream& operator<<(std::ostream& out, const Size& size);

// Client size in physical pixels.
Size client_size(HWND window);
std::string to_string(const RECT& rect);

// The window rectangle in screen coordinates.
RECT window_rect(HWND window);
// The client rectangle in screen coordinates.
RECT client_rect_on_screen(HWND window);

// The window's own visible child of that class (and title, when one is given); null when none.
HWND visible_child(HWND window, const std::wstring& child_class, const std::wstring& title = {});

// What the screen shows in that rectangle, row by row, as 0x00RRGGBB; empty when it cannot be read.
std::vector<std::uint32_t> screen_pixels(const RECT& rect);

}  // namespace e2e
