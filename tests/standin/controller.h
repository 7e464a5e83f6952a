#pragma once
// The host's handle on one web view: its place in the parent window, its visibility, focus and
// lifetime.

#include "com_support.h"
#include "log.h"
#include "message_watch.h"
#include "webview.h"

namespace standin {

class Controller final : public ComObject<ICoreWebView2Controller2> {
public:
    Controller(Reporter reporter, HWND parent, ComPtr<WebView> view)
        : reporter_(std::move(reporter)), parent_(parent), view_(std::move(view)), watch_(parent, reporter_) {
        // Only while the view is open, which this controller outlives.
        view_->on_user_zoom([this](double zoom) { change_zoom(zoom); });
        view_->on_new_document([this] { change_zoom(default_zoom_); });
        view_->on_keyboard([this](std::string_view command, const std::string& payload) {
            return raise_keyboard(command, payload);
        });
    }
    // Dropping the last reference closes the web view, as with the real runtime.
    ~Controller() override;

    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL* isVisible) noexcept override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL isVisible) noexcept override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT* bounds) noexcept override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) noexcept override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON reason) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND* parentWindow) noexcept override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() noexcept override;
    HRESULT STDMETHODCALLTYPE Close() noexcept override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** coreWebView2) noexcept override;

    // Answers for ICoreWebView2Controller too.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double* zoomFactor) noexcept override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double zoomFactor) noexcept override;
    HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler* handler,
                                                    EventRegistrationToken* token) noexcept override;
    HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken token) noexcept override;
    HRESULT STDMETHODCALLTYPE put_DefaultBackgroundColor(COREWEBVIEW2_COLOR color) noexcept override;
    STANDIN_UNUSED(get_DefaultBackgroundColor, COREWEBVIEW2_COLOR*)
    STANDIN_UNUSED(SetBoundsAndZoomFactor, RECT, double)
    HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler* handler,
                                                     EventRegistrationToken* token) noexcept override {
        return move_focus_requested_.add(handler, token, tokens_, reporter_);
    }
    HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken token) noexcept override {
        return move_focus_requested_.remove(token, reporter_);
    }
    STANDIN_UNUSED(add_GotFocus, ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_GotFocus, EventRegistrationToken)
    STANDIN_UNUSED(add_LostFocus, ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*)
    STANDIN_UNUSED(remove_LostFocus, EventRegistrationToken)
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler* handler,
                                                        EventRegistrationToken* token) noexcept override {
        return accelerator_key_pressed_.add(handler, token, tokens_, reporter_);
    }
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken token) noexcept override {
        return accelerator_key_pressed_.remove(token, reporter_);
    }
    STANDIN_UNUSED(put_ParentWindow, HWND)

private:
    HRESULT refuse_after_close(std::string_view method) const;
    // The page's zoom becomes `zoom`, within the runtime's range; ZoomFactorChanged when it changed.
    void change_zoom(double zoom);
    void raise_zoom_changed();
    // The `tab_out` and `key` commands (controller_keyboard.cpp); false for another command or a
    // payload that does not parse.
    bool raise_keyboard(std::string_view command, const std::string& payload);
    void raise_move_focus_requested(COREWEBVIEW2_MOVE_FOCUS_REASON reason);
    void raise_accelerator_key(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT key, bool alt);

    Reporter reporter_;
    HWND parent_;
    ComPtr<WebView> view_;
    RECT bounds_{};
    BOOL visible_ = TRUE;
    double zoom_ = 1.0;          // the page's
    double default_zoom_ = 1.0;  // the host's, which each new document starts with
    TokenSource tokens_;
    EventRegistry<ICoreWebView2ZoomFactorChangedEventHandler> zoom_changed_{"ZoomFactorChanged"};
    EventRegistry<ICoreWebView2MoveFocusRequestedEventHandler> move_focus_requested_{"MoveFocusRequested"};
    EventRegistry<ICoreWebView2AcceleratorKeyPressedEventHandler> accelerator_key_pressed_{"AcceleratorKeyPressed"};
    MessageWatch watch_;
};

}  // namespace standin
