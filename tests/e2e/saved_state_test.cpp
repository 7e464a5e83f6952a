// What the shell remembers across runs in its state files: the main window's placement and the
// always-on-top setting, and that a killed shell never leaves a torn placement behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "driver/files.h"
#include "driver/handle.h"
#include "driver/page_case.h"
#include "driver/placement.h"
#include "driver/standin.h"
#include "driver/state_case.h"
#include "driver/text.h"

namespace e2e {
namespace {

constexpr Size kDefaultClient{1200, 800};

class SavedState : public StateCase {
protected:
    std::filesystem::path window_file() const { return app_file(L"window"); }
    std::string window_file_text() const { return read_file(window_file()).value_or("(no file)"); }
};

using SavedGeometry = SavedState;

TEST_F(SavedGeometry, IsStoredInLogicalPixelsAndTheNextStartOpensThere) {
    set_dpi(144);
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    // A width of 1502 is 1001.33 logical pixels, stored as 1001, which is 1502 again. (Wine scales
    // the driver's sizes by 1.5, and with the side borders 1500 is out of reach.)
    const Placement placed{300, 150, {1502, 900}};
    ASSERT_TRUE(place_window(window, placed));
    ASSERT_EQ(placement_of(window), placed);
    EXPECT_TRUE(wait_for_content(window_file(), "pt 200 100 1001 600")) << window_file_text();
    ASSERT_TRUE(close_shell(window));

    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(placement_of(window), placed);
}

TEST_F(SavedGeometry, MinimisingWritesNothingAndAWindowClosedMaximisedComesBackMaximisedOverItsNormalPlacement) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    const Placement placed{120, 90, {900, 600}};
    ASSERT_TRUE(place_window(window, placed));
    ASSERT_TRUE(wait_for_content(window_file(), stored_text(placed))) << window_file_text();
    // The placing may have queued more than one event: let every one of them write first.
    ASSERT_TRUE(settle(window)) << standin_log().text();
    const auto before = file_identity(window_file());

    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsIconic(window) != FALSE; }));
    ASSERT_TRUE(settle(window)) << standin_log().text();
    EXPECT_EQ(window_file_text(), stored_text(placed));
    EXPECT_EQ(file_identity(window_file()), before) << "the file was written again";

    ShowWindow(window, SW_MAXIMIZE);
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsZoomed(window) != FALSE; }));
    ASSERT_TRUE(settle(window)) << standin_log().text();
    EXPECT_TRUE(wait_for_content(window_file(), stored_text(placed) + " max")) << window_file_text();
    ASSERT_TRUE(close_shell(window));

    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsZoomed(window));
    ASSERT_TRUE(post_page_message(window, "max")) << standin_log().text();
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsZoomed(window) == FALSE; }));
    EXPECT_EQ(placement_of(window), placed);
}

// A shortcut set to "Minimised" (STARTF_USESHOWWINDOW with a minimise command). Windows would give
// the first ShowWindow the starter's command by itself; Wine does not, so here the shell's own
// reading of its STARTUPINFO is what is proved.
TEST_F(SavedGeometry, AStartAskingForAMinimisedWindowStartsMinimisedAndRestoresToTheSavedMaximisedWindow) {
    const Placement placed{120, 90, {900, 600}};
    plant(L"window", stored_text(placed) + " max");
    HWND window = start_shell({.show_command = SW_SHOWMINNOACTIVE});
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsIconic(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return IsZoomed(window) != FALSE; }));
    EXPECT_TRUE(post_page_message(window, "max")) << standin_log().text();
    ASSERT_TRUE(poll_until(kEffectTimeout, [&] { return IsZoomed(window) == FALSE; }));
    EXPECT_EQ(placement_of(window), placed);
}

struct StartPlacementCase {
    const char* name;
    const char* file;
    std::optional<Placement> expected;  // nothing: the default size where the system puts it
};

class StartPlacement : public SavedState, public testing::WithParamInterface<StartPlacementCase> {};

TEST_P(StartPlacement, TheWindowFileIsTakenAsStoredOrNotAtAll) {
    const StartPlacementCase& row = GetParam();
    Placement expected;
    if (row.expected) {
        expected = *row.expected;
    } else {
        // Where the system puts the default window, seen on a start without a file.
        HWND window = start_shell();
        ASSERT_NE(window, nullptr);
        expected = placement_of(window);
        ASSERT_EQ(expected.client, kDefaultClient);
        ASSERT_TRUE(close_shell(window));
    }
    plant(L"window", row.file);

    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(placement_of(window), expected);
}

