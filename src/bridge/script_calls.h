#pragma once
// The texts of every script the shell runs in a page.

#include <string>
#include <string_view>

namespace wm {

// Makes any text safe inside a single-quoted script string: "\" becomes "\\", then "'" becomes
// "\'"; line feed, carriage return, U+2028, U+2029 and NUL become \n, \r, \u2028, \u2029, \x00.
std::string escape_single_quoted(std::string_view text);

std::string max_state_script(bool maximized);         // shellMaxState(true|false)
std::string top_state_script(bool on);                // shellTopState(true|false)
std::string saved_script(std::string_view file_name); // shellSaved('<escaped>')
std::string update_failed_script();                   // shellUpdateState(false)
std::string icon_state_script(std::string_view word); // shellIconState('<word>')
std::string windows_changed_script(bool picker_open); // shellWindowsChanged(true|false)
std::string snap_state_script(std::string_view word); // shellSnapState('<word>')
std::string autostart_state_script(bool on);          // shellAutostartState('1'|'0')
std::string notification_clicked_script(std::string_view tag); // shellNotificationClicked('<escaped>')

}  // namespace wm
