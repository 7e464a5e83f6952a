#include "host/strip_controls.h"

// After windows.h, which it needs.
#include <commctrl.h>

#include <utility>

#include "host/system_library.h"
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

// The origin keeps its end in view: the control's own text (its accessible name) stays whole, and
// only its painting is elided, in the control's font and the parent's colours.
void paint_elided(HWND control) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(control, &paint);
    if (!dc) return;
    RECT client{};
    GetClientRect(control, &client);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(control), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    (void)FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), length + 1)));
    const std::string shown = elide_strip_text(to_utf8(text), client.right - client.left, [dc](std::string_view part) {
        const std::wstring wide = to_wide(part);
        SIZE size{};
        return GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size) ? std::int64_t{size.cx}
                                                                                            : std::int64_t{0};
    });
    const std::wstring wide = to_wide(shown);
    (void)SetBkMode(dc, TRANSPARENT);
    (void)DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &client,
                    DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (previous) (void)SelectObject(dc, previous);
    EndPaint(control, &paint);
}

LRESULT CALLBACK strip_text_procedure(HWND text, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(text, GWLP_USERDATA));
    if (message == WM_PAINT) {
        paint_elided(text);
        return 0;
    }
    return CallWindowProcW(original, text, message, wparam, lparam);
}

// Sends a control's messages to `procedure` first, which passes on the rest.
void subclass(HWND control, WNDPROC procedure) {
    if (!control) return;
    SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// The tooltip's record of the strip's text control, showing `text`.
TTTOOLINFOW tool_info(HWND tool, const wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = GetParent(tool);
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    return info;
}

// The whole origin over its elided text. The buttons made before have loaded common controls 6,
// whose tooltip class needs registering. Owned by no window, so that it has no say in the shell
// window's place in the z-order: a popup owned by it kept it out of the topmost band.
UniqueWindow make_tooltip(HWND tool) {
    const auto init =
        system_function<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    if (!tool || !init || !init(&classes)) return nullptr;
    UniqueWindow tip(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    if (!tip) return nullptr;
    TTTOOLINFOW info = tool_info(tool, L"");
    (void)SendMessageW(tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    return tip;
}

HWND make_control(HWND parent, const wchar_t* control_class, const wchar_t* text, DWORD style, WORD id) {
    return CreateWindowExW(0, control_class, text, WS_CHILD | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

HWND make_button(HWND parent, const wchar_t* label, WORD id) {
    HWND button = make_control(parent, L"BUTTON", label, WS_TABSTOP | BS_PUSHBUTTON, id);
    subclass(button, &strip_button_procedure);
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
    // Notifying, so that the pointer over it reaches it and its tooltip.
    text_ = make_control(parent, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE | SS_NOTIFY, 0);
    subclass(text_, &strip_text_procedure);
    back_ = make_button(parent, L"Back to wispermoth", kStripBack);
    close_ = make_button(parent, L"Close", kStripClose);
    tip_ = make_tooltip(text_);
}

bool AwayStrip::show(const std::optional<std::string>& text) {
    if (text) {
        const std::wstring wide = host::to_wide(*text);
        (void)SetWindowTextW(text_, wide.c_str());
        if (tip_) {
            TTTOOLINFOW info = tool_info(text_, wide.c_str());
            (void)SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
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
