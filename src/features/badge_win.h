#pragma once
// The badge on the taskbar: drawn as an icon for a DPI, and put on a window's taskbar button as
// its overlay.

#include <windows.h>
#include <shobjidl.h>

#include "features/badge.h"
#include "host/com.h"
#include "host/handles.h"

namespace wm {
namespace host {
template <> inline constexpr GUID iid_of<ITaskbarList3> = {0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}};
}  // namespace host

// The taskbar's own class, CLSID_TaskbarList.
inline constexpr GUID kTaskbarListClass = {
    0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};

// A disc in a strong red, the badge's text in white on it; nothing for no badge.
host::UniqueIcon draw_badge_icon(const Badge& badge, UINT dpi);

// The taskbar's list of buttons, made for the first badge a page shows and kept for the later ones.
class TaskbarOverlay {
public:
    // Puts the badge, drawn at the window's DPI, on the window's button as its overlay, or takes
    // the overlay away. A window without a button yet gets it when Windows reports the button.
    void show(HWND window, const Badge& badge);

private:
    host::ComPtr<ITaskbarList3> taskbar_;
};

}  // namespace wm
