#pragma once
// The shell's several windows: finding the one a page message opened, and what the stand-in
// logged for each.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "driver/log.h"

namespace e2e {

// The shell's visible top-level windows titled "wispermoth".
std::vector<HWND> shell_windows(DWORD process_id);

// A visible shell window that is not among `known`, once its construction has ended (the stand-in
// logged its navigation, the last step); null when none appears in time.
HWND wait_for_new_window(DWORD process_id, const std::vector<HWND>& known, const StandinLog& log);

// The payloads of one event that belong to the window, in log order.
std::vector<std::string> window_payloads(const std::vector<StandinEntry>& entries, HWND window, std::string_view event);

// What a process holds: kernel handles and windows (top-level and child). A count the system
// cannot read is 0. USER and GDI object counts are left out: under Wine GetGuiResources reads 0.
struct ProcessCounts {
    DWORD handles = 0;
    std::size_t windows = 0;
};
ProcessCounts process_counts(DWORD process_id);

}  // namespace e2e
