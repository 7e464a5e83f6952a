#pragma once
// The scripts every document of a shell window runs before the page's own scripts. Each acts
// only in a top-level document on https at the origin host or a subdomain, as the shell's origin
// test reads them: nothing a frame posts reaches the shell, and other sites are not told that the
// user runs it, nor its version and settings.

#include <string>
#include <string_view>

namespace wm {

// Defines the frozen global `ipc` whose postMessage reaches the shell, through the channel as it
// is when the document is created, so that a page reassigning `window.chrome` later changes
// nothing.
std::string bridge_script();

// The web's Badging API, `navigator.setAppBadge` and `navigator.clearAppBadge`, as "badge:"
// messages; elsewhere the runtime's own stay. The count is converted as the API's
// `optional [EnforceRange] unsigned long long` says: cut to its integer part, and rejected with a
// TypeError, posting nothing, when that is not within 0 to 2^53-1.
std::string badge_script();

// The `window.shellInfo` object describing the shell as it was at start-up, with a '1' for every
// optional message this shell understands. The icon word is one of the five variant words, so it
// needs no escaping.
std::string build_init_script(bool always_on_top, std::string_view icon_variant, bool autostart);

}  // namespace wm
