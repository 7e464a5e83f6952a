#pragma once
// The strip a window shows above a page that is not the application's: what it says and where
// it and the page go. A window has no address bar, so without it a foreign page (a login, a
// redirect, a link followed in place) would pass for the application and leave no way back.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/strip_layout.h"

namespace wm {

// The strip's text for the page at `address`: its scheme and host (and port) as the address
// writes them, user information left out, with "Not secure: " before it unless the scheme is
// https. Nothing when the page is the application's, which never sees a strip.
std::optional<std::string> away_strip_text(std::string_view address);

}  // namespace wm
