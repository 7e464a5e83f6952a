#include "host/dpi.h"

#include "host/system_library.h"

namespace wm::host {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

constexpr int kEffectiveDpi = 0;

}  // namespace

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
