#pragma once
// The unread badge a page sets through the web's Badging API: what the "badge:" message asks
// for, and what the taskbar overlay shows for it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace wm {

enum class BadgeKind { none, flag, count };

struct Badge {
    BadgeKind kind = BadgeKind::none;
    std::uint64_t count = 0;  // 1 to 2^53-1 for a count, 0 otherwise
    bool operator==(const Badge&) const = default;
};

// The largest count a page can give: the Badging API's [EnforceRange] limit, 2^53-1.
inline constexpr std::uint64_t kMaxBadgeCount = 9'007'199'254'740'991;

// What follows "badge:": nothing for a flag, a count in plain decimal (no sign, no leading zero),
// "0" to clear. Nothing for any other text.
std::optional<Badge> parse_badge(std::string_view argument) noexcept;

// The text drawn on the disc: the count up to 9, "9+" above, nothing for a flag or no badge.
std::string badge_text(const Badge& badge);

// The overlay's accessible description: "3 unread", "Unread" for a flag, empty for no badge.
std::string badge_description(const Badge& badge);

// The overlay's side in pixels at the window's DPI (16 logical pixels, halves away from zero),
// and the height of its text.
struct BadgeLayout {
    int size = 16;
    int text_height = 11;
};
BadgeLayout badge_layout(std::uint32_t dpi, std::string_view text) noexcept;

// How much of the pixel at column x, row y of a `size` by `size` square the disc inscribed in it
// covers, 0 to 255, from 4 by 4 samples.
std::uint8_t disc_coverage(int size, int x, int y) noexcept;

}  // namespace wm
