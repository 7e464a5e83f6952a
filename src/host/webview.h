#pragma once
// A WebView2 controller and web view living in a FramelessWindow's content host.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/download_route.h"
#include "base/retry_budget.h"
#include "host/com.h"
#include "host/download_watch.h"
#include "host/event_loop.h"
#include "host/frameless_window.h"
#include "host/webview_behaviour.h"
#include "host/webview_keyboard.h"
#include "host/load_events.h"
#include "host/webview2.h"
#include "host/webview2_loader.h"

namespace wm::host {

// A page's request for a new window, with what judges it.
struct NewWindowRequest {
    std::string address;
    std::string requesting_page;  // the address the requesting web view shows
    bool user_initiated = false;  // a click, not a script of the page's own accord
};

// The handlers a shell web view answers its page's events with.
struct WebViewHandlers {
    // Whether an address is the application's. A message posted by any other page is dropped
    // before its text is read.
    std::function<bool(std::string_view address)> is_app_page;
    // The posting page's address and its message.
    std::function<void(std::string source, std::string message)> page_message;
    // Every new-window request is refused; the handler decides what happens to its address.
    std::function<void(const NewWindowRequest&)> new_window_requested;
    // A decision to set, or nothing to leave the runtime's default; with the requesting page's
    // address.
    std::function<std::optional<COREWEBVIEW2_PERMISSION_STATE>(COREWEBVIEW2_PERMISSION_KIND, const std::string& uri)>
        permission_requested;
    // What becomes of a starting download, from the page that started it, its address and the
    // runtime's proposal.
    std::function<DownloadRoute(const std::string& source_page, const std::string& address, std::wstring proposed)>
        download_starting;
    // A download written in silence, with what is known of it at its start: to be followed to
    // its end, which may come after the window's.
    std::function<void(ComPtr<ICoreWebView2DownloadOperation> operation, FinishedDownload download)> download_followed;
    // The page's address changed: another page, or a change within the page (a history push, a
    // fragment).
    std::function<void(const std::string& address)> source_changed;
    // The web view began to load a new document: another page, the same one reloaded, or an
    // error page; never a change within the page.
    std::function<void()> new_document;
    // The user zoomed an application page to other than the web view's default.
    std::function<void(double zoom)> zoom_changed;
    // An application page finished loading: its computed background colour, as the page's
    // script answered it (JSON).
    std::function<void(std::u16string_view answer)> background_read;
    // A document's load ended: what the window does next.
    LoadWatch::Judge document_loaded;
    // Another document took the place of one that failed.
    LoadWatch::Forget failure_replaced;
};

// How a web view shows its pages from the first frame on.
struct WebViewLook {
    double zoom = 1.0;
    std::uint32_t background = 0xFFFFFF;  // 0xRRGGBB, until the page paints
};

class WebView2View;

// The process's one WebView2 environment, created when the first window needs it, and again
// after its browser process died.
class WebViewEnvironment {
public:
    // Asked, once, when the page data's folder is held by another process's browser with other
    // options; true when that process was made to end, so that creation is worth trying again
    // while its browser ends.
    using FolderHeld = std::function<bool()>;

    WebViewEnvironment() = default;
    // `runtime`: where the start found the runtime, for the first creation; later ones look again.
    WebViewEnvironment(FolderHeld folder_held, RuntimeLocation runtime)
        : folder_held_(std::move(folder_held)), runtime_(std::move(runtime)) {}

    // Waits, pumping messages, until the environment exists or its creation failed. A wait that
    // begins while another is under way shares its creation.
    HRESULT ensure(EventLoop& loop);
    // A controller in `parent`, from the environment (made first when there is none), which is
    // returned in `made_by`. Waits, pumping messages, for the runtime's answers.
    HRESULT create_controller(EventLoop& loop, HWND parent, ComPtr<ICoreWebView2Environment>& made_by,
                              ComPtr<ICoreWebView2Controller>& controller);
    // Drops an environment whose browser process has gone; a newer one stays.
    void forget(ICoreWebView2Environment* gone) noexcept;

    // Closes every web view and waits, pumping messages for a bounded time, until the runtime
    // reports that the browser's processes have ended and let go of the page data, for another
    // process to take it. False, with every web view left as it is, when there is no environment
    // or the runtime is too old to report it.
    bool hand_over(EventLoop& loop);
    // After a hand-over that came to nothing: every web view is built again on its page, and its
    // page waited for, pumping messages for a bounded time, so that the page can hear why.
    void resume(EventLoop& loop);

    // Every web view made from the environment, while it lives.
    void enroll(WebView2View& view) { views_.push_back(&view); }
    void withdraw(WebView2View& view) noexcept { std::erase(views_, &view); }

private:
    struct Pending;

    // One attempt: the environment, then the controller.
    HRESULT try_controller(EventLoop& loop, HWND parent, ComPtr<ICoreWebView2Environment>& made_by,
                           ComPtr<ICoreWebView2Controller>& controller);

