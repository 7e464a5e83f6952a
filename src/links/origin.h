#pragma once
// The one test of whether an address is the application's.

#include <string_view>

namespace wm {

// Whether an address belongs to the application's web origin: "https://" and a host equal to
// the origin host or ending in "." plus the origin host. Case-sensitive, port ignored. The host
// is what follows the last "@" of the authority, and "\" ends the authority as "/" does, the way
// browsers read such addresses.
bool in_app_origin(std::string_view address) noexcept;

}  // namespace wm
