#pragma once
// The real mouse of the test display, driven with xdotool on the X server, so that the shell gets
// its input exactly as from a user: through the X server and Wine's own input path.

#include <windows.h>

namespace e2e {

// Moves the pointer to a point of the screen and waits until the system reports it there.
bool move_pointer(POINT point);

// The left button held down for the object's lifetime, so that a failed case never leaves the
// display with a pressed button.
class LeftButton {
public:
    LeftButton();
    LeftButton(const LeftButton&) = delete;
    LeftButton& operator=(const LeftButton&) = delete;
    ~LeftButton();

    bool pressed() const { return pressed_; }
    // Lets the button go; false when xdotool failed.
    bool release();

private:
    bool pressed_ = false;
};

}  // namespace e2e
