// Checks the address a further window loads against a second reading of the path rule written
// as a walk over the bytes, and that no path leads off the application's origin.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bridge/classify.h"
#include "features/window_paths.h"
#include "links/origin.h"

namespace {

bool walk_reading(std::string_view path) {
    for (std::size_t i = 0; i < path.size(); ++i) {
        const auto byte = static_cast<unsigned char>(path[i]);
        if (i == 0 && byte != '/') return false;
        if (i == 1 && byte == '/') return false;
        if (byte < '!' || byte > '~') return false;
    }
    return !path.empty();
}

void check(std::string_view path) {
    const auto address = wm::page_url_for_path(path);
    if (address.has_value() != walk_reading(path)) std::abort();
    // The page message carrying the path opens a window exactly when the path gives an address.
    const bool opens = wm::classify_message("window:" + std::string(path)).kind == wm::MessageKind::open_window;
    if (opens != address.has_value()) std::abort();
    if (!address) return;
    if (*address != "https://wispermoth.app" + std::string(path)) std::abort();
    if (!wm::in_app_origin(*address)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    // Random bytes rarely start with a single "/": put one in front.
    check("/" + std::string(input));
    return 0;
}
