#pragma once
// The fixture of the cases that drive the page: the shell started with its web view ready, page
// messages raised through the stand-in, and the scripts the shell ran in the page read back.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "driver/log.h"
#include "driver/shell_case.h"
#include "driver/standin.h"

namespace e2e {

// Texts for one `post_messages` command: raised in one loop turn, as from one script turn.
std::string join_messages(const std::vector<std::string>& messages);

class PageCase : public ShellCase {
protected:
    // Starts the shell and waits until its page can post; fails the case otherwise.
    void open(const Launch& launch = {});

    void command(StandinCommand command, std::string_view payload);
    void post(std::string_view message) { command(StandinCommand::post_message, message); }
    // The window that this message of the case's page opened ("window:", "picker:"); null when
    // none opened in time.
    HWND open_window(std::string_view message);

    // The scripts run in the case's window, in order.
    std::vector<std::string> scripts(const std::vector<StandinEntry>& entries) const;
    std::vector<std::string> scripts() const { return scripts(standin_log().entries()); }
    // The log once `count` scripts have run in the window; nothing when they do not come.
    std::optional<std::vector<StandinEntry>> wait_for_scripts(std::size_t count) const;

    // Waits until everything posted before has been handled (`settle` with "saved:" + marker,
    // whose answer the case may then expect among the scripts).
    void handled_through(const std::string& marker);

    // The log once the window has logged this message at or after entry `from`; nothing when
    // it does not come.
    std::optional<std::vector<StandinEntry>> wait_for_window_message(std::string_view message, std::size_t from) const;

    // A state file of the shell's application folder; nothing when there is none.
    std::optional<std::string> state_file(std::wstring_view name) const;

    HWND window_ = nullptr;
    HWND web_view_ = nullptr;
};

}  // namespace e2e
