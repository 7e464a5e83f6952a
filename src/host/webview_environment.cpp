#include "host/webview.h"

#include <utility>

#include "host/completion.h"
#include "host/environment_options.h"
#include "host/webview2_loader.h"

namespace wm::host {

struct WebViewEnvironment::Pending : Completion<ICoreWebView2Environment> {};

HRESULT WebViewEnvironment::ensure(EventLoop& loop) {
    const HRESULT result = create(loop);
    // The runtime refuses a second browser with other options on one folder while the first
    // lives: whoever may end that one is asked, once.
    if (result != HRESULT_FROM_WIN32(ERROR_INVALID_STATE) || !folder_held_) return result;
    if (!std::exchange(folder_held_, nullptr)()) return result;
    return create(loop);
}

HRESULT WebViewEnvironment::create(EventLoop& loop) {
    if (environment_) return S_OK;
    if (!pending_) {
        auto options = make_environment_options();
        if (!options) return E_OUTOFMEMORY;
        auto pending = std::make_shared<Pending>();
        const HRESULT started = create_environment(
            options.get(), page_data_folder(), [pending](HRESULT result, ComPtr<ICoreWebView2Environment> environment) {
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
}  // namespace wm::host
