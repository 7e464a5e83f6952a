#include "notify/toast_xml.h"

namespace wm {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

struct Decoded {
    char32_t value = 0;
    std::size_t length = 1;  // bytes consumed: the sequence, or its maximal invalid part
    bool valid = false;
};

// One UTF-8 sequence at `at`, by the well-formed byte ranges: overlong forms, encoded surrogates
// and values beyond U+10FFFF are invalid. An invalid sequence ends at the first byte that cannot
// continue it, so that byte starts the next one.
Decoded decode_utf8(std::string_view text, std::size_t at) {
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

// XML 1.0's Char production.
bool is_xml_char(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

}  // namespace

std::string escape_toast_text(std::string_view utf8) {
    std::string escaped;
    escaped.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        const Decoded decoded = decode_utf8(utf8, at);
        if (!decoded.valid || !is_xml_char(decoded.value)) {
            escaped += kReplacement;
        } else {
            switch (decoded.value) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&apos;";
                break;
            case '\r':
                escaped += "&#13;";
                break;
            default:
                escaped += utf8.substr(at, decoded.length);
                break;
            }
        }
        at += decoded.length;
    }
    return escaped;
}

std::string build_toast_xml(const NotificationRequest& request) {
    std::string xml = "<toast duration=\"";
    xml += request.duration == ToastDuration::short_duration ? "short" : "long";
    xml += "\"><visual><binding template=\"ToastGeneric\"><text>";
    xml += escape_toast_text(request.title);
    xml += "</text><text>";
    xml += escape_toast_text(request.body);
    xml += "</text></binding></visual><audio silent=\"";
    xml += request.silent ? "true" : "false";
    xml += "\"/></toast>";
    return xml;
}

}  // namespace wm
