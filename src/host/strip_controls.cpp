#include "host/strip_controls.h"

// After windows.h, which it needs.
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <utility>

#include "host/messages.h"
#include "host/system_library.h"
#include "host/text.h"

namespace wm::host {

template <> inline constexpr GUID iid_of<IAccPropServices> = {
    0x6E26E776, 0x04F0, 0x495D, {0x80, 0xE4, 0x33, 0x30, 0x35, 0x2E, 0x31, 0x69}};

namespace {

constexpr GUID kAccPropServices = {0xB5F8350B, 0x0548, 0x48B1, {0xA6, 0xEE, 0x88, 0xBD, 0x00, 0xB4, 0xA5, 0xE7}};
// UI Automation's LiveSetting property, which makes a control a live region, and its "polite"
// value: read out once the screen reader has finished what it is saying.
constexpr GUID kLiveSetting = {0xC12BCD8E, 0x2A8E, 0x4950, {0x8A, 0xE7, 0x36, 0x25, 0x11, 0x1D, 0x58, 0xEB}};
constexpr LONG kPolite = 1;

// The next button in the order of Tab, among the siblings after (or before) this one.
HWND next_tab_stop(HWND control, bool backward) {
    const UINT direction = backward ? GW_HWNDPREV : GW_HWNDNEXT;
    for (HWND sibling = GetWindow(control, direction); sibling; sibling = GetWindow(sibling, direction)) {
        const LONG_PTR style = GetWindowLongPtrW(sibling, GWL_STYLE);
        if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) return sibling;
    }
    return nullptr;
}

void leave_for_page(HWND button, PageEntry entry) {
    (void)SendMessageW(GetParent(button), kPageFocusMessage, static_cast<WPARAM>(entry), 0);
}

// A window that is no dialog gets no dialog navigation from the system: the buttons move the
// focus on Tab themselves, on to the page past the strip's ends and on F6, take Enter as a click
// as a dialog's buttons do, and leave Alt+letter to the window, which knows every button.
LRESULT CALLBACK strip_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const auto original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(button, GWLP_USERDATA));
    if (message == WM_KEYDOWN && wparam == VK_TAB) {
        const bool backward = GetKeyState(VK_SHIFT) < 0;
        if (HWND next = next_tab_stop(button, backward)) {
            SetFocus(next);
        } else {
            leave_for_page(button, backward ? PageEntry::last : PageEntry::first);
        }
        return 0;
    }
    if (message == WM_KEYDOWN && wparam == VK_F6) {
        leave_for_page(button, PageEntry::resume);
        return 0;
    }
    if (message == WM_KEYDOWN && wparam == VK_RETURN) {
        (void)SendMessageW(button, BM_CLICK, 0, 0);
        return 0;
    }
    if (message == WM_SYSCHAR) return SendMessageW(GetParent(button), message, wparam, lparam);
    return CallWindowProcW(original, button, message, wparam, lparam);
}

// A label's access key, upper case: the character after its single "&"; 0 without one.
UINT access_key(HWND button) {
    wchar_t label[64]{};
    const int length = GetWindowTextW(button, label, static_cast<int>(std::size(label)));
    for (int i = 0; i + 1 < length; ++i) {
        if (label[i] != L'&') continue;
        if (label[i + 1] != L'&') return static_cast<UINT>(std::towupper(label[i + 1]));
        ++i;
    }
    return 0;
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

// The system's message font at the window's DPI (the metrics are in the system DPI's pixels). It
// follows the user's text size, which Windows applies to the system's fonts.
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
        case WM_DESTROY:
            if (self->annotations_)
                (void)self->annotations_->ClearHwndProps(text, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                                                         &kLiveSetting, 1);
            break;
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
    back_ = make_button(parent, L"&Back to wispermoth", kStripBack);
    retry_ = make_button(parent, L"&Try again", kStripRetry);
    close_ = make_button(parent, L"&Close", kStripClose);
    tip_ = make_tooltip(parent);
    // Children come in the order they were made, after the page's: the strip goes first, as it
    // stands above the page.
    HWND previous = HWND_TOP;
    for (HWND control : {text_, back_, retry_, close_}) {
        if (!control) continue;
        (void)SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
    // Without an annotation the text's changes go unheard: it is a live region, as Microsoft's
    // guidance for a Win32 status text has it.
    VARIANT polite{};
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    if (text_ && SUCCEEDED(CoCreateInstance(kAccPropServices, nullptr, CLSCTX_INPROC_SERVER, iid_of<IAccPropServices>,
                                            reinterpret_cast<void**>(annotations_.put()))) &&
        FAILED(annotations_->SetHwndProp(text_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, kLiveSetting, polite)))
        annotations_.reset();
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
    announce();
    return was_shown != shown_;
}

void AwayStrip::announce() {
    if (!shown_) {
        announced_.clear();  // shown again, the same text is news again
        return;
    }
    if (!text_ || announced_ == text_shown_) return;
    announced_ = text_shown_;
    NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, text_, OBJID_CLIENT, CHILDID_SELF);
}

