// The runtime's entry point, as the WebView2 loader calls it in EmbeddedBrowserWebView.dll.

#include "environment.h"

extern "C" __declspec(dllexport) HRESULT STDMETHODCALLTYPE CreateWebViewEnvironmentWithOptionsInternal(
    bool checkRunningInstance, int runtimeType, LPCWSTR userDataFolder, IUnknown* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* handler) noexcept {
    try {
        return standin::create_environment(checkRunningInstance, runtimeType, userDataFolder,
                                           environmentOptions, handler);
    } catch (...) {
        return E_OUTOFMEMORY;  // the only exception the stand-in's own code throws
    }
}
