#include "host/frameless_window.h"

#include <dwmapi.h>
#include <shellapi.h>
#include <windowsx.h>

#include "host/dpi.h"
#include "host/system_library.h"
#include "host/text.h"

namespace wm::host {
namespace {

constexpr wchar_t kWindowClass[] = L"wispermoth.window";
constexpr wchar_t kContentClass[] = L"wispermoth.content";
constexpr wchar_t kSnapButtonClass[] = L"wispermoth.snap";

constexpr std::int64_t kMinInnerWidth = 180;
constexpr std::int64_t kMinInnerHeight = 120;

void register_classes(HINSTANCE instance, WNDPROC window_procedure, WNDPROC snap_button_procedure) {
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
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.lpszClassName = kContentClass;
    RegisterClassExW(&window_class);

    // No background: the page's own button shows through.
    window_class.hbrBackground = nullptr;
    window_class.lpfnWndProc = snap_button_procedure;
    window_class.lpszClassName = kSnapButtonClass;
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
                                                         bool topmost, std::wstring& error) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    register_classes(instance, &FramelessWindow::window_procedure, &FramelessWindow::snap_button_procedure);

    auto self = std::make_unique<FramelessWindow>(Passkey{}, loop);
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
    ShowWindow(window, SW_SHOWNORMAL);
    return self;
}

FramelessWindow::FramelessWindow(Passkey, const EventLoop& loop) : loop_(loop) {}

FramelessWindow::~FramelessWindow() {
    // Messages sent while the window is destroyed must not reach a half-destroyed object.
    if (snap_button_) SetWindowLongPtrW(snap_button_, GWLP_USERDATA, 0);
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

double FramelessWindow::scale() const noexcept { return scale_of(window_dpi(window_.get())); }

SIZE FramelessWindow::frame_extent() const noexcept {
    RECT outer{};
    RECT inner{};
    if (!GetWindowRect(window_.get(), &outer) || !GetClientRect(window_.get(), &inner)) return {};
    return {(outer.right - outer.left) - inner.right, (outer.bottom - outer.top) - inner.bottom};
}

RECT FramelessWindow::content_bounds() const noexcept {
    return {0, 0, page_area_.right - page_area_.left, page_area_.bottom - page_area_.top};
}

void FramelessWindow::show_strip(const std::optional<std::string>& text, bool failure) {
    // Made the first time the page leaves the origin or fails: most windows never do.
    if (text) strip_.create(window_.get());
    if (!(failure ? strip_.show_failure(text) : strip_.show(text))) return;
    // The new page has sent no rectangle yet: the snap window must not lie over the strip until
    // the page-replaced event reaches the dispatcher.
    if (strip_.shown()) snap_area_.reset();
    layout_children();
    if (listener_.resized) listener_.resized(content_bounds());
    // The page moved on the screen, though the window did not: its popups must follow.
    if (listener_.moved) listener_.moved();
}

void FramelessWindow::create_children() {
    content_host_ = CreateWindowExW(0, kContentClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, window_.get(), nullptr, GetModuleHandleW(nullptr), nullptr);
}

void FramelessWindow::create_snap_button() {
    // Layered without a redirection surface: nothing of it is drawn, yet unlike a window that
    // answers HTTRANSPARENT it takes the pointer, and Windows 11 offers its snap layouts over
    // any window part answering HTMAXBUTTON. Hidden until placed.
    snap_button_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_NOREDIRECTIONBITMAP, kSnapButtonClass, L"",
                                   WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, window_.get(), nullptr,
                                   GetModuleHandleW(nullptr), this);
}

void FramelessWindow::layout_children() {
    RECT client{};
    GetClientRect(window_.get(), &client);
    const UINT dpi = window_dpi(window_.get());
    const StripLayout layout = strip_layout(client.right, client.bottom, scale_of(dpi), strip_.shown());
    page_area_ = {static_cast<LONG>(layout.page.left), static_cast<LONG>(layout.page.top),
                  static_cast<LONG>(layout.page.right), static_cast<LONG>(layout.page.bottom)};
    if (content_host_)
        (void)MoveWindow(content_host_, page_area_.left, page_area_.top, page_area_.right - page_area_.left,
                         page_area_.bottom - page_area_.top, TRUE);
    strip_.place(layout, dpi);
    const RECT strip{0, 0, client.right, page_area_.top};
    (void)InvalidateRect(window_.get(), &strip, TRUE);
    place_snap_button();
}

void FramelessWindow::paint_background(HDC dc) const {
    RECT client{};
    GetClientRect(window_.get(), &client);
    RECT strip = client;
    strip.bottom = page_area_.top;
    client.top = page_area_.top;
    (void)FillRect(dc, &strip, GetSysColorBrush(COLOR_BTNFACE));
    (void)FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

void FramelessWindow::set_snap_area(const std::optional<CssRect>& area) {
    snap_area_ = area;
    place_snap_button();
}

void FramelessWindow::watch_taskbar_button() {
    if (taskbar_button_created_ != 0) return;
    taskbar_button_created_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
    // Explorer runs at a lower integrity level than an elevated shell, whose filter would drop it.
    if (taskbar_button_created_ != 0)
        (void)ChangeWindowMessageFilterEx(window_.get(), taskbar_button_created_, MSGFLT_ALLOW, nullptr);
}

void FramelessWindow::place_snap_button() {
    const RECT placed = snap_client_rect_;
    snap_client_rect_ = {};
    if (snap_area_) {
        // The web view's corner in the client area: wherever the content host and the bounds it
        // gives the web view put it.
        const RECT bounds = content_bounds();
        POINT origin{bounds.left, bounds.top};
        (void)MapWindowPoints(content_host_, window_.get(), &origin, 1);
        const double zoom = listener_.zoom_factor ? listener_.zoom_factor() : 1.0;
        const UINT dpi = window_dpi(window_.get());
        const PhysicalRect area = client_snap_rect(*snap_area_, scale_of(dpi), zoom, origin.x, origin.y);
        // A maximised window has no resize band at its top.
        const PhysicalRect clipped =
            clip_snap_rect(area, {page_area_.left, page_area_.top, page_area_.right, page_area_.bottom},
                           maximized_ ? 0 : resize_border(dpi));
        // Within the page area: within a LONG.
        snap_client_rect_ = {static_cast<LONG>(clipped.left), static_cast<LONG>(clipped.top),
                             static_cast<LONG>(clipped.right), static_cast<LONG>(clipped.bottom)};
    }
    if (IsRectEmpty(&snap_client_rect_)) {
        if (snap_button_) ShowWindow(snap_button_, SW_HIDE);
        return;
    }
    // Made at the page's first rectangle: a page without a maximise button never needs it.
    if (!snap_button_) create_snap_button();
    if (!snap_button_) return;
    // Left where it is when nothing changes: a window moved under the pointer costs the page
    // its hover.
    if (EqualRect(&placed, &snap_client_rect_) && IsWindowVisible(snap_button_) &&
        !GetWindow(snap_button_, GW_HWNDPREV))
        return;
    (void)SetWindowPos(snap_button_, HWND_TOP, snap_client_rect_.left, snap_client_rect_.top,
                       snap_client_rect_.right - snap_client_rect_.left,
                       snap_client_rect_.bottom - snap_client_rect_.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Windows hit-tests a layered window by its shape, which it takes from the attributes: set
    // them again after every move and resize, not only once at its first size.
    (void)SetLayeredWindowAttributes(snap_button_, 0, 255, LWA_ALPHA);
}

bool FramelessWindow::in_snap_area(LPARAM screen_point) const noexcept {
    if (!snap_area_) return false;
    POINT point{GET_X_LPARAM(screen_point), GET_Y_LPARAM(screen_point)};
    return ScreenToClient(window_.get(), &point) && PtInRect(&snap_client_rect_, point);
}

void FramelessWindow::report(WindowEventKind kind) const {
    loop_.post(WindowEvent{reinterpret_cast<WindowId>(window_.get()), kind});
}

std::optional<LRESULT> FramelessWindow::follow_snap_pointer(HWND target, UINT message, WPARAM hit_test) {
    switch (message) {
    case WM_NCMOUSEMOVE:
        if (hit_test == HTMAXBUTTON && snap_tracked_ != target) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, target, 0};
            snap_tracked_ = TrackMouseEvent(&track) ? target : nullptr;
            report(WindowEventKind::snap_entered);
        }
        // The system's own hover handling over a maximise button still runs.
        return std::nullopt;
    // The presses must not reach DefWindowProc, whose own tracking of a maximise button would
    // maximise the window behind the page's back.
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:  // a quick second press arrives as a double click
        if (hit_test != HTMAXBUTTON) return std::nullopt;
        report(WindowEventKind::snap_pressed);
        return 0;
    case WM_NCLBUTTONUP:
        if (hit_test != HTMAXBUTTON) return std::nullopt;
        report(WindowEventKind::snap_released);
        return 0;
    case WM_NCMOUSELEAVE: {
        // Another window's leave (the frame's own tracking) says nothing about the snap area.
        if (snap_tracked_ != target) return std::nullopt;
        // The snap window was placed again under a pointer that stayed on it (a rectangle sent
        // again): the hover and the press go on. Only over the target itself, where tracking
        // again does not post another leave at once.
        POINT cursor{};
        if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == target &&
            in_snap_area(MAKELPARAM(cursor.x, cursor.y))) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE | TME_NONCLIENT, target, 0};
            if (TrackMouseEvent(&track)) return 0;
        }
        snap_tracked_ = nullptr;
        report(WindowEventKind::snap_left);
        return 0;
    }
    default:
        return std::nullopt;
    }
}

LRESULT CALLBACK FramelessWindow::snap_button_procedure(HWND button, UINT message, WPARAM wparam,
                                                        LPARAM lparam) noexcept {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(button, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams));
    auto* self = reinterpret_cast<FramelessWindow*>(GetWindowLongPtrW(button, GWLP_USERDATA));
    if (self) {
        try {
            switch (message) {
            case WM_NCHITTEST:
                // The button covers the snap area exactly.
                return HTMAXBUTTON;
            case WM_ERASEBKGND:
                return 1;
            default:
                if (const auto handled = self->follow_snap_pointer(button, message, wparam)) return *handled;
            }
        } catch (...) {
        }
    }
    return DefWindowProcW(button, message, wparam, lparam);
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
        if (!(reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOMOVE)) {
            if (listener_.moved) listener_.moved();
            report(WindowEventKind::moved);
        }
        return result;
    }
    case WM_SETFOCUS:
        if (listener_.focused) listener_.focused();
        return 0;
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
