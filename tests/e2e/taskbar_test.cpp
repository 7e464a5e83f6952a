// The taskbar: the page's badge as the overlay of every window's button, through a stand-in
// taskbar class (Wine's taskbar is not Windows'); and starting at sign-in through the user's Run
// key.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "driver/page_case.h"
#include "driver/registry.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/taskbar.h"
#include "features/autostart.h"

namespace e2e {
namespace {

std::set<HWND> windows_of(const std::vector<Overlay>& overlays, std::size_t from, std::size_t to) {
    std::set<HWND> windows;
    for (std::size_t i = from; i < to; ++i) windows.insert(overlays[i].window);
    return windows;
}

class BadgeCase : public PageCase {
protected:
    void SetUp() override {
        PageCase::SetUp();
        taskbar_log_ = StandinLog(folder() / L"taskbar.log");
        ASSERT_NO_FATAL_FAILURE(open(Launch{.variables = {{L"TASKBAR_STANDIN_LOG", taskbar_log_.path().native()}}}));
    }

    // The overlays set once `count` have been.
    std::vector<Overlay> wait_for_overlays(std::size_t count) const {
        const auto entries =
            taskbar_log_.wait_until([count](const auto& entries) { return overlays(entries).size() >= count; });
        return entries ? overlays(*entries) : overlays(taskbar_log_.entries());
    }

    TaskbarClass taskbar_class_;
    StandinLog taskbar_log_{std::filesystem::path()};
};

TEST_F(BadgeCase, ACountReachesEveryWindowAndEveryNewButtonAndZeroTakesItAway) {
    const HWND second = open_window("window:/second");
    ASSERT_NE(second, nullptr);
    handled_through("before");
    EXPECT_EQ(taskbar_log_.text(), "") << "the taskbar was touched before any badge";

    post("badge:3");
    const HWND third = open_window("window:/third");
    ASSERT_NE(third, nullptr);
    auto shown = wait_for_overlays(3);
    ASSERT_EQ(shown.size(), 3u) << taskbar_log_.text();
    EXPECT_EQ(payloads(taskbar_log_.entries(), "hr_init").size(), 1u) << "one list for every window";
    // The open windows in any order, then the one opened after.
    EXPECT_EQ(windows_of(shown, 0, 2), (std::set<HWND>{window_, second}));
    EXPECT_EQ(shown[2].window, third);
    for (const Overlay& overlay : shown) {
        EXPECT_EQ(overlay.size, "16x16");
        EXPECT_GT(overlay.red, 60) << "the disc";
        EXPECT_GT(overlay.white, 3) << "the digit";
        EXPECT_EQ(overlay.description, "3 unread");
    }

    // Explorer made the button again (a restart): it gets the overlay again.
    (void)SendMessageW(second, RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
    shown = wait_for_overlays(4);
    ASSERT_EQ(shown.size(), 4u) << taskbar_log_.text();
    EXPECT_EQ(shown[3].window, second);
    EXPECT_EQ(shown[3].description, "3 unread");

    post("badge:0");
    shown = wait_for_overlays(7);
    ASSERT_EQ(shown.size(), 7u) << taskbar_log_.text();
    EXPECT_EQ(windows_of(shown, 4, 7), (std::set<HWND>{window_, second, third}));
    for (std::size_t i = 4; i < 7; ++i) EXPECT_EQ(shown[i].size, "none") << taskbar_log_.text();
}

TEST_F(BadgeCase, AForeignPagesBadgeChangesNothing) {
    command(StandinCommand::post_message_from, "https://example.com/\tbadge:3");
    handled_through("after");
    EXPECT_EQ(taskbar_log_.text(), "");
}

// The Run value and Task Manager's switch for it, cleared before and after each case.
class AutostartCase : public PageCase {
protected:
    // The shell's own names: each ends a literal, so it ends with a NUL.
    static constexpr const wchar_t* kRun = wm::kRunKey.data();
    static constexpr const wchar_t* kApproved = wm::kStartupApprovedKey.data();
    static constexpr const wchar_t* kName = wm::kRunValueName.data();

    void SetUp() override {
        PageCase::SetUp();
        clear();
    }
    void TearDown() override { clear(); }

    static void clear() {
        (void)RegDeleteKeyValueW(HKEY_CURRENT_USER, kRun, kName);
        (void)RegDeleteKeyValueW(HKEY_CURRENT_USER, kApproved, kName);
    }
    static std::optional<std::wstring> run_value() { return read_string(HKEY_CURRENT_USER, kRun, kName); }
    std::wstring quoted_executable() const { return L'"' + executable().native() + L'"'; }
};

TEST_F(AutostartCase, OnWritesThisExecutableTurningTaskManagersSwitchBackOnAndOffRemovesIt) {
    // Turned off in Task Manager: 03 and the time it was.
    const BYTE off[12] = {3, 0, 0, 0, 0xD4, 0x0D, 0x43, 0x8D, 0xC8, 0x3B, 0xD9, 0x01};
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kApproved, kName, REG_BINARY, off, sizeof off), ERROR_SUCCESS);
    ASSERT_NO_FATAL_FAILURE(open());
    const HWND second = open_window("window:/second");
    ASSERT_NE(second, nullptr);

    post("autostart:1");
    handled_through("on");
    EXPECT_EQ(run_value(), quoted_executable());
    BYTE approval[12]{};
    DWORD size = sizeof approval;
    ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, kApproved, kName, RRF_RT_REG_BINARY, nullptr, approval, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(approval[0], 2) << "Task Manager's switch is on again";

    post("autostart:0");
    handled_through("off");
    EXPECT_EQ(run_value(), std::nullopt);
    for (HWND window : {window_, second}) {
        const auto heard = window_payloads(standin_log().entries(), window, "execute_script");
        std::vector<std::string> states;
        for (const auto& script : heard)
            if (script.starts_with("shellAutostartState")) states.push_back(script);
        EXPECT_EQ(states, (std::vector<std::string>{"shellAutostartState('1')", "shellAutostartState('0')"}));
    }
}

TEST_F(AutostartCase, StateReportsASwitchMadeInTaskManagerMeanwhile) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::wstring command = quoted_executable();
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRun, kName, REG_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    post("state:");
    handled_through("state");
    const auto heard = window_payloads(standin_log().entries(), window_, "execute_script");
    EXPECT_NE(std::ranges::find(heard, "shellAutostartState('1')"), heard.end());
}

TEST_F(AutostartCase, AMovedExecutableRewritesTheValueAtItsNextStart) {
    const std::wstring elsewhere = L"\"C:\\elsewhere\\wispermoth.exe\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kRun, kName, REG_SZ, elsewhere.c_str(),
                              static_cast<DWORD>((elsewhere.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
    ASSERT_NO_FATAL_FAILURE(open());
    EXPECT_EQ(run_value(), quoted_executable());
}

}  // namespace
}  // namespace e2e
