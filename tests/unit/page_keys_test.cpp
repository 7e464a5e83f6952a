#include "base/page_keys.h"

#include <gtest/gtest.h>

#include <string>

namespace wm {
namespace {

struct KeyCase {
    const char* name;
    PageKey key;
    bool strip_shown;
    PageKeyAction expected;
};

class PageKeys : public testing::TestWithParam<KeyCase> {};

TEST_P(PageKeys, TakesOnlyTheWindowsAndTheStripsKeys) {
    EXPECT_EQ(page_key_action(GetParam().key, GetParam().strip_shown), GetParam().expected);
}

constexpr unsigned kSpace = 0x20;
constexpr unsigned kF4 = 0x73;
constexpr unsigned kF6 = 0x75;
constexpr unsigned kF5 = 0x74;

INSTANTIATE_TEST_SUITE_P(
    Rules, PageKeys,
    testing::Values(
        KeyCase{"alt_space_opens_the_system_menu", {true, true, kSpace, true, false}, false, PageKeyAction::system_menu},
        KeyCase{"alt_f4_closes", {true, true, kF4, true, false}, false, PageKeyAction::close_window},
        KeyCase{"altgr_is_the_pages", {true, true, kSpace, true, true}, true, PageKeyAction::none},
        KeyCase{"ctrl_f4_is_the_pages", {true, false, kF4, false, true}, false, PageKeyAction::none},
        KeyCase{"a_release_does_nothing", {false, true, kF4, true, false}, false, PageKeyAction::none},
        KeyCase{"f6_reaches_a_shown_strip", {true, false, kF6, false, false}, true, PageKeyAction::to_strip},
        KeyCase{"f6_without_a_strip_is_the_pages", {true, false, kF6, false, false}, false, PageKeyAction::none},
        KeyCase{"alt_letter_reaches_a_shown_strip", {true, true, 'B', true, false}, true, PageKeyAction::strip_access_key},
        KeyCase{"alt_letter_without_a_strip_is_the_pages", {true, true, 'B', true, false}, false, PageKeyAction::none},
        KeyCase{"alt_alone_shows_the_strips_access_keys", {true, true, 0x12, true, false}, true, PageKeyAction::show_access_keys},
        KeyCase{"alt_other_keys_are_the_pages", {true, true, kF5, true, false}, true, PageKeyAction::none},
        KeyCase{"a_plain_letter_is_the_pages", {true, false, 'B', false, false}, true, PageKeyAction::none}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace wm