HWND AwayStrip::button_for(UINT key) const {
    if (!shown_ || key == 0) return nullptr;
    for (HWND button : {back_, retry_, close_})
        if (button && IsWindowVisible(button) && access_key(button) == key) return button;
    return nullptr;
}

bool AwayStrip::has_access_key(UINT key) const { return button_for(key) != nullptr; }

bool AwayStrip::press_access_key(UINT key) const {
    HWND button = button_for(static_cast<UINT>(std::towupper(static_cast<wint_t>(key))));
    if (!button) return false;
    // As a click, without taking the focus from where the user left it.
    (void)SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
    return true;
}

bool AwayStrip::focus_button(bool last) {
    if (!shown_) return false;
    HWND chosen = nullptr;
    for (HWND button : {back_, retry_, close_}) {
        if (!button || !IsWindowVisible(button)) continue;
        chosen = button;
        if (!last) break;
    }
    if (!chosen) return false;
    SetFocus(chosen);
    return true;
}

void AwayStrip::relay_pointer(LPARAM screen_point) const {
    if (!tip_ || !shown_) return;
    POINT point{GET_X_LPARAM(screen_point), GET_Y_LPARAM(screen_point)};
    (void)ScreenToClient(parent_, &point);
    MSG message{parent_, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y), static_cast<DWORD>(GetMessageTime()), point};
    (void)SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&message));
}

StripText AwayStrip::measure(UINT dpi) {
    if (!shown_) return {};
    if (font_dpi_ == dpi && font_) return measured_;
    auto font = message_font(dpi);
    for (HWND control : {text_, back_, retry_, close_})
        if (control) (void)SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font);  // the controls no longer use the previous one
    font_dpi_ = dpi;
    elided_ = {};  // measured in the previous font
    measured_ = {};
    HDC dc = GetDC(parent_);
    if (!dc) return measured_;
    const HGDIOBJ previous = font_ ? SelectObject(dc, font_.get()) : nullptr;
    // A label as the button draws it: the access key's "&" takes no room.
    const auto width = [dc](HWND button) -> std::int64_t {
        wchar_t label[64]{};
        const int length = button ? GetWindowTextW(button, label, static_cast<int>(std::size(label))) : 0;
        RECT area{};
        (void)DrawTextW(dc, label, length, &area, DT_CALCRECT | DT_SINGLELINE);
        return area.right - area.left;
    };
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) measured_.line_height = metrics.tmHeight;
    measured_.back_label = std::max(width(back_), width(retry_));
    measured_.close_label = width(close_);
    if (previous) (void)SelectObject(dc, previous);
    ReleaseDC(parent_, dc);
    return measured_;
}

void AwayStrip::follow_system_look() {
    font_dpi_ = 0;
    for (HWND control : {text_, back_, retry_, close_}) {
        if (!control) continue;
        // Common controls hear of new system colours only from their parent.
        (void)SendMessageW(control, WM_SYSCOLORCHANGE, 0, 0);
        (void)InvalidateRect(control, nullptr, TRUE);
    }
}

void AwayStrip::place(const StripLayout& layout) {
    if (!shown_) return;
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
