#include "host/frameless_window.h"

#include <dwmapi.h>
#include <shellapi.h>
#include <windowsx.h>

#include "host/dpi.h"
#include "host/first_show.h"
#include "host/messages.h"
#include "host/system_library.h"
#include "host/text.h"

namespace wm::host {
namespace {

constexpr wchar_t kWindowClass[] = L"wispermoth.window";
constexpr wchar_t kContentClass[] = L"wispermoth.content";

constexpr std::int64_t kMinInnerWidth = 180;
constexpr std::int64_t kMinInnerHeight = 120;

void register_classes(HINSTANCE instance, WNDPROC window_procedure, WNDPROC content_procedure) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));

    window_class.style = CS_HREDRAW | CS_VREDRAW;
    window_class.lpfnWndProc = window_procedure;
    window_class.lpszClassName = kWindowClass;
    RegisterClassExW(&window_class);  // registering twice fails harmlessly

    window_class.style = 0;
    window_class.hbrBackground = nullptr;  // the window's own page colour
    window_class.lpfnWndProc = content_procedure;
    window_class.lpszClassName = kContentClass;
    RegisterClassExW(&window_class);
}

// Windows places a maximised window with its frame outside the monitor; without a frame that
// would overflow the monitor and cover the taskbar, so keep to the work area, leaving a pixel on
// the edge of an auto-hiding taskbar so that it can still be revealed. The monitor is the one
// the proposed rectangle lies on: a maximised window moving to another monitor is not there yet.
void fit_maximized_client(RECT& client) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromRect(&client, MONITOR_DEFAULTTONEAREST), &info)) return;
    client = info.rcWork;
    APPBARDATA bar{};
    bar.cbSize = sizeof(bar);
    if (!(SHAppBarMessage(ABM_GETSTATE, &bar) & ABS_AUTOHIDE)) return;
    for (UINT edge : {ABE_BOTTOM, ABE_TOP, ABE_LEFT, ABE_RIGHT}) {
        APPBARDATA query{};
        query.cbSize = sizeof(query);
        query.uEdge = edge;
        query.rc = info.rcMonitor;
        if (!SHAppBarMessage(ABM_GETAUTOHIDEBAREX, &query)) continue;
        switch (edge) {
        case ABE_BOTTOM: client.bottom -= 1; break;
        case ABE_TOP: client.top += 1; break;
        case ABE_LEFT: client.left += 1; break;
        case ABE_RIGHT: client.right -= 1; break;
        }
    }
}

}  // namespace

bool start_system_drag(HWND window, int hit_test) noexcept {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return false;
    (void)ReleaseCapture();  // fails harmlessly when nothing holds the capture
    return PostMessageW(window, WM_NCLBUTTONDOWN, static_cast<WPARAM>(hit_test), MAKELPARAM(cursor.x, cursor.y)) !=
           FALSE;
}

bool bring_to_foreground(HWND window) noexcept {
    if (!IsWindowVisible(window) || IsIconic(window) || GetForegroundWindow() == window) return true;
    if (SetForegroundWindow(window)) return true;
    // The system lets the process that received the last input take the foreground.
    INPUT keys[2]{};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_LMENU;
    keys[1] = keys[0];
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    (void)SendInput(2, keys, sizeof(INPUT));
    return SetForegroundWindow(window) != FALSE;
}

