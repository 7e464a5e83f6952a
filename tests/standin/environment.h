#pragma once
// The environment the runtime hands the host: it makes one controller per parent window.

#include <memory>

#include "browser_process.h"
#include "com_support.h"
#include "data_folder.h"
#include "event_registry.h"
#include "log.h"
#include "loop_queue.h"

namespace standin {

// ICoreWebView2Environment up to ICoreWebView2Environment5 on one object.
class Environment final : public ComObject<ICoreWebView2Environment5> {
public:
    Environment(std::shared_ptr<Log> log, std::shared_ptr<LoopQueue> loop, std::shared_ptr<DataFolder> data_folder)
        : log_(std::move(log)),
          loop_(std::move(loop)),
          reporter_(Reporter::for_environment(log_)),
          browser_(std::make_shared<BrowserProcess>()),
          data_folder_(std::move(data_folder)) {
        browser_->on_end([this](bool failed) { browser_ended(failed); });  // cleared when this goes
    }
    ~Environment() override;

    // Answers for ICoreWebView2Environment too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow,
        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) noexcept override;
    HRESULT STDMETHODCALLTYPE add_BrowserProcessExited(ICoreWebView2BrowserProcessExitedEventHandler* handler,
                                                       EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_BrowserProcessExited(EventRegistrationToken token) noexcept override;
    STANDIN_UNUSED(CreateWebResourceRequest, LPCWSTR, LPCWSTR, IStream*, LPCWSTR, ICoreWebView2WebResourceRequest**)
    STANDIN_UNUSED(CreateCoreWebView2CompositionController, HWND,
                   ICoreWebView2CreateCoreWebView2CompositionControllerCompletedHandler*)
    STANDIN_UNUSED(CreateCoreWebView2PointerInfo, ICoreWebView2PointerInfo**)
    STANDIN_UNUSED(GetAutomationProviderForWindow, HWND, IUnknown**)

    STANDIN_UNUSED(CreateWebResourceResponse, IStream*, int, LPCWSTR, LPCWSTR, ICoreWebView2WebResourceResponse**)
    STANDIN_UNUSED(get_BrowserVersionString, LPWSTR*)
    STANDIN_UNUSED(add_NewBrowserVersionAvailable, ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_NewBrowserVersionAvailable, EventRegistrationToken)

private:
    // The browser's processes ended and let go of the page data: BrowserProcessExited, from the
    // loop.
    void browser_ended(bool failed);

    std::shared_ptr<Log> log_;
    std::shared_ptr<LoopQueue> loop_;
    Reporter reporter_;
    std::shared_ptr<BrowserProcess> browser_;
    std::shared_ptr<DataFolder> data_folder_;  // taken at the first controller, held while the environment lives
    int controllers_ = 0;  // asked for so far
    TokenSource tokens_;
    EventRegistry<ICoreWebView2BrowserProcessExitedEventHandler> browser_exited_{"BrowserProcessExited"};
};

// What the exported entry point does: reads the host's options, then completes later with a new
// environment, or with the failure that STANDIN_FAIL_ENVIRONMENT names or the user data
// folder's rules give.
HRESULT create_environment(bool check_running_instance, int runtime_type,
                           LPCWSTR user_data_folder, IUnknown* options,
                           ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

}  // namespace standin
