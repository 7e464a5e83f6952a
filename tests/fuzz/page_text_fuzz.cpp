// The JSON form of any posted string decodes to that string's UTF-8 (lone surrogates as U+FFFD),
// however the runtime chose to escape it; and no JSON text at all crashes the decoder.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/text_codec.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// UTF-16 to UTF-8, read code point by code point.
std::string reference_utf8(const std::u16string& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        const int extra = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static constexpr unsigned char leads[] = {0x00, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(leads[extra] | (c >> (6 * extra)));
        for (int k = extra - 1; k >= 0; --k) out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}

// A JSON string literal of the units; `style` bits choose, unit by unit, whether to write a
// unit raw or as \u, as different runtimes might.
std::u16string json_of(const std::u16string& units, std::uint8_t style) {
    static constexpr char16_t hex[] = u"0123456789abcdef";
    std::u16string json = u"\"";
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        const bool must_escape = c < 0x20 || c == u'"' || c == u'\\';
        if (must_escape || (style >> (i % 8) & 1)) {
            json += u"\\u";
            for (int shift = 12; shift >= 0; shift -= 4) json += hex[(c >> shift) & 0xF];
        } else {
            json += c;
        }
    }
    return json + u"\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    std::u16string units;
    for (std::size_t i = 1; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);

    (void)wm::decode_json_string(units);  // any text: only must not crash
    require(wm::decode_json_string(json_of(units, data[0])) == reference_utf8(units));
    return 0;
}
