#include "host/dpi.h"

namespace wm::host {
namespace {

template <class Function>
Function system_function(const wchar_t* module, const char* name) noexcept {
    HMODULE handle = GetModuleHandleW(module);
    if (!handle) handle = LoadLibraryW(module);  // shcore is not loaded by default; it stays loaded
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name))) : nullptr;
}

using SetAwarenessContext = BOOL(WINAPI*)(HANDLE);
using SetAwareness = HRESULT(WINAPI*)(int);
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int kProcessPerMonitorDpiAware = 2;
constexpr int kEffectiveDpi = 0;
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

}  // namespace

void make_process_dpi_aware() noexcept {
    if (auto set_context = system_function<SetAwarenessContext>(L"user32.dll", "SetProcessDpiAwarenessContext"))
        if (set_context(kPerMonitorAwareV2)) return;
    if (auto set_awareness = system_function<SetAwareness>(L"shcore.dll", "SetProcessDpiAwareness"))
        if (SUCCEEDED(set_awareness(kProcessPerMonitorDpiAware))) return;
    (void)SetProcessDPIAware();  // last resort; a failure leaves the system's scaling
}

UINT window_dpi(HWND window) noexcept {
    if (auto get_dpi = system_function<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow"))
        if (const UINT dpi = get_dpi(window)) return dpi;
    HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc) ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT monitor_dpi(HMONITOR monitor) noexcept {
    UINT x = 0;
    UINT y = 0;
    if (auto get_dpi = system_function<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor"))
        if (SUCCEEDED(get_dpi(monitor, kEffectiveDpi, &x, &y)) && x) return x;
    return kDefaultDpi;
}

}  // namespace wm::host
