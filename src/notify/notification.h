#pragma once
// What the page's "notify:" and "notify-tag:" messages ask for: one silent, short toast under the
// shell's identity, and what a click on a tagged one carries back.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/product.h"

namespace wm {

enum class ToastDuration { short_duration, long_duration };

// One toast. Only the title, body and tag come from the page; the rest is fixed. There is no
// subtitle, image, action or scenario: the toast shows the icon registered for the identity.
struct NotificationRequest {
    std::string title;
    std::string body;
    std::string_view application_name = kProductName;
    std::string_view application_identity = kAppIdentity;
    bool silent = true;
    ToastDuration duration = ToastDuration::short_duration;
    // Empty, or what a click hands back to the application's page (is_notification_tag).
    std::string tag;
};

// Title before the first line feed, body after it (later line feeds included); without a line
// feed the whole argument is the title. Nothing is trimmed.
NotificationRequest split_notification(std::string_view argument);

// A tag travels through the toast's launch attribute, which Windows hands to any program that
// activates the shell's class, and ends up in a page: short, and only characters that need
// escaping nowhere (ASCII letters, digits, "-", "_", ".", ":").
inline constexpr std::size_t kMaxNotificationTag = 64;
bool is_notification_tag(std::string_view tag) noexcept;

// "notify-tag:" + tag + line feed + what "notify:" takes; nothing unless the tag is one.
std::optional<NotificationRequest> split_tagged_notification(std::string_view argument);

// The toast's launch attribute for a tag, and the tag back from the arguments of a click: empty
// for a toast without one, and for arguments the shell never wrote.
std::string launch_arguments(std::string_view tag);
std::string tag_from_launch(std::string_view arguments);

}  // namespace wm
