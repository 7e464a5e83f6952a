// The main window and its web view as the shell builds them, on either runtime route.

#include <gtest/gtest.h>

#include <algorithm>

#include "base/product.h"
#include "driver/log.h"
#include "driver/placement.h"
#include "driver/registry.h"
#include "driver/shell_case.h"
#include "driver/standin.h"
#include "driver/windows.h"

namespace e2e {
namespace {

constexpr char kOriginRoot[] = "https://wispermoth.app/";
// Every document script acts only in the application's top-level documents.
const std::string kInApplication =
    "(()=>{const h=location.hostname;if(window!==window.top||location.protocol!=='https:'||location.port!==''||"
    "(h!=='wispermoth.app'&&!h.endsWith('.wispermoth.app')))return;";
const std::string kBridgeScript = kInApplication +
                                  "const c=window.chrome&&window.chrome.webview;if(!c)return;const "
                                  "p=c.postMessage,a=Reflect.apply;Object.defineProperty(window,'ipc',{value:"
                                  "Object.freeze({postMessage:s=>{a(p,c,[s])}})})})();";
const std::string kShellInfoScript = kInApplication + "window.shellInfo={version:'" + std::string(wm::kShellVersion) +
                                     "',build:'windows',desktop:1,icon:'',top:'0',frame:'1',update:'1',"
                                     "resize:'1',windows:'1',notify:'1',picker:'1',snap:'1',state:'1',badge:'1',"
                                     "autostart:'0'}})();";
// The Badging API's script, whose conversions the page tests check.
const std::string kBadgeScriptStart = kInApplication + "const post=";
constexpr char kBrowserArguments[] =
    "--disable-features=msWebOOUI,msPdfOOUI,msSmartScreenProtection --autoplay-policy=no-user-gesture-required";

std::string bounds_text(Size client) {
    return "0 0 " + std::to_string(client.width) + " " + std::to_string(client.height);
}

std::string runtime_name(const testing::TestParamInfo<Runtime>& info) { return to_string(info.param); }

struct LayoutCase {
    Runtime runtime;
    UINT dpi;
};

class MainWindowLayout : public ShellCaseWithParam<LayoutCase> {};

TEST_P(MainWindowLayout, OneFramelessWindowOfTheDefaultSizeFilledByTheWebView) {
    const LayoutCase& row = GetParam();
    const ScopedDword dpi(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", row.dpi);
    start({.runtime = row.runtime});
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(titled_windows(process_id(), kProductName).size(), 1u);
    // No caption and no top border; the system's resize borders on the other three sides.
    const RECT outer = window_rect(window);
    const RECT inner = client_rect_on_screen(window);
    EXPECT_EQ(inner.top, outer.top) << "window " << to_string(outer) << ", client " << to_string(inner);
    EXPECT_GT(inner.left - outer.left, 0) << "window " << to_string(outer) << ", client " << to_string(inner);
    EXPECT_EQ(outer.right - inner.right, inner.left - outer.left);
    EXPECT_EQ(outer.bottom - inner.bottom, inner.left - outer.left);
    const Size expected{static_cast<LONG>(1200 * row.dpi / 96), static_cast<LONG>(800 * row.dpi / 96)};
    EXPECT_EQ(client_size(window), expected);

    const auto filled = [&](const std::vector<StandinEntry>& entries) {
        return last_payload(entries, "visible") == "1" &&
               last_payload(entries, "bounds") == bounds_text(client_size(window));
    };
    const auto entries = standin_log().wait_until(filled);
    ASSERT_TRUE(entries) << standin_log().text();
    const auto parents = payloads(*entries, "controller_created");
    ASSERT_EQ(parents.size(), 1u);
    EXPECT_EQ(GetAncestor(window_from_hex(parents[0]), GA_ROOT), window) << "controller parent " << parents[0];

    // Physical sizes Wine reaches from the driver's coordinates, which it scales at 144 DPI.
    const Size resized{row.dpi == 96 ? 900 : 1352, row.dpi == 96 ? 600 : 900};
    ASSERT_TRUE(place_window(window, {outer.left, outer.top, resized}));
    EXPECT_EQ(client_size(window), resized);
    EXPECT_TRUE(standin_log().wait_until(filled)) << standin_log().text();
}

INSTANTIATE_TEST_SUITE_P(RoutesAndScales, MainWindowLayout,
                         testing::Values(LayoutCase{Runtime::folder_variable, 96},
                                         LayoutCase{Runtime::folder_variable, 144},
                                         LayoutCase{Runtime::registry, 96}, LayoutCase{Runtime::registry, 144}),
                         [](const auto& info) {
                             return to_string(info.param.runtime) + "_" + std::to_string(info.param.dpi) + "dpi";
                         });

class MainWebView : public ShellCaseWithParam<Runtime> {};

TEST_P(MainWebView, RegistersItsScriptsThenNavigatesOnceToTheOrigin) {
    start({.runtime = GetParam()});
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) { return !payloads(entries, "navigate").empty(); }))
        << standin_log().text();
    const auto entries = round_trip(window);
    ASSERT_TRUE(entries) << standin_log().text();

