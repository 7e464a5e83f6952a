#include "host/frameless_window.h"

#include <dwmapi.h>
#include <shellapi.h>

#include <array>

#include "host/dpi.h"
#include "host/text.h"

namespace wm::host {
namespace {

constexpr wchar_t kWindowClass[] = L"wispermoth.window";
constexpr wchar_t kContentClass[] = L"wispermoth.content";
constexpr wchar_t kGripClass[] = L"wispermoth.grip";

constexpr std::int64_t kMinInnerWidth = 180;
constexpr std::int64_t kMinInnerHeight = 120;
constexpr std::int64_t kGripThickness = 5;  // logical pixels
constexpr std::int64_t kGripCorner = 12;

struct Grip {
    int hit_test;
    WORD cursor;  // a system cursor's resource number
};
// Left, right, bottom, bottom-left, bottom-right: the top belongs to the page.
constexpr std::array<Grip, 5> kGrips = {{
    {HTLEFT, 32644},         // IDC_SIZEWE
    {HTRIGHT, 32644},        // IDC_SIZEWE
    {HTBOTTOM, 32645},       // IDC_SIZENS
    {HTBOTTOMLEFT, 32643},   // IDC_SIZENESW
    {HTBOTTOMRIGHT, 32642},  // IDC_SIZENWSE
}};

LRESULT CALLBACK grip_procedure(HWND grip, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    const int hit_test = static_cast<int>(GetWindowLongPtrW(grip, GWLP_USERDATA));
    switch (message) {
    case WM_SETCURSOR:
        for (const Grip& g : kGrips)
            if (g.hit_test == hit_test) SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(g.cursor)));
        return TRUE;
    case WM_LBUTTONDOWN:
        (void)start_system_drag(GetAncestor(grip, GA_ROOT), hit_test);
        return 0;
    default:
        return DefWindowProcW(grip, message, wparam, lparam);
    }
}

void register_classes(HINSTANCE instance, WNDPROC window_procedure) {
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

    window_class.lpfnWndProc = grip_procedure;
    window_class.hbrBackground = nullptr;
    window_class.lpszClassName = kGripClass;
    RegisterClassExW(&window_class);
}

// Windows places a maximised window with its frame outside the monitor; without a frame that
// would overflow the monitor and cover the taskbar, so keep to the work area, leaving a pixel on
// the edge of an auto-hiding taskbar so that it can still be revealed.
void fit_maximized_client(HWND window, RECT& client) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info)) return;
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

std::unique_ptr<FramelessWindow> FramelessWindow::create(const EventLoop& loop, const std::wstring& title,
                                                         const std::optional<WindowGeometry>& geometry,
                                                         std::uint32_t default_width, std::uint32_t default_height,
                                                         bool topmost, std::wstring& error) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    register_classes(instance, &FramelessWindow::window_procedure);

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

    // The client area is the whole window, so the inner size is the outer size; measure it in
    // the window's own DPI, which may differ from the system's.
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
    (void)SetWindowPos(window, nullptr, x, y, to_physical(width, scale), to_physical(height, scale), flags);

    // The system's drop shadow for a window without a frame (no effect without composition).
    const MARGINS shadow{0, 0, 1, 0};
    (void)DwmExtendFrameIntoClientArea(window, &shadow);
    ShowWindow(window, SW_SHOWNORMAL);
    return self;
}

FramelessWindow::FramelessWindow(Passkey, const EventLoop& loop) : loop_(loop) {}

FramelessWindow::~FramelessWindow() {
    // Messages sent while the window is destroyed must not reach a half-destroyed object.
    if (window_) SetWindowLongPtrW(window_.get(), GWLP_USERDATA, 0);
}

double FramelessWindow::scale() const noexcept { return scale_of(window_dpi(window_.get())); }

RECT FramelessWindow::content_bounds() const noexcept {
    RECT bounds{};
    GetClientRect(content_host_, &bounds);
    return bounds;
}

void FramelessWindow::create_children() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    content_host_ = CreateWindowExW(0, kContentClass, L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, window_.get(), nullptr, instance, nullptr);
    for (size_t i = 0; i < kGrips.size(); ++i) {
        // Nearly transparent, yet still hit by the mouse, where layered child windows exist.
        HWND grip = CreateWindowExW(WS_EX_LAYERED, kGripClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0,
                                    window_.get(), nullptr, instance, nullptr);
        if (grip) {
            (void)SetLayeredWindowAttributes(grip, 0, 1, LWA_ALPHA);
        } else {
            grip = CreateWindowExW(0, kGripClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, window_.get(),
                                   nullptr, instance, nullptr);
        }
        if (!grip) continue;
        SetWindowLongPtrW(grip, GWLP_USERDATA, kGrips[i].hit_test);
        (void)SetWindowPos(grip, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        grips_[i] = grip;
    }
}

void FramelessWindow::layout_children() {
    RECT client{};
    GetClientRect(window_.get(), &client);
    const int w = client.right;
    const int h = client.bottom;
    if (content_host_) (void)MoveWindow(content_host_, 0, 0, w, h, TRUE);

    const double s = scale();
    const int t = to_physical(kGripThickness, s);
    const int c = to_physical(kGripCorner, s);
    const RECT places[] = {
        {0, 0, t, h - c}, {w - t, 0, w, h - c}, {c, h - t, w - c, h}, {0, h - c, c, h}, {w - c, h - c, w, h},
    };
    // A maximised window cannot be resized by its edges.
    const int show = maximized_ ? SW_HIDE : SW_SHOWNA;
    for (size_t i = 0; i < kGrips.size(); ++i) {
        if (!grips_[i]) continue;
        const RECT& r = places[i];
        (void)SetWindowPos(grips_[i], HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
        ShowWindow(grips_[i], show);
    }
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
    const auto id = reinterpret_cast<WindowId>(window);
    switch (message) {
    case WM_CREATE:
        create_children();
        break;
    case WM_NCCALCSIZE:
        if (wparam) {
            // No non-client area: the client rectangle is the whole window.
            auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lparam);
            if (IsZoomed(window)) fit_maximized_client(window, params->rgrc[0]);
            return 0;
        }
        break;
    case WM_NCACTIVATE:
        // Keeps the system from painting a caption when activation changes.
        return DefWindowProcW(window, message, wparam, -1);
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
        const double s = scale();
        info->ptMinTrackSize = {to_physical(kMinInnerWidth, s), to_physical(kMinInnerHeight, s)};
        return 0;
    }
    case WM_SIZE:
        maximized_ = wparam == SIZE_MAXIMIZED;
        if (wparam != SIZE_MINIMIZED) {
            layout_children();
            if (listener_.resized) listener_.resized(content_bounds());
        }
        loop_.post(WindowEvent{id, WindowEventKind::resized});
        return 0;
    case WM_WINDOWPOSCHANGED: {
        // The default handling sends WM_SIZE and WM_MOVE first.
        const LRESULT result = DefWindowProcW(window, message, wparam, lparam);
        if (!(reinterpret_cast<const WINDOWPOS*>(lparam)->flags & SWP_NOMOVE)) {
            if (listener_.moved) listener_.moved();
            loop_.post(WindowEvent{id, WindowEventKind::moved});
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
    case WM_CLOSE:
        // The dispatcher decides; the window stays until its record is dropped.
        loop_.post(WindowEvent{id, WindowEventKind::close_requested});
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace wm::host
