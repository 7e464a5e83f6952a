// The state texts never crash the parsers, and every geometry read back from text formats to
// text that reads back as the same geometry.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "features/state_text.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool is_icon_word(std::string_view word) {
    return word.empty() || word == "bubble" || word == "wordmark" || word == "peek" || word == "says";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The parser reads the fuzzer's own buffer, which ends exactly at `size`, so any read past
    // the end trips AddressSanitizer; a std::string copy would end in a terminating zero.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<std::string> text{std::string(bytes)};

    if (const auto geometry = wm::parse_window_geometry(bytes))
        require(wm::parse_window_geometry(wm::format_window_geometry(*geometry)) == geometry);

    // The same bytes as a geometry, so that extreme values get formatted too.
    if (size >= 16) {
        wm::WindowGeometry geometry;
        std::memcpy(&geometry.x, data, 4);
        std::memcpy(&geometry.y, data + 4, 4);
        std::memcpy(&geometry.width, data + 8, 4);
        std::memcpy(&geometry.height, data + 12, 4);
        require(wm::parse_window_geometry(wm::format_window_geometry(geometry)) == geometry);
    }

    const bool on = wm::parse_always_on_top(text);
    require(!on || bytes.find('1') != std::string_view::npos);
    require(!wm::parse_always_on_top(std::nullopt));

    const std::string word = wm::parse_icon_variant(text);
    require(is_icon_word(word));
    require(word.empty() || bytes.find(word) != std::string_view::npos);
    return 0;
}
