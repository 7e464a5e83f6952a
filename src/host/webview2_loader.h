#pragma once
// Finding the WebView2 runtime and creating its environment, without the vendor's loader.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "host/com.h"
#include "host/webview2.h"

namespace wm::host {

struct RuntimeLocation {
    std::wstring folder;
    int runtime_type = 0;  // 0 installed ("evergreen"), 1 explicit folder ("fixed version")
    std::wstring version;
};

// The explicit folder named by WEBVIEW2_BROWSER_EXECUTABLE_FOLDER, or else the first release
// channel whose registered folder qualifies (per machine before per user).
std::optional<RuntimeLocation> find_runtime();

// Where the page's data goes: empty for the runtime's own choice, "<executable>.WebView2" beside
// the executable, whenever that folder exists or can be made and written there (so that logins
// survive); otherwise, in a folder the user cannot write to, the runtime could not start, and
// the data goes to the user's own "%LOCALAPPDATA%\wispermoth\WebView2".
std::wstring page_data_folder();

using EnvironmentCompleted = std::function<void(HRESULT, ComPtr<ICoreWebView2Environment>)>;

// Starts creating an environment of `runtime` (found now when empty) with its page data in
// `data_folder` (empty: the runtime's default); `completed` runs later, from the message loop. A
// first failure is retried once, as the vendor's loader does.
HRESULT create_environment(std::optional<RuntimeLocation> runtime, ICoreWebView2EnvironmentOptions* options,
                           const std::wstring& data_folder, EnvironmentCompleted completed);

}  // namespace wm::host
