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

// The documented variable "becomes the initial value" of a controller's default background, and
// so reaches the first frame, which a colour put once the controller exists comes too late for.
// The runtime reads it as the controller is made; set in this process's own environment it is
// also inherited by a browser process that this process starts, whichever of the two reads it.
void offer_first_frame_colour(std::uint32_t background) noexcept {
    wchar_t value[] = L"FF000000";  // AARRGGBB in hex
    for (int digit = 7; digit >= 2; --digit, background >>= 4) value[digit] = L"0123456789ABCDEF"[background & 0xF];
    (void)SetEnvironmentVariableW(L"WEBVIEW2_DEFAULT_BACKGROUND_COLOR", value);  // a failure keeps white
}

}  // namespace wm::host
