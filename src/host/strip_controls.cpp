#include "host/strip_controls.h"

#include <utility>

#include "host/text.h"

namespace wm::host {
namespace {

// A window that is no dialog gets no dialog navigation from the system: the buttons move the
// focus on Tab themselves, and take Enter as a click as a dialog's buttons do.
LRESULT CALLBACK strip_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
    if (message == WM_KEYDOWN && wparam == VK_TAB) {
        if (HWND next = GetNextDlgTabItem(GetParent(button), button, GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
        return 0;
    }
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
        (void)SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    return CallWindowProcW(original, button, message, wparam, lparam);
}

HWND make_control(HWND parent, const wchar_t* control_class, const wchar_t* text, DWORD style, WORD id) {
    return CreateWindowExW(0, control_class, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HWND make_button(HWND parent, const wchar_t* label, WORD id) {
    HWND button = make_control(parent, L"BUTTON", label, WS_TABSTOP | BS_PUSHBUTTON, id);
    if (button) {
        SetWindowLongPtrW(button, GWLP_USERDATA, GetWindowLongPtrW(button, GWLP_WNDPROC));
        SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&strip_button_procedure));
    }
    return button;
}

// The system's message font at the window's DPI (the metrics are in the system DPI's pixels).
host::UniqueFont message_font(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    HDC screen = GetDC(nullptr);
    const int system_dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    metrics.lfMessageFont.lfHeight = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), system_dpi);
    return host::UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

void move(HWND control, const PhysicalRect& r) {
    if (control)
        (void)MoveWindow(control, static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.right - r.left),
                         static_cast<int>(r.bottom - r.top), TRUE);
}

}  // namespace

void AwayStrip::create(HWND parent) {
    if (std::exchange(created_, true)) return;
    // No prefix: an "&" in the address is shown, not taken for an access key.
    text_ = make_control(parent, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0);
    back_ = make_button(parent, L"Back to wispermoth", kStripBack);
    close_ = make_button(parent, L"Close", kStripClose);
}

bool AwayStrip::show(const std::optional<std::string>& text) {
    if (text) (void)SetWindowTextW(text_, host::to_wide(*text).c_str());
    if (shown_ == text.has_value()) return false;
    shown_ = text.has_value();
    // A hidden button keeps no focus: the window takes it, and hands it to the page.
    const HWND focus = GetFocus();
    if (!shown_ && focus && (focus == back_ || focus == close_)) SetFocus(GetParent(back_));
    for (HWND control : {text_, back_, close_})
        if (control) ShowWindow(control, shown_ ? SW_SHOWNA : SW_HIDE);
    return true;
}

void AwayStrip::place(const StripLayout& layout, UINT dpi) {
    if (!shown_) return;
    if (font_dpi_ != dpi || !font_) {
        auto font = message_font(dpi);
        for (HWND control : {text_, back_, close_})
            if (control) (void)SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);  // the controls no longer use the previous one
        font_dpi_ = dpi;
    }
    move(text_, layout.text);
    move(back_, layout.back);
    move(close_, layout.close);
}

}  // namespace wm::host
