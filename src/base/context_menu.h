#pragma once
// The runtime's default context menu, kept to what a chat user uses: editing, spelling, emoji and
// what is done with a link or an image. What makes the window a browser tab goes.

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace wm {

// An item as the runtime names it: the English label in lower camel case ("saveAs").
struct MenuEntry {
    std::string_view name;
    bool separator = false;
};

// The positions of the items to remove, last first, so that each removal leaves the positions
// still to come in place: every browser command, then every separator that would be left first,
// last or next to another.
std::vector<std::size_t> browser_menu_items(std::span<const MenuEntry> items);

}  // namespace wm
