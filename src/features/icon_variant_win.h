#pragma once
// A window's small icon, changed to one of the variants.

#include <windows.h>

#include <string_view>

#include "host/handles.h"

namespace wm {

// Sets the window's small icon to the variant's icon group. `held` owns the window's current
// icon; the previous one is destroyed once the window no longer shows it. An unknown word
// changes nothing; a failed load removes the small icon.
void apply_icon_variant(HWND window, std::string_view word, host::UniqueIcon& held);

}  // namespace wm
