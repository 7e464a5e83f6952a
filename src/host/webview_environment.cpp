// The process's WebView2 environment, and the controllers made from it.

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

#include "host/completion.h"
#include "host/environment_options.h"
#include "host/handles.h"
#include "host/webview.h"
#include "host/webview2_loader.h"

namespace wm::host {

namespace {
// The runtime refuses a second browser with other options on one folder, at the environment or at
// the controller, for as long as the first one's browser processes run: a moment longer than the
// process that started them, unless that process waited for them to end (`hand_over`).
constexpr HRESULT kFolderHeld = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
constexpr std::chrono::milliseconds kFolderRetryInterval{250};
constexpr std::chrono::seconds kFolderWaitTime{10};
// The browser's processes end a moment after its last web view closed.
constexpr std::chrono::seconds kBrowserExitTime{5};
constexpr std::chrono::seconds kPageLoadTime{10};
constexpr std::chrono::milliseconds kPageLoadPoll{50};
}  // namespace

struct WebViewEnvironment::Pending : Completion<ICoreWebView2Environment> {};

HRESULT WebViewEnvironment::create_controller(EventLoop& loop, HWND parent, ComPtr<ICoreWebView2Environment>& made_by,
                                              ComPtr<ICoreWebView2Controller>& controller) {
    HRESULT result = try_controller(loop, parent, made_by, controller);
    // Whoever may end the holder is asked, once; without one the refusal stands.
    if (result != kFolderHeld || !folder_held_ || !std::exchange(folder_held_, nullptr)()) return result;
    const auto deadline = std::chrono::steady_clock::now() + kFolderWaitTime;
    while (result == kFolderHeld && std::chrono::steady_clock::now() < deadline) {
        (void)loop.run_until_signalled({}, kFolderRetryInterval);
        if (loop.quit_received()) return E_ABORT;
        // The vendor advises a new environment for every new attempt.
        forget(made_by.get());
        result = try_controller(loop, parent, made_by, controller);
    }
    return result;
}

HRESULT WebViewEnvironment::try_controller(EventLoop& loop, HWND parent, ComPtr<ICoreWebView2Environment>& made_by,
                                           ComPtr<ICoreWebView2Controller>& controller) {
    made_by.reset();
    HRESULT result = ensure(loop);
    if (FAILED(result)) return result;
    made_by = environment_;
    auto pending = std::make_shared<Completion<ICoreWebView2Controller>>();
    result = made_by->CreateCoreWebView2Controller(
        parent, make_handler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
                    [pending](HRESULT completed, ICoreWebView2Controller* made) {
                        pending->result = completed;
                        if (SUCCEEDED(completed)) pending->value = ComPtr<ICoreWebView2Controller>(made);
                        pending->done = true;
                    })
                    .get());
    if (SUCCEEDED(result) && !loop.run_until([&pending] { return pending->done; })) result = E_ABORT;
    if (SUCCEEDED(result)) result = pending->result;
    if (SUCCEEDED(result) && !pending->value) result = E_POINTER;
    if (SUCCEEDED(result)) controller = std::move(pending->value);
    return result;
}

HRESULT WebViewEnvironment::ensure(EventLoop& loop) {
    if (environment_) return S_OK;
    if (!pending_) {
        auto options = make_environment_options();
        if (!options) return E_OUTOFMEMORY;
        auto pending = std::make_shared<Pending>();
        const HRESULT started = create_environment(
            std::exchange(runtime_, std::nullopt), options.get(), page_data_folder(), [pending](HRESULT result, ComPtr<ICoreWebView2Environment> environment) {
                pending->result = result;
                pending->value = std::move(environment);
                pending->done = true;
            });
        if (FAILED(started)) return started;
        pending_ = std::move(pending);
    }
    const auto pending = pending_;
    if (!loop.run_until([&pending] { return pending->done; })) return E_ABORT;
    if (pending_ == pending) pending_.reset();
    if (SUCCEEDED(pending->result) && !environment_) environment_ = pending->value;
    return environment_ ? S_OK : pending->result;
}

void WebViewEnvironment::forget(ICoreWebView2Environment* gone) noexcept {
    if (environment_.get() == gone) environment_.reset();
}

bool WebViewEnvironment::hand_over(EventLoop& loop) {
    // None yet, or E_NOINTERFACE from a runtime older than the event.
    const auto environment5 = environment_.query<ICoreWebView2Environment5>();
    if (!environment5) return false;
    const UniqueKernelHandle exited(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EventRegistrationToken token{};
    if (!exited || FAILED(environment5->add_BrowserProcessExited(
                       make_handler<ICoreWebView2BrowserProcessExitedEventHandler>(
                           [event = exited.get()](ICoreWebView2Environment*, ICoreWebView2BrowserProcessExitedEventArgs*) {
                               (void)SetEvent(event);
                           })
                           .get(),
                       &token)))
        return false;
    // The browser's processes end "when all associated WebViews are closed".
    for (WebView2View* view : views_) view->suspend();
    const HANDLE wait[] = {exited.get()};
    (void)loop.run_until_signalled(wait, kBrowserExitTime);  // past it, the other process's retry covers
    (void)environment5->remove_BrowserProcessExited(token);  // before the event it sets is closed
    return true;
}

void WebViewEnvironment::resume(EventLoop& loop) {
    for (WebView2View* view : std::vector(views_)) view->resume();
    // A page that never loads (offline) is not waited for longer.
    const auto deadline = std::chrono::steady_clock::now() + kPageLoadTime;
    while (std::ranges::any_of(views_, [](const WebView2View* view) { return view->loading(); }) &&
           std::chrono::steady_clock::now() < deadline && !loop.quit_received())
        (void)loop.run_until_signalled({}, kPageLoadPoll);
}

}  // namespace wm::host
