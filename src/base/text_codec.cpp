#include "base/text_codec.h"

namespace wm {
namespace {

bool is_json_space(char16_t c) noexcept { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

std::optional<char16_t> hex_unit(std::u16string_view digits) noexcept {
    if (digits.size() != 4) return std::nullopt;
    char16_t value = 0;
    for (const char16_t d : digits) {
        unsigned digit = 0;
        if (d >= u'0' && d <= u'9') {
            digit = d - u'0';
        } else if (d >= u'a' && d <= u'f') {
            digit = d - u'a' + 10;
        } else if (d >= u'A' && d <= u'F') {
            digit = d - u'A' + 10;
        } else {
            return std::nullopt;
        }
        value = static_cast<char16_t>(value << 4 | digit);
    }
    return value;
}

void append_utf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

}  // namespace

Utf8Sequence decode_utf8(std::string_view text, std::size_t at) noexcept {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t length = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {};
    }
    for (std::size_t i = 1; i < length; ++i) {
        if (at + i >= text.size() || byte(at + i) < low || byte(at + i) > high) return {0, i, false};
        value = (value << 6) | (byte(at + i) & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return {value, length, true};
}

std::string utf16_to_utf8(std::u16string_view units) {
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t c = units[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF) {
            append_utf8(out, 0x10000 + ((char32_t{c} - 0xD800) << 10) + (char32_t{units[i + 1]} - 0xDC00));
            ++i;
        } else {
            append_utf8(out, high || low ? char32_t{0xFFFD} : char32_t{c});
        }
    }
    return out;
}

std::optional<std::string> decode_json_string(std::u16string_view json) {
    while (!json.empty() && is_json_space(json.front())) json.remove_prefix(1);
    while (!json.empty() && is_json_space(json.back())) json.remove_suffix(1);
    if (json.size() < 2 || json.front() != u'"' || json.back() != u'"') return std::nullopt;
    json = json.substr(1, json.size() - 2);

    // Escapes are undone first, into UTF-16, so that a pair written as two \u escapes (or one
    // escaped, one not) still joins into one character.
    std::u16string units;
    units.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char16_t c = json[i];
        if (c == u'"') return std::nullopt;  // the literal ended early: more than one value
        if (c != u'\\') {
            units += c;
            continue;
        }
        if (++i == json.size()) return std::nullopt;
        switch (json[i]) {
        case u'"': units += u'"'; break;
        case u'\\': units += u'\\'; break;
        case u'/': units += u'/'; break;
        case u'b': units += u'\b'; break;
        case u'f': units += u'\f'; break;
        case u'n': units += u'\n'; break;
        case u'r': units += u'\r'; break;
        case u't': units += u'\t'; break;
        case u'u': {
            const auto unit = hex_unit(json.substr(i + 1, 4));
            if (!unit) return std::nullopt;
            units += *unit;
            i += 4;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return utf16_to_utf8(units);
}

std::wstring decimal_text(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return std::wstring(digits.begin(), digits.end());
}

}  // namespace wm
