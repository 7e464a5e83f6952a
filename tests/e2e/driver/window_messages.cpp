#include "driver/window_messages.h"

#include "driver/windows.h"

namespace e2e {
namespace {

constexpr std::string_view kZOrderChange = "WM_WINDOWPOSCHANGED ";
constexpr std::string_view kTopmostField = " topmost=";
constexpr std::string_view kZOrderRequest = "WM_WINDOWPOSCHANGING ";

}  // namespace

std::vector<std::string> window_messages(const std::vector<StandinEntry>& entries, HWND top_level, std::size_t from) {
    std::vector<std::string> found;
    for (std::size_t i = from; i < entries.size(); ++i)
        if (entries[i].event == "window_message" && entries[i].belongs_to(top_level))
            found.push_back(entries[i].payload);
    return found;
}

std::string press_message(int hit_test) {
    return "WM_NCLBUTTONDOWN " + std::to_string(hit_test);
}

std::vector<std::string> z_order_changes(const std::vector<StandinEntry>& entries, HWND top_level, std::size_t from) {
    std::vector<std::string> found;
    for (const std::string& message : window_messages(entries, top_level, from)) {
        if (!message.starts_with(kZOrderChange)) continue;
        const auto field = message.find(kTopmostField);
        found.push_back(field == std::string::npos ? "?" : message.substr(field + kTopmostField.size()));
    }
    return found;
}

std::vector<std::string> topmost_requests(const std::vector<StandinEntry>& entries, HWND top_level, std::size_t from) {
    std::vector<std::string> found;
    for (const std::string& message : window_messages(entries, top_level, from))
        if (message.starts_with(kZOrderRequest)) found.push_back(message.substr(kZOrderRequest.size()));
    return found;
}

void cancel_size_move(HWND window) {
    // The loop takes the key from the thread's queue whatever window it names; the repeat
    // count 1 and Esc's scan code make it look typed.
    PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, MAKELPARAM(1, 0x01));
}

bool is_topmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

}  // namespace e2e
