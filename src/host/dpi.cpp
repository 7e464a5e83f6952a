#include "host/dpi.h"

#include "host/system_library.h"

namespace wm::host {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);

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

int resize_border(UINT dpi) noexcept {
    if (auto metric = system_function<GetSystemMetricsForDpiFn>(L"user32.dll", "GetSystemMetricsForDpi"))
        return metric(SM_CYSIZEFRAME, dpi) + metric(SM_CXPADDEDBORDER, dpi);
    // Older Windows: the system's own metrics are already in pixels of the screen's DPI, so they
    // are scaled from that DPI, not from 96.
    HDC screen = GetDC(nullptr);
    const int screen_dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return MulDiv(GetSystemMetrics(SM_CYSIZEFRAME) + GetSystemMetrics(SM_CXPADDEDBORDER), static_cast<int>(dpi),
                  screen_dpi > 0 ? screen_dpi : static_cast<int>(kDefaultDpi));
}

}  // namespace wm::host
