#pragma once
// The fixture of the cases about what the shell keeps across runs: its application folder, the
// state files planted before a start, and page messages sent once the page is on the origin.

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "driver/log.h"
#include "driver/registry.h"
#include "driver/shell_case.h"

namespace e2e {

class StateCase : public ShellCase {
protected:
    // Pins the scale to 96 DPI, so that a setting left behind by an interrupted run cannot leak in.
    void SetUp() override;
    // The scale of the shells started from now on.
    void set_dpi(DWORD dpi);

    std::filesystem::path app_folder() const { return app_data() / kProductName; }
    std::filesystem::path app_file(std::wstring_view name) const { return app_folder() / name; }

    // Leaves a state file as an earlier run or a hand edit would have.
    void plant(std::wstring_view name, std::string_view content) const;

    // Starts the shell and waits until its main window shows and its page was sent to the
    // origin, so that the shell accepts page messages; null when that does not happen in time.
    HWND start_shell(const Launch& launch = {});
    // Closes the main window as the user does and waits for the process to end.
    bool close_shell(HWND window) const;

    // Raises a message from the window's page and waits until the shell has handled it; the log
    // at that point, or nothing when the shell did not answer.
    std::optional<std::vector<StandinEntry>> post_page_message(HWND window, std::string_view message) const;

private:
    std::optional<ScopedDword> dpi_;
};

}  // namespace e2e
