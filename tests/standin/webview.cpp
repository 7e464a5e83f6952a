#include "webview.h"

#include "app_look.h"
#include "event_args.h"
#include "text.h"

namespace standin {

WebView::~WebView() {
    *open_ = false;
    browser_->remove(this);
    reporter_.write("webview_released");
    reporter_.counters().view_count(-1);
}

void BrowserProcess::exit() {
    exited_ = true;
    std::vector<ComPtr<WebView>> views;
    for (WebView* view : views_) views.emplace_back(view);
    for (const auto& view : views) {
        if (view->closed()) continue;
        view->raise_process_failed(COREWEBVIEW2_PROCESS_FAILED_KIND_BROWSER_PROCESS_EXITED);
        view->close();
        view->reporter().write("browser_exited");
    }
}

void BrowserProcess::view_closed() {
    if (ended_ && std::ranges::all_of(views_, [](const WebView* view) { return view->closed(); })) ended_(exited_);
}

void WebView::raise_process_failed(COREWEBVIEW2_PROCESS_FAILED_KIND kind) {
    const auto args = make_object<ProcessFailedArgs>(kind);
    if (!args) return;
    reporter_.write("process_failed", "kind=" + std::to_string(kind));
    for (const auto& handler : process_failed_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
}

HRESULT WebView::open_window(HWND parent) {
    page_ = PageWindow::create(parent, [this](ULONG_PTR command, std::string payload) {
        return accept_command(command, std::move(payload));
    });
    if (!page_) return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

PageWindow* WebView::page() const noexcept {
    return page_ && page_->alive() ? page_.get() : nullptr;
}

void WebView::close() {
    const bool was_open = !closed_;
    closed_ = true;
    *open_ = false;
    page_.reset();
    if (was_open) browser_->view_closed();
    // The runtime releases every handler at Close.
    [](auto&... registries) { (registries.clear(), ...); }(web_message_received_, new_window_requested_,
                                                           permission_requested_, download_starting_, process_failed_,
                                                           navigation_starting_, source_changed_, content_loading_,
                                                           navigation_completed_, context_menu_requested_);
}

HRESULT WebView::refuse_after_close(std::string_view method) const {
    reporter_.write("closed_call", method);
    return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
}

void WebView::show_call(std::wstring call) const {
    if (auto* window = page()) window->record_call(std::move(call));
}

template <class Handler>
HRESULT WebView::complete_later(Handler* handler, std::wstring result) {
    // Every outcome is counted; with no handler, as in the runtime, nothing comes back through the loop.
    reporter_.counters().outcome(handler != nullptr);
    reporter_.write("outcome", handler ? "posted" : "dropped");
    if (!handler) return S_OK;
    const bool posted = loop_->post([handler = ComPtr<Handler>(handler), result = std::move(result)] {
        (void)handler->Invoke(S_OK, result.c_str());  // the runtime ignores what handlers return
    });
    return posted ? S_OK : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE WebView::QueryInterface(REFIID iid, void** out) noexcept {
    if (out && (IsEqualIID(iid, iid_of<ICoreWebView2>) || IsEqualIID(iid, iid_of<ICoreWebView2_2>) ||
                IsEqualIID(iid, iid_of<ICoreWebView2_3>) || IsEqualIID(iid, iid_of<ICoreWebView2_4>))) {
        *out = static_cast<ICoreWebView2_11*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE WebView::get_Source(LPWSTR* uri) noexcept {
    if (closed_) return refuse_after_close("get_Source");
    return copy_out(source_, uri);
}

HRESULT STDMETHODCALLTYPE WebView::Navigate(LPCWSTR uri) noexcept {
    if (closed_) return refuse_after_close("Navigate");
    if (!uri) return E_INVALIDARG;
    reporter_.write("navigate", std::wstring_view(uri));
    show_call(L"Navigate " + std::wstring(uri));
    reporter_.counters().navigated(page() ? page()->handle() : nullptr);
    // The runtime commits the navigation later: the address changes, and SourceChanged is raised,
    // from the loop. A redirect asked for takes the first navigation elsewhere.
    std::wstring committed = uri;
    if (const auto redirect = environment_variable(L"STANDIN_REDIRECT"); redirect && !redirect->empty() && !navigated_)
        committed = *redirect;
    navigated_ = true;
    const bool posted = loop_->post([self = ComPtr<WebView>(this), address = std::move(committed)] {
        if (!self->closed()) self->change_source(address);
    });
    return posted ? S_OK : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE WebView::AddScriptToExecuteOnDocumentCreated(
    LPCWSTR javaScript,
    ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) noexcept {
    if (closed_) return refuse_after_close("AddScriptToExecuteOnDocumentCreated");
    if (!javaScript) return E_INVALIDARG;
    reporter_.write("add_script", std::wstring_view(javaScript));
    show_call(L"AddScriptToExecuteOnDocumentCreated " + std::wstring(javaScript));
    return complete_later(handler, std::to_wstring(next_script_id_++));
}

HRESULT STDMETHODCALLTYPE WebView::ExecuteScript(
    LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) noexcept {
    if (closed_) return refuse_after_close("ExecuteScript");
    if (!javaScript) return E_INVALIDARG;
    // A read of the page's computed style is logged apart from the calls that tell the page
    // something, and not counted: it answers the page's colour when the test states one.
    if (std::wstring_view(javaScript).find(L"getComputedStyle") != std::wstring_view::npos) {
        reporter_.write("style_read", std::wstring_view(javaScript));
        const auto colour = environment_variable(L"STANDIN_PAGE_COLOUR");
        if (!handler) return S_OK;
        return loop_->post([handler = ComPtr<ICoreWebView2ExecuteScriptCompletedHandler>(handler),
                            answer = colour ? json_string(*colour) : std::wstring(L"null")] {
            (void)handler->Invoke(S_OK, answer.c_str());
        })
                   ? S_OK
                   : E_UNEXPECTED;
    }
    reporter_.write("execute_script", std::wstring_view(javaScript));
    reporter_.counters().script_called();
    show_call(L"ExecuteScript " + std::wstring(javaScript));
    return complete_later(handler, L"null");
}

HRESULT STDMETHODCALLTYPE WebView::add_WebMessageReceived(
    ICoreWebView2WebMessageReceivedEventHandler* handler, EventRegistrationToken* token) noexcept {
    return web_message_received_.add(handler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_WebMessageReceived(EventRegistrationToken token) noexcept {
    return web_message_received_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_NewWindowRequested(
    ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
    EventRegistrationToken* token) noexcept {
    return new_window_requested_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_NewWindowRequested(EventRegistrationToken token) noexcept {
    return new_window_requested_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_PermissionRequested(
    ICoreWebView2PermissionRequestedEventHandler* eventHandler,
    EventRegistrationToken* token) noexcept {
    return permission_requested_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_PermissionRequested(EventRegistrationToken token) noexcept {
    return permission_requested_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) noexcept {
    return process_failed_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_ProcessFailed(EventRegistrationToken token) noexcept {
    return process_failed_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_SourceChanged(ICoreWebView2SourceChangedEventHandler* eventHandler,
                                                     EventRegistrationToken* token) noexcept {
    return source_changed_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_SourceChanged(EventRegistrationToken token) noexcept {
    return source_changed_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                                                          EventRegistrationToken* token) noexcept {
    return navigation_starting_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_NavigationStarting(EventRegistrationToken token) noexcept {
    return navigation_starting_.remove(token, reporter_);
}

void WebView::raise_navigation_starting(const std::wstring& uri) {
    const auto args = make_object<NavigationStartingArgs>(uri, next_navigation_id_, reporter_);
    if (!args) return;
    reporter_.write("navigation_starting", uri);
    for (const auto& handler : navigation_starting_.handlers()) (void)handler->Invoke(this, args.get());
}

void WebView::change_source(std::wstring address) {
    raise_navigation_starting(address);
    if (closed_) return;  // by a handler
    source_ = std::move(address);
    if (auto* window = page()) window->show_address(source_);
    const auto args = make_object<SourceChangedArgs>(TRUE);
    if (!args) return;
    reporter_.write("source_changed", source_);
    for (const auto& handler : source_changed_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
    // A handler may have closed the web view.
    if (!closed_) load_document();
}

HRESULT STDMETHODCALLTYPE WebView::add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* eventHandler,
                                                      EventRegistrationToken* token) noexcept {
    return content_loading_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_ContentLoading(EventRegistrationToken token) noexcept {
    return content_loading_.remove(token, reporter_);
}

namespace {

// How a document at `address` ends: as `STANDIN_ANSWER` says for its address, else with no
// network for http(s) while offline, else 200.
std::pair<COREWEBVIEW2_WEB_ERROR_STATUS, int> document_answer(const std::wstring& address, bool offline) {
    const std::string answers = to_utf8(environment_variable(L"STANDIN_ANSWER").value_or(L""));
    for (const std::string_view answer : split(answers, '\t')) {
        const auto space = answer.rfind(' ');
        const auto colon = answer.rfind(':');
        if (space == std::string_view::npos || colon < space || to_utf16(answer.substr(0, space)) != address) continue;
        const std::string_view kind = answer.substr(space + 1, colon - space - 1);
        const auto value = parse_decimal(answer.substr(colon + 1));
        if (value && kind == "http") return {COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, *value};
        if (value && kind == "error") return {static_cast<COREWEBVIEW2_WEB_ERROR_STATUS>(*value), 0};
    }
    if (offline && (address.starts_with(L"http://") || address.starts_with(L"https://")))
        return {COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED, 0};
    return {COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN, 200};
}

}  // namespace

void WebView::load_document() {
    const auto [error, http_status] = document_answer(source_, browser_->offline());
    const UINT64 id = next_navigation_id_++;
    // The runtime's own error page, for a load that got no answer; a server's answer is its page.
    const auto args = make_object<ContentLoadingArgs>(id, http_status == 0 ? TRUE : FALSE);
    if (!args) return;
    reporter_.write("content_loading", source_);
    for (const auto& handler : content_loading_.handlers()) {
        (void)handler->Invoke(this, args.get());  // the runtime ignores what handlers return
    }
    if (!closed_ && new_document_) new_document_();
    // The load ends a loop turn later.
    (void)loop_->post([self = ComPtr<WebView>(this), id, error, http_status] {
        const auto completed = make_object<NavigationCompletedArgs>(id, error, http_status);
        if (self->closed() || !completed) return;
        BOOL success = FALSE;
        (void)completed->get_IsSuccess(&success);
        self->reporter_.write("navigation_completed",
                              "success=" + std::to_string(success) + " status=" + std::to_string(error));
        for (const auto& handler : self->navigation_completed_.handlers()) (void)handler->Invoke(self.get(), completed.get());
    });
}

HRESULT STDMETHODCALLTYPE WebView::add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                                                           EventRegistrationToken* token) noexcept {
    return navigation_completed_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_NavigationCompleted(EventRegistrationToken token) noexcept {
    return navigation_completed_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* eventHandler,
                                                            EventRegistrationToken* token) noexcept {
    return context_menu_requested_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_ContextMenuRequested(EventRegistrationToken token) noexcept {
    return context_menu_requested_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::get_Settings(ICoreWebView2Settings** settings) noexcept {
    if (closed_) return refuse_after_close("get_Settings");
    if (!settings) return E_POINTER;
    const auto object = make_object<Settings>(reporter_);
    if (!object) return E_OUTOFMEMORY;
    // One object for every settings interface: the first is what get_Settings names.
    object->AddRef();
    *settings = reinterpret_cast<ICoreWebView2Settings*>(static_cast<ICoreWebView2Settings6*>(object.get()));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE WebView::Reload() noexcept {
    if (closed_) return refuse_after_close("Reload");
    reporter_.write("reload", source_);
    show_call(L"Reload " + source_);
    // The page loads again later, at the same address: a new document, no source change.
    const bool posted = loop_->post([self = ComPtr<WebView>(this)] {
        if (!self->closed()) self->load_document();
    });
    return posted ? S_OK : E_UNEXPECTED;
}

HRESULT STDMETHODCALLTYPE WebView::add_DownloadStarting(
    ICoreWebView2DownloadStartingEventHandler* eventHandler,
    EventRegistrationToken* token) noexcept {
    return download_starting_.add(eventHandler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE WebView::remove_DownloadStarting(EventRegistrationToken token) noexcept {
    return download_starting_.remove(token, reporter_);
}

}  // namespace standin
