#include "base/context_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace wm {
namespace {

// A menu written as names, "-" for a separator; the names left after the removals.
std::string trimmed_menu(std::vector<std::string> names) {
    std::vector<MenuEntry> entries;
    for (const auto& name : names) entries.push_back({name, name == "-"});
    for (const std::size_t at : browser_menu_items(entries)) names.erase(names.begin() + static_cast<long>(at));
    std::string text;
    for (const auto& name : names) text += (text.empty() ? "" : " ") + name;
    return text;
}

TEST(ContextMenu, BrowserCommandsGoAndNoSeparatorIsLeftAtAnEdgeOrDoubled) {
    const struct {
        std::vector<std::string> menu;
        std::string left;
    } cases[] = {
        {{"back", "forward", "reload", "-", "saveAs", "print", "share", "cast", "webCapture", "-", "viewPageSource",
          "inspectElement"},
         ""},
        {{"emoji", "-", "cut", "copy", "paste", "selectAll", "-", "inspectElement"},
         "emoji - cut copy paste selectAll"},
        {{"spellCheck", "-", "back", "-", "copyLinkLocation", "copyImage", "saveImageAs"},
         "spellCheck - copyLinkLocation copyImage saveImageAs"},
        {{"-", "copy", "-", "-", "paste", "-"}, "copy - paste"},
        {{"refresh", "copy", "castMediaToDevice", "screenshot", "-", "viewSource", "inspect"}, "copy"},  // other wordings
        {{"openLinkInNewWindow", "other"}, "openLinkInNewWindow other"},  // not known to be the browser's
    };
    for (const auto& c : cases) EXPECT_EQ(trimmed_menu(c.menu), c.left);
}

}  // namespace
}  // namespace wm
