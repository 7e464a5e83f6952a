#include "controller.h"

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

// The page is never zoomed: CSS pixels are the window's logical pixels.
HRESULT STDMETHODCALLTYPE Controller::get_ZoomFactor(double* zoomFactor) noexcept {
    if (view_->closed()) return refuse_after_close("get_ZoomFactor");
    if (!zoomFactor) return E_POINTER;
    *zoomFactor = 1.0;
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
    reporter_.write("controller_closed");
    return S_OK;
}

HRESULT STDMETHODCALLTYPE Controller::get_CoreWebView2(ICoreWebView2** coreWebView2) noexcept {
    if (view_->closed()) return refuse_after_close("get_CoreWebView2");
    return hand_out(static_cast<ICoreWebView2*>(view_.get()), coreWebView2);
}

}  // namespace standin
