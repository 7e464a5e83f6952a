#pragma once
// The one UTF-8 and UTF-16 codec, and the reader of a page's message from the runtime's JSON
// form of it: unlike the runtime's plain-string accessor, the JSON form carries embedded NULs.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wm {

// One UTF-8 sequence of a text.
struct Utf8Sequence {
    char32_t value = 0;
    std::size_t length = 1;  // bytes consumed: the sequence, or its maximal invalid part
    bool valid = false;
};

// The sequence at `at`, by the well-formed byte ranges: overlong forms, encoded surrogates and
// values beyond U+10FFFF are invalid. An invalid sequence ends at the first byte that cannot
// continue it, so that byte starts the next one.
Utf8Sequence decode_utf8(std::string_view text, std::size_t at) noexcept;

// The UTF-8 text of a JSON string literal given as UTF-16. Nothing when the JSON is not one
// string (a page that posted an object or a number) or is malformed. Lone surrogates, escaped or
// not, become U+FFFD.
std::optional<std::string> decode_json_string(std::u16string_view json);

// UTF-16 to UTF-8, with every lone surrogate replaced by U+FFFD.
std::string utf16_to_utf8(std::u16string_view units);

// The decimal digits of `value` as UTF-16, without the C library's wide printf (std::to_wstring
// formats through it, which brings its floating-point formatting into the program).
std::wstring decimal_text(std::uint64_t value);

}  // namespace wm
