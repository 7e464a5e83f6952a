// A few minutes of a busy and partly hostile page: many messages of every kind, pages that leave
// the origin and come back, windows that open and close. The shell must keep answering, keep its
// files whole, obey no page that is not the application, and hold no more than it did before.

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "base/icon_words.h"
#include "driver/files.h"
#include "driver/log.h"
#include "driver/page_case.h"
#include "driver/shell_windows.h"
#include "driver/standin.h"
#include "driver/wait.h"

namespace e2e {
namespace {

// The test command sends 10,000; scripts/soak.sh sends as many as it is told, through this variable.
constexpr wchar_t kMessagesVariable[] = L"WISPERMOTH_SOAK_MESSAGES";
constexpr int kDefaultMessages = 10'000;
constexpr int kBatch = 250;

int messages_to_send() {
    wchar_t text[16];
    const DWORD length = GetEnvironmentVariableW(kMessagesVariable, text, 16);
    if (length == 0 || length >= 16) return kDefaultMessages;
    const int count = _wtoi(text);
    return count > 0 ? count : kDefaultMessages;
}

const std::vector<std::string> kValid = {
    "top:0", "top:1", "bubble", "wordmark", "peek", "says", "", "update:fail", "update:done",
    "saved:soak", "saved:it's a \\ file", "notify:soak\nbody", "resize:se", "badge:12", "badge:", "badge:0",
    "autostart:0",
};
// One character off a command: each must do nothing.
const std::vector<std::string> kNearMisses = {
    "Top:1", "top:2", "top:", "top:11", "close ", "Close", "saved", "window:soak", "window://evil",
    "picker:soak", "bubble ", "Bubble", "resize:s", "resize:", "max ", "notify", "update:", "update:don",
    "badge:03", "badge:-1", "autostart:2",
};
const std::vector<std::string> kOffOrigin = {
    "https://example.com/", "http://wispermoth.app/", "https://wispermoth.app.example.com/",
    "https://WISPERMOTH.APP/", "https://evil.example/wispermoth.app",
};
const std::vector<std::string> kOnOrigin = {"https://wispermoth.app/soak", "https://chat.wispermoth.app/x"};

class Soak : public PageCase {
protected:
    template <class T>
    const T& pick(const std::vector<T>& from) {
        return from[random_() % from.size()];
    }

    std::string random_text() {
        std::string text(random_() % 32, '\0');
        for (char& c : text) {
            do c = static_cast<char>(random_() % 256);
            while (c == '\x1f');  // the stand-in's separator between messages
        }
        return text;
    }

