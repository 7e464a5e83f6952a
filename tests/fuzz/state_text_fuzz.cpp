// The state texts never crash the parsers, every value read back formats to text that reads back
// as the same value, and on ASCII text each parser agrees with a second reading of its rule built
// on a stream's splitting into words and the C library's number conversions.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "features/state_text.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool is_icon_word(std::string_view word) {
    return word.empty() || word == "bubble" || word == "wordmark" || word == "peek" || word == "says";
}

// One word of digits with at most one point and at most nine digits after it.
double zoom_reading(const std::vector<std::string>& words) {
    const std::string word = words.size() == 1 ? words[0] : "";
    const auto point = word.find('.');
    const bool plain = word.find_first_not_of("0123456789.") == std::string::npos && word.rfind('.') == point &&
                       word.find_first_of("0123456789") != std::string::npos &&
                       (point == std::string::npos || word.size() - point <= 10);
    const double zoom = plain ? std::strtod(word.c_str(), nullptr) : 0.0;
    return zoom >= wm::kMinZoom && zoom <= wm::kMaxZoom ? zoom : 1.0;
}

std::optional<std::uint32_t> colour_reading(const std::vector<std::string>& words) {
    if (words.size() != 1 || words[0].size() != 7 || words[0][0] != '#' ||
        words[0].find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::strtoul(words[0].c_str() + 1, nullptr, 16));
}

// "rgb(", three numbers up to 255 (leading zeros allowed) with ", " between them, then ")".
std::optional<std::uint32_t> css_rgb_reading(std::string_view text) {
    if (!text.starts_with("rgb(")) return std::nullopt;
    std::size_t at = 4;
    std::uint32_t rgb = 0;
    for (const std::string_view after : {", ", ", ", ")"}) {
        const std::size_t end = std::min(text.find_first_not_of("0123456789", at), text.size());
        if (end == at || text.substr(end, after.size()) != after) return std::nullopt;
        const std::size_t first = std::min(text.find_first_not_of('0', at), end - 1);
        const auto value = end - first > 3 ? 256 : std::stoul(std::string(text.substr(first, end - first)));
        if (value > 255) return std::nullopt;
        rgb = rgb << 8 | static_cast<std::uint32_t>(value);
        at = end + after.size();
    }
    return at == text.size() ? std::optional(rgb) : std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The parser reads the fuzzer's own buffer, which ends exactly at `size`, so any read past
    // the end trips AddressSanitizer; a std::string copy would end in a terminating zero.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> text{std::string(bytes)};
    // In ASCII the state files' white space is exactly where a stream splits words.
    const bool ascii = std::all_of(bytes.begin(), bytes.end(), [](unsigned char c) { return c < 0x80; });
    std::istringstream stream(*text);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);

    const auto geometry = wm::parse_window_geometry(bytes);
    if (geometry) require(wm::parse_window_geometry(wm::format_window_geometry(*geometry)) == geometry);
    const auto placement = wm::parse_window_placement(bytes);
    require(placement.has_value() == geometry.has_value() && (!placement || placement->normal == *geometry));
    require(!ascii || !placement || placement->maximized == (words.size() >= 6 && words[5] == "max"));
    if (placement) require(wm::parse_window_placement(wm::format_window_placement(*placement)) == placement);

    // The same bytes as a geometry, so that extreme values get formatted too.
    if (size >= 16) {
        wm::WindowGeometry geometry;
        std::memcpy(&geometry.x, data, 4);
        std::memcpy(&geometry.y, data + 4, 4);
        std::memcpy(&geometry.width, data + 8, 4);
        std::memcpy(&geometry.height, data + 12, 4);
        require(wm::parse_window_geometry(wm::format_window_geometry(geometry)) == geometry);
    }

    const double zoom = wm::parse_zoom(text);
    require(!ascii || zoom == zoom_reading(words));
    require(wm::is_app_zoom(zoom) && wm::parse_zoom(wm::format_zoom(zoom)) == zoom);
    const auto colour = wm::parse_colour(text);
    require(!ascii || colour == colour_reading(words));
    require(!colour || wm::parse_colour(wm::format_colour(*colour)) == colour);
    require(wm::parse_css_rgb(bytes) == css_rgb_reading(bytes));

    const bool on = wm::parse_always_on_top(text);
    require(!on || bytes.find('1') != std::string_view::npos);
    require(!ascii || on == (words == std::vector<std::string>{"1"}));
    require(!wm::parse_always_on_top(std::nullopt));

    const std::string word = wm::parse_icon_variant(text);
    require(is_icon_word(word));
    require(word.empty() || bytes.find(word) != std::string_view::npos);
    require(!ascii || word == (words.size() == 1 && is_icon_word(words[0]) ? words[0] : ""));
    return 0;
}
