#pragma once
// The stand-in WinRT toast classes (tests/toast_standin): registered in the prefix for a case,
// and their log read back as the toasts shown and the objects still alive.

#include <windows.h>

#include <string>
#include <vector>

#include "driver/log.h"

namespace e2e {

// Registers the stand-in as ToastNotificationManager, ToastNotification and XmlDocument for the
// lifetime of the object; without `registered`, makes sure that none of them is (stock Wine).
class ToastClasses {
public:
    explicit ToastClasses(bool registered);
    ToastClasses(const ToastClasses&) = delete;
    ToastClasses& operator=(const ToastClasses&) = delete;
    ~ToastClasses();
};

struct ShownToast {
    std::string identity;  // the notifier's application identity
    std::string xml;       // the content as the document loaded it
};

std::vector<ShownToast> shown_toasts(const std::vector<StandinEntry>& entries);

// Clicks the toast the process showed last, as Windows reports a click (the stand-in's click
// window on the shell's thread); the HRESULT of the click, or E_FAIL when the process has no
// notifier to click.
HRESULT click_toast(DWORD process_id);

// The objects made and not yet released, in the order they were made.
std::vector<std::string> live_objects(const std::vector<StandinEntry>& entries);

// For each toast whose document was released, the microseconds from the first call the shell
// made into the classes for it (for the first toast: the first factory asked for) to that
// release, which is the shell's last act for the toast.
std::vector<double> toast_spans_us(const std::vector<StandinEntry>& entries);

}  // namespace e2e
