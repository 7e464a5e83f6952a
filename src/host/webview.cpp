#include "host/webview.h"

#include <utility>

#include "base/text_codec.h"
#include "host/first_frame.h"
#include "host/text.h"

namespace wm::host {
namespace {

// Tab past the strip's last button enters the page at its first element, Shift+Tab at its last;
// any other way back finds the element the page had.
COREWEBVIEW2_MOVE_FOCUS_REASON focus_reason(PageEntry entry) {
    switch (entry) {
    case PageEntry::first: return COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT;
    case PageEntry::last: return COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS;
    case PageEntry::resume: break;
    }
    return COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC;
}

}  // namespace

std::unique_ptr<WebView2View> WebView2View::create(EventLoop& loop, WebViewEnvironment& environment,
                                                   FramelessWindow& window, std::vector<std::string> scripts,
                                                   const std::string& address, WebViewHandlers handlers,
                                                   const WebViewLook& look, std::wstring& error) {
    auto view = std::make_unique<WebView2View>(Passkey{}, loop, environment, window, std::move(scripts),
                                               std::move(handlers), look);
    if (const HRESULT result = view->start(address); FAILED(result)) {
        error = describe_hresult(result);
        return nullptr;
    }
    return view;
}

WebView2View::WebView2View(Passkey, EventLoop& loop, WebViewEnvironment& environment, FramelessWindow& window,
                           std::vector<std::string> scripts, WebViewHandlers handlers, const WebViewLook& look)
    : loop_(loop),
      environment_(environment),
      window_(window),
      scripts_(std::move(scripts)),
      handlers_(std::move(handlers)),
      loads_(
          [this](const LoadResult& result) {
              loading_ = false;
              if (result.success && handlers_.is_app_page(result.address)) read_background();
              return handlers_.document_loaded(result);
          },
          [this](const std::string& address) { navigate(address); }, handlers_.failure_replaced),
      look_(look) {
    environment_.enroll(*this);
}

HRESULT WebView2View::start(const std::string& address) {
    offer_first_frame_colour(look_.background);  // before the environment and the controller exist
    ComPtr<ICoreWebView2Controller> controller;
    HRESULT result = environment_.create_controller(loop_, window_.content_host(), made_by_, controller);
    if (FAILED(result)) return result;

    result = attach(std::move(controller));
    if (SUCCEEDED(result)) result = apply_look();  // before the first navigation: its first frame
    for (const std::string& script : scripts_) {
        if (FAILED(result)) break;
        // No completion handler: the script's id is never needed, and the runtime then posts nothing back.
        result = webview_->AddScriptToExecuteOnDocumentCreated(to_wide(script).c_str(), nullptr);
    }
    if (SUCCEEDED(result)) result = webview_->Navigate(to_wide(address).c_str());
    if (SUCCEEDED(result)) last_address_ = address;
    return result;
}

HRESULT WebView2View::attach(ComPtr<ICoreWebView2Controller> controller) {
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
        .focus_page = [this](PageEntry entry) { (void)controller_->MoveFocus(focus_reason(entry)); },
        .zoom_factor = [this] { return zoom_factor(); },
        .retry = [this] { loads_.retry_now(); },
    });
    // The window took the keyboard before its web view existed: the page is where the user types.
    if (window_.keyboard_unplaced()) (void)controller_->MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC);
    result = keyboard_.attach(*controller_.get(), window_);
    if (FAILED(result)) return result;

    result = webview_->add_WebMessageReceived(
        make_handler<ICoreWebView2WebMessageReceivedEventHandler>([this](auto*, auto* args) {
            on_web_message(args);
        }).get(),
        &message_token_);
    if (FAILED(result)) return result;

    result = webview_->add_NewWindowRequested(
        make_handler<ICoreWebView2NewWindowRequestedEventHandler>([this](auto* sender, auto* args) {
            on_new_window_requested(sender, args);
        }).get(),
        &new_window_token_);
    if (FAILED(result)) return result;

    result = webview_->add_PermissionRequested(
        make_handler<ICoreWebView2PermissionRequestedEventHandler>(
            [decide = handlers_.permission_requested](ICoreWebView2*,
                                                                 ICoreWebView2PermissionRequestedEventArgs* args) {
                COREWEBVIEW2_PERMISSION_KIND kind = COREWEBVIEW2_PERMISSION_KIND_UNKNOWN_PERMISSION;
                CoTaskString uri;
                if (FAILED(args->get_PermissionKind(&kind)) || FAILED(args->get_Uri(uri.put())) || !uri.get()) return;
                if (const auto state = decide(kind, to_utf8(uri.get()))) (void)args->put_State(*state);
            })
            .get(),
        &permission_token_);
    if (FAILED(result)) return result;

    result = watch_source();
    if (FAILED(result)) return result;
    result = watch_documents();
    if (FAILED(result)) return result;
    result = loads_.attach(*webview_.get());
    if (FAILED(result)) return result;
    result = watch_process_failures();
    if (FAILED(result)) return result;
    return watch_downloads();
}