INSTANTIATE_TEST_SUITE_P(Files, StartPlacement,
                         testing::Values(StartPlacementCase{"missing_number", "pt 10 20 300", std::nullopt},
                                         StartPlacementCase{"wrong_first_word", "px 10 20 300 400", std::nullopt},
                                         StartPlacementCase{"negative_width", "pt 10 20 -5 400", std::nullopt},
                                         StartPlacementCase{"off_every_monitor", "pt 5000 5000 800 600", std::nullopt},
                                         StartPlacementCase{"plus_signs", "pt +10 +10 +800 +600",
                                                            Placement{10, 10, {800, 600}}}),
                         [](const auto& info) { return std::string(info.param.name); });

// A "window" file of several GiB that no shell wrote (sparse, so the case writes almost nothing):
// it counts as not there and is never read whole.
TEST_F(SavedState, AWindowFileOfSeveralGibibytesIsNotThere) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    const Placement expected = placement_of(window);
    ASSERT_TRUE(close_shell(window));
    plant(L"window", "pt 10 20 300 400");
    std::filesystem::resize_file(window_file(), 5ull << 30);

    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(placement_of(window), expected);
}

// The page's shellInfo as the shell registered it.
std::string shell_info(const std::vector<StandinEntry>& entries) {
    for (const auto& script : payloads(entries, "add_script"))
        if (script.find("window.shellInfo=") != std::string::npos) return script;
    return "(none)";
}

