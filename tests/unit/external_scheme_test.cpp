#include "links/external_scheme.h"

#include <gtest/gtest.h>

#include <string_view>

namespace wm {
namespace {

TEST(ExternalScheme, OnlyWebAndMailAddressesLeaveTheShell) {
    struct Case {
        std::string_view address;
        bool opens;
    };
    const Case cases[] = {
        {"https://wispermoth.app/other", true},
        {"http://example.com/", true},
        {"HTTPS://EXAMPLE.COM/", true},
        {"hTtP://example.com", true},
        {"mailto:someone@example.com", true},
        {"MailTo:someone@example.com", true},
        {"https:", true},
        {"file:///C:/Windows/notepad.exe", false},
        {"FILE:///C:/Windows/notepad.exe", false},
        {"\\\\server\\share\\tool.exe", false},
        {"//server/share/tool.exe", false},
        {"C:\\Windows\\notepad.exe", false},
        {"javascript:alert(1)", false},
        {"ms-settings:display", false},
        {"search-ms:query=x", false},
        {"wispermoth-handler:run", false},
        {"notepad.exe", false},
        {"", false},
        {":https", false},
        {" https://example.com/", false},
        {"https ://example.com/", false},
        {"httpsx://example.com/", false},
        {"http\0s://x", false},
    };
    for (const Case& c : cases) EXPECT_EQ(has_external_scheme(c.address), c.opens) << c.address;
}

TEST(ExternalScheme, AForeignPageOpensWindowsOnlyOnTheUsersClick) {
    struct Case {
        std::string_view requesting_page;
        bool user_initiated;
        bool opens;
    };
    const Case cases[] = {
        {"https://wispermoth.app/chat", false, true},
        {"https://wispermoth.app/chat", true, true},
        {"https://evil.example/", true, true},
        {"https://evil.example/", false, false},
        {"http://wispermoth.app/", false, false},
        {"", false, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(may_open_requested_window(c.requesting_page, c.user_initiated), c.opens)
            << c.requesting_page << " user " << c.user_initiated;
}

}  // namespace
}  // namespace wm
