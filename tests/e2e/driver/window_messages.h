#pragma once
// The messages that reached a shell window, as the stand-in's message watch logs them
// (`window_message` lines), and the messages a test sends a shell window the way the system would.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "driver/log.h"

namespace e2e {

// The `window_message` payloads of this top-level window, in log order, from `from` onwards.
std::vector<std::string> window_messages(const std::vector<StandinEntry>& entries, HWND top_level,
                                         std::size_t from = 0);

// The press the shell posts to start a move or size loop: "WM_NCLBUTTONDOWN <hit-test>".
std::string press_message(int hit_test);
inline constexpr std::string_view kLoopStarted = "WM_ENTERSIZEMOVE";
inline constexpr std::string_view kLoopEnded = "WM_EXITSIZEMOVE";

// The window's changes of place in the z-order: the topmost state after each ("1" or "0").
std::vector<std::string> z_order_changes(const std::vector<StandinEntry>& entries, HWND top_level,
                                         std::size_t from = 0);

// The requests to make the window topmost or not, whether or not they changed it: "HWND_TOPMOST"
// or "HWND_NOTOPMOST" for each.
std::vector<std::string> topmost_requests(const std::vector<StandinEntry>& entries, HWND top_level,
                                          std::size_t from = 0);

// Ends a move or size loop that waits for the mouse, as the Esc key does.
void cancel_size_move(HWND window);

bool is_topmost(HWND window);

}  // namespace e2e