    std::mt19937 random_{20261207};
};

TEST_F(Soak, ManyMessagesLeaveTheShellAnsweringWholeObedientOnlyToTheApplicationAndNoFuller) {
    const int total = messages_to_send();
    ASSERT_NO_FATAL_FAILURE(open());
    // One extra window opened and closed first, so that what the shell makes once is counted
    // in both figures.
    command(StandinCommand::post_message, "window:/warm");
    HWND warm = wait_for_new_window(process_id(), {window_}, standin_log());
    ASSERT_NE(warm, nullptr);
    ASSERT_TRUE(send_command(wait_for_web_view(warm), StandinCommand::post_message, "close"));
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return shell_windows(process_id()).size() == 1; }));
    ASSERT_NO_FATAL_FAILURE(handled_through("warm"));
    // The main window's strip and snap window are made at their first use: once used here, they
    // are counted in both figures too.
    HWND main_view = wait_for_web_view(window_);
    ASSERT_TRUE(send_command(main_view, StandinCommand::set_source, kOffOrigin.front()));
    ASSERT_TRUE(send_command(main_view, StandinCommand::set_source, kOnOrigin.front()));
    ASSERT_TRUE(send_command(main_view, StandinCommand::post_messages, join_messages({"snap:10 10 40 32", "snap:"})));
    ASSERT_TRUE(settle(window_));
    const ProcessCounts before = process_counts(process_id());

    std::vector<HWND> extras;
    int off_origin_batches = 0;
    int most_windows = 1;
    for (int sent = 0, batch = 0; sent < total; ++batch) {
        if (batch % 6 == 1 && extras.size() < 2) {
            HWND opened = open_window("window:/soak");
            ASSERT_NE(opened, nullptr);
            extras.push_back(opened);
            most_windows = std::max<int>(most_windows, static_cast<int>(extras.size()) + 1);
        } else if (batch % 12 == 11 && !extras.empty()) {
            const auto closing = extras.begin() + static_cast<long>(random_() % extras.size());
            ASSERT_TRUE(send_command(wait_for_web_view(*closing), StandinCommand::post_message, "close"));
            const HWND gone = *closing;
            extras.erase(closing);
            ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !IsWindow(gone); }));
        }

        std::vector<HWND> targets = extras;
        targets.push_back(window_);
        HWND target = pick(targets);
        HWND view = wait_for_web_view(target);
        ASSERT_NE(view, nullptr);

        std::vector<std::string> messages;
        const bool off = batch % 7 == 3;
        if (off) {
            // A foreign page in the window: everything it posts is marked, so that any effect shows.
            ++off_origin_batches;
            ASSERT_TRUE(send_command(view, StandinCommand::set_source, pick(kOffOrigin)));
            for (int i = 0; i < kBatch / 10; ++i) {
                messages.push_back("saved:OFF-" + std::to_string(i));
                messages.push_back("window:/off-" + std::to_string(i));
                messages.push_back("picker:/off-" + std::to_string(i));
                messages.push_back(i % 2 ? "top:1" : "says");
            }
        } else {
            for (int i = 0; i < kBatch; ++i) {
                const auto kind = random_() % 10;
                messages.push_back(kind < 6 ? pick(kValid) : kind < 8 ? pick(kNearMisses) : random_text());
            }
            // Each window change costs the display a round trip: a few per batch, not hundreds.
            for (const char* change : {"max", "min", "max"}) messages[random_() % messages.size()] = change;
        }
        ASSERT_TRUE(send_command(view, StandinCommand::post_messages, join_messages(messages)));
        sent += static_cast<int>(messages.size());
        if (off) {
            ASSERT_TRUE(send_command(view, StandinCommand::set_source, pick(kOnOrigin)));
        }
        // Paced, so that the shell's queue stays bounded and a stall shows where it happened.
        ASSERT_TRUE(settle(target)) << "the shell stopped answering after " << sent;
    }
    for (HWND extra : extras) {
        ASSERT_TRUE(settle(extra));
        ASSERT_TRUE(send_command(wait_for_web_view(extra), StandinCommand::post_message, "close"));
        ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return !IsWindow(extra); }));
    }
    ASSERT_TRUE(settle(window_)) << "the shell stopped answering";
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0))) << "the shell ended";
    EXPECT_GE(most_windows, 3);
    EXPECT_GE(off_origin_batches, 5);

    const auto entries = standin_log().entries();
    for (const auto& entry : entries) {
        if (entry.event == "execute_script") {
            EXPECT_EQ(entry.payload.find("OFF-"), std::string::npos) << entry.payload;
        }
        if (entry.event == "navigate") {
            EXPECT_EQ(entry.payload.find("/off-"), std::string::npos) << entry.payload;
        }
    }

    // The normal rectangle, then " max" when the batches left the window maximised.
    const std::regex placement(R"(pt -?\d+ -?\d+ \d+ \d+( max)?)");
    if (const auto text = state_file(L"window")) {
        EXPECT_TRUE(std::regex_match(*text, placement)) << *text;
    }
    if (const auto text = state_file(L"top")) {
        EXPECT_TRUE(*text == "0" || *text == "1") << *text;
    }
    if (const auto text = state_file(L"icon")) {
        EXPECT_NE(std::find(wm::kIconWords.begin(), wm::kIconWords.end(), *text), wm::kIconWords.end()) << *text;
    }

    const ProcessCounts after = process_counts(process_id());
    EXPECT_GT(before.handles, 0u) << "the handle count could not be read";
    EXPECT_LE(after.handles, before.handles + 16);
    EXPECT_EQ(after.windows, before.windows);
}

}  // namespace
}  // namespace e2e
