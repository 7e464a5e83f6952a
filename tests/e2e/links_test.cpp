// A page's requests for new windows: every one goes to the system's handler for its address, and
// no window opens.

#include <gtest/gtest.h>

#include <algorithm>

#include "driver/log.h"
#include "driver/page_case.h"
#include "driver/standin.h"
#include "driver/windows.h"

namespace e2e {
namespace {

std::vector<HWND> visible_windows(DWORD process_id) {
    auto windows = top_level_windows(process_id);
    std::erase_if(windows, [](HWND window) { return !IsWindowVisible(window); });
    std::sort(windows.begin(), windows.end());
    return windows;
}

struct NewWindowCase {
    const char* name;
    const char* address;
};

class NewWindow : public PageCase, public testing::WithParamInterface<NewWindowCase> {};

TEST_P(NewWindow, IsRefusedAndItsAddressOpenedByTheSystem) {
    const std::string address = GetParam().address;
    const OpenedLog opened = OpenedLog::from_environment();
    ASSERT_NO_FATAL_FAILURE(open());
    const auto windows_before = visible_windows(process_id());

    command(StandinCommand::new_window, address);
    const auto entries =
        standin_log().wait_until([](const auto& entries) { return !payloads(entries, "new_window_result").empty(); });
    ASSERT_TRUE(entries) << standin_log().text();
    // Refused through the deferral: handled, and no web view of the runtime's own.
    EXPECT_EQ(payloads(*entries, "new_window_result"), std::vector<std::string>{"handled=1 new_window=0 deferral=1"});

    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    EXPECT_EQ(opened.lines(), std::vector<std::string>{address});
    ASSERT_TRUE(round_trip(window_)) << standin_log().text();
    EXPECT_EQ(visible_windows(process_id()), windows_before);
}

INSTANTIATE_TEST_SUITE_P(Addresses, NewWindow,
                         testing::Values(NewWindowCase{"on_the_origin", "https://wispermoth.app/other"},
                                         // Goes to the system's mail handler.
                                         NewWindowCase{"mail", "mailto:someone@example.com"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
