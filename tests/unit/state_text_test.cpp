#include "features/state_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace wm {
namespace {

struct WindowCase {
    std::string_view text;
    std::optional<WindowGeometry> geometry;
};

void PrintTo(const WindowCase& c, std::ostream* out) { *out << testing::PrintToString(std::string(c.text)); }

class WindowFileTest : public testing::TestWithParam<WindowCase> {};

TEST_P(WindowFileTest, Parses) { EXPECT_EQ(parse_window_geometry(GetParam().text), GetParam().geometry); }

INSTANTIATE_TEST_SUITE_P(Accepted, WindowFileTest, testing::Values(
    WindowCase{"pt 10 20 300 400", WindowGeometry{10, 20, 300, 400}},
    WindowCase{"  pt\t-1920   0 800  600 extra", WindowGeometry{-1920, 0, 800, 600}},
    WindowCase{"pt +10 +10 +800 +600", WindowGeometry{10, 10, 800, 600}},
    WindowCase{"pt -0 +0 0 0", WindowGeometry{0, 0, 0, 0}},
    WindowCase{"pt 007 -007 0800 000600", WindowGeometry{7, -7, 800, 600}},
    WindowCase{"pt 2147483647 -2147483648 4294967295 4294967295",
               WindowGeometry{2147483647, -2147483647 - 1, 4294967295u, 4294967295u}},
    WindowCase{"pt 1 2 3 4 5 6 x \xe6\x97\xa5", WindowGeometry{1, 2, 3, 4}},
    WindowCase{"\r\npt\r\n1\v2\f3\n4\r\n", WindowGeometry{1, 2, 3, 4}},
    // No-break space, next line, ogham mark, en quad, line and paragraph separators, narrow
    // no-break, medium mathematical and ideographic spaces.
    WindowCase{"\xc2\xa0pt\xc2\x85" "1\xe1\x9a\x80" "2\xe2\x80\x80" "3\xe2\x80\xa8\xe2\x80\xa9" "4\xe2\x80\xaf",
               WindowGeometry{1, 2, 3, 4}},
    WindowCase{"pt\xe2\x81\x9f" "1\xe3\x80\x80" "2\xe2\x80\x8a" "3 4", WindowGeometry{1, 2, 3, 4}}));

INSTANTIATE_TEST_SUITE_P(Rejected, WindowFileTest, testing::Values(
    WindowCase{"", std::nullopt},
    WindowCase{" \t\n", std::nullopt},
    WindowCase{"pt 10 20 300", std::nullopt},
    WindowCase{"px 10 20 300 400", std::nullopt},
    WindowCase{"PT 10 20 300 400", std::nullopt},
    WindowCase{"ptx 10 20 300 400", std::nullopt},
    WindowCase{"10 20 300 400", std::nullopt},
    WindowCase{"pt 10 20 -5 400", std::nullopt},
    WindowCase{"pt 10 20 300 -0", std::nullopt},
    WindowCase{"pt 2147483648 0 1 1", std::nullopt},
    WindowCase{"pt 0 -2147483649 1 1", std::nullopt},
    WindowCase{"pt 0 0 4294967296 1", std::nullopt},
    WindowCase{"pt 0 0 1 99999999999999999999999", std::nullopt},
    WindowCase{"pt + 0 1 1", std::nullopt},
    WindowCase{"pt 0 - 1 1", std::nullopt},
    WindowCase{"pt 0 0 + 1", std::nullopt},
    WindowCase{"pt +-1 0 1 1", std::nullopt},
    WindowCase{"pt --1 0 1 1", std::nullopt},
    WindowCase{"pt 1- 0 1 1", std::nullopt},
    WindowCase{"pt 1.0 0 1 1", std::nullopt},
    WindowCase{"pt 1e3 0 1 1", std::nullopt},
    WindowCase{"pt 0x10 0 1 1", std::nullopt},
    WindowCase{"pt 1,2 0 1 1", std::nullopt},
    WindowCase{"pt,1,2,3,4", std::nullopt},
    WindowCase{"pt 1 2 3 \xd9\xa4", std::nullopt},            // Arabic-Indic digit four
    WindowCase{"pt 1 2\xe2\x80\x8b 3 4", std::nullopt},       // zero-width space is no white space
    WindowCase{"\xef\xbb\xbfpt 1 2 3 4", std::nullopt},       // nor is a byte order mark
    WindowCase{std::string_view("pt 1 2 3\0 4", 11), std::nullopt},
    // Text that is not UTF-8 is no text, wherever the bad bytes are.
    WindowCase{"pt 1 2 3 4 \xff", std::nullopt},
    WindowCase{"pt 1 2 3 4 \xc3", std::nullopt},
    WindowCase{"pt\xc0\xa0" "1 2 3 4", std::nullopt},         // overlong space
    WindowCase{"pt 1 2 3 4 \xed\xa0\x80", std::nullopt},      // surrogate
    WindowCase{"pt 1 2 3 4 \xf4\x90\x80\x80", std::nullopt},  // past U+10FFFF
    WindowCase{"pt 1 2 3 4 \xe2\x80", std::nullopt}));

// Cut-off sequences at the very end of a buffer without a terminating zero, so that reading past
// the end trips AddressSanitizer.
TEST(StateText, SequenceCutOffAtTheEndOfTheBuffer) {
    for (const std::string_view text : {"pt 1 2 3 4 \xf0\x9f\x98", "pt 1 2 3 4 \xe3\x80", "pt 1 2 3 4\xc2"}) {
        const std::vector<char> buffer(text.begin(), text.end());
        EXPECT_EQ(parse_window_geometry(std::string_view(buffer.data(), buffer.size())), std::nullopt);
    }
}

TEST(StateText, WindowGeometryFormatsAndReadsBack) {
    for (const WindowGeometry& geometry : {WindowGeometry{200, 100, 1000, 600}, WindowGeometry{-1920, -5, 1, 2},
                                           WindowGeometry{-2147483647 - 1, 2147483647, 4294967295u, 0}}) {
        EXPECT_EQ(parse_window_geometry(format_window_geometry(geometry)), geometry);
    }
    EXPECT_EQ(format_window_geometry({-1920, 0, 800, 600}), "pt -1920 0 800 600");
    EXPECT_EQ(format_window_geometry({-2147483647 - 1, 2147483647, 4294967295u, 0}),
              "pt -2147483648 2147483647 4294967295 0");
}

TEST(StateText, PlacementIsMaximisedOnlyByASixthPieceMax) {
    struct Case {
        std::string_view text;
        std::optional<WindowPlacement> placement;
    };
    const Case cases[] = {
        {"pt 10 20 300 400", WindowPlacement{{10, 20, 300, 400}, false}},  // an older build's file
        {"pt 10 20 300 400 max", WindowPlacement{{10, 20, 300, 400}, true}},
        {" pt 10 20 300 400\tmax extra\n", WindowPlacement{{10, 20, 300, 400}, true}},
        {"pt 10 20 300 400 MAX", WindowPlacement{{10, 20, 300, 400}, false}},
        {"pt 10 20 300 max", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_window_placement(c.text), c.placement) << c.text;
    EXPECT_EQ(format_window_placement({{-1920, 0, 800, 600}, true}), "pt -1920 0 800 600 max");
    EXPECT_EQ(format_window_placement({{-1920, 0, 800, 600}, false}), "pt -1920 0 800 600");
}

TEST(StateText, ZoomIsAFactorWithinTheApplicationsRange) {
    const struct {
        std::optional<std::string> text;
        double zoom;
    } cases[] = {
        {"1.25", 1.25}, {" 0.25\n", 0.25}, {"5", 5.0}, {"0.2", 1.0}, {"5.01", 1.0},
        {"1.5x", 1.0},  {"", 1.0},          {std::nullopt, 1.0},       {"nan", 1.0},
        {"10000000000", 1.0}, {"2.0000000001", 1.0},
    };
    for (const auto& c : cases) EXPECT_EQ(parse_zoom(c.text), c.zoom) << c.text.value_or("(none)");
    EXPECT_EQ(parse_zoom(format_zoom(1.1)), 1.1);
}

TEST(StateText, ColoursAreHexInTheFileAndOpaqueRgbFromThePage) {
    EXPECT_EQ(format_colour(0x20212a), "#20212a");
    EXPECT_EQ(format_colour(0x00000f), "#00000f");
    EXPECT_EQ(parse_colour(std::string("#20212A\n")), 0x20212au);
    for (const char* bad : {"20212a", "#20212", "#20212g", "#20212a0"}) EXPECT_EQ(parse_colour(std::string(bad)), std::nullopt);
    EXPECT_EQ(parse_css_rgb("rgb(32, 33, 42)"), 0x20212au);
    for (const char* other : {"rgba(32, 33, 42, 0.5)", "rgb(32, 33)", "rgb(256, 0, 0)", "rgb(1,2,3)", "rgb(1, 2, 3) ",
                              "rgb(1, 2, 3, 4)"})
        EXPECT_EQ(parse_css_rgb(other), std::nullopt) << other;
}

TEST(StateText, AlwaysOnTopOnlyForTrimmedOne) {
    struct Case {
        std::optional<std::string> text;
        bool on;
    };
    for (const auto& [text, on] : {
             Case{"1", true},
             Case{"1\r\n", true},
             Case{" \t1\xe3\x80\x80", true},
             Case{std::nullopt, false},
             Case{"", false},
             Case{"0", false},
             Case{"yes", false},
             Case{"true", false},
             Case{"11", false},
             Case{"1 1", false},
             Case{"01", false},
             Case{"1\xff", false},
         }) {
        EXPECT_EQ(parse_always_on_top(text), on) << testing::PrintToString(text);
    }
}

TEST(StateText, IconVariantIsATrimmedKnownWord) {
    struct Case {
        std::optional<std::string> text;
        std::string_view word;
    };
    for (const auto& [text, word] : {
             Case{"bubble", "bubble"},
             Case{"wordmark", "wordmark"},
             Case{"peek\n", "peek"},
             Case{"\xc2\xa0 says \r\n", "says"},
             Case{"", ""},
             Case{"  ", ""},
             Case{std::nullopt, ""},
             Case{"Bubble", ""},
             Case{"bubbles", ""},
             Case{"pe ek", ""},
             Case{"icon:bubble", ""},
             Case{"peek\xff", ""},
         }) {
        EXPECT_EQ(parse_icon_variant(text), word) << testing::PrintToString(text);
    }
}

TEST(StateText, OnlyASmallPlainFileIsRead) {
    struct Case {
        const char* label;
        FileFacts facts;
        bool read;
    };
    const Case cases[] = {
        {"empty", {true, 0}, true},
        {"at the limit", {true, 64 * 1024}, true},
        {"one byte over", {true, 64 * 1024 + 1}, false},
        {"3 GiB, past a 32-bit size", {true, 3ull << 30}, false},
        {"4 GiB and one byte, small in its low 32 bits", {true, (4ull << 30) + 1}, false},
        {"a pipe or a device", {false, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(is_state_file(c.facts), c.read) << c.label;
}

}  // namespace
}  // namespace wm
