#include "host/webview.h"

#include "bridge/page_text.h"
#include "host/environment_options.h"
#include "host/text.h"
#include "host/webview2_loader.h"

namespace wm::host {

namespace {
// What a runtime completion fills in. Shared with the handler, which may still run after a
// wait that a quit message cut short.
template <class Result>
struct Completion {
    bool done = false;
    HRESULT result = E_FAIL;
    ComPtr<Result> value;
};
}  // namespace

HRESULT WebViewEnvironment::ensure(EventLoop& loop) {
    if (environment_) return S_OK;
    auto options = make_environment_options();
    if (!options) return E_OUTOFMEMORY;
    auto pending = std::make_shared<Completion<ICoreWebView2Environment>>();
    const HRESULT started =
        create_environment(options.get(), [pending](HRESULT result, ComPtr<ICoreWebView2Environment> environment) {
            pending->result = result;
            pending->value = std::move(environment);
            pending->done = true;
        });
    if (FAILED(started)) return started;
    if (!loop.run_until([&pending] { return pending->done; })) return E_ABORT;
    if (SUCCEEDED(pending->result)) environment_ = std::move(pending->value);
    return pending->result;
}

std::unique_ptr<WebView2View> WebView2View::create(EventLoop& loop, WebViewEnvironment& environment,
                                                   FramelessWindow& window, const std::vector<std::string>& scripts,
                                                   const std::string& address, WebViewHandlers handlers,
                                                   std::wstring& error) {
    HRESULT result = environment.ensure(loop);
    if (FAILED(result)) {
        error = describe_hresult(result);
        return nullptr;
    }

    auto pending = std::make_shared<Completion<ICoreWebView2Controller>>();
    result = environment.get()->CreateCoreWebView2Controller(
        window.content_host(),
        make_handler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
            [pending](HRESULT completed, ICoreWebView2Controller* controller) {
                pending->result = completed;
                if (SUCCEEDED(completed)) pending->value = ComPtr<ICoreWebView2Controller>(controller);
                pending->done = true;
            })
            .get());
    if (SUCCEEDED(result) && !loop.run_until([&pending] { return pending->done; })) result = E_ABORT;
    if (SUCCEEDED(result)) result = pending->result;
    if (SUCCEEDED(result) && !pending->value) result = E_POINTER;
    if (FAILED(result)) {
        error = describe_hresult(result);
        return nullptr;
    }

    auto view = std::make_unique<WebView2View>(Passkey{}, loop, window);
    result = view->attach(std::move(pending->value), std::move(handlers));
    for (const std::string& script : scripts) {
        if (FAILED(result)) break;
        result = view->webview_->AddScriptToExecuteOnDocumentCreated(
            to_wide(script).c_str(),
            make_handler<ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler>([](HRESULT, LPCWSTR) {})
                .get());
    }
    if (SUCCEEDED(result)) result = view->webview_->Navigate(to_wide(address).c_str());
    if (FAILED(result)) {
        error = describe_hresult(result);
        return nullptr;
    }
    return view;
}

WebView2View::WebView2View(Passkey, EventLoop& loop, FramelessWindow& window) : loop_(loop), window_(window) {}

HRESULT WebView2View::attach(ComPtr<ICoreWebView2Controller> controller, WebViewHandlers handlers) {
    controller_ = std::move(controller);
    HRESULT result = controller_->get_CoreWebView2(webview_.put());
    if (FAILED(result)) return result;
    if (!webview_) return E_POINTER;

    (void)controller_->put_Bounds(window_.content_bounds());
    (void)controller_->put_IsVisible(TRUE);
    window_.set_content_listener({
        .resized = [this](const RECT& bounds) { (void)controller_->put_Bounds(bounds); },
        // Lets the page's popups and drop-downs follow the window.
        .moved = [this] { (void)controller_->NotifyParentWindowPositionChanged(); },
        .focused = [this] { (void)controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC); },
    });

    result = webview_->add_WebMessageReceived(
        make_handler<ICoreWebView2WebMessageReceivedEventHandler>(
            [on_message = std::move(handlers.page_message)](ICoreWebView2*,
                                                            ICoreWebView2WebMessageReceivedEventArgs* args) {
                CoTaskString source;
                CoTaskString json;
                if (FAILED(args->get_Source(source.put())) || FAILED(args->get_WebMessageAsJson(json.put())) ||
                    !source.get() || !json.get())
                    return;
                // A post that is not a string is not a shell message.
                if (auto text = decode_json_string(std::u16string_view(reinterpret_cast<const char16_t*>(json.get()))))
                    on_message(to_utf8(source.get()), std::move(*text));
            })
            .get(),
        &message_token_);
    if (FAILED(result)) return result;

    result = webview_->add_NewWindowRequested(
        make_handler<ICoreWebView2NewWindowRequestedEventHandler>(
            [this, on_request = std::move(handlers.new_window_requested)](
                ICoreWebView2*, ICoreWebView2NewWindowRequestedEventArgs* args) -> HRESULT {
                CoTaskString uri;
                (void)args->get_Uri(uri.put());
                std::string address = to_utf8(uri.get() ? uri.get() : L"");
                ComPtr<ICoreWebView2Deferral> deferral;
                if (FAILED(args->GetDeferral(deferral.put())) || !deferral) {
                    // Without a deferral the refusal must be given now, or the runtime opens a
                    // window of its own; the address still waits for the loop.
                    (void)args->put_Handled(TRUE);
                    loop_.defer([on_request, address = std::move(address)] { on_request(address); });
                    return S_OK;
                }
                // Opening an address may pump messages: never inside the runtime's callback.
                loop_.defer([on_request, address = std::move(address),
                             args = ComPtr<ICoreWebView2NewWindowRequestedEventArgs>(args), deferral] {
                    on_request(address);
                    (void)args->put_Handled(TRUE);
                    (void)deferral->Complete();
                });
                return S_OK;
            })
            .get(),
        &new_window_token_);
    if (FAILED(result)) return result;

    result = webview_->add_PermissionRequested(
        make_handler<ICoreWebView2PermissionRequestedEventHandler>(
            [decide = std::move(handlers.permission_requested)](ICoreWebView2*,
                                                                 ICoreWebView2PermissionRequestedEventArgs* args) {
                COREWEBVIEW2_PERMISSION_KIND kind = COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
                CoTaskString uri;
                if (FAILED(args->get_PermissionKind(&kind)) || FAILED(args->get_Uri(uri.put())) || !uri.get()) return;
                if (const auto state = decide(kind, to_utf8(uri.get()))) (void)args->put_State(*state);
            })
            .get(),
        &permission_token_);
    if (FAILED(result)) return result;

    return watch_downloads(handlers);
}