bool has_topmost_style(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

using SavedAlwaysOnTop = SavedState;

TEST_F(SavedAlwaysOnTop, TopOneIsStoredAndTheNextStartIsOnTop) {
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(has_topmost_style(window));
    ASSERT_TRUE(post_page_message(window, "top:1")) << standin_log().text();
    EXPECT_EQ(read_file(app_file(L"top")), "1");
    ASSERT_TRUE(close_shell(window));

    window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(has_topmost_style(window));
    EXPECT_NE(shell_info(standin_log().entries()).find("top:'1'"), std::string::npos)
        << shell_info(standin_log().entries());
}

struct StoredTopCase {
    const char* name;
    const char* file;
    bool on;
};

class StoredTop : public SavedState, public testing::WithParamInterface<StoredTopCase> {};

TEST_P(StoredTop, OnlyATrimmedOneReadsAsOn) {
    plant(L"top", GetParam().file);
    HWND window = start_shell();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(has_topmost_style(window), GetParam().on);
    const std::string expected = GetParam().on ? "top:'1'" : "top:'0'";
    EXPECT_NE(shell_info(standin_log().entries()).find(expected), std::string::npos)
        << shell_info(standin_log().entries());
}

INSTANTIATE_TEST_SUITE_P(Files, StoredTop,
                         testing::Values(StoredTopCase{"one_and_line_end", "1\r\n", true},
                                         StoredTopCase{"yes", "yes", false}, StoredTopCase{"true", "true", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The burst's placements: all on the screen, and of valid sizes, so that each is stored.
Placement burst_placement(int move) {
    return {50 + move * 37 % 400, 40 + move * 23 % 300, {600 + move * 51 % 500, 400 + move * 29 % 300}};
}

using InterruptedWrites = SavedState;

TEST_F(InterruptedWrites, AKillDuringABurstOfMovesNeverLeavesATornWindowFile) {
    constexpr int kRounds = 25;
    constexpr int kMovesPerBurst = 200;
    std::set<std::string> stored;  // every text a complete write can leave
    for (int move = 0; move < kMovesPerBurst; ++move) stored.insert(stored_text(burst_placement(move)));
    int rounds_that_wrote = 0;
    std::optional<std::string> previous;

    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        start();
        HWND window = wait_for_shell_window();
        ASSERT_NE(window, nullptr);
        stored.insert(stored_text(placement_of(window)));
        const UniqueHandle process(OpenProcess(PROCESS_TERMINATE, FALSE, process_id()));
        ASSERT_TRUE(process);

        // The kill comes after a varying number of moves, while the shell is still busy saving.
        const int kill_after = 1 + round * 7 % 23;
        std::atomic<int> moves{0};
        std::jthread killer([&] {
            for (int seen = moves.load(); seen < kill_after; seen = moves.load()) moves.wait(seen);
            TerminateProcess(process.get(), 255);
        });
        for (int move = 0; move < kMovesPerBurst && place_window(window, burst_placement(move)); ++move) {
            moves.fetch_add(1);
            moves.notify_one();
        }
        // Releases the killer however the burst ended.
        moves.store(std::max(moves.load(), kill_after));
        moves.notify_one();
        killer.join();
        ASSERT_TRUE(wait_for_exit());

        const auto content = read_file(window_file());
        if (std::filesystem::exists(window_file())) {
            ASSERT_TRUE(content && stored.contains(*content)) << "torn: '" << content.value_or("(unreadable)") << "'";
        }
        if (content != previous) ++rounds_that_wrote;
        previous = content;
    }
    EXPECT_GT(rounds_that_wrote, kRounds / 2) << "the kills came before the shell saved anything";
}

TEST_F(InterruptedWrites, TemporaryFilesOfDeadWritersAreRemovedAtTheNextStart) {
    start();
    ASSERT_NE(wait_for_shell_window(), nullptr);
    const std::wstring dead = std::to_wstring(process_id());
    ASSERT_TRUE(TerminateProcess(UniqueHandle(OpenProcess(PROCESS_TERMINATE, FALSE, process_id())).get(), 255));
    ASSERT_TRUE(wait_for_exit());
    const std::wstring alive = std::to_wstring(GetCurrentProcessId());
    const std::wstring left_by_the_dead[] = {L"window." + dead + L".tmp", L"top." + dead + L".tmp",
                                             L"moth.png." + dead + L".tmp"};
    // Still being written by a live process, or not the shell's at all.
    const std::wstring kept[] = {L"icon." + alive + L".tmp", L"notes." + dead + L".tmp", L"window.tmp"};
    for (const auto& name : left_by_the_dead) plant(name, "pt 1 2");
    for (const auto& name : kept) plant(name, "pt 1 2");

    start();
    ASSERT_NE(wait_for_shell_window(), nullptr);
    ASSERT_TRUE(wait_for_start_work());
    for (const auto& name : left_by_the_dead) EXPECT_FALSE(std::filesystem::exists(app_file(name))) << narrow(name);
    for (const auto& name : kept) EXPECT_TRUE(std::filesystem::exists(app_file(name))) << narrow(name);
}

// Two shells share one application folder: whatever they write, in whatever interleaving, a
// reader only ever finds whole files.
TEST_F(SavedState, TwoShellsWritingAtOnceLeaveOnlyWholeFiles) {
    HWND first = start_shell();
    ASSERT_NE(first, nullptr);
    const ChildProcess second_process = start_another(L"second");
    HWND second = wait_for_titled_window(second_process.id(), kProductName);
    ASSERT_NE(second, nullptr);
    HWND views[] = {wait_for_web_view(first), wait_for_web_view(second)};
    ASSERT_TRUE(views[0] && views[1]);

    const auto is_whole = [](const std::wstring& name, const std::string& text) {
        if (name == L"top") return text == "0" || text == "1";
        if (name == L"icon") return text == "bubble" || text == "peek";
        std::istringstream in(text);
        std::string word, rest;
        long x = 0, y = 0, width = 0, height = 0;
        return (in >> word >> x >> y >> width >> height) && word == "pt" && width > 0 && height > 0 &&
               !(in >> rest) && text == stored_text({x, y, {width, height}});
    };
    std::atomic<bool> writing{true};
    int whole_reads = 0;
    std::vector<std::string> torn;
    std::jthread reader([&] {
        while (writing.load()) {
            for (const std::wstring name : {L"window", L"top", L"icon"}) {
                const auto text = read_file(app_file(name));
                if (!text) continue;  // between a rename's steps the file may be briefly unopenable
                if (is_whole(name, *text)) {
                    ++whole_reads;
                } else {
                    torn.push_back(narrow(name) + ": '" + *text + "'");
                }
            }
        }
    });
    for (int round = 0; round < 60; ++round) {
        for (int shell = 0; shell < 2; ++shell) {
            const bool odd = (round + shell) % 2 != 0;
            ASSERT_TRUE(send_command(views[shell], StandinCommand::post_messages,
                                     join_messages({odd ? "top:1" : "top:0", odd ? "bubble" : "peek"})));
            (void)place_window(shell == 0 ? first : second, burst_placement(round * 2 + shell));
        }
    }
    ASSERT_TRUE(settle(first));
    ASSERT_TRUE(send_command(views[1], StandinCommand::post_message, "saved:done"));
    ASSERT_TRUE(StandinLog(folder() / L"standin.second.log").wait_until([](const auto& entries) {
        return last_payload(entries, "execute_script") == "shellSaved('done')";
    }));
    writing.store(false);
    reader.join();
    EXPECT_TRUE(torn.empty()) << torn.size() << " torn reads, the first " << torn.front();
    EXPECT_GT(whole_reads, 0);
}

}  // namespace
}  // namespace e2e
