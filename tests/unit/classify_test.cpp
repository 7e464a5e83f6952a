#include "bridge/classify.h"

#include <gtest/gtest.h>

#include <string_view>

namespace wm {
namespace {

using enum MessageKind;

struct ClassifyCase {
    std::string_view message;
    MessageKind kind;
    std::string_view argument;
};

void PrintTo(const ClassifyCase& c, std::ostream* out) {
    *out << testing::PrintToString(std::string(c.message));
}

class ClassifyTest : public testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyTest, FirstMatchingRuleDecides) {
    const ClassifiedMessage result = classify_message(GetParam().message);
    EXPECT_EQ(result.kind, GetParam().kind);
    EXPECT_EQ(result.argument, GetParam().argument);
}

// One block per rule, in table order.
INSTANTIATE_TEST_SUITE_P(Rules, ClassifyTest, testing::Values(
    ClassifyCase{"", icon_default, ""},

    ClassifyCase{"window:/", open_window, "/"},
    ClassifyCase{"window:/chat", open_window, "/chat"},
    ClassifyCase{"window:/room?id=7#x%20y", open_window, "/room?id=7#x%20y"},
    ClassifyCase{"window:/!~", open_window, "/!~"},

    ClassifyCase{"picker:/", open_picker, "/"},
    ClassifyCase{"picker:/pick?mode=1", open_picker, "/pick?mode=1"},

    ClassifyCase{"top:0", always_on_top, "0"},
    ClassifyCase{"top:1", always_on_top, "1"},

    ClassifyCase{"notify:", notify, ""},
    ClassifyCase{"notify:Hello\nworld", notify, "Hello\nworld"},
    ClassifyCase{"notify:window:/x", notify, "window:/x"},
    ClassifyCase{"notify-tag:chan:x_1\nT\nB", notify_tagged, "chan:x_1\nT\nB"},
    ClassifyCase{"notify-tag:a b\nT", ignored, ""},

    ClassifyCase{"bubble", icon_variant, "bubble"},
    ClassifyCase{"wordmark", icon_variant, "wordmark"},
    ClassifyCase{"peek", icon_variant, "peek"},
    ClassifyCase{"says", icon_variant, "says"},

    ClassifyCase{"update:done", update_done, ""},
    ClassifyCase{"update:fail", update_fail, ""},

    ClassifyCase{"min", minimize, ""},
    ClassifyCase{"max", maximize, ""},
    ClassifyCase{"drag", drag, ""},
    ClassifyCase{"close", close, ""},

    ClassifyCase{"saved:", saved, ""},
    ClassifyCase{"saved:it's \\ caf\xc3\xa9.txt", saved, "it's \\ caf\xc3\xa9.txt"},
    ClassifyCase{"saved:saved:", saved, "saved:"},

    ClassifyCase{"resize:n", resize, "n"},
    ClassifyCase{"resize:nw", resize, "nw"},
    ClassifyCase{"resize:ne", resize, "ne"},

    ClassifyCase{"snap:", snap_area, ""},
    ClassifyCase{"snap:1100 0 40 32", snap_area, "1100 0 40 32"},
    ClassifyCase{"snap:-5 -3 0 0", snap_area, "-5 -3 0 0"},
    ClassifyCase{"snap:100000 -100000 100000 100000", snap_area, "100000 -100000 100000 100000"},

    // The count's grammar has its own table (badge_test.cpp).
    ClassifyCase{"badge:", badge, ""},
    ClassifyCase{"badge:12", badge, "12"},

    ClassifyCase{"autostart:1", autostart, "1"},
    ClassifyCase{"autostart:0", autostart, "0"},
    ClassifyCase{"state:", report_state, ""}));

// Near misses of every rule: wrong case, blanks, wrong lengths, bad paths.
INSTANTIATE_TEST_SUITE_P(Ignored, ClassifyTest, testing::Values(
    ClassifyCase{" ", ignored, ""},
    ClassifyCase{"\n", ignored, ""},

    ClassifyCase{"window:", ignored, ""},
    ClassifyCase{"window:chat", ignored, ""},
    ClassifyCase{"window://evil.example/", ignored, ""},
    ClassifyCase{"window://", ignored, ""},
    ClassifyCase{"window:/a b", ignored, ""},
    ClassifyCase{"window:/a\tb", ignored, ""},
    ClassifyCase{"window:/\x7f", ignored, ""},
    ClassifyCase{"window:/caf\xc3\xa9", ignored, ""},
    ClassifyCase{"window: /x", ignored, ""},
    ClassifyCase{"window:/x ", ignored, ""},
    ClassifyCase{"Window:/x", ignored, ""},
    ClassifyCase{"window/x", ignored, ""},
    ClassifyCase{"picker:", ignored, ""},
    ClassifyCase{"picker:pick", ignored, ""},
    ClassifyCase{"picker://x", ignored, ""},
    ClassifyCase{"picker:/a b", ignored, ""},

    ClassifyCase{"top:", ignored, ""},
    ClassifyCase{"top:2", ignored, ""},
    ClassifyCase{"top:10", ignored, ""},
    ClassifyCase{"top:01", ignored, ""},
    ClassifyCase{"top:1 ", ignored, ""},
    ClassifyCase{" top:1", ignored, ""},
    ClassifyCase{"TOP:1", ignored, ""},
    ClassifyCase{"top 1", ignored, ""},

    ClassifyCase{"notify", ignored, ""},
    ClassifyCase{"Notify:hi", ignored, ""},
    ClassifyCase{" notify:hi", ignored, ""},

    ClassifyCase{"Bubble", ignored, ""},
    ClassifyCase{"bubble ", ignored, ""},
    ClassifyCase{" peek", ignored, ""},
    ClassifyCase{"icon:bubble", ignored, ""},
    ClassifyCase{"say", ignored, ""},

    ClassifyCase{"update:", ignored, ""},
    ClassifyCase{"update:done ", ignored, ""},
    ClassifyCase{"update:Done", ignored, ""},
    ClassifyCase{"update:failed", ignored, ""},

    ClassifyCase{"Min", ignored, ""},
    ClassifyCase{"maximize", ignored, ""},
    ClassifyCase{"drag:", ignored, ""},
    ClassifyCase{"close ", ignored, ""},
    ClassifyCase{" close", ignored, ""},
    ClassifyCase{"Close", ignored, ""},
    ClassifyCase{"CLOSE", ignored, ""},
    ClassifyCase{"close\n", ignored, ""},

    ClassifyCase{"saved", ignored, ""},
    ClassifyCase{"Saved:x", ignored, ""},

    ClassifyCase{"resize:", ignored, ""},
    ClassifyCase{"resize:s", ignored, ""},
    ClassifyCase{"resize:e", ignored, ""},
    ClassifyCase{"resize:w", ignored, ""},
    ClassifyCase{"resize:se", ignored, ""},
    ClassifyCase{"resize:sw", ignored, ""},
    ClassifyCase{"resize:nwe", ignored, ""},
    ClassifyCase{"resize:N", ignored, ""},
    ClassifyCase{"resize:n ", ignored, ""},
    ClassifyCase{"resize", ignored, ""},

    ClassifyCase{"badge", ignored, ""},
    ClassifyCase{"Badge:3", ignored, ""},
    ClassifyCase{"badge:3 ", ignored, ""},

    ClassifyCase{"autostart:", ignored, ""},
    ClassifyCase{"autostart:2", ignored, ""},
    ClassifyCase{"autostart:1 ", ignored, ""},
    ClassifyCase{"autostart", ignored, ""},

    ClassifyCase{"state", ignored, ""},
    ClassifyCase{"state:max", ignored, ""},

    ClassifyCase{"snap", ignored, ""},
    ClassifyCase{"Snap:", ignored, ""},
    ClassifyCase{"snap: ", ignored, ""},
    ClassifyCase{"snap:1100 0 40", ignored, ""},
    ClassifyCase{"snap:1100 0 40 32 1", ignored, ""},
    ClassifyCase{"snap:1100 0 40 32 ", ignored, ""},
    ClassifyCase{"snap: 1100 0 40 32", ignored, ""},
    ClassifyCase{"snap:1100  0 40 32", ignored, ""},
    ClassifyCase{"snap:1100\t0 40 32", ignored, ""},
    ClassifyCase{"snap:1100,0,40,32", ignored, ""},
    ClassifyCase{"snap:+1100 0 40 32", ignored, ""},
    ClassifyCase{"snap:1100.5 0 40 32", ignored, ""},
    ClassifyCase{"snap:0x10 0 40 32", ignored, ""},
    ClassifyCase{"snap:1100 0 -40 32", ignored, ""},
    ClassifyCase{"snap:1100 0 40 -32", ignored, ""},
    ClassifyCase{"snap:100001 0 40 32", ignored, ""},
    ClassifyCase{"snap:0 -100001 40 32", ignored, ""},
    ClassifyCase{"snap:0 0 100001 32", ignored, ""},
    ClassifyCase{"snap:99999999999 0 40 32", ignored, ""},
    ClassifyCase{"snap:- 0 40 32", ignored, ""},

    ClassifyCase{"hello", ignored, ""},
    ClassifyCase{std::string_view("close\0", 6), ignored, ""}));

TEST(Classify, ResizeHitTests) {
    EXPECT_EQ(resize_hit_test("n"), 12);
    EXPECT_EQ(resize_hit_test("nw"), 13);
    EXPECT_EQ(resize_hit_test("ne"), 14);
    for (const std::string_view other : {"", "s", "e", "w", "se", "sw", "N", "nn"}) {
        EXPECT_EQ(resize_hit_test(other), 0) << other;
    }
}

}  // namespace
}  // namespace wm
