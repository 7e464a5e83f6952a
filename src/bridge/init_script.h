#pragma once
// The scripts every document of a shell window runs before the page's own scripts.

#include <string>
#include <string_view>

namespace wm {

// Defines the frozen global `ipc` whose postMessage reaches the shell.
inline constexpr std::string_view kBridgeScript =
    "Object.defineProperty(window, 'ipc', { value: Object.freeze({ postMessage: s=> "
    "window.chrome.webview.postMessage(s) }) });";

// The `window.shellInfo` object describing the shell as it was at start-up. The icon word is
// one of the five variant words, so it needs no escaping.
std::string build_init_script(bool always_on_top, std::string_view icon_variant);

}  // namespace wm
