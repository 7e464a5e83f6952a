#include "base/strip_layout.h"

#include <algorithm>
#include <optional>

namespace wm {
namespace {

// Logical pixels, scaled by the window's DPI. The labels are fixed, so fixed widths hold them in
// the system's fonts.
constexpr std::int64_t kStripHeight = 32;
constexpr std::int64_t kMargin = 4;
constexpr std::int64_t kGap = 6;
constexpr std::int64_t kBackWidth = 120;
constexpr std::int64_t kCloseWidth = 56;
constexpr std::int64_t kTextIndent = 8;

}  // namespace

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
    // In a window too narrow for both, Back gives up width rather than leave the window on the left.
    layout.back = {std::max(px(kGap), layout.close.left - px(kGap) - px(kBackWidth)), top, layout.close.left - px(kGap),
                   bottom};
    const std::int64_t text_left = px(kTextIndent);
    layout.text = {text_left, top, std::max(text_left, layout.back.left - px(kGap)), bottom};
    return layout;
}

std::string elide_strip_text(std::string_view text, std::int64_t width,
                             const std::function<std::int64_t(std::string_view)>& measure) {
    if (measure(text) <= width) return std::string(text);
    constexpr std::string_view ellipsis = "\u2026";
    const std::size_t slashes = text.find("//");
    const std::size_t host = slashes == std::string_view::npos ? 0 : slashes + 2;
    const std::string_view before = text.substr(0, host);
    const std::string_view authority = text.substr(host);
    // The last two labels of the host, and any port after it, stay whole.
    const std::size_t port = authority.rfind(':');
    const std::size_t host_end = port != std::string_view::npos && authority.find(']', port) == std::string_view::npos
                                     ? port
                                     : authority.size();
    const std::size_t last_dot = authority.substr(0, host_end).rfind('.');
    const std::size_t second_dot =
        last_dot == std::string_view::npos || last_dot == 0 ? std::string_view::npos
                                                            : authority.substr(0, last_dot).rfind('.');
    const std::size_t kept = second_dot == std::string_view::npos ? 0 : second_dot + 1;
    // The longest end of the host, from a character's first byte on, that fits after `lead`.
    const auto longest_end = [&](std::string_view lead, std::size_t first,
                                 std::size_t latest) -> std::optional<std::string> {
        for (std::size_t start = first; start <= latest && start < authority.size(); ++start) {
            if ((static_cast<unsigned char>(authority[start]) & 0xC0) == 0x80) continue;
            std::string candidate = std::string(lead) + std::string(ellipsis) + std::string(authority.substr(start));
            if (measure(candidate) <= width) return candidate;
        }
        return std::nullopt;
    };
    if (auto with_scheme = longest_end(before, 1, kept)) return *with_scheme;
    if (auto alone = longest_end({}, 0, authority.size())) return *alone;
    return {};
}

}  // namespace wm
