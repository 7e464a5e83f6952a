#include "environment.h"

#include <string>
#include <utility>
#include <vector>

#include "controller.h"
#include "event_args.h"
#include "text.h"
#include "webview.h"

namespace standin {
namespace {

// A failure the test asked for through the named variable, as an HRESULT in hex.
std::optional<HRESULT> requested_failure(const wchar_t* variable, const Reporter& reporter) {
    const auto text = environment_variable(variable);
    if (!text) return std::nullopt;
    const auto failure = parse_hresult(*text);
    if (!failure) reporter.write("bad_setting", to_utf8(*text));
    return failure;
}

std::wstring text_option(const ComPtr<ICoreWebView2EnvironmentOptions>& options,
                         HRESULT (STDMETHODCALLTYPE ICoreWebView2EnvironmentOptions::*getter)(LPWSTR*)) {
    wm::host::CoTaskString value;
    const HRESULT hr = (options.get()->*getter)(value.put());
    if (FAILED(hr)) return L"(error " + to_utf16(hresult_text(hr)) + L")";
    return value.get() ? value.get() : L"(null)";
}

// The options as the log shows them, line by line: what a browser started with them differs by.
std::vector<std::pair<const char*, std::wstring>> read_options(IUnknown* unknown) {
    const auto options = ComPtr<IUnknown>(unknown).query<ICoreWebView2EnvironmentOptions>();
    if (!options) return {{"options", unknown ? L"(not ICoreWebView2EnvironmentOptions)" : L"(null)"}};
    using Options = ICoreWebView2EnvironmentOptions;
    BOOL allow = FALSE;
    const HRESULT hr = options->get_AllowSingleSignOnUsingOSPrimaryAccount(&allow);
    return {
        {"option.AdditionalBrowserArguments", text_option(options, &Options::get_AdditionalBrowserArguments)},
        {"option.Language", text_option(options, &Options::get_Language)},
        {"option.TargetCompatibleBrowserVersion", text_option(options, &Options::get_TargetCompatibleBrowserVersion)},
        {"option.AllowSingleSignOnUsingOSPrimaryAccount",
         FAILED(hr) ? L"(error " + to_utf16(hresult_text(hr)) + L")" : std::wstring(allow ? L"1" : L"0")},
    };
}

}  // namespace

Environment::~Environment() {
    browser_->on_end(nullptr);
    reporter_.write("environment_released");
}

HRESULT STDMETHODCALLTYPE Environment::QueryInterface(REFIID iid, void** out) noexcept {
    if (out && IsEqualIID(iid, iid_of<ICoreWebView2Environment>)) {
        *out = static_cast<ICoreWebView2Environment*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

HRESULT STDMETHODCALLTYPE Environment::add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* handler,
                                                                EventRegistrationToken* token) noexcept {
    return browser_exited_.add(handler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE Environment::remove_BrowserProcessExited(EventRegistrationToken token) noexcept {
    return browser_exited_.remove(token, reporter_);
}

// Raised "when the collection of WebView2 Runtime processes for the browser process of this
// environment terminate ... after all resources have been released (including the user data
// folder)": in a later turn than the last web view's close.
void Environment::browser_ended(bool failed) {
    (void)loop_->post([self = ComPtr<Environment>(this), failed] {
        self->data_folder_->release();
        self->reporter_.write("browser_process_exited", failed ? "kind=1" : "kind=0");
        const auto args = make_object<BrowserProcessExitedArgs>(failed ? COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_FAILED
                                                                       : COREWEBVIEW2_BROWSER_PROCESS_EXIT_KIND_NORMAL);
        if (!args) return;
        for (const auto& handler : self->browser_exited_.handlers()) (void)handler->Invoke(self.get(), args.get());
    });
}

HRESULT STDMETHODCALLTYPE Environment::CreateCoreWebView2Controller(
    HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) noexcept {
    if (!handler) return E_POINTER;
    const Reporter view_reporter(log_, Reporter::view_of(parentWindow));
    const auto held = environment_variable(L"STANDIN_HOLD_CONTROLLER");
    const bool hold = held && parse_decimal(to_utf8(*held)) == ++controllers_;
    if (hold) view_reporter.write("controller_held");
    const auto complete_later = [&](HRESULT result, ComPtr<ICoreWebView2Controller> controller) {
        // The task keeps the queue alive should the host let the environment go meanwhile.
        auto task = [handler = ComPtr(handler), result, controller, loop = loop_] {
            (void)handler->Invoke(result, controller.get());  // its result means nothing here
        };
        if (hold) {
            loop_->hold(std::move(task));
            return S_OK;
        }
        return loop_->post(std::move(task)) ? S_OK : E_UNEXPECTED;
    };

    if (browser_->exited()) {
        // A dead browser process makes nothing more: the host needs a new environment.
        const HRESULT dead = HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
        view_reporter.write("controller_failed", hresult_text(dead));
        return complete_later(dead, nullptr);
    }
    if (const HRESULT held = data_folder_->claim(); FAILED(held)) {
        view_reporter.write("controller_failed", hresult_text(held));
        return complete_later(held, nullptr);
    }
    if (const auto failure = requested_failure(L"STANDIN_FAIL_CONTROLLER", view_reporter)) {
        view_reporter.write("controller_failed", hresult_text(*failure));
        return complete_later(*failure, nullptr);
    }
    const auto view = make_object<WebView>(view_reporter, loop_, browser_);
    if (!view) return E_OUTOFMEMORY;
    if (const HRESULT hr = view->open_window(parentWindow); FAILED(hr)) {
        view_reporter.write("controller_failed", hresult_text(hr));
        return complete_later(hr, nullptr);
    }
    const auto controller = make_object<Controller>(view_reporter, parentWindow, view);
    if (!controller) return E_OUTOFMEMORY;
    view_reporter.write("controller_created", Reporter::view_of(parentWindow));
    // Read here, in the host's process, as the controller is made: documented to become "the
    // initial value" of the controller's DefaultBackgroundColor.
    const auto initial = environment_variable(L"WEBVIEW2_DEFAULT_BACKGROUND_COLOR");
    view_reporter.write("initial_background", initial ? to_utf8(*initial) : std::string("(none)"));
    return complete_later(S_OK, ComPtr<ICoreWebView2Controller>(controller.get()));
}

HRESULT create_environment(bool check_running_instance, int runtime_type,
                           LPCWSTR user_data_folder, IUnknown* options,
                           ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) {
    if (!handler) return E_POINTER;
    auto log = Log::from_environment(L"STANDIN_LOG", Counters::from_environment());
    const auto reporter = Reporter::for_environment(log);
    auto loop = LoopQueue::create();
    if (!loop) return HRESULT_FROM_WIN32(GetLastError());

    const std::string call = "runtime_type=" + std::to_string(runtime_type) +
                             " check_running=" + (check_running_instance ? "1" : "0");
    const auto option_lines = read_options(options);
    std::wstring option_text;
    for (const auto& [name, value] : option_lines) option_text.append(value).push_back(L'\n');
    auto failure = requested_failure(L"STANDIN_FAIL_ENVIRONMENT", reporter);
    std::shared_ptr<DataFolder> data_folder;
    if (!failure) {
        if (const HRESULT hr = DataFolder::make(DataFolder::resolve(user_data_folder), option_text, data_folder);
            FAILED(hr))
            failure = hr;
    }
    if (failure) {
        reporter.write("environment_failed", call + " hr=" + hresult_text(*failure));
    } else {
        reporter.write("environment_created", call);
    }
    reporter.write("user_data_folder", user_data_folder ? std::wstring_view(user_data_folder)
                                                        : std::wstring_view(L"(null)"));
    for (const auto& [name, value] : option_lines) reporter.write(name, value);

    ComPtr<ICoreWebView2Environment> environment;
    if (!failure) {
        const auto made = make_object<Environment>(log, loop, std::move(data_folder));
        environment = ComPtr<ICoreWebView2Environment>(made.get());
        if (!environment) return E_OUTOFMEMORY;
    }
    // The task keeps the queue alive when no environment does.
    const bool posted = loop->post([handler = ComPtr(handler), environment, loop,
                                    result = failure.value_or(S_OK)] {
        (void)handler->Invoke(result, environment.get());  // its result means nothing here
    });
    return posted ? S_OK : E_UNEXPECTED;
}

}  // namespace standin
