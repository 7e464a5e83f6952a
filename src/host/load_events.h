#pragma once
// A window's document loads as the runtime ends them (NavigationCompleted), judged by the shell,
// and the retries of a document that failed, as LoadRetries decides them: its timer, Windows'
// network reports and the user's "Try again" brought to it.

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

#include "base/load_result.h"
#include "base/load_retries.h"
#include "host/handles.h"
#include "host/webview2.h"

namespace wm::host {

class LoadWatch {
public:
    using Judge = std::function<AfterLoad(const LoadResult&)>;
    // Loads the address in the web view.
    using Load = std::function<void(const std::string& address)>;
    // Another document took the failed one's place: what was said of it goes.
    using Forget = std::function<void()>;

    LoadWatch(Judge judge, Load load, Forget forget)
        : judge_(std::move(judge)), load_(std::move(load)), forget_(std::move(forget)) {}
    ~LoadWatch();
    LoadWatch(const LoadWatch&) = delete;
    LoadWatch& operator=(const LoadWatch&) = delete;

    HRESULT attach(ICoreWebView2& webview);
    void detach(ICoreWebView2& webview) noexcept;
    // "Try again": the document that failed, loaded at once.
    void retry_now();

private:
    // Windows' report that the network's reachability changed (NotifyNetworkConnectivityHintChange),
    // registered while a document waits to be loaded again.
    class NetworkWatch {
    public:
        NetworkWatch() = default;
        ~NetworkWatch() { stop(); }
        NetworkWatch(const NetworkWatch&) = delete;
        NetworkWatch& operator=(const NetworkWatch&) = delete;
        // Posts kNetworkBackMessage to `window` whenever the internet is reachable again.
        void start(HWND window);
        void stop() noexcept;

    private:
        HANDLE registration_ = nullptr;
    };

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    void content_loading(ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args);
    void completed(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args);
    void follow(const LoadRetries::Plan& plan);
    // The timer and the network's reports need a window; made at the first failure.
    bool ensure_retry_window();
    void stop_retrying() noexcept;

    Judge judge_;
    Load load_;
    Forget forget_;
    EventRegistrationToken completed_token_{};
    EventRegistrationToken content_token_{};
    // The last navigation that brought a document, its own or the runtime's error page: one that
    // failed without one left the page as it was (a download, a navigation stopped).
    UINT64 last_document_ = 0;
    LoadRetries retries_;
    // Made at the first failure, for the timer and the network's report; before the watch, which
    // posts to it and so must go first.
    UniqueWindow retry_window_;
    NetworkWatch network_;
};

}  // namespace wm::host
