// The least program that hosts a web view, the floor of the shell's whole run: COM, one window,
// the runtime DLL from the folder WEBVIEW2_BROWSER_EXECUTABLE_FOLDER names, one environment, one
// controller, Navigate and one message handler, which closes the window on "close". Built with
// the shell's toolchain and flags, run against the same stand-in runtime.

#include <windows.h>
#include <objbase.h>

#include <string>

#include "host/com.h"

namespace {

using wm::host::ComPtr;
using wm::host::make_handler;

constexpr wchar_t kClassName[] = L"wispermoth.webview_floor";

using CreateEnvironment = HRESULT(STDMETHODCALLTYPE*)(bool check_running_instance, int runtime_type,
                                                      LPCWSTR user_data_folder, IUnknown* options,
                                                      ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler*);

// What the completion handlers keep alive for as long as the window is open.
struct Host {
    HWND window = nullptr;
    ComPtr<ICoreWebView2Environment> environment;
    ComPtr<ICoreWebView2Controller> controller;
    ComPtr<ICoreWebView2> web_view;
};

LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

void on_controller(Host& host, ICoreWebView2Controller* controller) {
    if (!controller) return;
    host.controller = ComPtr<ICoreWebView2Controller>(controller);
    if (FAILED(controller->get_CoreWebView2(host.web_view.put())) || !host.web_view) return;
    RECT bounds{};
    GetClientRect(host.window, &bounds);
    (void)controller->put_Bounds(bounds);
    EventRegistrationToken token{};
    (void)host.web_view->add_WebMessageReceived(
        make_handler<ICoreWebView2WebMessageReceivedEventHandler>(
            [window = host.window](ICoreWebView2*, ICoreWebView2WebMessageReceivedEventArgs* args) {
                LPWSTR text = nullptr;
                if (SUCCEEDED(args->TryGetWebMessageAsString(&text)) && text && std::wstring(text) == L"close")
                    DestroyWindow(window);
                CoTaskMemFree(text);
            })
            .get(),
        &token);
    (void)host.web_view->Navigate(L"https://app.example/");
}

HRESULT start(Host& host) {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"WEBVIEW2_BROWSER_EXECUTABLE_FOLDER", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return E_FAIL;
    const std::wstring dll = std::wstring(folder) + L"\\EBWebView\\x64\\EmbeddedBrowserWebView.dll";
    const HMODULE module = LoadLibraryExW(dll.c_str(), nullptr, LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR |
                                                                   LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    const auto create = reinterpret_cast<CreateEnvironment>(
        reinterpret_cast<void*>(GetProcAddress(module, "CreateWebViewEnvironmentWithOptionsInternal")));
    if (!create) return HRESULT_FROM_WIN32(GetLastError());
    return create(true, 0, nullptr, nullptr,
                  make_handler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(
                      [&host](HRESULT result, ICoreWebView2Environment* environment) {
                          if (FAILED(result) || !environment) return;
                          host.environment = ComPtr<ICoreWebView2Environment>(environment);
                          (void)environment->CreateCoreWebView2Controller(
                              host.window,
                              make_handler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(
                                  [&host](HRESULT created, ICoreWebView2Controller* controller) {
                                      if (SUCCEEDED(created)) on_controller(host, controller);
                                  })
                                  .get());
                      })
                      .get());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.lpfnWndProc = window_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kClassName;
    if (!RegisterClassExW(&window_class)) return 1;

    // The shell's default inner size.
    RECT frame{0, 0, 1200, 800};
    AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
    Host host;
    host.window = CreateWindowExW(0, kClassName, L"webview floor", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance,
                                  nullptr);
    if (!host.window) return 1;
    ShowWindow(host.window, show);
    if (FAILED(start(host))) return 1;

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (host.controller) (void)host.controller->Close();
    return static_cast<int>(message.wParam);
}
