#include "features/snap_area.h"

#include <array>
#include <charconv>

namespace wm {
namespace {

constexpr std::int32_t kLimit = 100000;

// The whole token as a decimal integer (an optional minus, then digits) within [low, kLimit].
std::optional<std::int32_t> parse_number(std::string_view token, std::int32_t low) noexcept {
    if (token.empty()) return std::nullopt;
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
    if (error != std::errc() || end != token.data() + token.size()) return std::nullopt;
    if (value < low || value > kLimit) return std::nullopt;
    return value;
}

}  // namespace

std::optional<CssRect> parse_snap_rect(std::string_view text) noexcept {
    std::array<std::int32_t, 4> values{};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const bool last = i + 1 == values.size();
        const std::size_t space = text.find(' ');
        if (last != (space == std::string_view::npos)) return std::nullopt;
        const auto number = parse_number(text.substr(0, space), i < 2 ? -kLimit : 0);
        if (!number) return std::nullopt;
        values[i] = *number;
        if (!last) text.remove_prefix(space + 1);
    }
    return CssRect{values[0], values[1], values[2], values[3]};
}

SnapStep step_snap_pointer(SnapPointer now, SnapInput input) noexcept {
    using enum SnapPointer;
    switch (input) {
    case SnapInput::entered:
        if (now == outside) return {hover, true, false};
        break;
    case SnapInput::pressed:
        if (now != pressed) return {pressed, true, false};
        break;
    case SnapInput::released:
        // Only a press that began inside makes a click, as with the system's own buttons.
        if (now == pressed) return {hover, true, true};
        break;
    case SnapInput::left:
        if (now != outside) return {outside, true, false};
        break;
    }
    return {now, false, false};
}

std::string_view snap_state_word(SnapPointer pointer) noexcept {
    switch (pointer) {
    case SnapPointer::hover:
        return "hover";
    case SnapPointer::pressed:
        return "press";
    case SnapPointer::outside:
        break;
    }
    return "";
}

}  // namespace wm
