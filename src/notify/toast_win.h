#pragma once
// The shell's notifications as Windows toasts, through the WinRT notification classes.

#include <memory>

#include "notify/notification.h"

namespace wm {

struct ToastClasses;

class Toasts {
public:
    Toasts();
    ~Toasts();
    Toasts(const Toasts&) = delete;
    Toasts& operator=(const Toasts&) = delete;

    // Builds the toast and hands it to the system on the calling thread, which must be the
    // user-interface thread (a single-threaded apartment). Every failure is dropped.
    void show(const NotificationRequest& request);

private:
    // What every toast reuses, made by the first toast that gets that far.
    std::unique_ptr<ToastClasses> classes_;
    // combase has no WinRT entry points (before Windows 8): nothing is ever tried again.
    bool winrt_missing_ = false;
};

}  // namespace wm
