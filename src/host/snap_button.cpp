#include "host/frameless_window.h"

#include <windowsx.h>

#include "host/dpi.h"

namespace wm::host {
namespace {

constexpr wchar_t kSnapButtonClass[] = L"wispermoth.snap";

}  // namespace

void FramelessWindow::register_snap_button_class(HINSTANCE instance) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof(window_class);
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    // No background: the page's own button shows through.
    window_class.lpfnWndProc = snap_button_procedure;
    window_class.lpszClassName = kSnapButtonClass;
    RegisterClassExW(&window_class);  // registering twice fails harmlessly
}

void FramelessWindow::create_snap_button() {
    // Layered without a redirection surface: nothing of it is drawn, yet unlike a window that
    // answers HTTRANSPARENT it takes the pointer, and Windows 11 offers its snap layouts over
    // any window part answering HTMAXBUTTON. Hidden until placed.
    snap_button_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_NOREDIRECTIONBITMAP, kSnapButtonClass, L"",
                                   WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, window_.get(), nullptr,
                                   GetModuleHandleW(nullptr), this);
}

void FramelessWindow::set_snap_area(const std::optional<CssRect>& area) {
    snap_area_ = area;
    place_snap_button();
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
    // Over the page's maximise button it is what a screen reader finds under the pointer: named
    // as Windows names a caption's button, for what a press does now.
    (void)SetWindowTextW(snap_button_, maximized_ ? L"Restore" : L"Maximize");
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

}  // namespace wm::host