HRESULT WebView2View::watch_downloads(WebViewHandlers& handlers) {
    webview4_ = webview_.query<ICoreWebView2_4>();
    if (!webview4_) return S_OK;  // E_NOINTERFACE: a runtime too old to report downloads
    return webview4_->add_DownloadStarting(
        make_handler<ICoreWebView2DownloadStartingEventHandler>(
            [decide = std::move(handlers.download_starting), finished = std::move(handlers.download_finished)](
                ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) {
                // Kept from the runtime's own download interface, whatever else fails.
                (void)args->put_Handled(TRUE);
                ComPtr<ICoreWebView2DownloadOperation> operation;
                CoTaskString uri;
                CoTaskString proposed;
                if (FAILED(args->get_DownloadOperation(operation.put())) || !operation ||
                    FAILED(operation->get_Uri(uri.put())) || !uri.get() ||
                    FAILED(args->get_ResultFilePath(proposed.put())) || !proposed.get())
                    return;
                // The notice is judged by the page that started the download, not by whatever
                // the window shows when it ends.
                CoTaskString source;
                FinishedDownload download;
                download.address = to_utf8(uri.get());
                if (SUCCEEDED(sender->get_Source(source.put())) && source.get())
                    download.source_page = to_utf8(source.get());
                const std::wstring target = decide(download.address, proposed.get());
                (void)args->put_ResultFilePath(target.c_str());

                auto token = std::make_shared<EventRegistrationToken>();
                (void)operation->add_StateChanged(
                    make_handler<ICoreWebView2StateChangedEventHandler>(
                        [finished, download, token](ICoreWebView2DownloadOperation* ended, IUnknown*) {
                            COREWEBVIEW2_DOWNLOAD_STATE state = COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS;
                            if (FAILED(ended->get_State(&state)) || state == COREWEBVIEW2_DOWNLOAD_STATE_IN_PROGRESS)
                                return;
                            // Removing the handler may release this closure: keep what it holds.
                            const auto report = finished;
                            FinishedDownload result = download;
                            (void)ended->remove_StateChanged(*token);
                            result.completed = state == COREWEBVIEW2_DOWNLOAD_STATE_COMPLETED;
                            CoTaskString path;
                            if (result.completed && SUCCEEDED(ended->get_ResultFilePath(path.put())) && path.get())
                                result.result_path = std::u16string(reinterpret_cast<const char16_t*>(path.get()));
                            report(result);
                        })
                        .get(),
                    token.get());
            })
            .get(),
        &download_token_);
}

WebView2View::~WebView2View() {
    window_.set_content_listener({});
    if (webview_) {
        (void)webview_->remove_WebMessageReceived(message_token_);
        (void)webview_->remove_NewWindowRequested(new_window_token_);
        (void)webview_->remove_PermissionRequested(permission_token_);
    }
    if (webview4_) (void)webview4_->remove_DownloadStarting(download_token_);
    if (controller_) (void)controller_->Close();
}

std::optional<std::string> WebView2View::page_address() const {
    CoTaskString uri;
    if (FAILED(webview_->get_Source(uri.put())) || !uri.get()) return std::nullopt;
    return to_utf8(uri.get());
}

void WebView2View::run_script(std::string_view script) {
    // No completion handler: the result is ignored, and a handler would cost the user-interface
    // thread one more wake-up per call when the runtime hands the result back.
    (void)webview_->ExecuteScript(to_wide(script).c_str(), nullptr);
}

void WebView2View::set_visible(bool visible) {
    ShowWindow(window_.content_host(), visible ? SW_SHOW : SW_HIDE);
    (void)controller_->put_IsVisible(visible ? TRUE : FALSE);
}

}  // namespace wm::host
