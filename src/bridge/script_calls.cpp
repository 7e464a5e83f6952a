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
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        if (c == '\\' || c == '\'') escaped += '\\';
        escaped += c;
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

}  // namespace wm
