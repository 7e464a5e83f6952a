// The icon variants: chosen by the page, shown by every window, kept across runs.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "driver/files.h"
#include "driver/icons.h"
#include "driver/shell_windows.h"
#include "driver/state_case.h"

namespace e2e {
namespace {

struct Variant {
    const char* word;
    int group;
};
constexpr std::array<Variant, 5> kVariants = {{
    {"", 1},
    {"bubble", 2},
    {"wordmark", 3},
    {"peek", 4},
    {"says", 5},
}};

std::string icon_report(std::string_view word) {
    return "shellIconState('" + std::string(word) + "')";
}

// How often the window's page was told about an icon, and how often about this one.
struct Reports {
    std::size_t any = 0;
    std::size_t this_one = 0;
};
Reports icon_reports(const std::vector<StandinEntry>& entries, HWND window, std::string_view word) {
    Reports reports;
    for (const auto& entry : entries) {
        if (entry.event != "execute_script" || !entry.belongs_to(window)) continue;
        if (entry.payload.starts_with("shellIconState(")) ++reports.any;
        if (entry.payload == icon_report(word)) ++reports.this_one;
    }
    return reports;
}

class IconVariants : public StateCase {
protected:
    void SetUp() override {
        StateCase::SetUp();
        const ResourceModule resources(executable());
        for (const auto& variant : kVariants) {
            auto image = resources.icon_group_image(variant.group);
            ASSERT_TRUE(image) << "icon group " << variant.group;
            group_images_.push_back(std::move(*image));
        }
    }

    const IconImage& group_image(int group) const { return group_images_.at(static_cast<std::size_t>(group - 1)); }

    // The group whose image the window shows as its small icon now: 0 for an icon of no group,
    // -1 for none.
    int shown_group(HWND window) const {
        const auto icon = shown_small_icon(window);
        if (!icon) return -1;
        for (const auto& variant : kVariants)
            if (*icon == group_image(variant.group)) return variant.group;
        return 0;
    }

    // Whether the window comes to show this group's image.
    bool shows_group(HWND window, int group) const {
        return poll_until(kEffectTimeout, [&] { return shown_group(window) == group; });
    }

    std::string describe_shown(HWND window) const {
        const int group = shown_group(window);
        if (group < 0) return "the window has no small icon";
        if (group == 0) return "the window shows an icon of no group";
        return "the window shows group " + std::to_string(group);
    }

    // The "icon" file as the shell leaves it; nothing when there is none.
    std::optional<std::string> icon_file() const { return read_file(app_file(L"icon")); }

private:
    std::vector<IconImage> group_images_;
};

TEST_F(IconVariants, TheFiveGroupImagesDifferSoThatTheWindowsIconCanBeTold) {
    for (std::size_t i = 0; i < kVariants.size(); ++i) {
        EXPECT_FALSE(group_image(kVariants[i].group).pixels.empty());
        for (std::size_t j = i + 1; j < kVariants.size(); ++j)
            EXPECT_NE(group_image(kVariants[i].group), group_image(kVariants[j].group))
                << "groups " << kVariants[i].group << " and " << kVariants[j].group;
    }
}

TEST_F(IconVariants, AWordIsStoredShownAndReportedAndTheEmptyMessageGoesBackToTheDefault) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(shows_group(window, 1)) << describe_shown(window);

    auto entries = post_page_message(window, "bubble");
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(icon_file(), "bubble");
    EXPECT_TRUE(shows_group(window, 2)) << describe_shown(window);
    EXPECT_EQ(icon_reports(*entries, window, "bubble").this_one, 1u) << standin_log().text();

    entries = post_page_message(window, "");
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(icon_file(), "");
    EXPECT_TRUE(shows_group(window, 1)) << describe_shown(window);
    EXPECT_EQ(icon_reports(*entries, window, "").this_one, 1u) << standin_log().text();
}

TEST_F(IconVariants, NearMissesOfAWordChangeNothing) {
    plant(L"icon", "says");
    const auto planted = file_identity(app_file(L"icon"));
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(shows_group(window, 5)) << describe_shown(window);

    for (const char* message : {"Bubble", "bubble ", "icon:bubble", " bubble"}) {
        SCOPED_TRACE(testing::Message() << "message '" << message << "'");
        const auto entries = post_page_message(window, message);
        ASSERT_TRUE(entries) << standin_log().text();
        EXPECT_EQ(icon_reports(*entries, window, "bubble").any, 0u) << standin_log().text();
        EXPECT_EQ(icon_file(), "says");
        EXPECT_EQ(file_identity(app_file(L"icon")), planted) << "the file was written again";
        EXPECT_EQ(shown_group(window), 5);
    }
}

TEST_F(IconVariants, ARestartShowsTheLastChosenIcon) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    for (const char* word : {"bubble", "peek"}) ASSERT_TRUE(post_page_message(window, word)) << word;
    ASSERT_TRUE(shows_group(window, 4)) << describe_shown(window);
    ASSERT_TRUE(close_shell(window));

    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shows_group(window, 4)) << describe_shown(window);
    const auto scripts = payloads(standin_log().entries(), "add_script");
    EXPECT_TRUE(std::any_of(scripts.begin(), scripts.end(), [](const std::string& script) {
        return script.find("icon:'peek'") != std::string::npos;
    })) << standin_log().text();
}

TEST_F(IconVariants, EveryOpenWindowShowsTheChosenIconAndALaterOneShowsItAtOnce) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    const auto open_window = [&](std::string_view message) {
        const auto known = shell_windows(process_id());
        return post_page_message(window, message) ? wait_for_new_window(process_id(), known, standin_log()) : nullptr;
    };
    HWND extra = open_window("window:/a");
    HWND picker = open_window("picker:/p");
    ASSERT_TRUE(extra && picker);

    const auto entries = post_page_message(window, "peek");
    ASSERT_TRUE(entries) << standin_log().text();
    for (HWND shown : {window, extra, picker}) {
        EXPECT_TRUE(shows_group(shown, 4)) << describe_shown(shown);
        EXPECT_TRUE(poll_until(kEffectTimeout, [&] {
            return icon_reports(standin_log().entries(), shown, "peek").this_one == 1;
        })) << standin_log().text();
    }
    HWND later = open_window("window:/b");
    ASSERT_NE(later, nullptr);
    EXPECT_EQ(shown_group(later), 4) << describe_shown(later);
    const auto scripts = window_payloads(standin_log().entries(), later, "add_script");
    EXPECT_TRUE(std::any_of(scripts.begin(), scripts.end(), [](const std::string& script) {
        return script.find("icon:''") != std::string::npos;
    })) << standin_log().text();
}

struct StoredIconCase {
    const char* name;
    const char* content;
    int group;
};

class StoredIcon : public IconVariants, public testing::WithParamInterface<StoredIconCase> {};

TEST_P(StoredIcon, TheMainWindowOpensWithTheIconTheFileNames) {
    plant(L"icon", GetParam().content);
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(shows_group(window, GetParam().group)) << describe_shown(window);
}

INSTANTIATE_TEST_SUITE_P(Files, StoredIcon,
                         testing::Values(StoredIconCase{"unknown_word", "moth", 1},
                                         StoredIconCase{"capitalised", "Bubble", 1},
                                         StoredIconCase{"line_feed_after", "wordmark\n", 3},
                                         StoredIconCase{"blanks_around", " says ", 5}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
