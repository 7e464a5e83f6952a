#pragma once
// The page side of one web view: ICoreWebView2 up to ICoreWebView2_4 on one object. It records
// the shell's calls, answers with the current address, completes script calls later from the
// loop, and raises the events that the tests ask for through the control channel.

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser_process.h"
#include "download_operation.h"
#include "com_support.h"
#include "event_registry.h"
#include "log.h"
#include "loop_queue.h"
#include "page_window.h"

namespace standin {

class WebView final : public ComObject<ICoreWebView2_11> {
public:
    WebView(Reporter reporter, std::shared_ptr<LoopQueue> loop, std::shared_ptr<BrowserProcess> browser)
        : reporter_(std::move(reporter)), loop_(std::move(loop)), browser_(std::move(browser)) {
        browser_->add(this);
        reporter_.counters().view_count(1);
    }
    ~WebView() override;

    // Makes the web view's window in parent.
    HRESULT open_window(HWND parent);
    // The window while the web view is open and its parent lives; null otherwise.
    PageWindow* page() const noexcept;
    // The controller closed: the window goes and every later call is refused.
    void close();
    bool closed() const noexcept { return closed_; }
    const Reporter& reporter() const noexcept { return reporter_; }
    // Raises ProcessFailed with this kind on the web view's handlers.
    void raise_process_failed(COREWEBVIEW2_PROCESS_FAILED_KIND kind);
    // What the `zoom` command does: the user zoomed the page.
    void on_user_zoom(std::function<void(double)> zoom) { user_zoom_ = std::move(zoom); }
    // Runs right after each ContentLoading's handlers, while the web view is open.
    void on_new_document(std::function<void()> loaded) { new_document_ = std::move(loaded); }
    // What the `tab_out` and `key` commands do: the user pressed keys in the page, whose events
    // the controller raises. False when the payload does not parse.
    using KeyboardSink = std::function<bool(std::string_view command, const std::string& payload)>;
    void on_keyboard(KeyboardSink keyboard) { keyboard_ = std::move(keyboard); }
    bool post_to_loop(std::function<void()> work) { return loop_->post(std::move(work)); }

