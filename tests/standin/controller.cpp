#include "controller.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace standin {

Controller::~Controller() {
    view_->close();
    reporter_.write("controller_released");
}

HRESULT Controller::refuse_after_close(std::string_view method) const {
    reporter_.write("closed_call", method);
    return HRESULT_FROM_WIN32(ERROR_INVALID_STATE);
}

HRESULT STDMETHODCALLTYPE Controller::get_IsVisible(BOOL* isVisible) noexcept {
    if (view_->closed()) return refuse_after_close("get_IsVisible");
    if (!isVisible) return E_POINTER;
    *isVisible = visible_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::put_IsVisible(BOOL isVisible) noexcept {
    if (view_->closed()) return refuse_after_close("put_IsVisible");
    visible_ = isVisible ? TRUE : FALSE;
    reporter_.write("visible", visible_ ? "1" : "0");
    if (auto* page = view_->page()) page->set_visible(visible_);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::get_Bounds(RECT* bounds) noexcept {
    if (view_->closed()) return refuse_after_close("get_Bounds");
    if (!bounds) return E_POINTER;
    *bounds = bounds_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::QueryInterface(REFIID iid, void** out) noexcept {
    if (out && IsEqualIID(iid, iid_of<ICoreWebView2Controller>)) {
        *out = static_cast<ICoreWebView2Controller*>(this);
        AddRef();
        return S_OK;
    }
    return ComObject::QueryInterface(iid, out);
}

// 1 until the host's default or the user's zoom of the page shown changes it.
HRESULT STDMETHODCALLTYPE Controller::get_ZoomFactor(double* zoomFactor) noexcept {
    if (view_->closed()) return refuse_after_close("get_ZoomFactor");
    if (!zoomFactor) return E_POINTER;
    *zoomFactor = zoom_;
    return S_OK;
}

// The host's factor "becomes the new default zoom for the WebView"; "When it is modified using
// the ZoomFactor property to an in-range value, ... no ZoomFactorChanged event is raised", and out
// of range it is normalised, with the event.
HRESULT STDMETHODCALLTYPE Controller::put_ZoomFactor(double zoomFactor) noexcept {
    if (view_->closed()) return refuse_after_close("put_ZoomFactor");
    if (!(zoomFactor > 0)) return E_INVALIDARG;
    char text[32];
    std::snprintf(text, sizeof text, "%g", zoomFactor);
    reporter_.write("zoom", text);
    default_zoom_ = zoom_ = std::clamp(zoomFactor, 0.25, 5.0);
    if (zoom_ != zoomFactor) (void)view_->post_to_loop([self = ComPtr<Controller>(this)] { self->raise_zoom_changed(); });
    return S_OK;
}

// The user's zoom "applies only for the current page ... and is reset on a navigation", with the
// event then "raised right after the ContentLoading event".
void Controller::change_zoom(double zoom) {
    zoom = std::clamp(zoom, 0.25, 5.0);
    if (zoom == zoom_) return;
    zoom_ = zoom;
    raise_zoom_changed();
}

void Controller::raise_zoom_changed() {
    if (view_->closed()) return;
    for (const auto& handler : zoom_changed_.handlers()) (void)handler->Invoke(this, nullptr);
}

HRESULT STDMETHODCALLTYPE Controller::add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                                            EventRegistrationToken* token) noexcept {
    return zoom_changed_.add(handler, token, tokens_, reporter_);
}

HRESULT STDMETHODCALLTYPE Controller::remove_ZoomFactorChanged(EventRegistrationToken token) noexcept {
    return zoom_changed_.remove(token, reporter_);
}

HRESULT STDMETHODCALLTYPE Controller::put_DefaultBackgroundColor(COREWEBVIEW2_COLOR color) noexcept {
    if (view_->closed()) return refuse_after_close("put_DefaultBackgroundColor");
    char text[16];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", color.A, color.R, color.G, color.B);
    reporter_.write("default_background", text);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::put_Bounds(RECT bounds) noexcept {
    if (view_->closed()) return refuse_after_close("put_Bounds");
    bounds_ = bounds;
    reporter_.write("bounds", std::to_string(bounds.left) + " " + std::to_string(bounds.top) +
                                  " " + std::to_string(bounds.right) + " " +
                                  std::to_string(bounds.bottom));
    if (auto* page = view_->page()) page->set_bounds(bounds);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) noexcept {
    if (view_->closed()) return refuse_after_close("MoveFocus");
    reporter_.write("move_focus", std::to_string(reason));
    if (auto* page = view_->page()) page->focus();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::get_ParentWindow(HWND* parentWindow) noexcept {
    if (view_->closed()) return refuse_after_close("get_ParentWindow");
    if (!parentWindow) return E_POINTER;
    *parentWindow = parent_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::NotifyParentWindowPositionChanged() noexcept {
    if (view_->closed()) return refuse_after_close("NotifyParentWindowPositionChanged");
    reporter_.write("notify_parent_window_position_changed");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::Close() noexcept {
    if (view_->closed()) return refuse_after_close("Close");
    view_->close();
    zoom_changed_.clear();
    reporter_.write("controller_closed");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) noexcept {
    if (view_->closed()) return refuse_after_close("get_CoreWebView2");
    return hand_out(static_cast<ICoreWebView2*>(view_.get()), coreWebView2);
}

}  // namespace standin
