// What a build started as an update takes from its environment: the variable naming its
// predecessor's event leaves the environment whatever it holds, so that no later child sees it
// and a later update never adds a second one.

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "base/product.h"
#include "update/update_files_win.h"

namespace wm {
namespace {

TEST(UpdateStart, TheVariableLeavesTheEnvironmentAndOnlyAnEventNameCounts) {
    const std::wstring variable(kUpdateReadyEventVariable);
    const std::wstring event_name = L"Local\\wispermoth-test.update-ready";
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, event_name.c_str());
    ASSERT_NE(event, nullptr);
    struct Case {
        const char* label;
        std::optional<std::wstring> value;
        bool ready;
    };
    const Case cases[] = {
        {"not started as an update", std::nullopt, false},
        {"the predecessor's event", event_name, true},
        {"empty", L"", false},
        {"a name of no event", L"Local\\wispermoth-test.nothing", false},
        // Longer than an event's name can be: ignored, and removed all the same.
        {"MAX_PATH characters", std::wstring(MAX_PATH, L'x'), false},
        {"far longer", L"Local\\" + std::wstring(4 * MAX_PATH, L'x'), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.value) {
            ASSERT_TRUE(SetEnvironmentVariableW(variable.c_str(), c.value->c_str()));
        }
        const UpdateStart start = take_update_start();
        EXPECT_EQ(start.ready != nullptr, c.ready);
        EXPECT_EQ(GetEnvironmentVariableW(variable.c_str(), nullptr, 0), 0u);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND));
    }
    CloseHandle(event);
}

}  // namespace
}  // namespace wm
