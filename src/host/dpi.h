#pragma once
// DPI functions that older Windows versions lack, looked up at run time so that a missing one
// degrades instead of stopping the program from loading.

#include <windows.h>

namespace wm::host {

inline constexpr UINT kDefaultDpi = 96;

UINT window_dpi(HWND window) noexcept;
// The monitor's effective DPI; 96 when it cannot be obtained.
UINT monitor_dpi(HMONITOR monitor) noexcept;

// The system's resize border at that DPI: the band along a resizable window's edge where the
// pointer resizes it.
int resize_border(UINT dpi) noexcept;

inline double scale_of(UINT dpi) noexcept { return static_cast<double>(dpi) / kDefaultDpi; }

}  // namespace wm::host
