#include "features/away_strip.h"

#include <algorithm>

#include "links/origin.h"

namespace wm {
namespace {

// Logical pixels. The labels are fixed, so fixed widths hold them in the system's fonts.
constexpr std::int64_t kMargin = 4;
constexpr std::int64_t kGap = 6;
constexpr std::int64_t kBackWidth = 120;
constexpr std::int64_t kCloseWidth = 56;
constexpr std::int64_t kTextIndent = 8;

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

StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away) noexcept {
    StripLayout layout;
    const auto px = [scale](std::int64_t logical) -> std::int64_t { return to_physical(logical, scale); };
    layout.strip_height = away ? px(kStripHeight) : 0;
    // A window lower than the strip (it never is, by its minimum size) leaves the page empty.
    layout.page = {0, layout.strip_height, client_width, std::max(client_height, layout.strip_height)};
    if (!away) return layout;

    const std::int64_t top = px(kMargin);
    const std::int64_t bottom = px(kStripHeight - kMargin);
    layout.close = {client_width - px(kGap) - px(kCloseWidth), top, client_width - px(kGap), bottom};
    layout.back = {layout.close.left - px(kGap) - px(kBackWidth), top, layout.close.left - px(kGap), bottom};
    const std::int64_t text_left = px(kTextIndent);
    layout.text = {text_left, top, std::max(text_left, layout.back.left - px(kGap)), bottom};
    return layout;
}

}  // namespace wm
