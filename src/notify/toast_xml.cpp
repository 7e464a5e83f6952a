#include "notify/toast_xml.h"

#include "base/text_codec.h"

namespace wm {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

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
        const Utf8Sequence decoded = decode_utf8(utf8, at);
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
    std::string xml = "<toast ";
    if (!request.tag.empty()) {
        xml += "launch=\"";
        xml += escape_toast_text(launch_arguments(request.tag));
        xml += "\" ";
    }
    xml += "duration=\"";
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
