#pragma once
// A top-level window without caption or top border that keeps the resizable frame's behaviour
// (snap, minimise and maximise, Alt+F4, the taskbar menu) and the system's resize borders on the
// left, right and bottom. A child window hosts the web view: the whole client area, or all of it
// below the strip the window shows while its page is not the application's.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "base/geometry.h"
#include "base/window_event.h"
#include "host/event_loop.h"
#include "host/handles.h"
#include "host/strip_controls.h"

namespace wm::host {

// Starts the system's own move or size loop for `window` as if its frame were pressed at
// `hit_test` under the mouse.
bool start_system_drag(HWND window, int hit_test) noexcept;

// Makes a visible, unminimised window the foreground window unless it is already; when the
// system refuses, once more after a press and release of the left Alt key.
bool bring_to_foreground(HWND window) noexcept;

class FramelessWindow {
    struct Passkey {
        explicit Passkey() = default;
    };

public:
    // What the web view living in the window needs to hear. Cleared before the web view goes.
    struct ContentListener {
        std::function<void(const RECT& bounds)> resized;  // content host's new client rectangle
        std::function<void()> moved;
        // The keyboard comes to the page: the window was activated or restored, or the user left
        // the strip for it.
        std::function<void(PageEntry)> focus_page;
        std::function<double()> zoom_factor;  // the page's zoom, for the snap area
        std::function<void()> retry;  // the strip's "Try again"
    };

    // Creates and shows the window: inner size from the geometry (or `default_width` by
    // `default_height`) in logical pixels of the window's own DPI, outer corner at the geometry's
    // position, or where the system places it; `maximized` then maximises it over that rectangle,
    // on the monitor the rectangle lies on; `minimized` shows it minimised, restoring to either.
    // Until its page paints, the page area shows `background` (0xRRGGBB).
    static std::unique_ptr<FramelessWindow> create(const EventLoop& loop, const std::wstring& title,
                                                   const std::optional<WindowGeometry>& geometry,
                                                   std::uint32_t default_width, std::uint32_t default_height,
                                                   bool topmost, bool maximized, bool minimized,
                                                   std::uint32_t background, std::wstring& error);
    FramelessWindow(Passkey, const EventLoop& loop);
    ~FramelessWindow();
    FramelessWindow(const FramelessWindow&) = delete;
    FramelessWindow& operator=(const FramelessWindow&) = delete;

    HWND hwnd() const noexcept { return window_.get(); }
    HWND content_host() const noexcept { return content_host_; }
    // The maximised flag, kept from every WM_SIZE.
    bool maximized() const noexcept { return maximized_; }
    double scale() const noexcept;
    // Outer corner and inner size in logical pixels; nothing when unreadable or without an inner area.
    std::optional<WindowGeometry> logical_geometry() const noexcept;
    // The logical geometry the window last had while neither maximised nor minimised.
    std::optional<WindowGeometry> normal_geometry() const noexcept { return normal_geometry_; }
    void set_content_listener(ContentListener listener) { listener_ = std::move(listener); }
    // The web view's bounds inside the content host: its whole client rectangle.
    RECT content_bounds() const noexcept;
    // Where the content host, and so the web view, lies in the window's client area.
    RECT page_area() const noexcept { return page_area_; }
    // Shows the strip with this text over a page that is not the application's, moving the web
    // view below it; nothing takes it away and gives the web view the whole client area again.
    // With `failure`, the strip says what happened to a document that failed to load, after the
    // origin over a foreign page, until nothing takes it away.
    void show_strip(const std::optional<std::string>& text, bool failure = false);
    // Outer size minus inner size: the borders the frame keeps.
    SIZE frame_extent() const noexcept;
    // Whether the keyboard waits on the window itself: it is active, and the focus is on none of
    // its parts, as before its web view existed.
    bool keyboard_unplaced() const noexcept;
    bool strip_shown() const noexcept { return strip_.shown(); }
    // The strip's first or last button takes the keyboard focus; false without a strip.
    bool focus_strip(bool last) { return strip_.focus_button(last); }
    bool strip_has_access_key(UINT key) const { return strip_.has_access_key(key); }
    // The page's maximise button in CSS pixels of the page, answered as the window's own
    // maximise button; nothing to withdraw it.
    void set_snap_area(const std::optional<CssRect>& area);
    // From now on reports TaskbarButtonCreated, which Windows sends when it makes the window's
    // taskbar button (again after Explorer restarts), as a window event.
    void watch_taskbar_button();

private:
    static LRESULT CALLBACK window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    static LRESULT CALLBACK snap_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    static void register_snap_button_class(HINSTANCE instance);
    static LRESULT CALLBACK content_procedure(HWND host, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    LRESULT handle(UINT message, WPARAM wparam, LPARAM lparam);
    void create_children();
    void create_snap_button();
    void layout_children();
    // Font or colours of the system changed.
    void follow_system_look();
    void paint_background(HDC dc) const;
    HBRUSH page_brush() const noexcept;
    // Queues one of this window's events for the dispatcher.
    void report(WindowEventKind kind) const;
    // Puts the snap button over the snap area as the page shows it now, or hides it.
    void place_snap_button();
    bool in_snap_area(LPARAM screen_point) const noexcept;
    // The non-client mouse messages over the snap area, reported to the loop; nothing for a
    // message that is not about it.
    std::optional<LRESULT> follow_snap_pointer(HWND target, UINT message, WPARAM hit_test);

    const EventLoop& loop_;
    // Before the window, so that the strip's font outlives the controls that use it.
    AwayStrip strip_;
    UniqueBrush background_;  // the page area's, before the window that paints with it
    UniqueWindow window_;
    HWND content_host_ = nullptr;  // a child: destroyed with the window
    RECT page_area_{};
    // A transparent child above the web view over the snap area, so that the pointer there
    // reaches the shell; made at the first rectangle, destroyed with the window.
    HWND snap_button_ = nullptr;
    std::optional<CssRect> snap_area_;
    RECT snap_client_rect_{};  // where the snap button is, in client pixels
    HWND snap_tracked_ = nullptr;  // the window whose non-client leave is awaited
    bool maximized_ = false;
    std::optional<WindowGeometry> normal_geometry_;
    UINT taskbar_button_created_ = 0;  // the registered message, once watched
    ContentListener listener_;
};

}  // namespace wm::host
