#pragma once
// The environment the runtime hands the host: it makes one controller per parent window.

#include <memory>

#include "browser_process.h"
#include "com_support.h"
#include "data_folder.h"
#include "log.h"
#include "loop_queue.h"

namespace standin {

class Environment final : public ComObject<ICoreWebView2Environment> {
public:
    Environment(std::shared_ptr<Log> log, std::shared_ptr<LoopQueue> loop, std::shared_ptr<DataFolder> data_folder)
        : log_(std::move(log)),
          loop_(std::move(loop)),
          reporter_(Reporter::for_environment(log_)),
          browser_(std::make_shared<BrowserProcess>()),
          data_folder_(std::move(data_folder)) {}
    ~Environment() override;

    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow,
        ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) noexcept override;

    STANDIN_UNUSED(CreateWebResourceResponse, IStream*, int, LPCWSTR, LPCWSTR, ICoreWebView2WebResourceResponse**)
    STANDIN_UNUSED(get_BrowserVersionString, LPWSTR*)
    STANDIN_UNUSED(add_NewBrowserVersionAvailable, ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_NewBrowserVersionAvailable, EventRegistrationToken)

private:
    std::shared_ptr<Log> log_;
    std::shared_ptr<LoopQueue> loop_;
    Reporter reporter_;
    std::shared_ptr<BrowserProcess> browser_;
    std::shared_ptr<DataFolder> data_folder_;  // taken at the first controller, held while the environment lives
    int controllers_ = 0;  // asked for so far
};

// What the exported entry point does: reads the host's options, then completes later with a new
// environment, or with the failure that STANDIN_FAIL_ENVIRONMENT names or the user data
// folder's rules give.
HRESULT create_environment(bool check_running_instance, int runtime_type,
                           LPCWSTR user_data_folder, IUnknown* options,
                           ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler);

}  // namespace standin
