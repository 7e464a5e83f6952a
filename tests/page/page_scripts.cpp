// Prints, as one JSON object, the scripts that the shell puts into a page, made by the shell's
// own code, with the version and icon words they carry: the bridge, the badge script, the start-up script for
// each combination of settings the browser test loads, and every script call keyed by the call that made it. The
// texts for shellSaved come on standard input, one per line as hex bytes, so that any byte reaches the escaping
// untouched.

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/icon_words.h"
#include "base/product.h"
#include "bridge/init_script.h"
#include "bridge/script_calls.h"

namespace {

std::string json_string(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string from_hex(std::string_view hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16));
    return bytes;
}

std::string json_object(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string out = "{";
    for (const auto& [key, value] : members) {
        if (out.size() > 1) out += ",\n";
        out += json_string(key) + ": " + value;
    }
    return out + "}";
}

}  // namespace

int main() {
    std::vector<std::pair<std::string, std::string>> init;
    for (const bool top : {false, true})
        for (const std::string_view icon : wm::kIconWords)
            for (const bool autostart : {false, true})
                init.emplace_back(
                    std::string(top ? "1" : "0") + ":" + std::string(icon) + ":" + (autostart ? "1" : "0"),
                    json_string(wm::build_init_script(top, icon, autostart)));

    std::vector<std::pair<std::string, std::string>> calls;
    for (const bool flag : {true, false}) {
        const std::string arg = flag ? "true" : "false";
        calls.emplace_back("max_state_script(" + arg + ")", json_string(wm::max_state_script(flag)));
        calls.emplace_back("top_state_script(" + arg + ")", json_string(wm::top_state_script(flag)));
        calls.emplace_back("windows_changed_script(" + arg + ")", json_string(wm::windows_changed_script(flag)));
        calls.emplace_back("autostart_state_script(" + arg + ")", json_string(wm::autostart_state_script(flag)));
    }
    calls.emplace_back("update_failed_script()", json_string(wm::update_failed_script()));
    std::string icon_words = "[";
    for (const std::string_view word : wm::kIconWords) {
        calls.emplace_back("icon_state_script(" + std::string(word) + ")", json_string(wm::icon_state_script(word)));
        icon_words += (icon_words.size() > 1 ? "," : "") + json_string(word);
    }
    icon_words += "]";
    calls.emplace_back("notification_clicked_script(room:7)", json_string(wm::notification_clicked_script("room:7")));
    for (const char* word : {"hover", "press", ""})
        calls.emplace_back("snap_state_script(" + std::string(word) + ")", json_string(wm::snap_state_script(word)));

    std::string saved = "[";
    for (std::string line; std::getline(std::cin, line);) {
        if (saved.size() > 1) saved += ",\n";
        saved += json_string(wm::saved_script(from_hex(line)));
    }
    saved += "]";

    std::cout << json_object({{"version", json_string(wm::kShellVersion)},
                              {"icon_words", icon_words},
                              {"bridge", json_string(wm::bridge_script())},
                              {"badge", json_string(wm::badge_script())},
                              {"init", json_object(init)},
                              {"calls", json_object(calls)},
                              {"saved", saved}})
              << "\n";
}
