#include "bridge/script_calls.h"

namespace wm {
namespace {

std::string flag_call(std::string_view function, bool value) {
    std::string script(function);
    script += value ? "(true)" : "(false)";
    return script;
}

std::string text_call(std::string_view function, std::string_view quoted_argument) {
    std::string script(function);
    script += "('";
    script += quoted_argument;
    script += "')";
    return script;
}

}  // namespace

std::string escape_single_quoted(std::string_view text) {
    // One pass does both replacements: the backslash put before an apostrophe is never seen
    // again, which is what doubling backslashes first and escaping apostrophes second gives.
    // Line terminators would end the string literal and a NUL would cut the script short on its
    // way to the runtime, so they travel as escapes too.
    std::string escaped;
    escaped.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        switch (c) {
        case '\\':
        case '\'':
            escaped += '\\';
            escaped += c;
            break;
        case '\n':
            escaped += "\\n";
            break;
        case '\r':
            escaped += "\\r";
            break;
        case '\0':
            escaped += "\\x00";
            break;
        default:
            // U+2028 and U+2029 end lines in script source too.
            if (const auto three = text.substr(i, 3); three == "\xE2\x80\xA8" || three == "\xE2\x80\xA9") {
                escaped += three == "\xE2\x80\xA8" ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                escaped += c;
            }
        }
    }
    return escaped;
}

std::string max_state_script(bool maximized) { return flag_call("shellMaxState", maximized); }

std::string top_state_script(bool on) { return flag_call("shellTopState", on); }

std::string saved_script(std::string_view file_name) {
    return text_call("shellSaved", escape_single_quoted(file_name));
}

std::string update_failed_script() { return "shellUpdateState(false)"; }

// Only the five accepted icon words get here, none of which needs escaping.
std::string icon_state_script(std::string_view word) { return text_call("shellIconState", word); }

std::string windows_changed_script(bool picker_open) { return flag_call("shellWindowsChanged", picker_open); }

// Only "hover", "press" and "" get here.
std::string snap_state_script(std::string_view word) { return text_call("shellSnapState", word); }

std::string autostart_state_script(bool on) { return text_call("shellAutostartState", on ? "1" : "0"); }

std::string notification_clicked_script(std::string_view tag) {
    return text_call("shellNotificationClicked", escape_single_quoted(tag));
}

}  // namespace wm
