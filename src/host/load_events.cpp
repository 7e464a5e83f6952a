#include "host/load_events.h"

#include "host/com.h"
#include "host/messages.h"
#include "host/system_library.h"
#include "host/text.h"

namespace wm::host {
namespace {

constexpr wchar_t kRetryClass[] = L"wispermoth.retry";
constexpr UINT_PTR kRetryTimer = 1;

// Declared by the SDK's netioapi.h and nldef.h, which mingw lacks; Windows 10 2004 and later
// export the functions from iphlpapi.dll.
enum NetworkLevelHint : int {
    kLevelInternetAccess = 3,
    kLevelConstrainedInternetAccess = 4,
};
struct NetworkHint {
    int level;
    int cost;
    BOOLEAN approaching_data_limit;
    BOOLEAN over_data_limit;
    BOOLEAN roaming;
};
using HintCallback = void(WINAPI*)(PVOID context, NetworkHint hint);
using NotifyHintChangeFn = DWORD(WINAPI*)(HintCallback callback, PVOID context, BOOLEAN initial, HANDLE* handle);
using CancelNotifyFn = DWORD(WINAPI*)(HANDLE handle);

// On a thread of the system's pool: only a post, to the window named by the context.
void WINAPI network_hint_changed(PVOID context, NetworkHint hint) {
    if (hint.level == kLevelInternetAccess || hint.level == kLevelConstrainedInternetAccess)
        (void)PostMessageW(static_cast<HWND>(context), kNetworkBackMessage, 0, 0);
}

LoadError load_error(COREWEBVIEW2_WEB_ERROR_STATUS status) {
    switch (status) {
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_COMMON_NAME_IS_INCORRECT:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_EXPIRED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CLIENT_CERTIFICATE_CONTAINS_ERRORS:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_REVOKED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CERTIFICATE_IS_INVALID:
        return LoadError::certificate;
    case COREWEBVIEW2_WEB_ERROR_STATUS_DISCONNECTED:
        return LoadError::no_network;
    case COREWEBVIEW2_WEB_ERROR_STATUS_HOST_NAME_NOT_RESOLVED:
        return LoadError::name_not_resolved;
    case COREWEBVIEW2_WEB_ERROR_STATUS_TIMEOUT:
        return LoadError::timed_out;
    // No failure, as the runtime's documentation says: another navigation took its place, or a
    // sign-in is asked for on the page itself.
    case COREWEBVIEW2_WEB_ERROR_STATUS_OPERATION_CANCELED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_VALID_AUTHENTICATION_CREDENTIALS_REQUIRED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_VALID_PROXY_AUTHENTICATION_REQUIRED:
        return LoadError::cancelled;
    case COREWEBVIEW2_WEB_ERROR_STATUS_SERVER_UNREACHABLE:
    case COREWEBVIEW2_WEB_ERROR_STATUS_ERROR_HTTP_INVALID_SERVER_RESPONSE:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_ABORTED:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CONNECTION_RESET:
    case COREWEBVIEW2_WEB_ERROR_STATUS_CANNOT_CONNECT:
    case COREWEBVIEW2_WEB_ERROR_STATUS_REDIRECT_FAILED:
        return LoadError::unreachable;
    default:
        return LoadError::other;
    }
}

}  // namespace

void LoadWatch::NetworkWatch::start(HWND window) {
    if (registration_) return;
    // Missing before Windows 10 2004 (and under Wine): the retries keep their schedule alone.
    if (const auto notify =
            system_function<NotifyHintChangeFn>(L"iphlpapi.dll", "NotifyNetworkConnectivityHintChange")) {
        if (notify(&network_hint_changed, window, FALSE, &registration_) != NO_ERROR) registration_ = nullptr;
    }
}

void LoadWatch::NetworkWatch::stop() noexcept {
    // Waits for a callback under way, which only posts.
    if (const HANDLE registration = std::exchange(registration_, nullptr))
        if (const auto cancel = system_function<CancelNotifyFn>(L"iphlpapi.dll", "CancelMibChangeNotify2"))
            (void)cancel(registration);
}

LoadWatch::~LoadWatch() { stop_retrying(); }

HRESULT LoadWatch::attach(ICoreWebView2& webview) {
    const HRESULT result = webview.add_ContentLoading(
        make_handler<ICoreWebView2ContentLoadingEventHandler>(
            [this](ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) { content_loading(sender, args); })
            .get(),
        &content_token_);
    if (FAILED(result)) return result;
    return webview.add_NavigationCompleted(
        make_handler<ICoreWebView2NavigationCompletedEventHandler>(
            [this](ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) { completed(sender, args); })
            .get(),
        &completed_token_);
}

void LoadWatch::detach(ICoreWebView2& webview) noexcept {
    (void)webview.remove_ContentLoading(content_token_);
    (void)webview.remove_NavigationCompleted(completed_token_);
    // A rebuilt web view loads its page anew; a retry of the old one's would be a second load.
    retries_.load_abandoned();
}

void LoadWatch::content_loading(ICoreWebView2* sender, ICoreWebView2ContentLoadingEventArgs* args) {
    (void)args->get_NavigationId(&last_document_);
    CoTaskString source;
    if (SUCCEEDED(sender->get_Source(source.put())) && source.get())
        follow(retries_.document_started(to_utf8(source.get())));
}

void LoadWatch::completed(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args) {
    LoadResult result;
    BOOL success = FALSE;
    COREWEBVIEW2_WEB_ERROR_STATUS status = COREWEBVIEW2_WEB_ERROR_STATUS_UNKNOWN;
    if (FAILED(args->get_IsSuccess(&success))) return;
    result.success = success != FALSE;
    if (!result.success)
        result.error = SUCCEEDED(args->get_WebErrorStatus(&status)) ? load_error(status) : LoadError::other;
    // A navigation that turned into a download ends unsuccessful too, with no document of its own
    // (WebView2Feedback issue 5172): the page it left is still there.
    UINT64 navigation = 0;
    if (!result.success && (FAILED(args->get_NavigationId(&navigation)) || navigation != last_document_))
        result.error = LoadError::cancelled;
    // The status code came later; without it no server's answer can be told from a failure.
    if (const auto args2 = ComPtr<ICoreWebView2NavigationCompletedEventArgs>(args)
                               .query<ICoreWebView2NavigationCompletedEventArgs2>())
        (void)args2->get_HttpStatusCode(&result.http_status);
    CoTaskString source;
    if (SUCCEEDED(sender->get_Source(source.put())) && source.get()) result.address = to_utf8(source.get());
    follow(retries_.ended(judge_(result), result.address));
}

void LoadWatch::retry_now() { follow(retries_.user_asked()); }

void LoadWatch::follow(const LoadRetries::Plan& plan) {
    if (plan.failure_gone && forget_) forget_();
    if ((plan.timer == LoadRetries::Plan::Timer::set || plan.network) && ensure_retry_window()) {
        if (plan.timer == LoadRetries::Plan::Timer::set)
            (void)SetTimer(retry_window_.get(), kRetryTimer, static_cast<UINT>(plan.wait.count()), nullptr);
        network_.start(retry_window_.get());
    }
    if (!plan.network) {
        stop_retrying();
    } else if (plan.timer == LoadRetries::Plan::Timer::stop) {
        (void)KillTimer(retry_window_.get(), kRetryTimer);
    }
    if (!plan.load.empty()) load_(plan.load);
}

bool LoadWatch::ensure_retry_window() {
    if (retry_window_) return true;
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = &LoadWatch::procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = kRetryClass;
    RegisterClassExW(&window_class);  // registering twice fails harmlessly
    retry_window_.reset(CreateWindowExW(0, kRetryClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        GetModuleHandleW(nullptr), nullptr));
    if (!retry_window_) return false;
    SetWindowLongPtrW(retry_window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return true;
}

void LoadWatch::stop_retrying() noexcept {
    network_.stop();
    retry_window_.reset();
}

LRESULT CALLBACK LoadWatch::procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* self = reinterpret_cast<LoadWatch*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    try {
        switch (message) {
        case WM_TIMER:
            (void)KillTimer(window, kRetryTimer);
            self->follow(self->retries_.timer_fired());
            return 0;
        case kNetworkBackMessage:
            self->follow(self->retries_.network_changed(LoadRetries::Clock::now()));
            return 0;
        default:
            break;
        }
    } catch (...) {
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace wm::host
