#include "features/autostart.h"

namespace wm {

std::optional<std::wstring> autostart_command(std::wstring_view executable) {
    std::wstring command = L"\"";
    command += executable;
    command += L'"';
    if (command.size() > kRunCommandLimit) return std::nullopt;
    return command;
}

std::optional<std::wstring> autostart_rewrite(std::wstring_view command, std::wstring_view executable,
                                              const std::function<bool(const std::wstring& program)>& exists) {
    auto wanted = autostart_command(executable);
    if (!wanted || command == *wanted) return std::nullopt;
    // Quoted, the program is what the quotes hold; unquoted, what comes before the arguments.
    const bool quoted = command.starts_with(L'"');
    const std::wstring_view rest = command.substr(quoted ? 1 : 0);
    const std::wstring program(rest.substr(0, rest.find(quoted ? L'"' : L' ')));
    if (exists(program)) return std::nullopt;
    return wanted;
}

bool startup_approval_off(std::optional<std::span<const std::uint8_t>> approval) noexcept {
    return approval && !approval->empty() && (approval->front() & 1) != 0;
}

bool autostart_on(bool run_value_present, std::optional<std::span<const std::uint8_t>> approval) noexcept {
    return run_value_present && !startup_approval_off(approval);
}

}  // namespace wm
