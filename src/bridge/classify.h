#pragma once
// Which rule a page message falls under. The rules are tried in table order; the first match
// decides. Comparisons are exact and case-sensitive, nothing is trimmed.

#include <string_view>

namespace wm {

enum class MessageKind {
    icon_default,   // ""
    open_window,    // "window:" + valid application path
    open_picker,    // "picker:" + valid application path
    always_on_top,  // "top:0" / "top:1"
    notify,         // "notify:" + anything
    notify_tagged,  // "notify-tag:" + tag + line feed + anything
    icon_variant,   // "bubble", "wordmark", "peek", "says"
    update_done,    // "update:done"
    update_fail,    // "update:fail"
    minimize,       // "min"
    maximize,       // "max"
    drag,           // "drag"
    close,          // "close"
    saved,          // "saved:" + anything
    resize,         // "resize:n", "resize:nw", "resize:ne"
    snap_area,      // "snap:" alone, or "snap:" + "x y w h"
    badge,          // "badge:" alone, or "badge:" + a count in decimal
    autostart,      // "autostart:0" / "autostart:1"
    report_state,   // "state:"
    ignored,
};

struct ClassifiedMessage {
    MessageKind kind = MessageKind::ignored;
    // What follows the prefix, or the whole word for the icon rules.
    std::string_view argument;
};

ClassifiedMessage classify_message(std::string_view message) noexcept;

// The hit-test code of a page-started resize ("n", "nw", "ne"); 0 for anything else.
int resize_hit_test(std::string_view edge) noexcept;

inline constexpr int kHitCaption = 2;

}  // namespace wm
