#pragma once
// Placing and measuring the shell's windows in physical pixels at any scale.

#include <windows.h>

#include <ostream>
#include <string>

#include "driver/windows.h"

namespace e2e {

struct Placement {
    LONG x = 0;  // outer corner
    LONG y = 0;
    Size client;
    friend bool operator==(const Placement&, const Placement&) = default;
};
std::ostream& operator<<(std::ostream& out, const Placement& placement);

// Where the window's outer corner lies and how large its client area is now, in physical pixels.
Placement placement_of(HWND window);

// Puts the window's outer corner there and gives its client area that size, in physical pixels,
// keeping whatever borders the frame has now; false when refused.
bool place_window(HWND window, const Placement& placement);

// The text the shell stores for a placement at 96 DPI, where logical and physical pixels agree.
std::string stored_text(const Placement& placement);

}  // namespace e2e
