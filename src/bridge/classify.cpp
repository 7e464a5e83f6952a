#include "bridge/classify.h"

#include <algorithm>

#include "base/icon_words.h"
#include "features/badge.h"
#include "features/snap_area.h"
#include "features/window_paths.h"
#include "notify/notification.h"

namespace wm {
namespace {

bool starts_with(std::string_view text, std::string_view prefix) noexcept {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

int resize_hit_test(std::string_view edge) noexcept {
    if (edge == "n") return 12;   // HTTOP
    if (edge == "nw") return 13;  // HTTOPLEFT
    if (edge == "ne") return 14;  // HTTOPRIGHT
    return 0;
}

ClassifiedMessage classify_message(std::string_view message) noexcept {
    using enum MessageKind;
    if (message.empty()) return {icon_default, message};
    for (auto [prefix, kind] : {std::pair{std::string_view("window:"), open_window},
                                std::pair{std::string_view("picker:"), open_picker}}) {
        if (starts_with(message, prefix) && is_application_path(message.substr(prefix.size())))
            return {kind, message.substr(prefix.size())};
    }
    if (message == "top:0" || message == "top:1") return {always_on_top, message.substr(4)};
    if (starts_with(message, "notify:")) return {notify, message.substr(7)};
    if (starts_with(message, "notify-tag:") && split_tagged_notification(message.substr(11)))
        return {notify_tagged, message.substr(11)};
    // The default icon's word is the empty message, which asks for nothing.
    if (!message.empty() && std::ranges::find(kIconWords, message) != kIconWords.end()) return {icon_variant, message};
    if (message == "update:done") return {update_done, {}};
    if (message == "update:fail") return {update_fail, {}};
    if (message == "min") return {minimize, {}};
    if (message == "max") return {maximize, {}};
    if (message == "drag") return {drag, {}};
    if (message == "close") return {close, {}};
    if (starts_with(message, "saved:")) return {saved, message.substr(6)};
    if (starts_with(message, "resize:") && resize_hit_test(message.substr(7)) != 0)
        return {resize, message.substr(7)};
    if (starts_with(message, "snap:") && (message.size() == 5 || parse_snap_rect(message.substr(5))))
        return {snap_area, message.substr(5)};
    if (starts_with(message, "badge:") && parse_badge(message.substr(6))) return {badge, message.substr(6)};
    if (message == "autostart:0" || message == "autostart:1") return {autostart, message.substr(10)};
    if (message == "state:") return {report_state, {}};
    return {ignored, {}};
}

}  // namespace wm