    // One object answers for the whole chain ICoreWebView2 .. ICoreWebView2_11.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;

    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) noexcept override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) noexcept override;
    HRESULT STDMETHODCALLTYPE add_PermissionRequested(
        ICoreWebView2PermissionRequestedEventHandler* eventHandler,
        EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR javaScript,
        ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler* handler) noexcept override;
    HRESULT STDMETHODCALLTYPE ExecuteScript(
        LPCWSTR javaScript, ICoreWebView2ExecuteScriptCompletedHandler* handler) noexcept override;
    HRESULT STDMETHODCALLTYPE add_WebMessageReceived(
        ICoreWebView2WebMessageReceivedEventHandler* handler,
        EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(
        ICoreWebView2NewWindowRequestedEventHandler* eventHandler,
        EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE add_DownloadStarting(
        ICoreWebView2DownloadStartingEventHandler* eventHandler,
        EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_DownloadStarting(EventRegistrationToken token) noexcept override;

    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) noexcept override;
    STANDIN_UNUSED(NavigateToString, LPCWSTR)
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* eventHandler,
                                                     EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler* eventHandler,
                                                 EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler* eventHandler,
                                                EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken token) noexcept override;
    STANDIN_UNUSED(add_HistoryChanged, ICoreWebView2HistoryChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_HistoryChanged, EventRegistrationToken)
    HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* eventHandler,
                                                      EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) noexcept override;
    STANDIN_UNUSED(add_FrameNavigationStarting, ICoreWebView2NavigationStartingEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_FrameNavigationStarting, EventRegistrationToken)
    STANDIN_UNUSED(add_FrameNavigationCompleted, ICoreWebView2NavigationCompletedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_FrameNavigationCompleted, EventRegistrationToken)
    STANDIN_UNUSED(add_ScriptDialogOpening, ICoreWebView2ScriptDialogOpeningEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_ScriptDialogOpening, EventRegistrationToken)
    HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler* eventHandler,
                                                EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE Reload() noexcept override;
    STANDIN_UNUSED(RemoveScriptToExecuteOnDocumentCreated, LPCWSTR)
    STANDIN_UNUSED(CapturePreview, COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*, ICoreWebView2CapturePreviewCompletedHandler*)
    STANDIN_UNUSED(PostWebMessageAsJson, LPCWSTR)
    STANDIN_UNUSED(PostWebMessageAsString, LPCWSTR)
    STANDIN_UNUSED(CallDevToolsProtocolMethod, LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*)
    STANDIN_UNUSED(get_BrowserProcessId, UINT32*)
    STANDIN_UNUSED(get_CanGoBack, BOOL*)
    STANDIN_UNUSED(get_CanGoForward, BOOL*)
    STANDIN_UNUSED(GoBack)
    STANDIN_UNUSED(GoForward)
    STANDIN_UNUSED(GetDevToolsProtocolEventReceiver, LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**)
    STANDIN_UNUSED(Stop)
    STANDIN_UNUSED(add_DocumentTitleChanged, ICoreWebView2DocumentTitleChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_DocumentTitleChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_DocumentTitle, LPWSTR*)
    STANDIN_UNUSED(AddHostObjectToScript, LPCWSTR, VARIANT*)
    STANDIN_UNUSED(RemoveHostObjectFromScript, LPCWSTR)
    STANDIN_UNUSED(OpenDevToolsWindow)
    STANDIN_UNUSED(add_ContainsFullScreenElementChanged, ICoreWebView2ContainsFullScreenElementChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_ContainsFullScreenElementChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_ContainsFullScreenElement, BOOL*)
    STANDIN_UNUSED(add_WebResourceRequested, ICoreWebView2WebResourceRequestedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_WebResourceRequested, EventRegistrationToken)
    STANDIN_UNUSED(AddWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    STANDIN_UNUSED(RemoveWebResourceRequestedFilter, LPCWSTR, COREWEBVIEW2_WEB_RESOURCE_CONTEXT)
    STANDIN_UNUSED(add_WindowCloseRequested, ICoreWebView2WindowCloseRequestedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_WindowCloseRequested, EventRegistrationToken)
    STANDIN_UNUSED(add_WebResourceResponseReceived, ICoreWebView2WebResourceResponseReceivedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_WebResourceResponseReceived, EventRegistrationToken)
    STANDIN_UNUSED(NavigateWithWebResourceRequest, ICoreWebView2WebResourceRequest*)
    STANDIN_UNUSED(add_DOMContentLoaded, ICoreWebView2DOMContentLoadedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_DOMContentLoaded, EventRegistrationToken)
    STANDIN_UNUSED(get_CookieManager, ICoreWebView2CookieManager**)
    STANDIN_UNUSED(get_Environment, ICoreWebView2Environment**)
    STANDIN_UNUSED(TrySuspend, ICoreWebView2TrySuspendCompletedHandler*)
    STANDIN_UNUSED(Resume)
    STANDIN_UNUSED(get_IsSuspended, BOOL*)
    STANDIN_UNUSED(SetVirtualHostNameToFolderMapping, LPCWSTR, LPCWSTR, COREWEBVIEW2_HOST_RESOURCE_ACCESS_KIND)
    STANDIN_UNUSED(ClearVirtualHostNameToFolderMapping, LPCWSTR)
    STANDIN_UNUSED(add_FrameCreated, ICoreWebView2FrameCreatedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_FrameCreated, EventRegistrationToken)
    STANDIN_UNUSED(add_ClientCertificateRequested, ICoreWebView2ClientCertificateRequestedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_ClientCertificateRequested, EventRegistrationToken)
    STANDIN_UNUSED(OpenTaskManagerWindow)
    STANDIN_UNUSED(PrintToPdf, LPCWSTR, ICoreWebView2PrintSettings*, ICoreWebView2PrintToPdfCompletedHandler*)
    STANDIN_UNUSED(add_IsMutedChanged, ICoreWebView2IsMutedChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_IsMutedChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_IsMuted, BOOL*)
    STANDIN_UNUSED(put_IsMuted, BOOL)
    STANDIN_UNUSED(add_IsDocumentPlayingAudioChanged, ICoreWebView2IsDocumentPlayingAudioChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_IsDocumentPlayingAudioChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_IsDocumentPlayingAudio, BOOL*)
    STANDIN_UNUSED(add_IsDefaultDownloadDialogOpenChanged, ICoreWebView2IsDefaultDownloadDialogOpenChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_IsDefaultDownloadDialogOpenChanged, EventRegistrationToken)
    STANDIN_UNUSED(get_IsDefaultDownloadDialogOpen, BOOL*)
    STANDIN_UNUSED(OpenDefaultDownloadDialog)
    STANDIN_UNUSED(CloseDefaultDownloadDialog)
    STANDIN_UNUSED(get_DefaultDownloadDialogCornerAlignment, COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT*)
    STANDIN_UNUSED(put_DefaultDownloadDialogCornerAlignment, COREWEBVIEW2_DEFAULT_DOWNLOAD_DIALOG_CORNER_ALIGNMENT)
    STANDIN_UNUSED(get_DefaultDownloadDialogMargin, POINT*)
    STANDIN_UNUSED(put_DefaultDownloadDialogMargin, POINT)
    STANDIN_UNUSED(add_BasicAuthenticationRequested, ICoreWebView2BasicAuthenticationRequestedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_BasicAuthenticationRequested, EventRegistrationToken)
    STANDIN_UNUSED(CallDevToolsProtocolMethodForSession, LPCWSTR, LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*)
    HRESULT STDMETHODCALLTYPE add_ContextMenuRequested(ICoreWebView2ContextMenuRequestedEventHandler* eventHandler,
                                                       EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_ContextMenuRequested(EventRegistrationToken token) noexcept override;

private:
    // The control channel (webview_events.cpp).
    bool accept_command(ULONG_PTR command, std::string payload);
    void run_command(ULONG_PTR command, const std::string& payload);
    // Source is the current address unless another posting page is named.
    void raise_web_messages(const std::vector<std::string_view>& texts,
                            std::optional<std::wstring> sender = std::nullopt);
    // A navigation to `uri` starts, with the id its document or its end will carry.
    void raise_navigation_starting(const std::wstring& uri);
    // The page is at a new address: NavigationStarting is raised, it becomes the current one,
    // SourceChanged is raised, then ContentLoading for its document.
    void change_source(std::wstring address);
    // A new document loads (ContentLoading, then NavigationCompleted), or fails without a
    // network; the address stays.
    void load_document();
    // `frame_source`: the address of the frame that asked, the top document's or an iframe's.
    void raise_new_window(std::wstring uri, BOOL user_initiated, std::wstring frame_source);
    void raise_permission(COREWEBVIEW2_PERMISSION_KIND kind);
    // The user asked for the default context menu, whose items are these names ("-" a
    // separator): the names left once the handlers returned are logged.
    void raise_context_menu(const std::vector<std::string_view>& names);
    // The download ends in `final_state` a loop turn after its answer; without one it is held
    // in progress until an `end_download` command.
    void raise_download(std::wstring uri, std::wstring proposed_path,
                        std::optional<COREWEBVIEW2_DOWNLOAD_STATE> final_state,
                        std::optional<std::wstring> content_file);

    // A call after Close: logged and refused, as the real runtime refuses it.
    HRESULT refuse_after_close(std::string_view method) const;
    void show_call(std::wstring call) const;
    template <class Handler>
    HRESULT complete_later(Handler* handler, std::wstring result);

    Reporter reporter_;
    std::shared_ptr<LoopQueue> loop_;
    std::shared_ptr<BrowserProcess> browser_;
    std::unique_ptr<PageWindow> page_;
    bool closed_ = false;
    std::shared_ptr<bool> open_ = std::make_shared<bool>(true);  // false once closed or gone
    bool navigated_ = false;
    std::wstring source_;
    int next_script_id_ = 1;
    TokenSource tokens_;
    EventRegistry<ICoreWebView2WebMessageReceivedEventHandler> web_message_received_{"WebMessageReceived"};
    EventRegistry<ICoreWebView2NewWindowRequestedEventHandler> new_window_requested_{"NewWindowRequested"};
    EventRegistry<ICoreWebView2PermissionRequestedEventHandler> permission_requested_{"PermissionRequested"};
    EventRegistry<ICoreWebView2DownloadStartingEventHandler> download_starting_{"DownloadStarting"};
    EventRegistry<ICoreWebView2ProcessFailedEventHandler> process_failed_{"ProcessFailed"};
    EventRegistry<ICoreWebView2NavigationStartingEventHandler> navigation_starting_{"NavigationStarting"};
    EventRegistry<ICoreWebView2SourceChangedEventHandler> source_changed_{"SourceChanged"};
    EventRegistry<ICoreWebView2ContentLoadingEventHandler> content_loading_{"ContentLoading"};
    EventRegistry<ICoreWebView2NavigationCompletedEventHandler> navigation_completed_{"NavigationCompleted"};
    EventRegistry<ICoreWebView2ContextMenuRequestedEventHandler> context_menu_requested_{"ContextMenuRequested"};
    std::function<void(double)> user_zoom_;
    std::function<void()> new_document_;
    KeyboardSink keyboard_;
    UINT64 next_navigation_id_ = 1;
};

}  // namespace standin
