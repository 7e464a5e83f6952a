#pragma once
// At most one click on the shell's notifications waits to be handled. Any local process may call
// the activator in a loop: each call would raise the window again and queue one more event, also
// while an update waits for its new build.

namespace wm {

class PendingClick {
public:
    // Whether a click may be posted now; it then waits until `handled`, and further clicks before
    // that are dropped.
    bool admit() noexcept {
        if (waiting_) return false;
        waiting_ = true;
        return true;
    }
    void handled() noexcept { waiting_ = false; }

private:
    bool waiting_ = false;
};

}  // namespace wm
