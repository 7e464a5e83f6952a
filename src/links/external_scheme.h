#pragma once

#include <string_view>

namespace wm {

// Whether an address may be handed to the system's default handler: only web and mail
// addresses. Anything else (file paths, UNC paths, script and custom protocols, no scheme at
// all) would let a page start local programs. The scheme is compared case-insensitively.
bool has_external_scheme(std::string_view address) noexcept;

}  // namespace wm
