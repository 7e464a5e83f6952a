#pragma once
// Addresses that leave the shell: a page's new-window requests and the runtime's download page.

#include <string_view>

namespace wm {

// Hands a web or mail address to the system's default handler (the browser, the mailer); any
// other address opens nothing.
void open_external(std::string_view address);

// The answer to a page's request for a new window: its address may open outside (see
// may_open_requested_window), and the request is always refused, so no web view ever opens a
// window of its own.
void on_new_window_requested(std::string_view address, std::string_view requesting_page, bool user_initiated);

}  // namespace wm
