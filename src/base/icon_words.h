#pragma once
// The words that choose a window's icon, in the order of the icon groups they name.

#include <array>
#include <string_view>

namespace wm {

// "" is the default icon; a page asks for the others by name, and the state file keeps the last.
inline constexpr std::array<std::string_view, 5> kIconWords = {"", "bubble", "wordmark", "peek", "says"};

}  // namespace wm
