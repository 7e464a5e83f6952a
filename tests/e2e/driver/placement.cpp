#include "driver/placement.h"

namespace e2e {

std::ostream& operator<<(std::ostream& out, const Placement& placement) {
    return out << "(" << placement.x << "," << placement.y << ") " << placement.client;
}

Placement placement_of(HWND window) {
    const RECT outer = window_rect(window);
    return {outer.left, outer.top, client_size(window)};
}

bool place_window(HWND window, const Placement& placement) {
    const RECT outer = window_rect(window);
    const Size client = client_size(window);
    const LONG border_width = (outer.right - outer.left) - client.width;
    const LONG border_height = (outer.bottom - outer.top) - client.height;
    // Wine scales the coordinates a caller passes from the caller's system DPI, fixed when this
    // program started, to the window's DPI, whatever the caller's awareness; so pass them in the
    // former. Rectangles read back are not scaled.
    const int own = static_cast<int>(GetDpiForSystem());
    const int theirs = static_cast<int>(GetDpiForWindow(window));
    const auto caller = [&](LONG physical) { return theirs ? MulDiv(physical, own, theirs) : physical; };
    return SetWindowPos(window, nullptr, caller(placement.x), caller(placement.y),
                        caller(placement.client.width + border_width), caller(placement.client.height + border_height),
                        SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

std::string stored_text(const Placement& placement) {
    return "pt " + std::to_string(placement.x) + " " + std::to_string(placement.y) + " " +
           std::to_string(placement.client.width) + " " + std::to_string(placement.client.height);
}

}  // namespace e2e