void WebView2View::on_web_message(ICoreWebView2WebMessageReceivedEventArgs* args) const {
    CoTaskString source;
    if (FAILED(args->get_Source(source.put())) || !source.get()) return;
    std::string page = to_utf8(source.get());
    // A foreign page's text is neither fetched nor converted: posting huge strings must cost the
    // shell nothing.
    if (!handlers_.is_app_page(page)) return;
    CoTaskString json;
    if (FAILED(args->get_WebMessageAsJson(json.put())) || !json.get()) return;
    // A post that is not a string is not a shell message.
    if (auto text = decode_json_string(std::u16string_view(reinterpret_cast<const char16_t*>(json.get()))))
        handlers_.page_message(std::move(page), std::move(*text));
}

namespace {

// The address of the frame that asked: an iframe inside the application's page is not the
// application. A runtime too old to tell has only the top document's; one that tells but cannot
// be read names nothing, which counts as foreign.
std::string requesting_frame(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) {
    if (const auto args3 = ComPtr<ICoreWebView2NewWindowRequestedEventArgs>(args).query<ICoreWebView2NewWindowRequestedEventArgs3>()) {
        ComPtr<ICoreWebView2FrameInfo> frame;
        CoTaskString source;
        if (FAILED(args3->get_OriginalSourceFrameInfo(frame.put())) || !frame ||
            FAILED(frame->get_Source(source.put())) || !source.get())
            return {};
        return to_utf8(source.get());
    }
    CoTaskString page;
    if (SUCCEEDED(sender->get_Source(page.put())) && page.get()) return to_utf8(page.get());
    return {};
}

}  // namespace

void WebView2View::on_new_window_requested(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args) {
    NewWindowRequest request;
    CoTaskString uri;
    (void)args->get_Uri(uri.put());
    request.address = to_utf8(uri.get() ? uri.get() : L"");
    BOOL user_initiated = FALSE;
    (void)args->get_IsUserInitiated(&user_initiated);  // a failed read counts as a script
    request.user_initiated = user_initiated != FALSE;
    request.requesting_page = requesting_frame(sender, args);
    ComPtr<ICoreWebView2Deferral> deferral;
    if (FAILED(args->GetDeferral(deferral.put())) || !deferral) {
        // Without a deferral the refusal must be given now, or the runtime opens a window of its
        // own; the address still waits for the loop.
        (void)args->put_Handled(TRUE);
        loop_.defer(
            [on_request = handlers_.new_window_requested, request = std::move(request)] { on_request(request); });
        return;
    }
    // Opening an address may pump messages: never inside the runtime's callback.
    loop_.defer([on_request = handlers_.new_window_requested, request = std::move(request),
                 args = ComPtr<ICoreWebView2NewWindowRequestedEventArgs>(args), deferral] {
        on_request(request);
        (void)args->put_Handled(TRUE);
        (void)deferral->Complete();
    });
}

HRESULT WebView2View::watch_process_failures() {
    return webview_->add_ProcessFailed(
        make_handler<ICoreWebView2ProcessFailedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2ProcessFailedEventArgs* args) {
                COREWEBVIEW2_PROCESS_FAILED_KIND kind = COREWEBVIEW2_PROCESS_FAILED_KIND_UNKNOWN_PROCESS_EXITED;
                if (FAILED(args->get_ProcessFailedKind(&kind))) return;
                if (kind == COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED) {
                    // Every controller of that environment is dead: no later window may use it.
                    environment_.forget(made_by_.get());
                    (void)page_address();  // the page shown, while the web view may still tell
                }
                // Rebuilding and reloading pump messages: never inside the runtime's callback.
                loop_.defer([this, alive = std::weak_ptr<int>(alive_), kind] {
                    if (!alive.expired()) recover(kind);
                });
            })
            .get(),
        &process_failed_token_);
}

HRESULT WebView2View::watch_source() {
    return webview_->add_SourceChanged(
        make_handler<ICoreWebView2SourceChangedEventHandler>(
            [on_change = handlers_.source_changed](ICoreWebView2* sender, ICoreWebView2SourceChangedEventArgs*) {
                CoTaskString source;
                if (FAILED(sender->get_Source(source.put())) || !source.get()) return;
                on_change(to_utf8(source.get()));
            })
            .get(),
        &source_token_);
}

