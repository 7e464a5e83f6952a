// Every text, escaped for a single-quoted script string, reads back as itself, and the script
// holds nothing that would end the literal or cut the script short.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/script_calls.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// A reader of single-quoted script strings for the escapes the shell writes, as a script engine
// reads them; nothing for anything else.
std::optional<std::string> read_literal(std::string_view escaped) {
    std::string text;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const char c = escaped[i];
        if (c == '\'' || c == '\n' || c == '\r' || c == '\0') return std::nullopt;  // would end or cut it
        if (escaped.substr(i, 3) == "\xE2\x80\xA8" || escaped.substr(i, 3) == "\xE2\x80\xA9") return std::nullopt;
        if (c != '\\') {
            text += c;
            continue;
        }
        const std::string_view rest = escaped.substr(i + 1);
        if (rest.starts_with("\\") || rest.starts_with("'")) {
            text += rest[0];
            i += 1;
        } else if (rest.starts_with("n")) {
            text += '\n';
            i += 1;
        } else if (rest.starts_with("r")) {
            text += '\r';
            i += 1;
        } else if (rest.starts_with("x00")) {
            text += '\0';
            i += 3;
        } else if (rest.starts_with("u2028")) {
            text += "\xE2\x80\xA8";
            i += 5;
        } else if (rest.starts_with("u2029")) {
            text += "\xE2\x80\xA9";
            i += 5;
        } else {
            return std::nullopt;
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    require(read_literal(wm::escape_single_quoted(text)) == text);
    const std::string script = wm::saved_script(text);
    require(script.starts_with("shellSaved('") && script.ends_with("')"));
    require(read_literal(std::string_view(script).substr(12, script.size() - 14)) == text);
    return 0;
}