std::unique_ptr<FramelessWindow> FramelessWindow::create(const EventLoop& loop, const std::wstring& title,
                                                         const std::optional<WindowGeometry>& geometry,
                                                         std::uint32_t default_width, std::uint32_t default_height,
                                                         bool topmost, bool maximized, bool minimized,
                                                         std::uint32_t background, std::wstring& error) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    register_classes(instance, &FramelessWindow::window_procedure, &FramelessWindow::content_procedure);
    register_snap_button_class(instance);

    auto self = std::make_unique<FramelessWindow>(Passkey{}, loop);
    self->background_.reset(CreateSolidBrush(RGB(background >> 16 & 0xFF, background >> 8 & 0xFF, background & 0xFF)));
    const std::int64_t width = geometry ? geometry->width : default_width;
    const std::int64_t height = geometry ? geometry->height : default_height;
    const double system_scale = scale_of(window_dpi(nullptr));
    HWND window = CreateWindowExW(topmost ? WS_EX_TOPMOST : 0, kWindowClass, title.c_str(),
                                  WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                  geometry ? to_physical(geometry->x, system_scale) : CW_USEDEFAULT,
                                  geometry ? to_physical(geometry->y, system_scale) : CW_USEDEFAULT,
                                  to_physical(width, system_scale), to_physical(height, system_scale), nullptr,
                                  nullptr, instance, self.get());
    if (!window) {
        error = describe_last_error(GetLastError());
        (void)self->window_.release();  // already gone with the failed creation
        return nullptr;
    }

    // Measured in the window's own DPI, which may differ from the system's. Once the frame has
    // its final shape, the outer size is the inner size plus the side and bottom borders.
    const double scale = self->scale();
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;
    int x = 0;
    int y = 0;
    if (geometry) {
        x = to_physical(geometry->x, scale);
        y = to_physical(geometry->y, scale);
    } else {
        flags |= SWP_NOMOVE;
    }
    const int inner_width = to_physical(width, scale);
    const int inner_height = to_physical(height, scale);
    (void)SetWindowPos(window, nullptr, x, y, inner_width, inner_height, flags);
    const SIZE frame = self->frame_extent();
    if (frame.cx != 0 || frame.cy != 0)
        (void)SetWindowPos(window, nullptr, 0, 0, inner_width + frame.cx, inner_height + frame.cy,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // The system's drop shadow for a window without a frame (no effect without composition).
    const MARGINS shadow{0, 0, 1, 0};
    if (const auto extend_frame =
            system_function<decltype(&DwmExtendFrameIntoClientArea)>(L"dwmapi.dll", "DwmExtendFrameIntoClientArea"))
        (void)extend_frame(window, &shadow);
    // Maximised from its normal rectangle, which the system keeps to restore it to.
    show_first(window, maximized, minimized);
    return self;
}

FramelessWindow::FramelessWindow(Passkey, const EventLoop& loop) : loop_(loop) {}

