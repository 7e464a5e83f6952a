#include "base/page_keys.h"

namespace wm {
namespace {

// Windows' virtual-key codes: letters and digits are their upper-case ASCII codes.
constexpr unsigned kAlt = 0x12;
constexpr unsigned kSpace = 0x20;
constexpr unsigned kF4 = 0x73;
constexpr unsigned kF6 = 0x75;

bool letter_or_digit(unsigned key) { return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'); }

}  // namespace

PageKeyAction page_key_action(const PageKey& key, bool strip_shown) noexcept {
    if (!key.down || key.ctrl) return PageKeyAction::none;
    if (key.alt) {
        if (!key.system) return PageKeyAction::none;
        if (key.virtual_key == kAlt) return strip_shown ? PageKeyAction::show_access_keys : PageKeyAction::none;
        if (key.virtual_key == kSpace) return PageKeyAction::system_menu;
        if (key.virtual_key == kF4) return PageKeyAction::close_window;
        if (strip_shown && letter_or_digit(key.virtual_key)) return PageKeyAction::strip_access_key;
        return PageKeyAction::none;
    }
    if (key.virtual_key == kF6 && strip_shown) return PageKeyAction::to_strip;
    return PageKeyAction::none;
}

}  // namespace wm
