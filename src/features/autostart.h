#pragma once
// Starting at sign-in: the value under the user's Run key that starts the program, and the switch
// Task Manager (and Settings, Startup apps) keeps for it under Explorer's StartupApproved\Run.

#include <cstdint>
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

// The Run value's command for the executable: its full path between quotes.
std::wstring autostart_command(std::wstring_view executable);

// Task Manager marks a turned-off entry with an odd first byte (03, 07) and a turned-on one with
// an even first byte (02, 06); an entry it never touched has no value.
bool startup_approval_off(std::optional<std::span<const std::uint8_t>> approval) noexcept;

// The program starts at sign-in when the Run value is there and Task Manager has not turned it off.
bool autostart_on(bool run_value_present, std::optional<std::span<const std::uint8_t>> approval) noexcept;

}  // namespace wm
