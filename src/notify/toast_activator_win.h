#pragma once
// The receiver of clicks on the shell's toasts: a class factory for the activator class named by
// the identity's registration, registered with COM while the shell runs.

#include <windows.h>

#include <functional>
#include <string>

namespace wm {

class ToastActivator {
public:
    // Registers the factory on the calling thread, which must be the user-interface thread in its
    // single-threaded apartment: COM then delivers every click through that thread's message
    // loop. `clicked` runs inside the COM call, so it should only post an event; it gets the
    // clicked toast's tag, empty for a toast without one. When the registration fails, clicks are
    // simply not heard.
    using Clicked = std::function<void(std::string tag)>;
    explicit ToastActivator(Clicked clicked);
    // Revokes the registration, so that a later click starts a new shell instead of calling into
    // one that is ending.
    ~ToastActivator();
    ToastActivator(const ToastActivator&) = delete;
    ToastActivator& operator=(const ToastActivator&) = delete;

private:
    DWORD cookie_ = 0;
};

}  // namespace wm
