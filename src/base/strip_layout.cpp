#include "base/strip_layout.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

namespace wm {
namespace {

// Logical pixels, scaled by the window's DPI: the least the strip and its buttons take, enough for
// the labels in the system's usual fonts; a larger font or text scale takes more.
constexpr std::int64_t kStripHeight = 32;
constexpr std::int64_t kMargin = 4;
constexpr std::int64_t kGap = 6;
constexpr std::int64_t kBackWidth = 120;
constexpr std::int64_t kCloseWidth = 56;
constexpr std::int64_t kTextIndent = 8;
// Around a label inside its button: the button's edge and focus rectangle.
constexpr std::int64_t kLabelPadding = 8;

}  // namespace

StripLayout strip_layout(std::int64_t client_width, std::int64_t client_height, double scale, bool away,
                         const StripText& text) noexcept {
    StripLayout layout;
    const auto px = [scale](std::int64_t logical) -> std::int64_t { return to_physical(logical, scale); };
    const std::int64_t button_height =
        std::max(px(kStripHeight - 2 * kMargin), text.line_height + 2 * px(kLabelPadding / 2));
    layout.strip_height = away ? button_height + 2 * px(kMargin) : 0;
    // A window lower than the strip (it never is, by its minimum size) leaves the page empty.
    layout.page = {0, layout.strip_height, client_width, std::max(client_height, layout.strip_height)};
    if (!away) return layout;

    const std::int64_t top = px(kMargin);
    const std::int64_t bottom = top + button_height;
    const std::int64_t close_width = std::max(px(kCloseWidth), text.close_label + 2 * px(kLabelPadding));
    const std::int64_t back_width = std::max(px(kBackWidth), text.back_label + 2 * px(kLabelPadding));
    layout.close = {client_width - px(kGap) - close_width, top, client_width - px(kGap), bottom};
    // In a window too narrow for both, Back gives up width rather than leave the window on the left.
    layout.back = {std::max(px(kGap), layout.close.left - px(kGap) - back_width), top, layout.close.left - px(kGap),
                   bottom};
    const std::int64_t text_left = px(kTextIndent);
    layout.text = {text_left, top, std::max(text_left, layout.back.left - px(kGap)), bottom};
    return layout;
}

namespace {

bool starts_character(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// The parts one after another, built in one string rather than through a temporary per part.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text += part;
    return text;
}

// The first index in [0, count) whose candidate fits, given that a later index never needs
// more room than an earlier one; `count` when none fits.
std::size_t first_fitting(std::size_t count, const std::function<bool(std::size_t)>& fits) {
    std::size_t low = 0;
    std::size_t high = count;
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (fits(middle)) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    return low;
}

}  // namespace

std::string elide_strip_text(std::string_view text, std::int64_t width,
                             const std::function<std::int64_t(std::string_view)>& measure) {
    constexpr std::string_view ellipsis = "\u2026";
    // No host is shown longer than this: a page can send its window to a host of any length, and
    // measuring it whole would freeze every window.
    constexpr std::size_t kHostLimit = 255;
    const std::size_t slashes = text.find("//");
    if (slashes == std::string_view::npos) return measure(text) <= width ? std::string(text) : std::string();
    // What stands before the host ("Not secure: ", the scheme) is never dropped.
    const std::string_view before = text.substr(0, slashes + 2);
    const std::string_view authority = text.substr(slashes + 2);
    const std::size_t colon = authority.rfind(':');
    const std::size_t host_end =
        colon != std::string_view::npos && authority.find(']', colon) == std::string_view::npos ? colon
                                                                                                : authority.size();
    const std::string_view port = authority.substr(host_end);
    std::string_view host = authority.substr(0, host_end);

    std::size_t characters = 0;
    std::size_t from = host.size();
    while (from > 0 && characters < kHostLimit)
        if (starts_character(host[--from])) ++characters;
    const bool cut = from > 0;
    if (!cut && measure(text) <= width) return std::string(text);
    host.remove_prefix(from);

    // The cut falls where a label starts, never before the second-level one; the first label of
    // a host cut to its limit is a part of one.
    const std::size_t last_dot = host.rfind('.');
    const std::size_t second_level =
        last_dot == std::string_view::npos || last_dot == 0 ? 0 : host.substr(0, last_dot).rfind('.') + 1;
    // A second-level label longer than the limit has lost its start already: the host's end is
    // all that is left to show.
    std::vector<std::size_t> starts;
    if (cut && second_level == 0) starts.push_back(0);
    for (std::size_t dot = host.find('.'); dot != std::string_view::npos && dot < second_level; dot = host.find('.', dot + 1))
        starts.push_back(dot + 1);
    const auto at_label = [&](std::size_t i) {
        return joined({before, ellipsis, host.substr(starts[i]), port});
    };
    if (const std::size_t i = first_fitting(starts.size(), [&](std::size_t i) { return measure(at_label(i)) <= width; });
        i < starts.size())
        return at_label(i);

    // Not even the last two labels fit: the second-level label keeps its start, so that the
    // text never reads as a bare ending such as "…wispermoth.app".
    const std::string lead = joined({before, second_level > 0 || cut ? ellipsis : std::string_view()});
    const std::string_view label =
        host.substr(second_level, last_dot == std::string_view::npos || last_dot < second_level ? std::string_view::npos
                                                                                               : last_dot - second_level);
    const std::string_view rest = host.substr(second_level + label.size());
    std::vector<std::size_t> ends;  // a character's end within the label, longest first
    for (std::size_t end = label.empty() ? 0 : label.size() - 1; end > 0; --end)
        if (starts_character(label[end])) ends.push_back(end);
    const auto with_start = [&](std::size_t i) {
        return joined({lead, label.substr(0, ends[i]), ellipsis, rest, port});
    };
    if (const std::size_t i = first_fitting(ends.size(), [&](std::size_t i) { return measure(with_start(i)) <= width; });
        i < ends.size())
        return with_start(i);
    const std::string bare = joined({before, ellipsis});
    return measure(bare) <= width ? bare : std::string();
}

}  // namespace wm
