#pragma once
// The end-to-end driver's way to click the stand-in's toasts (README.md, "A click").

#include <windows.h>

namespace toast_standin {

// A hidden top-level window on the shell's user-interface thread, one per notifier.
inline constexpr wchar_t kClickWindowClass[] = L"toast_standin.click";
// WPARAM and LPARAM unused; the answer is the HRESULT of the click (creation, then Activate).
inline constexpr UINT kClickMessage = WM_APP + 0x70;

}  // namespace toast_standin
