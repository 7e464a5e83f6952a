#include "host/webview_keyboard.h"

#include "base/page_keys.h"
#include "host/messages.h"

namespace wm::host {
namespace {

// What the runtime says of a key, with the modifiers it tells to read from the thread's state.
PageKey read_key(ICoreWebView2AcceleratorKeyPressedEventArgs& args) {
    COREWEBVIEW2_KEY_EVENT_KIND kind = COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP;
    UINT key = 0;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS status{};
    if (FAILED(args.get_KeyEventKind(&kind)) || FAILED(args.get_VirtualKey(&key)) ||
        FAILED(args.get_PhysicalKeyStatus(&status)))
        return {};
    return {.down = kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_DOWN || kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN,
            .system = kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_DOWN || kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP,
            .virtual_key = key,
            .alt = status.IsMenuKeyDown != FALSE,
            .ctrl = GetKeyState(VK_CONTROL) < 0};
}

}  // namespace

HRESULT PageKeyboard::attach(ICoreWebView2Controller& controller, FramelessWindow& window) {
    controller_ = ComPtr<ICoreWebView2Controller>(&controller);
    // The strip stands before the page: past the page's last element Tab wraps round to the
    // strip's first button, and Shift+Tab before its first element reaches the strip's last.
    // Without a strip the runtime keeps the focus cycling in the page.
    HRESULT result = controller.add_MoveFocusRequested(
        make_handler<ICoreWebView2MoveFocusRequestedEventHandler>(
            [&window](ICoreWebView2Controller*, ICoreWebView2MoveFocusRequestedEventArgs* args) {
                COREWEBVIEW2_MOVE_FOCUS_REASON reason = COREWEBVIEW2_MOVE_FOCUS_REASON_PROGRAMMATIC;
                if (FAILED(args->get_Reason(&reason))) return;
                if (window.focus_strip(reason == COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS)) (void)args->put_Handled(TRUE);
            })
            .get(),
        &move_focus_token_);
    if (FAILED(result)) return result;
    return controller.add_AcceleratorKeyPressed(
        make_handler<ICoreWebView2AcceleratorKeyPressedEventHandler>(
            [&window](ICoreWebView2Controller*, ICoreWebView2AcceleratorKeyPressedEventArgs* args) {
                const PageKey key = read_key(*args);
                const PageKeyAction action = page_key_action(key, window.strip_shown());
                if (action == PageKeyAction::none) return;
                const HWND target = window.hwnd();
                if (action == PageKeyAction::show_access_keys) {
                    // As Alt shows them in a dialog; the key itself goes on to the page.
                    (void)PostMessageW(target, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL), 0);
                    return;
                }
                if (action == PageKeyAction::strip_access_key && !window.strip_has_access_key(key.virtual_key)) return;
                (void)args->put_Handled(TRUE);
                COREWEBVIEW2_PHYSICAL_KEY_STATUS status{};
                // A held key acts once; its repeats are still kept from the page.
                if (FAILED(args->get_PhysicalKeyStatus(&status)) || status.WasKeyDown) return;
                // Posted: the runtime waits inside this call, and a menu's loop or a focus change
                // would call back into it. A window gone meanwhile takes nothing.
                switch (action) {
                // As the system answers Alt+Space itself: the menu with the items the window's
                // state allows, where the window's caption would have it.
                case PageKeyAction::system_menu: (void)PostMessageW(target, WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE); break;
                case PageKeyAction::close_window: (void)PostMessageW(target, WM_SYSCOMMAND, SC_CLOSE, 0); break;
                case PageKeyAction::to_strip: (void)PostMessageW(target, kStripFocusMessage, 0, 0); break;
                case PageKeyAction::strip_access_key: (void)PostMessageW(target, WM_SYSCHAR, key.virtual_key, 0); break;
                case PageKeyAction::show_access_keys:
                case PageKeyAction::none: break;
                }
            })
            .get(),
        &key_token_);
}

void PageKeyboard::detach() noexcept {
    if (!controller_) return;
    (void)controller_->remove_MoveFocusRequested(move_focus_token_);
    (void)controller_->remove_AcceleratorKeyPressed(key_token_);
    controller_.reset();
}

}  // namespace wm::host
