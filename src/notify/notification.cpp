#include "notify/notification.h"

#include <algorithm>

namespace wm {
namespace {

constexpr std::string_view kLaunchPrefix = "tag=";

bool is_tag_character(char c) noexcept {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
           c == '.' || c == ':';
}

}  // namespace

NotificationRequest split_notification(std::string_view argument) {
    NotificationRequest request;
    const auto line_feed = argument.find('\n');
    request.title = argument.substr(0, line_feed);
    if (line_feed != std::string_view::npos) request.body = argument.substr(line_feed + 1);
    return request;
}

bool is_notification_tag(std::string_view tag) noexcept {
    return !tag.empty() && tag.size() <= kMaxNotificationTag && std::ranges::all_of(tag, is_tag_character);
}

std::optional<NotificationRequest> split_tagged_notification(std::string_view argument) {
    const auto line_feed = argument.find('\n');
    if (line_feed == std::string_view::npos || !is_notification_tag(argument.substr(0, line_feed)))
        return std::nullopt;
    NotificationRequest request = split_notification(argument.substr(line_feed + 1));
    request.tag = argument.substr(0, line_feed);
    return request;
}

std::string launch_arguments(std::string_view tag) {
    std::string arguments(kLaunchPrefix);
    arguments += tag;
    return arguments;
}

std::string tag_from_launch(std::string_view arguments) {
    if (!arguments.starts_with(kLaunchPrefix) || !is_notification_tag(arguments.substr(kLaunchPrefix.size())))
        return {};
    return std::string(arguments.substr(kLaunchPrefix.size()));
}

}  // namespace wm
