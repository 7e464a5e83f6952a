#include "driver/state_case.h"

#include "driver/files.h"
#include "driver/standin.h"

namespace e2e {

void StateCase::SetUp() {
    ShellCase::SetUp();
    set_dpi(96);
}

void StateCase::set_dpi(DWORD dpi) {
    dpi_.reset();
    dpi_.emplace(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", dpi);
}

void StateCase::plant(std::wstring_view name, std::string_view content) const {
    std::filesystem::create_directories(app_folder());
    write_file(app_file(name), content);
}

HWND StateCase::start_shell(const Launch& launch) {
    start(launch);
    HWND window = wait_for_shell_window();
    if (!window) return nullptr;
    const auto navigated = standin_log().wait_until(
        [](const std::vector<StandinEntry>& entries) { return !payloads(entries, "navigate").empty(); }, kStartTimeout);
    return navigated && wait_for_start_work() ? window : nullptr;
}

bool StateCase::close_shell(HWND window) const {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return wait_for_exit() == 0u;
}

std::optional<std::vector<StandinEntry>> StateCase::post_page_message(HWND window, std::string_view message) const {
    if (!send_command(wait_for_web_view(window), StandinCommand::post_message, message)) return std::nullopt;
    // A marker through the same queue: a permission round trip is answered inside the runtime's
    // callback and may come before the message has been handled.
    if (!settle(window)) return std::nullopt;
    return standin_log().entries();
}

}  // namespace e2e