FramelessWindow::~FramelessWindow() {
    // Messages sent while the window is destroyed must not reach a half-destroyed object.
    if (snap_button_) SetWindowLongPtrW(snap_button_, GWLP_USERDATA, 0);
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

double FramelessWindow::scale() const noexcept { return scale_of(window_dpi(window_.get())); }

std::optional<WindowGeometry> FramelessWindow::logical_geometry() const noexcept {
    RECT outer{};
    RECT client{};
    if (!GetWindowRect(window_.get(), &outer) || !GetClientRect(window_.get(), &client)) return std::nullopt;
    return wm::logical_geometry({outer.left, outer.top, outer.right, outer.bottom}, client.right - client.left,
                                client.bottom - client.top, scale());
}

SIZE FramelessWindow::frame_extent() const noexcept {
    RECT outer{};
    RECT inner{};
    if (!GetWindowRect(window_.get(), &outer) || !GetClientRect(window_.get(), &inner)) return {};
    return {(outer.right - outer.left) - inner.right, (outer.bottom - outer.top) - inner.bottom};
}

bool FramelessWindow::keyboard_unplaced() const noexcept {
    const HWND focus = GetFocus();
    return GetActiveWindow() == window_.get() && (!focus || focus == window_.get());
}

RECT FramelessWindow::content_bounds() const noexcept {
    return {0, 0, page_area_.right - page_area_.left, page_area_.bottom - page_area_.top};
}

void FramelessWindow::create_children() {
    content_host_ = CreateWindowExW(0, kContentClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, window_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void FramelessWindow::paint_background(HDC dc) const {
    RECT client{};
    GetClientRect(window_.get(), &client);
    RECT strip = client;
    strip.bottom = page_area_.top;
    client.top = page_area_.top;
    (void)FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    (void)FillRect(dc, &client, page_brush());
}

HBRUSH FramelessWindow::page_brush() const noexcept {
    return background_ ? background_.get() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
}

LRESULT CALLBACK FramelessWindow::content_procedure(HWND host, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    // The page area shows the page's colour until the web view paints over it.
    const auto* self = reinterpret_cast<const FramelessWindow*>(GetWindowLongPtrW(GetParent(host), GWLP_USERDATA));
    if (message != WM_ERASEBKGND || !self) return DefWindowProcW(host, message, wparam, lparam);
    RECT client{};
    GetClientRect(host, &client);
    (void)FillRect(reinterpret_cast<HDC>(wparam), &client, self->page_brush());
    return 1;
}

void FramelessWindow::watch_taskbar_button() {
    if (taskbar_button_created_ != 0) return;
    taskbar_button_created_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
    // Explorer runs at a lower integrity level than an elevated shell, whose filter would drop it.
    if (taskbar_button_created_ != 0)
        (void)ChangeWindowMessageFilterEx(window_.get(), taskbar_button_created_, MSGFLT_ALLOW, nullptr);
}

void FramelessWindow::report(WindowEventKind kind) const {
    loop_.post(WindowEvent{reinterpret_cast<WindowId>(window_.get()), kind});
}

LRESULT CALLBACK FramelessWindow::window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<FramelessWindow*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_.reset(window);
    }
    auto* self = reinterpret_cast<FramelessWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wparam, lparam);
    try {
        return self->handle(message, wparam, lparam);
    } catch (...) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

LRESULT FramelessWindow::handle(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND window = window_.get();
    if (taskbar_button_created_ != 0 && message == taskbar_button_created_) {
        report(WindowEventKind::taskbar_button_created);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        create_children();
        break;
    case WM_NCCALCSIZE:
        if (wparam) {
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
            if (IsZoomed(window)) {
                fit_maximized_client(params->rgrc[0]);
                return 0;
            }
            // The system's resize borders on the left, right and bottom (invisible on Windows 10
            // and 11, outside the visible window), so that the page's whole client area is its
            // own; no caption and no top border: the top edge is the page's.
            const LONG top = params->rgrc[0].top;
            (void)DefWindowProcW(window, message, wparam, lparam);
            params->rgrc[0].top = top;
            return 0;
        }
        break;
    case WM_NCHITTEST:
        if (in_snap_area(lparam)) return HTMAXBUTTON;
        // The corners at the top, like the top edge, are resized by the page's own messages.
        switch (const LRESULT hit = DefWindowProcW(window, message, wparam, lparam)) {
        case HTTOPLEFT: return HTLEFT;
        case HTTOPRIGHT: return HTRIGHT;
        case HTCLIENT: {
            // The strip around its buttons is the title bar a foreign page cannot draw: it
            // moves the window, and a double-click maximises and restores it.
            POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            (void)ScreenToClient(window, &point);
            return point.y < page_area_.top ? HTCAPTION : HTCLIENT;
        }
        default: return hit;
        }
    case WM_ERASEBKGND:
        paint_background(reinterpret_cast<HDC>(wparam));
        return 1;
    case WM_COMMAND:
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kStripBack) {
            report(WindowEventKind::back_requested);
            return 0;
        }
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kStripRetry && listener_.retry) {
            listener_.retry();
            return 0;
        }
        if (HIWORD(wparam) == BN_CLICKED && LOWORD(wparam) == kStripClose) {
            report(WindowEventKind::close_requested);
            return 0;
        }
        break;
    case WM_NCACTIVATE:
        // Keeps the system from painting a caption when activation changes.
        return DefWindowProcW(window, message, wparam, -1);
    case WM_GETMINMAXINFO: {
        // The minimum is the inner size; the tracking size is the outer one.
        auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
        const double s = scale();
        const SIZE frame = IsZoomed(window) || IsIconic(window) ? SIZE{} : frame_extent();
        info->ptMinTrackSize = {to_physical(kMinInnerWidth, s) + frame.cx, to_physical(kMinInnerHeight, s) + frame.cy};
        return 0;
    }
    case WM_SIZE:
        maximized_ = wparam == SIZE_MAXIMIZED;
        if (wparam != SIZE_MINIMIZED) {
            layout_children();
            if (listener_.resized) listener_.resized(content_bounds());
        }
        report(WindowEventKind::resized);
        return 0;
    case WM_WINDOWPOSCHANGED: {
        // The default handling sends WM_SIZE and WM_MOVE first.
        const LRESULT result = DefWindowProcW(window, message, wparam, lparam);
        // Kept now, in the units the placement is saved in: a maximised window must save the
        // rectangle it was maximised from.
        if (!IsZoomed(window) && !IsIconic(window)) {
            if (const auto geometry = logical_geometry()) normal_geometry_ = geometry;
        }
        if (!(reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOMOVE)) {
            if (listener_.moved) listener_.moved();
            report(WindowEventKind::moved);
        }
        return result;
    }
    case WM_SETFOCUS:
        if (listener_.focus_page) listener_.focus_page(PageEntry::resume);
        return 0;
    case kPageFocusMessage:
        if (listener_.focus_page) listener_.focus_page(static_cast<PageEntry>(wparam));
        return 0;
    case kStripFocusMessage:
        (void)strip_.focus_button(false);
        return 0;
    case WM_SYSCHAR:
        // Alt+letter from the strip's buttons, or from the window itself.
        if (strip_.press_access_key(static_cast<UINT>(wparam))) return 0;
        break;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        follow_system_look();
        break;
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lparam);
        (void)SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_NCMOUSEMOVE:
        if (wparam == HTCAPTION) strip_.relay_pointer(lparam);
        [[fallthrough]];
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCLBUTTONUP:
    case WM_NCMOUSELEAVE:
        if (const auto handled = follow_snap_pointer(window, message, wparam)) return *handled;
        break;
    case WM_CLOSE:
        // The dispatcher decides; the window stays until its record is dropped.
        report(WindowEventKind::close_requested);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace wm::host
