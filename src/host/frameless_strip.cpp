#include "host/frameless_window.h"

#include "host/dpi.h"

// The strip's place in the window: it takes the top of the client area, and the page the rest.
namespace wm::host {

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

void FramelessWindow::layout_children() {
    RECT client{};
    GetClientRect(window_.get(), &client);
    const UINT dpi = window_dpi(window_.get());
    const StripLayout layout =
        strip_layout(client.right, client.bottom, scale_of(dpi), strip_.shown(), strip_.measure(dpi));
    page_area_ = {static_cast<LONG>(layout.page.left), static_cast<LONG>(layout.page.top),
                  static_cast<LONG>(layout.page.right), static_cast<LONG>(layout.page.bottom)};
    if (content_host_)
        (void)MoveWindow(content_host_, page_area_.left, page_area_.top, page_area_.right - page_area_.left,
                         page_area_.bottom - page_area_.top, TRUE);
    strip_.place(layout);
    const RECT strip{0, 0, client.right, page_area_.top};
    (void)InvalidateRect(window_.get(), &strip, TRUE);
    place_snap_button();
}

void FramelessWindow::follow_system_look() {
    strip_.follow_system_look();
    layout_children();
    if (listener_.resized) listener_.resized(content_bounds());
}

}  // namespace wm::host
