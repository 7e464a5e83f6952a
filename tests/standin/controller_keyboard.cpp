// Keys pressed in the page, as the runtime hands them to the host: Tab out of the page
// (MoveFocusRequested) and keys the browser takes for accelerators (AcceleratorKeyPressed).

#include <algorithm>
#include <vector>

#include "controller.h"
#include "text.h"

namespace standin {
namespace {

template <class Field>
HRESULT read(const Field& field, Field* out) {
    if (!out) return E_POINTER;
    *out = field;
    return S_OK;
}

// The handlers' answer, read once they have returned.
template <class Args>
class Handled : public ComObject<Args> {
public:
    HRESULT STDMETHODCALLTYPE get_Handled(BOOL* value) noexcept override { return read(handled_, value); }
    HRESULT STDMETHODCALLTYPE put_Handled(BOOL value) noexcept override {
        handled_ = value;
        return S_OK;
    }
    std::string answer() const { return handled_ ? "handled=1" : "handled=0"; }

private:
    BOOL handled_ = FALSE;
};

class MoveFocusArgs final : public Handled<ICoreWebView2MoveFocusRequestedEventArgs> {
public:
    explicit MoveFocusArgs(COREWEBVIEW2_MOVE_FOCUS_REASON reason) : reason_(reason) {}
    HRESULT STDMETHODCALLTYPE get_Reason(COREWEBVIEW2_MOVE_FOCUS_REASON* reason) noexcept override {
        return read(reason_, reason);
    }

private:
    COREWEBVIEW2_MOVE_FOCUS_REASON reason_;
};

class AcceleratorKeyArgs final : public Handled<ICoreWebView2AcceleratorKeyPressedEventArgs> {
public:
    AcceleratorKeyArgs(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT key, const COREWEBVIEW2_PHYSICAL_KEY_STATUS& status)
        : kind_(kind), key_(key), status_(status) {}
    HRESULT STDMETHODCALLTYPE get_KeyEventKind(COREWEBVIEW2_KEY_EVENT_KIND* kind) noexcept override {
        return read(kind_, kind);
    }
    HRESULT STDMETHODCALLTYPE get_VirtualKey(UINT* key) noexcept override { return read(key_, key); }
    // WM_KEYDOWN's LPARAM from the same fields.
    HRESULT STDMETHODCALLTYPE get_KeyEventLParam(INT* lparam) noexcept override {
        const auto bits = (status_.RepeatCount & 0xFFFF) | (status_.ScanCode & 0xFF) << 16 | status_.IsMenuKeyDown << 29 |
                          status_.WasKeyDown << 30 | static_cast<UINT>(status_.IsKeyReleased) << 31;
        return read(static_cast<INT>(bits), lparam);
    }
    HRESULT STDMETHODCALLTYPE get_PhysicalKeyStatus(COREWEBVIEW2_PHYSICAL_KEY_STATUS* status) noexcept override {
        return read(status_, status);
    }

private:
    COREWEBVIEW2_KEY_EVENT_KIND kind_;
    UINT key_;
    COREWEBVIEW2_PHYSICAL_KEY_STATUS status_;
};

// The shown, enabled windows of the app that take the focus on Tab, in the order Tab visits
// them, with the page's own window among them.
void tab_order(HWND parent, HWND page, std::vector<HWND>& order) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_DISABLED)) continue;
        if (child == page || (style & WS_TABSTOP)) order.push_back(child);
        tab_order(child, page, order);
    }
}

}  // namespace

bool Controller::raise_keyboard(std::string_view command, const std::string& payload) {
    if (command == "tab_out" && (payload == "next" || payload == "previous")) {
        raise_move_focus_requested(payload == "next" ? COREWEBVIEW2_MOVE_FOCUS_REASON_NEXT
                                                     : COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS);
        return true;
    }
    const auto words = split(payload, ' ');
    if (command != "key" || words.size() < 2 || words.size() > 3 || (words.size() == 3 && words[2] != "alt")) return false;
    const auto kind = parse_decimal(words[0]);
    const auto key = parse_decimal(words[1]);
    if (!kind || *kind > COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP || !key) return false;
    raise_accelerator_key(static_cast<COREWEBVIEW2_KEY_EVENT_KIND>(*kind), static_cast<UINT>(*key), words.size() == 3);
    return true;
}

// When no handler moved the focus, the runtime's default: the next tab stop child window of the
// app takes it; with none, the focus cycles within the page.
void Controller::raise_move_focus_requested(COREWEBVIEW2_MOVE_FOCUS_REASON reason) {
    const auto args = make_object<MoveFocusArgs>(reason);
    if (!args) return;
    for (const auto& handler : move_focus_requested_.handlers()) (void)handler->Invoke(this, args.get());
    reporter_.write("move_focus_requested_result", args->answer());
    auto* page = view_->page();
    if (args->answer() == "handled=1" || !page) return;
    std::vector<HWND> order;
    tab_order(GetAncestor(page->handle(), GA_ROOT), page->handle(), order);
    const auto at = static_cast<std::size_t>(std::find(order.begin(), order.end(), page->handle()) - order.begin());
    const bool back = reason == COREWEBVIEW2_MOVE_FOCUS_REASON_PREVIOUS;
    if (at < order.size() && order.size() > 1) SetFocus(order[(at + (back ? order.size() - 1 : 1)) % order.size()]);
}

// The browser waits for the handlers' decision; an unhandled key goes nowhere beyond the log.
void Controller::raise_accelerator_key(COREWEBVIEW2_KEY_EVENT_KIND kind, UINT key, bool alt) {
    const BOOL released = kind == COREWEBVIEW2_KEY_EVENT_KIND_KEY_UP || kind == COREWEBVIEW2_KEY_EVENT_KIND_SYSTEM_KEY_UP;
    const auto args = make_object<AcceleratorKeyArgs>(
        kind, key, COREWEBVIEW2_PHYSICAL_KEY_STATUS{1, MapVirtualKeyW(key, MAPVK_VK_TO_VSC), FALSE, alt, released, released});
    if (!args) return;
    for (const auto& handler : accelerator_key_pressed_.handlers()) (void)handler->Invoke(this, args.get());
    reporter_.write("accelerator_key_result", "key=" + std::to_string(key) + " " + args->answer());
}

}  // namespace standin
