#include "features/state_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "base/icon_words.h"
#include "base/text_codec.h"

namespace wm {
namespace {

// The shell writes a few bytes to each state file.
constexpr std::uint64_t kStateFileLimit = 64 * 1024;

// The Unicode White_Space property, not just ASCII blanks: a state file edited by hand may hold
// no-break or ideographic spaces.
bool is_white_space(char32_t c) noexcept {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

// The first pieces of a text between runs of white space, how many there are in all, and where
// the text without its outer white space lies.
struct Pieces {
    std::array<std::string_view, 6> first;
    std::size_t count = 0;
    std::string_view trimmed;
};

// Nothing when the text is not valid UTF-8, which the file reader treats as no text at all.
std::optional<Pieces> split_at_white_space(std::string_view text) noexcept {
    Pieces pieces;
    std::size_t piece_start = 0;
    std::size_t trimmed_start = 0;
    std::size_t trimmed_end = 0;
    bool in_piece = false;
    const auto close_piece = [&](std::size_t end) {
        if (pieces.count < pieces.first.size()) pieces.first[pieces.count] = text.substr(piece_start, end - piece_start);
        if (pieces.count == 0) trimmed_start = piece_start;
        ++pieces.count;
        trimmed_end = end;
    };
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Sequence code_point = decode_utf8(text, at);
        if (!code_point.valid) return std::nullopt;
        const bool blank = is_white_space(code_point.value);
        if (blank && in_piece) close_piece(at);
        if (!blank && !in_piece) piece_start = at;
        in_piece = !blank;
        at += code_point.length;
    }
    if (in_piece) close_piece(text.size());
    pieces.trimmed = text.substr(trimmed_start, trimmed_end - trimmed_start);
    return pieces;
}

std::optional<std::string_view> trimmed(const std::optional<std::string>& text) noexcept {
    if (!text) return std::nullopt;
    const auto pieces = split_at_white_space(*text);
    if (!pieces) return std::nullopt;
    return pieces->trimmed;
}

// Decimal digits after an optional sign; nothing on any other character, an empty number, or a
// value outside [-negative_limit, positive_limit].
std::optional<std::int64_t> parse_integer(std::string_view piece, bool minus_allowed, std::uint64_t positive_limit,
                                          std::uint64_t negative_limit) noexcept {
    bool negative = false;
    if (!piece.empty() && (piece[0] == '+' || (minus_allowed && piece[0] == '-'))) {
        negative = piece[0] == '-';
        piece.remove_prefix(1);
    }
    if (piece.empty()) return std::nullopt;
    const std::uint64_t limit = negative ? negative_limit : positive_limit;
    std::uint64_t magnitude = 0;
    for (const char c : piece) {
        if (c < '0' || c > '9') return std::nullopt;
        magnitude = magnitude * 10 + static_cast<std::uint64_t>(c - '0');
        if (magnitude > limit) return std::nullopt;
    }
    return negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
}

std::optional<std::int32_t> parse_int32(std::string_view piece) noexcept {
    const auto value = parse_integer(piece, true, 2147483647u, 2147483648u);
    if (!value) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::uint32_t> parse_uint32(std::string_view piece) noexcept {
    const auto value = parse_integer(piece, false, 4294967295u, 0);
    if (!value) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

}  // namespace

std::string format_window_geometry(const WindowGeometry& geometry) {
    std::string text = "pt";
    for (const std::int64_t value : {std::int64_t{geometry.x}, std::int64_t{geometry.y},
                                     std::int64_t{geometry.width}, std::int64_t{geometry.height}}) {
        text += ' ';
        text += std::to_string(value);
    }
    return text;
}

std::optional<WindowGeometry> parse_window_geometry(std::string_view text) noexcept {
    const auto pieces = split_at_white_space(text);
    if (!pieces || pieces->count < 5 || pieces->first[0] != "pt") return std::nullopt;
    const auto x = parse_int32(pieces->first[1]);
    const auto y = parse_int32(pieces->first[2]);
    const auto width = parse_uint32(pieces->first[3]);
    const auto height = parse_uint32(pieces->first[4]);
    if (!x || !y || !width || !height) return std::nullopt;
    return WindowGeometry{.x = *x, .y = *y, .width = *width, .height = *height};
}

std::string format_window_placement(const WindowPlacement& placement) {
    return format_window_geometry(placement.normal) + (placement.maximized ? " max" : "");
}

std::optional<WindowPlacement> parse_window_placement(std::string_view text) noexcept {
    const auto geometry = parse_window_geometry(text);
    if (!geometry) return std::nullopt;
    const auto pieces = split_at_white_space(text);
    return WindowPlacement{*geometry, pieces->count >= 6 && pieces->first[5] == "max"};
}

bool is_app_zoom(double zoom) noexcept { return zoom >= kMinZoom && zoom <= kMaxZoom; }

// The zoom is written in decimal through whole billionths: the standard library's floating-point
// conversions would more than half again the size of the executable.
constexpr std::int64_t kZoomScale = 1'000'000'000;

std::string format_zoom(double zoom) {
    const auto scaled = std::llround(zoom * static_cast<double>(kZoomScale));
    std::string text = std::to_string(scaled / kZoomScale);
    std::string fraction = std::to_string(kZoomScale + scaled % kZoomScale).substr(1);
    while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    if (!fraction.empty()) text += "." + fraction;
    return text;
}

double parse_zoom(const std::optional<std::string>& text) noexcept {
    const auto word = trimmed(text);
    if (!word || word->empty()) return 1.0;
    std::int64_t scaled = 0;
    std::int64_t unit = kZoomScale;
    bool point = false;
    bool digits = false;
    for (const char c : *word) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9' && (!point || unit > 1) && scaled <= 10 * kZoomScale) {
            if (point) unit /= 10;
            scaled = point ? scaled + (c - '0') * unit : scaled * 10 + (c - '0') * kZoomScale;
            digits = true;
        } else {
            return 1.0;
        }
    }
    const double zoom = static_cast<double>(scaled) / static_cast<double>(kZoomScale);
    return digits && is_app_zoom(zoom) ? zoom : 1.0;
}

std::string format_colour(std::uint32_t rgb) {
    std::string text = "#000000";
    char digits[6];
    const auto end = std::to_chars(digits, digits + sizeof digits, rgb & 0xFFFFFF, 16).ptr;
    std::copy(digits, end, text.end() - (end - digits));
    return text;
}

std::optional<std::uint32_t> parse_colour(const std::optional<std::string>& text) noexcept {
    const auto word = trimmed(text);
    if (!word || word->size() != 7 || (*word)[0] != '#') return std::nullopt;
    std::uint32_t rgb = 0;
    const auto [end, error] = std::from_chars(word->data() + 1, word->data() + 7, rgb, 16);
    if (error != std::errc() || end != word->data() + 7) return std::nullopt;
    return rgb;
}

std::optional<std::uint32_t> parse_css_rgb(std::string_view text) noexcept {
    constexpr std::string_view kStart = "rgb(";
    if (!text.starts_with(kStart) || !text.ends_with(')')) return std::nullopt;
    text = text.substr(kStart.size(), text.size() - kStart.size() - 1);
    std::uint32_t rgb = 0;
    for (int channel = 0; channel < 3; ++channel) {
        if (channel > 0) {
            if (!text.starts_with(", ")) return std::nullopt;
            text.remove_prefix(2);
        }
        unsigned value = 256;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || value > 255) return std::nullopt;
        text.remove_prefix(static_cast<std::size_t>(end - text.data()));
        rgb = rgb << 8 | value;
    }
    if (!text.empty()) return std::nullopt;
    return rgb;
}

bool parse_always_on_top(const std::optional<std::string>& text) noexcept { return trimmed(text) == "1"; }

std::string parse_icon_variant(const std::optional<std::string>& text) {
    const auto word = trimmed(text);
    for (const std::string_view known : kIconWords) {
        if (word == known) return std::string(known);
    }
    return {};
}

bool is_state_file(const FileFacts& facts) noexcept {
    return facts.plain_disk_file && facts.size <= kStateFileLimit;
}

}  // namespace wm
