#pragma once
// What the driver and the icon probe, a hook library it loads into the shell's process, share.
// Under Wine an icon handle is private to its process and WM_GETICON is not answered across
// processes, so the icon a window of the shell shows can only be read inside the shell.

#include <windows.h>

#include <cstdint>
#include <string>

namespace e2e::icon_probe {

// Sent to a window of the shell: the hook then copies the window's small icon into the answer
// mapping named after the window.
inline constexpr wchar_t kRequestMessage[] = L"wispermoth.e2e.icon_probe";
// The hook procedure the library exports (WH_CALLWNDPROC).
inline constexpr char kHookProcedure[] = "icon_probe_hook";

inline constexpr LONG kMaxSide = 256;

enum class AnswerState : std::uint32_t {
    unanswered = 0,
    no_icon = 1,     // the window has no small icon
    unreadable = 2,  // it has one, but its pixels cannot be read
    icon = 3,
};

struct Answer {
    AnswerState state;
    LONG width;
    LONG height;
    std::uint32_t pixels[kMaxSide * kMaxSide];  // 32-bit ARGB, top row first
};

inline std::wstring answer_mapping_name(HWND window) {
    return L"Local\\wispermoth-e2e-icon-" + std::to_wstring(reinterpret_cast<std::uintptr_t>(window));
}

// Copies the colour image of one of this process's icons; the driver reads the groups' own
// images the same way, so that equal icons give equal answers.
inline AnswerState copy_icon(HICON icon, Answer& answer) {
    class Bitmaps {
    public:
        explicit Bitmaps(const ICONINFO& info) : colour_(info.hbmColor), mask_(info.hbmMask) {}
        Bitmaps(const Bitmaps&) = delete;
        Bitmaps& operator=(const Bitmaps&) = delete;
        ~Bitmaps() {
            if (colour_) DeleteObject(colour_);
            if (mask_) DeleteObject(mask_);
        }
        HBITMAP colour() const { return colour_; }

    private:
        HBITMAP colour_;
        HBITMAP mask_;
    };

    if (!icon) return AnswerState::no_icon;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return AnswerState::unreadable;
    const Bitmaps bitmaps(info);
    BITMAP bitmap{};
    if (!bitmaps.colour() || !GetObjectW(bitmaps.colour(), sizeof bitmap, &bitmap) || bitmap.bmWidth > kMaxSide ||
        bitmap.bmHeight > kMaxSide)
        return AnswerState::unreadable;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmaps.colour(), 0, static_cast<UINT>(bitmap.bmHeight), answer.pixels, &format,
                               DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bitmap.bmHeight) return AnswerState::unreadable;
    answer.width = bitmap.bmWidth;
    answer.height = bitmap.bmHeight;
    return AnswerState::icon;
}

}  // namespace e2e::icon_probe
