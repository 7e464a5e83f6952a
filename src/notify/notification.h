#pragma once
// What the page's "notify:" message asks for: one silent, short toast under the shell's identity.

#include <string>
#include <string_view>

#include "base/product.h"

namespace wm {

enum class ToastDuration { short_duration, long_duration };

// One toast. Only the title and body come from the page; the rest is fixed. There is no
// subtitle, image, action or scenario: the toast shows the icon registered for the identity.
struct NotificationRequest {
    std::string title;
    std::string body;
    std::string_view application_name = kProductName;
    std::string_view application_identity = kAppIdentity;
    bool silent = true;
    ToastDuration duration = ToastDuration::short_duration;
};

// Title before the first line feed, body after it (later line feeds included); without a line
// feed the whole argument is the title. Nothing is trimmed.
NotificationRequest split_notification(std::string_view argument);

}  // namespace wm
