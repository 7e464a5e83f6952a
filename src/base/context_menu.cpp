#include "base/context_menu.h"

#include <algorithm>
#include <array>
#include <functional>
#include <optional>

namespace wm {
namespace {

// Navigation, the page as a document, and the developers' tools; DevTools stay on F12 and
// Ctrl+Shift+I. The runtime names an item by its English label in lower camel case and lists no
// names: each label that has been worded more than one way is here in each wording ("Refresh",
// "Inspect", "Cast media to device", "Screenshot" for "Web capture").
constexpr std::array<std::string_view, 16> kBrowserCommands = {
    "back",           "forward",    "reload",    "refresh",           "saveAs",     "print",
    "share",          "cast",       "castMedia", "castMediaToDevice", "webCapture", "screenshot",
    "viewPageSource", "viewSource", "inspect",   "inspectElement",
};

}  // namespace

std::vector<std::size_t> browser_menu_items(std::span<const MenuEntry> items) {
    std::vector<std::size_t> removed;
    bool after_item = false;  // a kept item came before, since the last kept separator
    std::optional<std::size_t> pending_separator;
    for (std::size_t at = 0; at < items.size(); ++at) {
        const MenuEntry& item = items[at];
        if (item.separator) {
            // Kept only once an item follows it.
            if (!after_item || pending_separator)
                removed.push_back(at);
            else
                pending_separator = at;
            continue;
        }
        if (std::ranges::find(kBrowserCommands, item.name) != kBrowserCommands.end()) {
            removed.push_back(at);
            continue;
        }
        after_item = true;
        pending_separator.reset();
    }
    if (pending_separator) removed.push_back(*pending_separator);
    std::ranges::sort(removed, std::greater{});
    return removed;
}

}  // namespace wm
