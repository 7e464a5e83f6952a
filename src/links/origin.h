#pragma once
// The tests of whether an address is the application's.

#include <string_view>

namespace wm {

// Whether an address belongs to the application: "https://", a host equal to the origin host or
// ending in "." plus the origin host, and no port written. Case-sensitive. The host is what
// follows the last "@" of the authority, and "\" ends the authority as "/" does, the way browsers
// read such addresses. A page on another port is another origin, as the web counts origins, and
// the runtime reports the default port by leaving it out.
bool in_app_origin(std::string_view address) noexcept;

// Whether an address is on the application's own origin: as above, with the host exactly the
// origin host. Subdomains may serve what users upload; only this origin's files run or are
// saved in silence.
bool in_exact_app_origin(std::string_view address) noexcept;

}  // namespace wm