    ComPtr<ICoreWebView2Environment> environment_;
    std::shared_ptr<Pending> pending_;
    FolderHeld folder_held_;
    std::vector<WebView2View*> views_;
    std::optional<RuntimeLocation> runtime_;
};

// A page, or the browser process, brought back after a failure at most this often.
inline constexpr std::size_t kRecoveryLimit = 3;
inline constexpr auto kRecoverySpan = std::chrono::seconds(60);

class WebView2View final {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // Builds the web view inside `window`, registers the document scripts in order, then
    // navigates to `address`. Waits, pumping messages, for the runtime's answers.
    static std::unique_ptr<WebView2View> create(EventLoop& loop, WebViewEnvironment& environment,
                                                FramelessWindow& window, std::vector<std::string> scripts,
                                                const std::string& address, WebViewHandlers handlers,
                                                const WebViewLook& look, std::wstring& error);
    WebView2View(Passkey, EventLoop& loop, WebViewEnvironment& environment, FramelessWindow& window,
                 std::vector<std::string> scripts, WebViewHandlers handlers, const WebViewLook& look);
    ~WebView2View();

    // The address of the page shown now; nothing when it cannot be read.
    std::optional<std::string> page_address() const;
    // Runs a script in the page without waiting for it; the outcome is ignored. Nothing runs while
    // a navigation to another site is under way.
    void run_script(std::string_view script);
    void set_visible(bool visible);
    void navigate(const std::string& address);
    // The page's zoom: CSS pixels to the window's logical pixels; 1 when it cannot be read.
    double zoom_factor() const;
    void set_zoom(double zoom);
    // Lets go of the controller and the web view, so that the browser's processes may end.
    void suspend() noexcept;
    // Builds them again, on the page last shown.
    void resume();
    // Rebuilt, and its page not loaded yet.
    bool loading() const noexcept { return loading_; }

private:
    // Makes the controller and the web view, registers every handler and script, and loads the
    // address; the same for the first build and for a rebuild after the runtime died.
    HRESULT start(const std::string& address);
    HRESULT attach(ComPtr<ICoreWebView2Controller> controller);
    HRESULT watch_downloads();
    HRESULT watch_process_failures();
    HRESULT watch_source();
    HRESULT watch_documents();
    // The look, the settings of an application rather than a browser tab, and the handlers that
    // keep them; undone by `drop_look`.
    HRESULT apply_look();
    void drop_look() noexcept;
    // Asks the application's page just loaded for its colour.
    void read_background();
    // The runtime's events that take more than a few lines.
    void on_web_message(ICoreWebView2WebMessageReceivedEventArgs* args) const;
    void on_new_window_requested(ICoreWebView2* sender, ICoreWebView2NewWindowRequestedEventArgs* args);
    void on_download_starting(ICoreWebView2* sender, ICoreWebView2DownloadStartingEventArgs* args) const;
    // Lets go of the controller and the web view, removing every handler first.
    void detach() noexcept;
    void recover(COREWEBVIEW2_PROCESS_FAILED_KIND kind);
    // A new controller and web view in the same window, on the page last seen.
    void rebuild();

    EventLoop& loop_;
    WebViewEnvironment& environment_;
    FramelessWindow& window_;
    const std::vector<std::string> scripts_;
    const WebViewHandlers handlers_;  // kept so that a rebuilt web view answers alike
    // The page last seen, where a web view rebuilt after its browser process died goes back to.
    mutable std::string last_address_;
    RetryBudget reloads_{kRecoveryLimit, kRecoverySpan};
    RetryBudget rebuilds_{kRecoveryLimit, kRecoverySpan};
    LoadWatch loads_;
    ComPtr<ICoreWebView2Environment> made_by_;
    ComPtr<ICoreWebView2Controller> controller_;
    ComPtr<ICoreWebView2> webview_;
    // Downloads are reported through a later interface; a runtime without it reports none.
    ComPtr<ICoreWebView2_4> webview4_;
    EventRegistrationToken message_token_{};
    EventRegistrationToken new_window_token_{};
    EventRegistrationToken permission_token_{};
    EventRegistrationToken process_failed_token_{};
    EventRegistrationToken download_token_{};
    EventRegistrationToken source_token_{};
    EventRegistrationToken content_token_{};
    EventRegistrationToken starting_token_{};
    EventRegistrationToken ended_token_{};
    // The navigation under way to another site's address, until it brings a document or ends.
    std::optional<UINT64> foreign_navigation_;
    WebViewLook look_;  // the zoom is the default the shell last gave, which a rebuilt web view keeps
    AppBehaviour behaviour_;
    PageKeyboard keyboard_;
    EventRegistrationToken zoom_token_{};
    bool loading_ = false;
    // Work deferred to the loop checks that the view still exists.
    std::shared_ptr<int> alive_ = std::make_shared<int>();
};

}  // namespace wm::host
