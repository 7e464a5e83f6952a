// Message classification: the argument is always what follows the rule's prefix, and a path or
// badge message is classified by its rule as a second reading of it states it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "bridge/classify.h"
#include "features/leftovers.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool path_reading(std::string_view path) {
    if (path.size() < 1 || path[0] != '/') return false;
    if (path.size() >= 2 && path[1] == '/') return false;
    for (const char c : path) {
        if (c <= ' ' || c == 127 || static_cast<signed char>(c) < 0) return false;
    }
    return true;
}

// A badge count: nothing (a flag) or decimal digits without a leading zero, at most 2^53-1.
bool count_reading(std::string_view count) {
    if (count.size() > 1 && count[0] == '0') return false;
    for (const char c : count) {
        if (c < '0' || c > '9') return false;
    }
    constexpr std::string_view largest = "9007199254740991";
    return count.size() < largest.size() || (count.size() == largest.size() && count <= largest);
}

void check(std::string_view message) {
    using enum wm::MessageKind;
    const auto classified = wm::classify_message(message);
    const auto kind = classified.kind;
    const std::string_view argument = classified.argument;
    const auto after = [&](std::size_t prefix) { return message.size() >= prefix && argument == message.substr(prefix); };
    switch (kind) {
    case icon_default: require(message.empty()); break;
    case open_window: require(message.starts_with("window:") && after(7) && path_reading(argument)); break;
    case open_picker: require(message.starts_with("picker:") && after(7) && path_reading(argument)); break;
    case always_on_top: require((message == "top:0" || message == "top:1") && after(4)); break;
    case notify: require(message.starts_with("notify:") && after(7)); break;
    case saved: require(message.starts_with("saved:") && after(6)); break;
    case resize: require(message.starts_with("resize:") && after(7) && wm::resize_hit_test(argument) != 0); break;
    case icon_variant: require(argument == message); break;
    case badge: require(message.starts_with("badge:") && after(6) && count_reading(argument)); break;
    case autostart: require((message == "autostart:0" || message == "autostart:1") && after(10)); break;
    default: break;
    }
    // A valid path never falls through to "ignored" behind its prefix.
    if (message.starts_with("window:") && path_reading(message.substr(7))) require(kind == open_window);
    if (message.starts_with("badge:") && count_reading(message.substr(6))) require(kind == badge);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check(input);
    // Random bytes rarely spell a prefix: put each in front.
    for (const char* prefix : {"window:", "picker:", "top:", "notify:", "saved:", "resize:", "badge:"})
        check(std::string(prefix) + std::string(input));

    // Leftover names: whatever the writer, its temporary file names it back.
    if (size >= 4) {
        const std::uint32_t id = data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
        require(wm::temporary_file_owner(wm::temporary_file_name(L"window", id)) == id);
    }
    return 0;
}