HRESULT WebView2View::watch_documents() {
    // Raised for every new document, a reload included, and never within a page; SourceChanged
    // misses reloads, NavigationStarting comes also for navigations that leave the page in place
    // (a download, a cancelled one). From ContentLoading on, the address is the new document's.
    HRESULT result = webview_->add_ContentLoading(
        make_handler<ICoreWebView2ContentLoadingEventHandler>([this](ICoreWebView2*, ICoreWebView2ContentLoadingEventArgs*) {
            foreign_navigation_.reset();
            handlers_.new_document();
        }).get(),
        &content_token_);
    if (FAILED(result)) return result;
    // A script run once a navigation has started runs in the document it brings: while that may be
    // another site's, nothing is told. One whose address cannot be read counts as another site's.
    result = webview_->add_NavigationStarting(
        make_handler<ICoreWebView2NavigationStartingEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs* args) {
                CoTaskString uri;
                UINT64 navigation = 0;
                (void)args->get_NavigationId(&navigation);
                const bool app = SUCCEEDED(args->get_Uri(uri.put())) && uri.get() && handlers_.is_app_page(to_utf8(uri.get()));
                foreign_navigation_ = app ? std::nullopt : std::optional(navigation);
            })
            .get(),
        &starting_token_);
    if (FAILED(result)) return result;
    // One that brought no document (a download, a cancelled one) left the page as it was.
    return webview_->add_NavigationCompleted(
        make_handler<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs* args) {
                UINT64 navigation = 0;
                if (SUCCEEDED(args->get_NavigationId(&navigation)) && foreign_navigation_ == navigation)
                    foreign_navigation_.reset();
            })
            .get(),
        &ended_token_);
}

void WebView2View::recover(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    // Past the budget the window stays as the failure left it; the user can still close it.
    switch (kind) {
    case COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED:
        // The same window gets a new web view, from a new environment, on the page it showed.
        if (rebuilds_.try_spend(RetryBudget::Clock::now())) rebuild();
        break;
    case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_EXITED:
    case COREWEBVIEW2_PROCESS_FAILED_KIND_RENDER_PROCESS_UNRESPONSIVE:
        // The web view itself lives on; only its page has to come back, as a new document.
        if (webview_ && reloads_.try_spend(RetryBudget::Clock::now())) (void)webview_->Reload();
        break;
    default:
        // Helper processes (GPU, utilities, frames) the runtime restarts by itself.
        break;
    }
}

void WebView2View::rebuild() {
    const std::string address = last_address_;
    detach();
    handlers_.source_changed(address);
    handlers_.new_document();  // the old one is gone, whether or not a new one comes
    // A failure leaves the window without a page; nothing more to try.
    loading_ = SUCCEEDED(start(address));
}

void WebView2View::suspend() noexcept {
    (void)page_address();  // the page to come back to, while the web view can still tell
    detach();
}

void WebView2View::resume() { rebuild(); }

WebView2View::~WebView2View() {
    environment_.withdraw(*this);
    detach();
}

void WebView2View::detach() noexcept {
    window_.set_content_listener({});
    keyboard_.detach();
    drop_look();
    if (webview_) {
        (void)webview_->remove_WebMessageReceived(message_token_);
        (void)webview_->remove_NewWindowRequested(new_window_token_);
        (void)webview_->remove_PermissionRequested(permission_token_);
        (void)webview_->remove_ProcessFailed(process_failed_token_);
        (void)webview_->remove_SourceChanged(source_token_);
        (void)webview_->remove_ContentLoading(content_token_);
        (void)webview_->remove_NavigationStarting(starting_token_);
        (void)webview_->remove_NavigationCompleted(ended_token_);
        loads_.detach(*webview_.get());
    }
    if (webview4_) (void)webview4_->remove_DownloadStarting(download_token_);
    if (controller_) (void)controller_->Close();
    webview4_.reset();
    webview_.reset();
    controller_.reset();
    foreign_navigation_.reset();
}

std::optional<std::string> WebView2View::page_address() const {
    CoTaskString uri;
    if (!webview_ || FAILED(webview_->get_Source(uri.put())) || !uri.get()) return std::nullopt;
    last_address_ = to_utf8(uri.get());
    return last_address_;
}

void WebView2View::run_script(std::string_view script) {
    // No completion handler: the outcome is not wanted, and a handler would cost the loop one more
    // message per call.
    if (webview_ && !foreign_navigation_) (void)webview_->ExecuteScript(to_wide(script).c_str(), nullptr);
}

void WebView2View::navigate(const std::string& address) {
    if (webview_) (void)webview_->Navigate(to_wide(address).c_str());
}

double WebView2View::zoom_factor() const {
    double zoom = 1.0;
    if (!controller_ || FAILED(controller_->get_ZoomFactor(&zoom)) || !(zoom > 0)) return 1.0;
    return zoom;
}

void WebView2View::set_visible(bool visible) {
    ShowWindow(window_.content_host(), visible ? SW_SHOW : SW_HIDE);
    if (controller_) (void)controller_->put_IsVisible(visible ? TRUE : FALSE);
}

}  // namespace wm::host
