// A page's requests for new windows: web and mail addresses go to the system's handler, nothing
// else leaves the shell, and no window ever opens.

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>

#include "driver/files.h"
#include "driver/log.h"
#include "driver/page_case.h"
#include "driver/standin.h"
#include "driver/text.h"
#include "driver/windows.h"

namespace e2e {
namespace {

std::vector<HWND> visible_windows(DWORD process_id) {
    auto windows = top_level_windows(process_id);
    std::erase_if(windows, [](HWND window) { return !IsWindowVisible(window); });
    std::sort(windows.begin(), windows.end());
    return windows;
}

class Links : public PageCase {
protected:
    // Raises a new-window request and checks that the shell refused it through its deferral.
    void request_window(const std::string& address) {
        const auto answered = payloads(standin_log().entries(), "new_window_result").size();
        command(StandinCommand::new_window, address);
        const auto entries = standin_log().wait_until(
            [&](const auto& entries) { return payloads(entries, "new_window_result").size() > answered; });
        ASSERT_TRUE(entries) << standin_log().text();
        EXPECT_EQ(last_payload(*entries, "new_window_result"), "handled=1 new_window=0 deferral=1") << address;
    }
};

struct OpenedCase {
    const char* name;
    const char* address;
    const char* opened;  // as the system's handler receives it
};

class OpenedBySystem : public Links, public testing::WithParamInterface<OpenedCase> {};

TEST_P(OpenedBySystem, IsRefusedAndItsAddressOpenedByTheSystem) {
    const std::string address = GetParam().address;
    const OpenedLog opened = OpenedLog::from_environment();
    ASSERT_NO_FATAL_FAILURE(open());
    const auto windows_before = visible_windows(process_id());

    ASSERT_NO_FATAL_FAILURE(request_window(address));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    EXPECT_EQ(opened.lines(), std::vector<std::string>{GetParam().opened});
    ASSERT_TRUE(round_trip(window_)) << standin_log().text();
    EXPECT_EQ(visible_windows(process_id()), windows_before);
}

INSTANTIATE_TEST_SUITE_P(Addresses, OpenedBySystem,
                         testing::Values(OpenedCase{"on_the_origin", "https://wispermoth.app/other",
                                                    "https://wispermoth.app/other"},
                                         // The system's URL parsing lower-cases the scheme.
                                         OpenedCase{"upper_case_scheme", "HTTP://example.com/", "http://example.com/"},
                                         // Goes to the system's mail handler.
                                         OpenedCase{"mail", "mailto:someone@example.com", "mailto:someone@example.com"}),
                         [](const auto& info) { return std::string(info.param.name); });

// Addresses that would start a local program or a protocol handler: the request is refused all
// the same, and nothing reaches the system.
TEST_F(Links, OtherAddressesOpenNothing) {
    const auto marker = folder() / L"marker.exe";
    const auto trace = folder() / L"marker.exe.ran";
    std::filesystem::copy_file(windows_path(WM_E2E_MARKER_EXE), marker);
    std::wstring forward = marker.native();
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    const std::string file_address = "file:///" + narrow(forward);

    // The address does start the program when the system is asked: the check below can fail.
    ASSERT_GT(reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", widen(file_address).c_str(), nullptr,
                                                      nullptr, SW_SHOWNORMAL)),
              32);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return std::filesystem::exists(trace); })) << file_address;
    std::filesystem::remove(trace);

    const OpenedLog opened = OpenedLog::from_environment();
    ASSERT_NO_FATAL_FAILURE(open());
    const auto windows_before = visible_windows(process_id());
    for (const std::string& address : {file_address, narrow(marker.native()), std::string("javascript:alert(1)"),
                                      std::string("ms-settings:display"), std::string("wispermoth-test:run")}) {
        ASSERT_NO_FATAL_FAILURE(request_window(address));
    }
    // Requests are opened in order: once a later web address has gone out, none of the refused
    // ones can still follow.
    constexpr char kAfter[] = "https://wispermoth.app/after";
    ASSERT_NO_FATAL_FAILURE(request_window(kAfter));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    EXPECT_EQ(opened.lines(), std::vector<std::string>{kAfter});
    EXPECT_FALSE(std::filesystem::exists(trace)) << "the local program was started";
    EXPECT_EQ(visible_windows(process_id()), windows_before);
}

// A foreign page reached through a chat link may call window.open from a timer as often as it
// likes: only a click of the user's reaches the system.
TEST_F(Links, AForeignPageOpensNothingOfItsOwnAccord) {
    const OpenedLog opened = OpenedLog::from_environment();
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::set_source, "https://example.com/ads");
    ASSERT_NO_FATAL_FAILURE(request_window("https://example.com/pop-up\tscripted"));
    ASSERT_NO_FATAL_FAILURE(request_window("mailto:spam@example.com\tscripted"));
    constexpr char kClicked[] = "https://example.com/clicked";
    ASSERT_NO_FATAL_FAILURE(request_window(kClicked));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    // The application's own page keeps its script's windows.
    command(StandinCommand::set_source, "https://wispermoth.app/");
    constexpr char kFromApp[] = "https://wispermoth.app/help";
    ASSERT_NO_FATAL_FAILURE(request_window(std::string(kFromApp) + "\tscripted"));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return opened.lines().size() >= 2; })) << "the application's was not";
    EXPECT_EQ(opened.lines(), (std::vector<std::string>{kClicked, kFromApp}));
}

// An iframe inside the application's page (an embed, an ad) is judged by its own address: its
// timer's window.open reaches nothing, a click inside it reaches the browser.
TEST_F(Links, AForeignFrameInTheApplicationsPageOpensOnlyWhatTheUserClicked) {
    const OpenedLog opened = OpenedLog::from_environment();
    ASSERT_NO_FATAL_FAILURE(open());
    constexpr char kFrame[] = "https://ads.example/frame";
    ASSERT_NO_FATAL_FAILURE(request_window(std::string("https://ads.example/pop-up\tscripted\t") + kFrame));
    ASSERT_NO_FATAL_FAILURE(request_window(std::string("mailto:spam@example.com\tscripted\t") + kFrame));
    constexpr char kClicked[] = "https://ads.example/clicked";
    ASSERT_NO_FATAL_FAILURE(request_window(std::string(kClicked) + "\tclicked\t" + kFrame));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !opened.lines().empty(); })) << "nothing was opened";
    EXPECT_EQ(opened.lines(), std::vector<std::string>{kClicked});
}

}  // namespace
}  // namespace e2e
