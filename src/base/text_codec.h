#pragma once
// The text of a page's message, read from the runtime's JSON form of it: unlike the runtime's
// plain-string accessor, the JSON form carries embedded NULs.

#include <optional>
#include <string>
#include <string_view>

namespace wm {

// The UTF-8 text of a JSON string literal given as UTF-16. Nothing when the JSON is not one
// string (a page that posted an object or a number) or is malformed. Lone surrogates, escaped or
// not, become U+FFFD.
std::optional<std::string> decode_json_string(std::u16string_view json);

// UTF-16 to UTF-8, with every lone surrogate replaced by U+FFFD.
std::string utf16_to_utf8(std::u16string_view units);

}  // namespace wm