    const std::string runtime_type = GetParam() == Runtime::registry ? "0" : "1";
    EXPECT_EQ(last_payload(*entries, "environment_created"), "runtime_type=" + runtime_type + " check_running=1");
    EXPECT_EQ(last_payload(*entries, "user_data_folder"), "(null)");
    EXPECT_EQ(last_payload(*entries, "option.AdditionalBrowserArguments"), kBrowserArguments);
    EXPECT_NE(last_payload(*entries, "option.Language").value_or(""), "");

    EXPECT_EQ(payloads(*entries, "navigate"), std::vector<std::string>{kOriginRoot});
    auto scripts = payloads(*entries, "add_script");
    std::sort(scripts.begin(), scripts.end());
    ASSERT_EQ(scripts.size(), 3u);
    EXPECT_EQ(scripts[0], kBridgeScript);
    EXPECT_TRUE(scripts[1].starts_with(kBadgeScriptStart)) << scripts[1];
    EXPECT_EQ(scripts[2], kShellInfoScript);
    const auto navigated_at = first_index(*entries, "navigate");
    for (std::size_t i = navigated_at; i < entries->size(); ++i)
        EXPECT_NE((*entries)[i].event, "add_script") << "a script registered after the navigation";
}

INSTANTIATE_TEST_SUITE_P(Routes, MainWebView,
                         testing::Values(Runtime::folder_variable, Runtime::drive_relative, Runtime::registry),
                         runtime_name);

struct PermissionCase {
    const char* page;
    int kind;
    int state;
};

using Permissions = ShellCase;

TEST_F(Permissions, AllowTheMicrophoneToTheApplicationOnlyAndLeaveEveryOtherKindAtItsDefault) {
    constexpr char kApplication[] = "https://wispermoth.app/";
    constexpr char kForeign[] = "https://example.com/";
    // WebView2's permission kinds and states.
    const PermissionCase table[] = {
        {kApplication, 1, 1},  // microphone: allowed
        {kApplication, 2, 0},  // camera: default
        {kApplication, 3, 0},  // geolocation: default
        {kApplication, 4, 0},  // notifications: default
        {kApplication, 6, 0},  // clipboard read: default
        {kForeign, 1, 0},      // a page that is not the application: the runtime asks the user
        {kForeign, 2, 0},
        {kForeign, 3, 0},
    };
    start();
    HWND window = wait_for_shell_window();
    ASSERT_NE(window, nullptr);
    HWND web_view = wait_for_web_view(window);
    ASSERT_NE(web_view, nullptr);

    for (const auto& row : table) {
        SCOPED_TRACE(std::string(row.page) + " kind " + std::to_string(row.kind));
        const auto answered_before = payloads(standin_log().entries(), "permission_result").size();
        ASSERT_TRUE(send_command(web_view, StandinCommand::set_source, row.page));
        ASSERT_TRUE(send_command(web_view, StandinCommand::permission, std::to_string(row.kind)));
        const auto entries = standin_log().wait_until([&](const auto& entries) {
            return payloads(entries, "permission_result").size() > answered_before;
        });
        ASSERT_TRUE(entries) << standin_log().text();
        EXPECT_EQ(last_payload(*entries, "permission_result"),
                  "kind=" + std::to_string(row.kind) + " state=" + std::to_string(row.state));
    }
}

}  // namespace
}  // namespace e2e
