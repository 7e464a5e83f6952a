#include "notify/notification.h"

namespace wm {

NotificationRequest split_notification(std::string_view argument) {
    NotificationRequest request;
    const auto line_feed = argument.find('\n');
    request.title = argument.substr(0, line_feed);
    if (line_feed != std::string_view::npos) request.body = argument.substr(line_feed + 1);
    return request;
}

}  // namespace wm
