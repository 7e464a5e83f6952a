#pragma once
// The keyboard between a web view and the rest of its window: Tab and Shift+Tab out of the page
// lead to the strip, and the keys that belong to the window or the strip (base/page_keys.h) are
// taken from the page before it sees them.

#include "host/com.h"
#include "host/frameless_window.h"
#include "host/webview2.h"

namespace wm::host {

class PageKeyboard {
public:
    PageKeyboard() = default;
    PageKeyboard(const PageKeyboard&) = delete;
    PageKeyboard& operator=(const PageKeyboard&) = delete;
    ~PageKeyboard() { detach(); }

    // The window outlives the controller's handlers, which `detach` removes.
    HRESULT attach(ICoreWebView2Controller& controller, FramelessWindow& window);
    void detach() noexcept;

private:
    ComPtr<ICoreWebView2Controller> controller_;
    EventRegistrationToken move_focus_token_{};
    EventRegistrationToken key_token_{};
};

}  // namespace wm::host
