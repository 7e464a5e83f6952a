#include "bridge/script_calls.h"

#include "base/text_codec.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace wm {
namespace {

TEST(ScriptCalls, ExactTexts) {
    EXPECT_EQ(max_state_script(true), "shellMaxState(true)");
    EXPECT_EQ(max_state_script(false), "shellMaxState(false)");
    EXPECT_EQ(top_state_script(true), "shellTopState(true)");
    EXPECT_EQ(top_state_script(false), "shellTopState(false)");
    EXPECT_EQ(saved_script("report.pdf"), "shellSaved('report.pdf')");
    EXPECT_EQ(saved_script(""), "shellSaved('')");
    EXPECT_EQ(update_failed_script(), "shellUpdateState(false)");
    EXPECT_EQ(icon_state_script("bubble"), "shellIconState('bubble')");
    EXPECT_EQ(icon_state_script(""), "shellIconState('')");
    EXPECT_EQ(windows_changed_script(true), "shellWindowsChanged(true)");
    EXPECT_EQ(windows_changed_script(false), "shellWindowsChanged(false)");
    EXPECT_EQ(snap_state_script("hover"), "shellSnapState('hover')");
    EXPECT_EQ(snap_state_script(""), "shellSnapState('')");
    EXPECT_EQ(autostart_state_script(true), "shellAutostartState('1')");
    EXPECT_EQ(autostart_state_script(false), "shellAutostartState('0')");
    EXPECT_EQ(notification_clicked_script("c:1"), "shellNotificationClicked('c:1')");
}

TEST(ScriptCalls, EscapingDoublesBackslashesAndQuotesApostrophesOnly) {
    struct Case {
        std::string_view text;
        std::string_view escaped;
    };
    for (const auto& [text, escaped] : std::array<Case, 13>{{
             {"", ""},
             {"plain \"name\".txt", "plain \"name\".txt"},
             {"a\\b", "a\\\\b"},
             {"it's", "it\\'s"},
             {"\\'", "\\\\\\'"},
             {"''", "\\'\\'"},
             {"\xc3\xa9t\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x98\x80", "\xc3\xa9t\xc3\xa9 \xe2\x80\x94 \xf0\x9f\x98\x80"},
             {"a\nb\r\n", "a\\nb\\r\\n"},
             {std::string_view("a\0" "1", 3), "a\\x001"},
             {"\xe2\x80\xa8|\xe2\x80\xa9", "\\u2028|\\u2029"},
             // Neighbours of the two line separators pass unchanged.
             {"\xe2\x80\xa7\xe2\x80\xaa", "\xe2\x80\xa7\xe2\x80\xaa"},
             {"\xe2\x80", "\xe2\x80"},
             {"\t\x01\x1f\x7f", "\t\x01\x1f\x7f"},
         }}) {
        EXPECT_EQ(escape_single_quoted(text), escaped) << text;
    }
}

// Runs saved scripts in node with a page-side shellSaved that records its argument, and checks
// that argument against the original text, which node gets as hex bytes, never through the
// escaping under test.
class SavedScriptInJavaScript : public testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        dir_ = std::filesystem::temp_directory_path() / ("wm-script-test-" + std::to_string(seed()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    static std::filesystem::path find_node() {
        if (const char* path = std::getenv("PATH")) {
            std::stringstream entries(path);
            for (std::string entry; std::getline(entries, entry, ':');) {
                for (const char* name : {"node", "nodejs"}) {
                    const auto candidate = std::filesystem::path(entry) / name;
                    if (!entry.empty() && std::filesystem::is_regular_file(candidate)) return candidate;
                }
            }
        }
        if (std::filesystem::is_regular_file("/usr/bin/node")) return "/usr/bin/node";
        return {};
    }

    static std::string hex(std::string_view bytes) {
        static constexpr char digits[] = "0123456789abcdef";
        std::string out;
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            out += digits[b >> 4];
            out += digits[b & 0xF];
        }
        return out;
    }

    void write_file(const std::filesystem::path& path, std::string_view contents) {
        std::ofstream out(path, std::ios::binary);
        out << contents;
        ASSERT_TRUE(out.good()) << path;
    }

    // One output line per script: "same", or what shellSaved received (or the error) otherwise.
    std::vector<std::string> run_in_node(const std::vector<std::string>& scripts,
                                         const std::vector<std::string>& expected_texts) {
        const auto node = find_node();
        if (node.empty()) {
            ADD_FAILURE() << "node is not installed; scripts/setup.sh installs it";
            return {};
        }
        static constexpr std::string_view driver = R"js(
const fs = require('fs');
const vm = require('vm');
const args = process.argv.slice(2);
for (let i = 0; i < args.length; i += 2) {
    const expected = Buffer.from(args[i + 1], 'hex').toString('utf8');
    let received;
    const page = { shellSaved: (text) => { received = text; } };
    try {
        vm.runInNewContext(fs.readFileSync(args[i], 'utf8'), page);
        console.log(received === expected ? 'same' : 'received ' + JSON.stringify(received));
    } catch (e) {
        console.log('threw ' + String(e).split('\n')[0]);
    }
}
)js";
        write_file(dir_ / "driver.js", driver);
        std::string command = "'" + node.string() + "' '" + (dir_ / "driver.js").string() + "'";
        for (std::size_t i = 0; i < scripts.size(); ++i) {
            const auto script_path = dir_ / ("script" + std::to_string(i) + ".js");
            write_file(script_path, scripts[i]);
            command += " '" + script_path.string() + "' '" + hex(expected_texts[i]) + "'";
        }

        const std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
        if (!pipe) {
            ADD_FAILURE() << "cannot start " << command;
            return {};
        }
        std::vector<std::string> lines;
        std::array<char, 4096> buffer{};
        while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get())) {
            std::string line(buffer.data());
            if (!line.empty() && line.back() == '\n') line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    std::filesystem::path dir_;
};

