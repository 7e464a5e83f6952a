#pragma once
// Starting at sign-in: the value under the user's Run key that starts the program, and the switch
// Task Manager (and Settings, Startup apps) keeps for it under Explorer's StartupApproved\Run.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace wm {

inline constexpr std::wstring_view kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kStartupApprovedKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr std::wstring_view kRunValueName = L"wispermoth";

// What Task Manager writes when it turns an entry on: 02 and eleven zero bytes (the rest holds
// the time it was turned off).
inline constexpr std::uint8_t kStartupApprovedOn[12] = {2};

// Microsoft documents a Run value's command as at most this many characters.
inline constexpr std::size_t kRunCommandLimit = 260;

// The Run value's command for the executable: its full path between quotes; nothing when that is
// longer than a Run value may be.
std::optional<std::wstring> autostart_command(std::wstring_view executable);

// What replaces the Run value's `command` at a start of `executable`: this one's command, only
// when the program the value names no longer exists (`exists` says; the program was moved), so
// that another copy that starts, from a share or a stick, does not take the entry over.
std::optional<std::wstring> autostart_rewrite(std::wstring_view command, std::wstring_view executable,
                                              const std::function<bool(const std::wstring& program)>& exists);

// Task Manager marks a turned-off entry with an odd first byte (03, 07) and a turned-on one with
// an even first byte (02, 06); an entry it never touched has no value.
bool startup_approval_off(std::optional<std::span<const std::uint8_t>> approval) noexcept;

// The program starts at sign-in when the Run value is there and Task Manager has not turned it off.
bool autostart_on(bool run_value_present, std::optional<std::span<const std::uint8_t>> approval) noexcept;

}  // namespace wm
