#include "features/autostart_win.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "features/autostart.h"
#include "host/file_io.h"

namespace wm {
namespace {

// Each name is a whole literal, so its data ends with a NUL.
constexpr const wchar_t* kRun = kRunKey.data();
constexpr const wchar_t* kApproved = kStartupApprovedKey.data();
constexpr const wchar_t* kName = kRunValueName.data();

// A value's bytes as RegGetValueW reads them with `flags`; nothing when it is not there or
// cannot be read.
std::optional<std::vector<BYTE>> read_value(const wchar_t* key, DWORD flags) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, key, kName, flags, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        std::vector<BYTE> bytes(size);
        // The value may grow between the two calls: then ask again.
        const LSTATUS read =
            RegGetValueW(HKEY_CURRENT_USER, key, kName, flags, nullptr, bytes.data(), &size);
        if (read == ERROR_SUCCESS) {
            bytes.resize(size);
            return bytes;
        }
        if (read != ERROR_MORE_DATA) return std::nullopt;
    }
    return std::nullopt;
}

std::optional<std::wstring> read_run_command() {
    const auto bytes = read_value(kRun, RRF_RT_REG_SZ);
    if (!bytes) return std::nullopt;
    // RegGetValueW ends the string with a NUL.
    std::wstring command(reinterpret_cast<const wchar_t*>(bytes->data()), bytes->size() / sizeof(wchar_t));
    while (!command.empty() && command.back() == L'\0') command.pop_back();
    return command;
}

std::optional<std::vector<BYTE>> read_approval() { return read_value(kApproved, RRF_RT_REG_BINARY); }

bool read_state(bool run_value_present) {
    const auto approval = read_approval();
    return autostart_on(run_value_present,
                        approval ? std::optional<std::span<const std::uint8_t>>(*approval) : std::nullopt);
}

bool write_run_command(const std::wstring& command) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRun, kName, REG_SZ, command.c_str(),
                           static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// Only a program that is certainly gone: one that cannot be reached (an offline share, a
// locked folder) may come back.
bool program_exists(const std::wstring& program) {
    if (GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD error = GetLastError();
    return error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND;
}

}  // namespace

bool refresh_autostart() {
    const auto command = read_run_command();
    if (!command) return read_state(false);
    if (const auto executable = host::executable_path())
        if (const auto rewrite = autostart_rewrite(*command, *executable, program_exists))
            (void)write_run_command(*rewrite);  // a failure leaves the old path
    return read_state(true);
}

bool set_autostart(bool on) {
    if (on) {
        const auto executable = host::executable_path();
        const auto command = executable ? autostart_command(*executable) : std::nullopt;
        // A path too long for the Run key is not written, and the switch stays off.
        if (executable && !command) return false;
        if (command) (void)write_run_command(*command);
        const auto approval = read_approval();
        if (approval && startup_approval_off(std::span<const std::uint8_t>(*approval)))
            (void)RegSetKeyValueW(HKEY_CURRENT_USER, kApproved, kName, REG_BINARY, kStartupApprovedOn,
                                  sizeof kStartupApprovedOn);
    } else {
        (void)RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun, kName);
    }
    // What the registry says now, whatever failed above.
    return read_autostart();
}

bool read_autostart() { return read_state(read_run_command().has_value()); }

}  // namespace wm
