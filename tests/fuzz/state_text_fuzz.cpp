// The state texts never crash the parsers, every value read back formats to text that reads back
// as the same value, and on ASCII text each parser agrees with a second reading of its rule built
// on a stream's splitting into words and the C library's number conversions.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <regex>
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
    char* end = nullptr;
    const double zoom = std::strtod(word.c_str(), &end);
    const bool plain = word.find_first_not_of("0123456789.") == std::string::npos &&
                       end == word.c_str() + word.size() && word.size() - std::min(word.find('.'), word.size()) <= 10;
    return plain && zoom >= wm::kMinZoom && zoom <= wm::kMaxZoom ? zoom : 1.0;
}

std::optional<std::uint32_t> colour_reading(const std::vector<std::string>& words) {
    const std::string word = words.size() == 1 ? words[0] : "";
    if (word.size() != 7 || word[0] != '#' || word.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos)
        return std::nullopt;
    return static_cast<std::uint32_t>(std::strtoul(word.c_str() + 1, nullptr, 16));
}

// "rgb(", three numbers up to 255 (leading zeros allowed) with ", " between them, then ")".
std::optional<std::uint32_t> css_rgb_reading(const std::string& text) {
    static const std::regex pattern(R"(rgb\(0*(\d{1,3}), 0*(\d{1,3}), 0*(\d{1,3})\))");
    std::smatch channels;
    if (!std::regex_match(text, channels, pattern)) return std::nullopt;
    std::uint32_t rgb = 0;
    for (int i = 1; i <= 3; ++i) {
        if (std::stoul(channels[i]) > 255) return std::nullopt;
        rgb = rgb << 8 | static_cast<std::uint32_t>(std::stoul(channels[i]));
    }
    return rgb;
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
    // The pattern's backtracking recurses once a byte: short texts only.
    if (size <= 256) require(wm::parse_css_rgb(bytes) == css_rgb_reading(*text));

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
