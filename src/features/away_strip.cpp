#include "features/away_strip.h"

#include <algorithm>

#include "links/origin.h"

namespace wm {
namespace {

bool is_scheme_char(char c, bool first) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (first) return letter;
    return letter || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool is_https(std::string_view scheme) {
    constexpr std::string_view https = "https";
    return std::ranges::equal(scheme, https, [](char a, char b) { return (a | 0x20) == b; });
}

// Scheme and authority without user information, read as `in_app_origin` reads them; only the
// scheme for an address without an authority (about:, data:).
std::string_view scheme_of(std::string_view address) {
    const auto colon = address.find(':');
    if (colon == std::string_view::npos || colon == 0) return {};
    for (std::size_t i = 0; i < colon; ++i)
        if (!is_scheme_char(address[i], i == 0)) return {};
    return address.substr(0, colon);
}

}  // namespace

std::optional<std::string> away_strip_text(std::string_view address) {
    if (in_app_origin(address)) return std::nullopt;
    const std::string_view scheme = scheme_of(address);
    std::string origin;
    if (!scheme.empty()) {
        origin = std::string(scheme) + ":";
        const std::string_view rest = address.substr(scheme.size() + 1);
        if (rest.starts_with("//")) {
            std::string_view authority = rest.substr(2, rest.find_first_of("/\\?#", 2) - 2);
            // "https://wispermoth.app@evil.example/" goes to evil.example: show that, not the
            // user information made to look like the application.
            if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
            origin += "//";
            origin += authority;
        }
    }
    return is_https(scheme) ? origin : "Not secure: " + origin;
}

}  // namespace wm
