#include "host/first_frame.h"

#include <windows.h>

namespace wm::host {

std::uint32_t theme_background() noexcept {
    // Settings > Personalisation > Colours > "Choose your default app mode": 0 is dark. Missing
    // (before Windows 10 1809) or unreadable reads as light, Windows' own default.
    DWORD light = 1;
    DWORD size = sizeof(light);
    (void)RegGetValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize",
                       L"AppsUseLightTheme", RRF_RT_REG_DWORD, nullptr, &light, &size);
    return light == 0 ? kDarkBackground : kLightBackground;
}

}  // namespace wm::host
