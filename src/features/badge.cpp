#include "features/badge.h"

#include <cmath>

namespace wm {

std::optional<Badge> parse_badge(std::string_view argument) noexcept {
    if (argument.empty()) return Badge{BadgeKind::flag, 0};
    // The page's own script writes the count as JavaScript writes a number: one way only.
    if (argument.size() > 16 || (argument.size() > 1 && argument.front() == '0')) return std::nullopt;
    std::uint64_t count = 0;
    for (const char c : argument) {
        if (c < '0' || c > '9') return std::nullopt;
        count = count * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (count > kMaxBadgeCount) return std::nullopt;
    if (count == 0) return Badge{};
    return Badge{BadgeKind::count, count};
}

std::string badge_text(const Badge& badge) {
    if (badge.kind != BadgeKind::count) return {};
    return badge.count > 9 ? "9+" : std::to_string(badge.count);
}

std::string badge_description(const Badge& badge) {
    switch (badge.kind) {
    case BadgeKind::none: return {};
    case BadgeKind::flag: return "Unread";
    case BadgeKind::count: return std::to_string(badge.count) + " unread";
    }
    return {};
}

BadgeLayout badge_layout(std::uint32_t dpi, std::string_view text) noexcept {
    const double scale = dpi / 96.0;
    // Two characters must fit inside the disc, one may fill more of it.
    const double text_logical = text.size() > 1 ? 8.0 : 12.0;
    return {static_cast<int>(std::lround(16 * scale)), static_cast<int>(std::lround(text_logical * scale))};
}

std::uint8_t disc_coverage(int size, int x, int y) noexcept {
    const double radius = size / 2.0;
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            const double dx = x + (sx + 0.5) / 4 - radius;
            const double dy = y + (sy + 0.5) / 4 - radius;
            if (dx * dx + dy * dy <= radius * radius) ++inside;
        }
    }
    return static_cast<std::uint8_t>((inside * 255 + 8) / 16);
}

}  // namespace wm
