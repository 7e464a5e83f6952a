#include "driver/page_case.h"

#include <algorithm>

#include "driver/files.h"
#include "driver/shell_windows.h"
#include "driver/window_messages.h"

namespace e2e {

std::string join_messages(const std::vector<std::string>& messages) {
    constexpr char kSeparator = '\x1F';
    std::string joined;
    for (const auto& message : messages) {
        if (!joined.empty()) joined += kSeparator;
        joined += message;
    }
    return joined;
}

void PageCase::open(const Launch& launch) {
    start(launch);
    window_ = wait_for_shell_window();
    ASSERT_NE(window_, nullptr);
    web_view_ = wait_for_web_view(window_);
    ASSERT_NE(web_view_, nullptr);
    ASSERT_TRUE(round_trip(window_)) << standin_log().text();
    ASSERT_TRUE(wait_for_start_work());
}

void PageCase::command(StandinCommand command, std::string_view payload) {
    ASSERT_TRUE(send_command(web_view_, command, payload)) << "refused: " << payload;
}

HWND PageCase::open_window(std::string_view message) {
    const auto known = shell_windows(process_id());
    if (!send_command(web_view_, StandinCommand::post_message, message)) return nullptr;
    return wait_for_new_window(process_id(), known, standin_log());
}

std::vector<std::string> PageCase::scripts(const std::vector<StandinEntry>& entries) const {
    std::vector<std::string> found;
    for (const auto& entry : entries)
        if (entry.event == "execute_script" && entry.belongs_to(window_)) found.push_back(entry.payload);
    return found;
}

std::optional<std::vector<StandinEntry>> PageCase::wait_for_scripts(std::size_t count) const {
    return standin_log().wait_until([&](const auto& entries) { return scripts(entries).size() >= count; });
}

void PageCase::handled_through(const std::string& marker) {
    ASSERT_TRUE(settle(window_, marker)) << standin_log().text();
}

std::optional<std::vector<StandinEntry>> PageCase::wait_for_window_message(std::string_view message,
                                                                           std::size_t from) const {
    return standin_log().wait_until([&](const auto& entries) {
        const auto logged = window_messages(entries, window_, from);
        return std::find(logged.begin(), logged.end(), message) != logged.end();
    });
}

std::optional<std::string> PageCase::state_file(std::wstring_view name) const {
    return read_file(app_data() / kProductName / name);
}

}  // namespace e2e
