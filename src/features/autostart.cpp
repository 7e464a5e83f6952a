#include "features/autostart.h"

namespace wm {

std::wstring autostart_command(std::wstring_view executable) {
    std::wstring command = L"\"";
    command += executable;
    command += L'"';
    return command;
}

bool startup_approval_off(std::optional<std::span<const std::uint8_t>> approval) noexcept {
    return approval && !approval->empty() && (approval->front() & 1) != 0;
}

bool autostart_on(bool run_value_present, std::optional<std::span<const std::uint8_t>> approval) noexcept {
    return run_value_present && !startup_approval_off(approval);
}

}  // namespace wm