TEST_F(SavedScriptInJavaScript, PageReceivesTheOriginalText) {
    const std::vector<std::string> texts = {
        "report.pdf",
        "",
        "C:\\Users\\me\\Downloads\\a.txt",
        "\\\\server\\share\\",
        "it's Bob's file.txt",
        "'''",
        "ends with backslash\\",
        "backslash before apostrophe \\' and \\\\'' mixed",
        "\\n is not a newline, nor is \\u0041 an A",
        "double \"quotes\" and `backticks` ${x}",
        "caf\xc3\xa9 \xe2\x80\x94 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x98\x80 \xe2\x80\xa8 \xe2\x80\xa9",
        "</script><script>alert(1)</script>",
        "two\nlines\r\nand a \xe2\x80\xa8 separator",
        std::string("nul \0 inside", 12),
    };
    std::vector<std::string> scripts;
    for (const auto& text : texts) scripts.push_back(saved_script(text));

    const auto results = run_in_node(scripts, texts);
    ASSERT_EQ(results.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(results[i], "same") << texts[i];
}

// Any text at all, control characters and line separators included, reaches the page unchanged.
// Lone surrogates cannot be written in UTF-8; the shell's text conversion has already turned them
// into U+FFFD, so that is what the texts hold in their place.
TEST_F(SavedScriptInJavaScript, RandomTextsReachThePageUnchanged) {
    std::mt19937 random(20261207);
    const std::vector<char32_t> awkward = {0x0, 0x8, 0x9, 0xA, 0xB, 0xC, 0xD, 0x1B, 0x1F, 0x7F, '\'', '\\', '"', '`',
                                           '$', '{', 0x85, 0xA0, 0x2028, 0x2029, 0xFEFF, 0xFFFD, 0x10FFFF};
    std::vector<std::string> texts;
    std::vector<std::string> scripts;
    for (int i = 0; i < 300; ++i) {
        std::u16string units;
        const int length = static_cast<int>(random() % 24);
        for (int j = 0; j < length; ++j) {
            char32_t c = 0;
            switch (random() % 4) {
            case 0: c = awkward[random() % awkward.size()]; break;
            case 1: c = static_cast<char32_t>(random() % 0x80); break;
            case 2: c = static_cast<char32_t>(random() % 0x10000); break;  // lone surrogates included
            default: c = static_cast<char32_t>(0x10000 + random() % 0x100000); break;
            }
            if (c < 0x10000) {
                units += static_cast<char16_t>(c);
            } else {
                units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
                units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            }
        }
        // The shell's own conversion, which turns lone surrogates into U+FFFD.
        std::string text = utf16_to_utf8(units);
        scripts.push_back(saved_script(text));
        texts.push_back(std::move(text));
    }
    const auto results = run_in_node(scripts, texts);
    ASSERT_EQ(results.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(results[i], "same") << testing::PrintToString(texts[i]);
}

// Keeps the harness honest: quoting without escaping must be caught.
TEST_F(SavedScriptInJavaScript, UnescapedTextIsCaught) {
    const std::vector<std::string> texts = {"a\\b", "it's"};
    const std::vector<std::string> scripts = {"shellSaved('a\\b')", "shellSaved('it's')"};
    const auto results = run_in_node(scripts, texts);
    ASSERT_EQ(results.size(), texts.size());
    EXPECT_EQ(results[0].rfind("received ", 0), 0u) << results[0];
    EXPECT_EQ(results[1].rfind("threw ", 0), 0u) << results[1];
}

}  // namespace
}  // namespace wm
