#pragma once
// Addresses that leave the shell: every new-window request goes to the system's handler.

#include <string_view>

namespace wm {

// Hands the address to the system's default handler (the browser for web addresses).
void open_external(std::string_view address);

// The answer to a page's request for a new window: its address opens outside, and the request
// is always refused, so no web view ever opens a window of its own.
void on_new_window_requested(std::string_view address);

}  // namespace wm
