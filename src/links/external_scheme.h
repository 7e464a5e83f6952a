#pragma once
// Which addresses a page may hand to the system, and when.

#include <string_view>

namespace wm {

// Whether an address may be handed to the system's default handler: only web and mail
// addresses. Anything else (file paths, UNC paths, script and custom protocols, no scheme at
// all) would let a page start local programs. The scheme is compared case-insensitively.
bool has_external_scheme(std::string_view address) noexcept;

// Whether a page's request for a new window may open its address outside: when the user started
// it, or when the application's own page asked. A foreign page's script (a timer's window.open)
// would otherwise reach the browser or the mailer without a click.
bool may_open_requested_window(std::string_view requesting_page, bool user_initiated) noexcept;

}  // namespace wm
