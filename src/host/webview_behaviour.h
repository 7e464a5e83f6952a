#pragma once
// What makes a web view an application's window rather than a browser tab: no swipe navigation
// back and forth, and a default context menu without the browser's own commands. The page's
// developers still reach DevTools through F12 and Ctrl+Shift+I.

#include "host/com.h"
#include "host/webview2.h"

namespace wm::host {

class AppBehaviour {
public:
    AppBehaviour() = default;
    AppBehaviour(const AppBehaviour&) = delete;
    AppBehaviour& operator=(const AppBehaviour&) = delete;
    ~AppBehaviour() { detach(); }

    // A runtime too old for a setting keeps its default: each is asked for on its own.
    HRESULT attach(ICoreWebView2& webview);
    void detach() noexcept;

private:
    ComPtr<ICoreWebView2_11> webview11_;
    EventRegistrationToken menu_token_{};
};

}  // namespace wm::host
