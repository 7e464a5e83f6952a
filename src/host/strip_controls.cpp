#include "host/strip_controls.h"

// After windows.h, which it needs.
#include <commctrl.h>
#include <windowsx.h>

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

// Sends a control's messages to `procedure` first, which passes on the rest.
void subclass(HWND control, WNDPROC procedure) {
    if (!control) return;
    SetWindowLongPtrW(control, GWLP_USERDATA, GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
}

// The tooltip's record of the strip's text: a rectangle of the parent, which answers for the text
// as its title bar, and so gets the pointer's messages as non-client ones that the tooltip cannot
// take by itself; the window relays them.
TTTOOLINFOW tool_info(HWND parent, const RECT& rect, const wchar_t* text) {
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.hwnd = parent;
    info.uId = 1;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text);
    return info;
}

// The whole text over its elided painting. The buttons made before have loaded common controls 6,
// whose tooltip class needs registering. Owned by no window, so that it has no say in the shell
// window's place in the z-order: a popup owned by it kept it out of the topmost band.
UniqueWindow make_tooltip(HWND parent) {
    const auto init =
        system_function<decltype(&InitCommonControlsEx)>(L"comctl32.dll", "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
    if (!init || !init(&classes)) return nullptr;
    UniqueWindow tip(CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr));
    if (!tip) return nullptr;
    TTTOOLINFOW info = tool_info(parent, {}, L"");
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

LRESULT CALLBACK AwayStrip::text_procedure(HWND text, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    auto* self = reinterpret_cast<AwayStrip*>(GetWindowLongPtrW(text, GWLP_USERDATA));
    try {
        switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            if (HDC dc = BeginPaint(text, &paint)) {
                self->paint(dc);
                EndPaint(text, &paint);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            self->paint(reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_SETTEXT: {
            // The static would paint the new text whole inside this message, with no WM_PAINT
            // after it: it only stores the text here, and is painted again the strip's way.
            const LRESULT result = DefWindowProcW(text, message, wparam, lparam);
            (void)InvalidateRect(text, nullptr, TRUE);
            return result;
        }
        default:
            break;
        }
    } catch (...) {
        return 0;
    }
    return CallWindowProcW(self->text_original_, text, message, wparam, lparam);
}

// An origin keeps its end in view, and the control's own text (its accessible name) stays whole:
// only the painting is elided, in the control's font and the parent's colours. A failure's words
// come after the origin, or alone over the application's page, and are cut at their end.
void AwayStrip::paint(HDC dc) {
    RECT client{};
    GetClientRect(text_, &client);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(parent_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(text_)));
    (void)FillRect(dc, &client, brush ? brush : GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(SendMessageW(text_, WM_GETFONT, 0, 0));
    const HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    constexpr UINT format = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX;
    (void)SetBkMode(dc, TRANSPARENT);
    RECT area = client;
    if (away_) {
        const std::wstring origin = to_wide(*away_);
        if (elided_.text != origin || elided_.width != client.right) {
            elided_.shown = to_wide(elide_strip_text(*away_, client.right, [dc](std::string_view part) {
                const std::wstring wide = to_wide(part);
                SIZE size{};
                return GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size)
                           ? std::int64_t{size.cx}
                           : std::int64_t{0};
            }));
            elided_.text = origin;
            elided_.width = client.right;
        }
        SIZE drawn{};
        (void)GetTextExtentPoint32W(dc, elided_.shown.c_str(), static_cast<int>(elided_.shown.size()), &drawn);
        (void)DrawTextW(dc, elided_.shown.c_str(), static_cast<int>(elided_.shown.size()), &area, format);
        area.left += drawn.cx;
    }
    if (failure_) {
        const std::wstring words = to_wide((away_ ? " " : "") + *failure_);
        (void)DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &area, format | DT_END_ELLIPSIS);
    }
    if (previous) (void)SelectObject(dc, previous);
}

void AwayStrip::create(HWND parent) {
    if (std::exchange(created_, true)) return;
    parent_ = parent;
    // No prefix: an "&" in the address is shown, not taken for an access key. Not notifying, so
    // that it answers HTTRANSPARENT and the window's title bar goes on under it.
    text_ = make_control(parent, L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0);
    if (text_) {
        text_original_ = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(text_, GWLP_WNDPROC));
        SetWindowLongPtrW(text_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrW(text_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AwayStrip::text_procedure));
    }
    back_ = make_button(parent, L"Back to wispermoth", kStripBack);
    retry_ = make_button(parent, L"Try again", kStripRetry);
    close_ = make_button(parent, L"Close", kStripClose);
    tip_ = make_tooltip(parent);
}

bool AwayStrip::show(const std::optional<std::string>& text) {
    away_ = text;
    return update();
}

bool AwayStrip::show_failure(const std::optional<std::string>& text) {
    failure_ = text;
    return update();
}

bool AwayStrip::update() {
    // A failure's words stand beside the origin, never in its place.
    std::optional<std::string> text = away_ && failure_ ? *away_ + " " + *failure_ : failure_ ? failure_ : away_;
    if (text) {
        text_shown_ = host::to_wide(*text);
        (void)SetWindowTextW(text_, text_shown_.c_str());
        if (tip_) {
            TTTOOLINFOW info = tool_info(parent_, {}, text_shown_.c_str());
            (void)SendMessageW(tip_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
        }
    }
    const bool was_shown = std::exchange(shown_, text.has_value());
    // A hidden button keeps no focus: the window takes it, and hands it to the page.
    const HWND focus = GetFocus();
    const auto visible = [&](HWND control) {
        if (control == back_) return away_.has_value();
        if (control == retry_) return failure_ && !away_;
        return shown_;
    };
    for (HWND control : {back_, retry_, close_})
        if (control && focus == control && !visible(control)) SetFocus(parent_);
    for (HWND control : {text_, back_, retry_, close_})
        if (control) ShowWindow(control, visible(control) ? SW_SHOWNA : SW_HIDE);
    return was_shown != shown_;
}

void AwayStrip::relay_pointer(LPARAM screen_point) const {
    if (!tip_ || !shown_) return;
    POINT point{GET_X_LPARAM(screen_point), GET_Y_LPARAM(screen_point)};
    (void)ScreenToClient(parent_, &point);
    MSG message{parent_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), static_cast<DWORD>(GetMessageTime()), point};
    (void)SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

void AwayStrip::place(const StripLayout& layout, UINT dpi) {
    if (!shown_) return;
    if (font_dpi_ != dpi || !font_) {
        auto font = message_font(dpi);
        for (HWND control : {text_, back_, retry_, close_})
            if (control) (void)SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        font_ = std::move(font);  // the controls no longer use the previous one
        font_dpi_ = dpi;
        elided_ = {};  // measured in the previous font
    }
    move(text_, layout.text);
    move(back_, layout.back);
    move(retry_, layout.back);
    move(close_, layout.close);
    if (tip_) {
        const RECT rect{static_cast<LONG>(layout.text.left), static_cast<LONG>(layout.text.top),
                        static_cast<LONG>(layout.text.right), static_cast<LONG>(layout.text.bottom)};
        TTTOOLINFOW info = tool_info(parent_, rect, nullptr);
        (void)SendMessageW(tip_.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
    }
}

}  // namespace wm::host
