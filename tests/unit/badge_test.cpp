// The badge message's grammar, what the overlay shows for a badge, and when the program starts at
// sign-in.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "features/autostart.h"
#include "features/badge.h"

namespace wm {
namespace {

TEST(Badge, MessageGrammar) {
    struct Case {
        std::string argument;
        std::optional<Badge> badge;
    };
    const Case cases[] = {
        {"", Badge{BadgeKind::flag, 0}},
        {"0", Badge{}},
        {"1", Badge{BadgeKind::count, 1}},
        {"10", Badge{BadgeKind::count, 10}},
        {"9007199254740991", Badge{BadgeKind::count, kMaxBadgeCount}},
        {"9007199254740992", std::nullopt},
        {"18446744073709551616", std::nullopt},
        {"00", std::nullopt},
        {"03", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"x", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_badge(c.argument), c.badge) << "[" << c.argument << "]";
}

TEST(Badge, TextAndDescription) {
    struct Case {
        Badge badge;
        std::string text;
        std::string description;
    };
    const Case cases[] = {
        {Badge{}, "", ""},
        {Badge{BadgeKind::flag, 0}, "", "Unread"},
        {Badge{BadgeKind::count, 1}, "1", "1 unread"},
        {Badge{BadgeKind::count, 9}, "9", "9 unread"},
        {Badge{BadgeKind::count, 10}, "9+", "10 unread"},
        {Badge{BadgeKind::count, kMaxBadgeCount}, "9+", "9007199254740991 unread"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(badge_text(c.badge), c.text) << c.description;
        EXPECT_EQ(badge_description(c.badge), c.description);
    }
}

TEST(Badge, SixteenLogicalPixelsAtTheWindowsDpiAndAnEdgeOnlyAtTheRim) {
    EXPECT_EQ(badge_layout(96, "3").size, 16);
    EXPECT_EQ(badge_layout(120, "3").size, 20);
    EXPECT_EQ(badge_layout(144, "9+").size, 24);
    EXPECT_EQ(badge_layout(192, "9+").size, 32);
    EXPECT_GT(badge_layout(96, "3").text_height, badge_layout(96, "9+").text_height);
    EXPECT_EQ(disc_coverage(16, 7, 7), 255);
    EXPECT_EQ(disc_coverage(16, 0, 0), 0);
    EXPECT_EQ(disc_coverage(16, 15, 15), 0);
    const int rim = disc_coverage(16, 2, 2);
    EXPECT_GT(rim, 0);
    EXPECT_LT(rim, 255);
}

TEST(Autostart, StateFromTheRunValueAndTaskManagersSwitch) {
    struct Case {
        const char* label;
        bool run_value;
        std::optional<std::vector<std::uint8_t>> approval;
        bool on;
    };
    const std::vector<std::uint8_t> off_since{3, 0, 0, 0, 0xD4, 0x0D, 0x43, 0x8D, 0xC8, 0x3B, 0xD9, 0x01};
    const Case cases[] = {
        {"no Run value", false, std::nullopt, false},
        {"no Run value, switch on", false, std::vector<std::uint8_t>{2}, false},
        {"never touched", true, std::nullopt, true},
        {"switched on", true, std::vector<std::uint8_t>(std::begin(kStartupApprovedOn), std::end(kStartupApprovedOn)),
         true},
        {"switched on, 06", true, std::vector<std::uint8_t>{6, 0, 0, 0}, true},
        {"switched off", true, off_since, false},
        {"switched off, 07", true, std::vector<std::uint8_t>{7, 0, 0, 0}, false},
        {"empty switch", true, std::vector<std::uint8_t>{}, true},
    };
    for (const Case& c : cases) {
        const auto approval =
            c.approval ? std::optional<std::span<const std::uint8_t>>(*c.approval) : std::nullopt;
        EXPECT_EQ(autostart_on(c.run_value, approval), c.on) << c.label;
    }
    EXPECT_EQ(autostart_command(L"C:\\Program Files\\w\\wispermoth.exe"), L"\"C:\\Program Files\\w\\wispermoth.exe\"");
}

TEST(Autostart, AnotherCopyTakesTheEntryOnlyFromAProgramThatIsGoneAndWithinTheRunKeysLimit) {
    const std::wstring here = L"C:\\apps\\wispermoth.exe";
    const std::wstring gone = L"\"C:\\old\\wispermoth.exe\"";
    // Quoted, 260 and 261 characters.
    const std::wstring longest = L"C:\\" + std::wstring(240, L'a') + L"\\wispermoth.exe";
    const std::wstring too_long = L"C:\\" + std::wstring(241, L'a') + L"\\wispermoth.exe";
    struct Case {
        const char* label;
        std::wstring command;
        std::wstring executable;
        std::optional<std::wstring> rewrite;
    };
    const Case cases[] = {
        {"names this copy", L'"' + here + L'"', here, std::nullopt},
        {"names a copy that still exists", L"\"D:\\stick\\wispermoth.exe\"", here, std::nullopt},
        {"names one, unquoted with arguments, that exists", L"D:\\stick\\wispermoth.exe --min", here, std::nullopt},
        {"names a program that is gone", gone, here, L'"' + here + L'"'},
        {"gone, and this path fills the limit", gone, longest, L'"' + longest + L'"'},
        {"gone, and this path is over the limit", gone, too_long, std::nullopt},
    };
    const auto exists = [](const std::wstring& program) { return program == L"D:\\stick\\wispermoth.exe"; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(autostart_rewrite(c.command, c.executable, exists), c.rewrite);
    }
}

}  // namespace
}  // namespace wm
