#pragma once
// The options the shell's WebView2 environment is created with.

#include "host/com.h"
#include "host/webview2.h"

namespace wm::host {

// The shell's fixed environment options: its browser arguments and the user's interface
// language.
ComPtr<ICoreWebView2EnvironmentOptions> make_environment_options();

}  // namespace wm::host
