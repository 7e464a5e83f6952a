#include "features/away_strip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <ostream>
#include <string_view>

namespace wm {

bool operator==(const PhysicalRect& a, const PhysicalRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const PhysicalRect& r, std::ostream* out) {
    *out << '{' << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom << '}';
}

namespace {

struct TextCase {
    std::string_view address;
    std::optional<std::string_view> text;
};

void PrintTo(const TextCase& c, std::ostream* out) {
    *out << '"' << c.address << '"';
}

class AwayStripText : public testing::TestWithParam<TextCase> {};

TEST_P(AwayStripText, NamesTheOriginOfEveryPageThatIsNotTheApplication) {
    const auto text = away_strip_text(GetParam().address);
    ASSERT_EQ(text.has_value(), GetParam().text.has_value()) << text.value_or("(none)");
    if (text) EXPECT_EQ(*text, *GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AwayStripText,
    testing::Values(TextCase{"https://wispermoth.app/chat?room=1", std::nullopt},  // the application: no strip
                    TextCase{"https://www.wispermoth.app/", std::nullopt},         // its subdomains too
                    TextCase{"https://id.example.org/login?next=/#top", "https://id.example.org"},
                    TextCase{"https://id.example.org?x#y", "https://id.example.org"},
                    TextCase{"http://id.example.org/", "Not secure: http://id.example.org"},
                    TextCase{"http://wispermoth.app/",
                             "Not secure: http://wispermoth.app"},  // the host over http is away
                    TextCase{"https://id.example.org:8443/x", "https://id.example.org:8443"},
                    TextCase{"https://wispermoth.app@evil.example/", "https://evil.example"},
                    TextCase{"https://evil.example\\wispermoth.app/", "https://evil.example"},
                    TextCase{"https://wispermoth.app.evil.example/", "https://wispermoth.app.evil.example"},
                    TextCase{"HTTPS://Id.Example.org/", "HTTPS://Id.Example.org"},  // as written; still https
                    TextCase{"file:///C:/page.html", "Not secure: file://"},
                    TextCase{"about:blank", "Not secure: about:"},
                    TextCase{"data:text/html,https://wispermoth.app/", "Not secure: data:"},  // no text from the page
                    TextCase{"not an address", "Not secure: "}));

struct LayoutCase {
    const char* name;
    std::int64_t width;
    std::int64_t height;
    double scale;
    bool away;
    StripLayout expected;
    StripText text{};  // the words as measured; nothing for the minimum sizes
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.name;
}

class AwayStripLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(AwayStripLayout, PutsThePageBelowTheStrip) {
    const LayoutCase& row = GetParam();
    const StripLayout layout = strip_layout(row.width, row.height, row.scale, row.away, row.text);
    EXPECT_EQ(layout.strip_height, row.expected.strip_height);
    EXPECT_EQ(layout.page, row.expected.page);
    if (!row.away) return;
    EXPECT_EQ(layout.text, row.expected.text);
    EXPECT_EQ(layout.back, row.expected.back);
    EXPECT_EQ(layout.close, row.expected.close);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AwayStripLayout,
    testing::Values(
        LayoutCase{"on_the_origin_the_page_has_everything", 1200, 800, 1.0, false, {0, {}, {}, {}, {0, 0, 1200, 800}}},
        LayoutCase{"away_32_logical_pixels",
                   1200,
                   800,
                   1.0,
                   true,
                   {32, {8, 4, 1006, 28}, {1012, 4, 1132, 28}, {1138, 4, 1194, 28}, {0, 32, 1200, 800}}},
        LayoutCase{"away_at_144_dpi_48_pixels",
                   1800,
                   1200,
                   1.5,
                   true,
                   {48, {12, 6, 1509, 42}, {1518, 6, 1698, 42}, {1707, 6, 1791, 42}, {0, 48, 1800, 1200}}},
        LayoutCase{"away_at_120_dpi_40_pixels",
                   1500,
                   1000,
                   1.25,
                   true,
                   {40, {10, 5, 1256, 35}, {1264, 5, 1414, 35}, {1422, 5, 1492, 35}, {0, 40, 1500, 1000}}},
        LayoutCase{"too_narrow_for_the_text_back_stays_inside",
                   180,
                   120,
                   1.0,
                   true,
                   {32, {8, 4, 8, 28}, {6, 4, 112, 28}, {118, 4, 174, 28}, {0, 32, 180, 120}}},
        LayoutCase{"lower_than_the_strip",
                   400,
                   20,
                   1.0,
                   true,
                   {32, {8, 4, 206, 28}, {212, 4, 332, 28}, {338, 4, 394, 28}, {0, 32, 400, 32}}},
        LayoutCase{"labels_wider_than_the_buttons_widen_them",
                   1200,
                   800,
                   1.0,
                   true,
                   {32, {8, 4, 930, 28}, {936, 4, 1116, 28}, {1122, 4, 1194, 28}, {0, 32, 1200, 800}},
                   {16, 164, 56}},
        LayoutCase{"a_taller_line_makes_the_strip_taller",
                   1200,
                   800,
                   1.0,
                   true,
                   {48, {8, 4, 1006, 44}, {1012, 4, 1132, 44}, {1138, 4, 1194, 44}, {0, 48, 1200, 800}},
                   {32, 60, 30}}),
    [](const auto& info) { return std::string(info.param.name); });

// The strip's text in the room the layout leaves it: the picker's 380 pixels, the 180-pixel
// minimum. Each character is 7 pixels wide, about the system's message font.
TEST(AwayStripElision, KeepsTheEndOfTheHostInView) {
    const auto measure = [](std::string_view text) {
        return 7 * std::ranges::count_if(text, [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    };
    const auto room = [](std::int64_t window_width) {
        const StripLayout layout = strip_layout(window_width, 300, 1.0, true);
        return layout.text.right - layout.text.left;
    };
    struct Case {
        std::int64_t window_width;
        std::string text;
        std::string shown;
    };
    std::string e7;
    std::string e32;
    for (int i = 0; i < 32; ++i) (i < 7 ? e7 : e32) += "\xC3\xA9";
    e32 += e7;
    const Case cases[] = {
        {380, "https://id.example.org", "https://id.example.org"},
        // 26 characters in the 182 pixels a 384-pixel window leaves: exactly as wide as the room.
        {384, "https://abc.id.example.org", "https://abc.id.example.org"},
        // The only end that fits after the scheme keeps exactly the last two labels.
        {380, "https://login.evil0000.example", "https://\u2026evil0000.example"},
        // The cut falls where a label starts, after the scheme.
        {380, "https://wispermoth.app." + std::string(30, 'a') + ".evil.example", "https://\u2026evil.example"},
        // "Not secure:" and the port stay.
        {500, "Not secure: http://a.b.login.evil.example:8080", "Not secure: http://\u2026evil.example:8080"},
        // Not even the last two labels fit: the second-level label keeps its start.
        {380, "https://account-verification-secure-signin-wispermoth.app", "https://account-veri\u2026.app"},
        {380, "https://wispermoth.app." + e32 + ".example", "https://\u2026" + e7 + "\u2026.example"},
        {180, "https://wispermoth.app.evil.example", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(elide_strip_text(c.text, room(c.window_width), measure), c.shown);
    }
}

// A host of any length costs a few measures of at most its last 255 characters.
TEST(AwayStripElision, MeasuresLittleOfAVeryLongHost) {
    std::size_t calls = 0;
    std::size_t longest = 0;
    const auto measure = [&](std::string_view text) {
        ++calls;
        longest = std::max(longest, text.size());
        return static_cast<std::int64_t>(7 * text.size());
    };
    const std::string shown = elide_strip_text("https://" + std::string(30000, 'x') + ".example", 1000000, measure);
    EXPECT_EQ(shown, "https://\u2026" + std::string(247, 'x') + ".example");
    EXPECT_LE(calls, 20u);
    EXPECT_LE(longest, 300u);
}

}  // namespace
}  // namespace wm
