// Self-update run for real: downloads raised by the stand-in, the staged file written beside a
// copy of the executable, the swap of the running executable, the relaunch, and each failing
// step forced with real file locks.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "driver/files.h"
#include "driver/handle.h"
#include "driver/page_case.h"
#include "driver/text.h"
#include "driver/windows.h"

namespace e2e {
namespace {

namespace fs = std::filesystem;

constexpr char kUpdateUrl[] = "https://wispermoth.app/download/wispermoth.exe";
constexpr char kInOrigin[] = "https://wispermoth.app/";
constexpr char kUpdateFailed[] = "shellUpdateState(false)";

// What each of the three files beside the executable holds, by name: "old" (the build the case
// started), "new" (that build with bytes appended, so a different file that still runs), "fake"
// (a program that never builds a window), "stale", "text", "truncated" or "other"; a missing
// file has no entry.
using Files = std::map<std::string, std::string>;

// A process found by its window, ended when the case ends.
class ForeignProcess {
public:
    explicit ForeignProcess(DWORD id) : handle_(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {}
    ForeignProcess(const ForeignProcess&) = delete;
    ForeignProcess& operator=(const ForeignProcess&) = delete;
    ~ForeignProcess() {
        if (!handle_) return;
        TerminateProcess(handle_.get(), 255);
        WaitForSingleObject(handle_.get(), 5000);
    }

private:
    UniqueHandle handle_;
};

std::wstring image_path(DWORD process_id) {
    const UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path, &size)) return {};
    return std::wstring(path, size);
}

// The process of a visible shell window that `except` does not own; 0 when none shows in time.
DWORD relaunched_process(DWORD except) {
    const auto other_shell_process = [except]() -> std::optional<DWORD> {
        struct Search {
            DWORD except;
            DWORD found = 0;
        } search{except};
        EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto& search = *reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == search.except || !IsWindowVisible(window) || window_title(window) != kProductName ||
                    window_class(window) == L"#32770")
                    return TRUE;
                search.found = owner;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        return std::nullopt;
    };
    return poll_for(kStartTimeout, other_shell_process).value_or(0);
}

std::size_t count_of(const std::vector<StandinEntry>& entries, std::string_view event, std::string_view payload) {
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [&](const StandinEntry& entry) {
        return entry.event == event && entry.payload == payload;
    }));
}

class UpdateCase : public PageCase {
protected:
    void SetUp() override {
        PageCase::SetUp();
        fs::create_directories(downloads());
        old_build_ = read_file(executable()).value_or("");
        ASSERT_FALSE(old_build_.empty());
        new_build_ = old_build_ + "appended by the update test";
        write_file(new_build_file(), new_build_);
        fake_build_ = read_file(windows_path(WM_E2E_FAKE_BUILD_EXE)).value_or("");
        ASSERT_FALSE(fake_build_.empty());
    }

    fs::path staged() const { return folder() / L"wispermoth.new.exe"; }
    fs::path previous() const { return folder() / L"wispermoth.old.exe"; }
    fs::path downloads() const { return folder() / L"downloads"; }
    // The "new" build as a download serves it.
    fs::path new_build_file() const { return folder() / L"next-build.exe"; }
    // What the update address serves.
    fs::path served() const { return folder() / L"served.bin"; }

    // Raises a download in the window; `content` is what a completed one writes.
    void download(std::string_view address, const fs::path& proposed, std::string_view end,
                  const std::optional<fs::path>& content = std::nullopt) {
        std::string payload(address);
        for (const std::string& field : {narrow(proposed.native()), std::string(end)})
            payload.append("\t").append(field);
        if (content) payload.append("\t").append(narrow(content->native()));
        command(StandinCommand::download, payload);
    }

    // An update download that completes with `content`: its end applies it.
    void download_update(std::string_view content) {
        write_file(served(), std::string(content));
        download(kUpdateUrl, downloads() / L"wispermoth.exe", "completed", served());
    }

    // An update download of `content` completes while a second one holds the update back; that
    // one then fails, which the page hears. The case may then plant and lock files before its
    // page's own "update:done".
    void stage_update(std::string_view content) {
        download(kUpdateUrl, downloads() / L"wispermoth.exe", "held");
        download_update(content);
        ASSERT_TRUE(wait_for_downloads_ended(1)) << standin_log().text();
        command(StandinCommand::end_download, "interrupted");
        ASSERT_TRUE(wait_for_downloads_ended(2)) << standin_log().text();
    }

    // The update was handed over: the old process ended with 0 and a new one shows a window.
    void expect_handed_over(DWORD old_process, DWORD& new_process) const {
        const auto exit_code = wait_for_exit(kStartTimeout);
        ASSERT_TRUE(exit_code) << standin_log().text();
        EXPECT_EQ(*exit_code, 0u);
        new_process = relaunched_process(old_process);
        ASSERT_NE(new_process, 0u) << standin_log().text();
    }

    // The log once the download's end has been reported to the shell.
    std::optional<std::vector<StandinEntry>> wait_for_downloads_ended(std::size_t count) const {
        return standin_log().wait_until(
            [&](const auto& entries) { return payloads(entries, "download_state").size() >= count; });
    }

    std::string label(const std::string& content) const {
        if (content == old_build_) return "old";
        if (content == fake_build_) return "fake";
        if (content == new_build_) return "new";
        if (content == kStale) return "stale";
        if (content == kText) return "text";
        if (content == truncated()) return "truncated";
        return "other";
    }

    Files files_beside() const {
        Files files;
        const std::pair<std::string, fs::path> names[] = {
            {"executable", executable()}, {"staged", staged()}, {"previous", previous()}};
        for (const auto& [name, path] : names)
            if (const auto content = read_file(path)) files[name] = label(*content);
        return files;
    }

    // The new build cut short: its headers are whole, but it is no program.
    std::string truncated() const { return new_build_.substr(0, 8192); }

    static constexpr char kStale[] = "a previous executable left by an older update";
    static constexpr char kText[] = "<!doctype html><title>502 Bad Gateway</title>";

    std::string old_build_;
    std::string new_build_;
    std::string fake_build_;
};

using UpdateDownload = UpdateCase;

TEST_F(UpdateDownload, OnlyTheUpdateUrlIsStaged) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::string proposed = narrow((downloads() / L"wispermoth.exe").native());
    const std::string staged_path = narrow(staged().native());
    enum class Route { staged, cancelled };
    struct Row {
        std::string address;
        Route route;
    };
    const Row rows[] = {
        {kUpdateUrl, Route::staged},
        {std::string(kUpdateUrl) + "?v=0.3", Route::staged},
        {std::string(kUpdateUrl) + "#latest", Route::staged},
        {"https://wispermoth.app/releases/0.3/download/wispermoth.exe", Route::staged},
        // A program from anywhere else is never saved: a subdomain or another port may serve
        // what users upload.
        {"https://wispermoth.app/Download/wispermoth.exe", Route::cancelled},
        {std::string(kUpdateUrl) + "/", Route::cancelled},
        {"https://ugc.wispermoth.app/u/7/download/wispermoth.exe", Route::cancelled},
        {"https://wispermoth.app:8443/download/wispermoth.exe", Route::cancelled},
        {"http://wispermoth.app/download/wispermoth.exe", Route::cancelled},
        {"https://example.com/download/wispermoth.exe", Route::cancelled},
    };
    std::size_t ended = 0;
    std::size_t followed = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.address);
        const std::size_t scripts_before = scripts().size();
        // Interrupted, so that no update is applied: the update then tells the page it failed,
        // and an ordinary download tells it nothing.
        download(row.address, downloads() / L"wispermoth.exe", "interrupted");
        const auto entries = wait_for_downloads_ended(++ended);
        ASSERT_TRUE(entries) << standin_log().text();
        EXPECT_EQ(last_payload(*entries, "download_result"), row.route == Route::cancelled
                                                                 ? "path=" + proposed + " handled=1 cancel=1"
                                                                 : "path=" + staged_path + " handled=1 cancel=0");
        if (row.route != Route::cancelled) ++followed;
        handled_through("after " + row.address);
        std::vector<std::string> expected;
        if (row.route == Route::staged) expected.push_back(kUpdateFailed);
        expected.push_back("shellSaved('after " + row.address + "')");
        const auto all = scripts();
        EXPECT_EQ(std::vector<std::string>(all.begin() + static_cast<std::ptrdiff_t>(scripts_before), all.end()),
                  expected);
    }
    // Each followed download's state handler went when the download ended.
    const auto entries = standin_log().entries();
    EXPECT_EQ(count_of(entries, "handler_added", "StateChanged"), followed);
    EXPECT_EQ(count_of(entries, "handler_removed", "StateChanged"), followed);
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}}));
}

// A link in the chat that a foreign server answers with an attachment never leaves the page: the
// window still shows the application. The file is the user's to see, never the shell's to save
// in silence, and a program is not saved at all; nor is a disk image a frame of the page made.
TEST_F(UpdateDownload, NoAttachmentOrDiskImageRaisedInPlaceIsSavedInSilence) {
    ASSERT_NO_FATAL_FAILURE(open());
    download("https://evil.example/dwmapi.dll", downloads() / L"dwmapi.dll", "completed", new_build_file());
    download("https://evil.example/invoice", downloads() / L"invoice.pdf", "completed", new_build_file());
    download("data:application/octet-stream;base64,Q0QwMDE=", downloads() / L"invoice.iso", "completed",
             new_build_file());
    const auto entries = wait_for_downloads_ended(3);
    ASSERT_TRUE(entries) << standin_log().text();
    const auto result = [&](const wchar_t* name, const char* answer) {
        return "path=" + narrow((downloads() / name).native()) + answer;
    };
    EXPECT_EQ(payloads(*entries, "download_result"),
              (std::vector<std::string>{result(L"dwmapi.dll", " handled=1 cancel=1"),
                                        result(L"invoice.pdf", " handled=0 cancel=0"),
                                        result(L"invoice.iso", " handled=1 cancel=1")}));
    handled_through("done");
    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('done')"});
    EXPECT_FALSE(fs::exists(downloads() / L"dwmapi.dll"));
    EXPECT_FALSE(fs::exists(downloads() / L"invoice.iso"));
}

TEST_F(UpdateDownload, ACompletedDownloadTellsThePageItsFileNameAloneEscaped) {
    ASSERT_NO_FATAL_FAILURE(open());
    // A Windows file name cannot hold a backslash; the apostrophe is what needs escaping here.
    download("https://wispermoth.app/files/report", downloads() / widen("it's caf\xc3\xa9.txt"), "completed");
    ASSERT_TRUE(wait_for_downloads_ended(1)) << standin_log().text();
    handled_through("done");
    EXPECT_EQ(scripts(), (std::vector<std::string>{"shellSaved('it\\'s caf\xc3\xa9.txt')", "shellSaved('done')"}));
    EXPECT_TRUE(fs::exists(downloads() / widen("it's caf\xc3\xa9.txt")));
}

// The staged name holds only what this process's own update download completed: a download
// proposed onto it does not run, and a program found there by any other route is not started by
// the page's "update:done" (nor refused: there is no update of this run to speak of).
TEST_F(UpdateDownload, NoDownloadTakesTheStagedNameAndUpdateDoneTakesNoFileItDidNotDownload) {
    ASSERT_NO_FATAL_FAILURE(open());
    download("https://wispermoth.app/files/wispermoth.new.exe", staged(), "completed", new_build_file());
    const auto entries = wait_for_downloads_ended(1);
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(last_payload(*entries, "download_result"), "path=" + narrow(staged().native()) + " handled=1 cancel=1");
    EXPECT_FALSE(fs::exists(staged()));

    write_file(staged(), new_build_);
    const auto listing = folder_listing(folder());
    post("update:done");
    handled_through("done");
    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('done')"});
    EXPECT_EQ(folder_listing(folder()), listing);
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}, {"staged", "new"}}));
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

// A foreign page reached through a chat link must not leave files (a DLL beside the executable,
// say) in the download folder, not even the update's.
TEST_F(UpdateDownload, ADownloadStartedByAPageOffTheOriginIsCancelledInSilence) {
    ASSERT_NO_FATAL_FAILURE(open());
    command(StandinCommand::set_source, "https://example.com/download-page");
    download(kUpdateUrl, downloads() / L"wispermoth.exe", "completed", new_build_file());
    download("https://example.com/dwmapi.dll", downloads() / L"dwmapi.dll", "completed", new_build_file());
    const auto entries = wait_for_downloads_ended(2);
    ASSERT_TRUE(entries) << standin_log().text();
    for (const auto& result : payloads(*entries, "download_result"))
        EXPECT_TRUE(result.ends_with(" cancel=1")) << result;
    command(StandinCommand::set_source, kInOrigin);
    // Nothing of this run's was downloaded as an update: the page's own retry takes no file.
    post("update:done");
    handled_through("done");
    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('done')"});
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}}));
    EXPECT_EQ(folder_listing(downloads()), std::set<fs::path>{});
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

// The page heard that its latest update download failed: its "update:done" takes no earlier one.
TEST_F(UpdateDownload, AfterALaterUpdateDownloadFailedUpdateDoneAppliesNothing) {
    ASSERT_NO_FATAL_FAILURE(open());
    ASSERT_NO_FATAL_FAILURE(stage_update(new_build_));
    download(kUpdateUrl, downloads() / L"wispermoth.exe", "interrupted");
    ASSERT_TRUE(wait_for_downloads_ended(3)) << standin_log().text();
    post("update:done");
    handled_through("done");
    EXPECT_EQ(scripts(), (std::vector<std::string>{kUpdateFailed, kUpdateFailed, "shellSaved('done')"}));
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}, {"staged", "new"}}));
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

// A download the shell cannot judge might be the update, or land anywhere: it does not run.
TEST_F(UpdateDownload, ADownloadWhoseAddressOrPathCannotBeReadIsCancelled) {
    ASSERT_NO_FATAL_FAILURE(open());
    download("", downloads() / L"report.pdf", "completed", new_build_file());
    download(kUpdateUrl, L"", "completed", new_build_file());
    const auto entries = wait_for_downloads_ended(2);
    ASSERT_TRUE(entries) << standin_log().text();
    for (const auto& result : payloads(*entries, "download_result"))
        EXPECT_TRUE(result.ends_with(" cancel=1")) << result;
    handled_through("done");
    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('done')"});
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}}));
    EXPECT_EQ(folder_listing(downloads()), std::set<fs::path>{});
}

// The executable's own file name: the update keeps it.
class UpdateSwap : public UpdateCase, public testing::WithParamInterface<const wchar_t*> {};

TEST_P(UpdateSwap, TheNewBuildTakesTheExecutablesNameStartsAndTheOldOneEnds) {
    rename_executable(GetParam());
    ASSERT_NO_FATAL_FAILURE(open());
    const DWORD old_process = process_id();
    // Shared for deletion, this handle lets the shell rename and delete the old build.
    UniqueHandle old_build(CreateFileW(executable().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(old_build);

    download(kUpdateUrl, downloads() / L"wispermoth.exe", "completed", new_build_file());
    const auto exit_code = wait_for_exit(kStartTimeout);
    ASSERT_TRUE(exit_code) << standin_log().text();
    EXPECT_EQ(*exit_code, 0u);
    // The old build waited for the new one's signal: by the time it ended, the new build had
    // built its web view and sent it to the application.
    const auto at_exit = standin_log().entries();
    EXPECT_EQ(payloads(at_exit, "navigate"), (std::vector<std::string>{kInOrigin, kInOrigin}));
    EXPECT_EQ(last_payload(at_exit, "download_result"), "path=" + narrow(staged().native()) + " handled=1 cancel=0");

    // The relaunch: another process from the executable's path, with its own web view.
    const DWORD new_process = relaunched_process(old_process);
    ASSERT_NE(new_process, 0u) << standin_log().text();
    const ForeignProcess ends_with_the_case(new_process);
    EXPECT_EQ(fs::path(image_path(new_process)), executable());
    const auto entries = standin_log().wait_until([](const auto& entries) {
        return payloads(entries, "environment_created").size() == 2 && payloads(entries, "navigate").size() == 2;
    });
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(payloads(*entries, "navigate"), (std::vector<std::string>{kInOrigin, kInOrigin}));

    // The old build went aside under the fixed name. The new process deletes it once the old
    // process has ended: the driver's handle keeps a deleted file visible until it is closed, and
    // then it is gone.
    EXPECT_EQ(files_beside(), (Files{{"executable", "new"}, {"previous", "old"}}));
    old_build.reset();
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] { return files_beside() == Files{{"executable", "new"}}; }))
        << "left beside it: " << files_beside().size() << " files";
}

INSTANTIATE_TEST_SUITE_P(, UpdateSwap, testing::Values(L"wispermoth.exe", L"My Chat (2).exe"),
                         [](const auto& info) { return info.index == 0 ? "default_name" : "renamed"; });

// A release that changes the browser's options meets the old build's browser on the same page
// data, which the runtime refuses to share while the old build's browser lives, a moment longer
// than the old build itself: the old build closes its web views and hears its browser end before
// it starts the new one.
TEST_F(UpdateDownload, ANewBuildWithOtherBrowserArgumentsComesUpOnceTheOldOnesBrowserHasEnded) {
    ASSERT_NO_FATAL_FAILURE(open());
    const DWORD old_process = process_id();
    // The same features in another order: another command line for the browser.
    std::string next = old_build_;
    const auto utf16 = [](std::string_view text) {
        std::string bytes;
        for (char c : text) bytes.append({c, '\0'});
        return bytes;
    };
    const std::string arguments = utf16("msWebOOUI,msPdfOOUI");
    const auto at = next.find(arguments);
    ASSERT_NE(at, std::string::npos);
    next.replace(at, arguments.size(), utf16("msPdfOOUI,msWebOOUI"));

    download_update(next);
    DWORD new_process = 0;
    ASSERT_NO_FATAL_FAILURE(expect_handed_over(old_process, new_process));
    const ForeignProcess ends_with_the_case(new_process);
    const auto entries = standin_log().wait_until([](const auto& entries) {
        return payloads(entries, "controller_created").size() == 2 && payloads(entries, "navigate").size() == 2;
    });
    ASSERT_TRUE(entries) << standin_log().text();
    EXPECT_EQ(payloads(*entries, "controller_failed"), std::vector<std::string>{}) << standin_log().text();
    std::vector<std::string> order;
    for (const auto& entry : *entries)
        if (entry.event == "environment_created" || entry.event == "browser_process_exited") order.push_back(entry.event);
    EXPECT_EQ(order, (std::vector<std::string>{"environment_created", "browser_process_exited", "environment_created"}));
}

// The update ends after the user left the window that started it, for another site or by
// closing it: it is applied all the same, since the application's page started it. Once its
// window has closed, the runtime raises no event for it: the shell reads its state itself.
struct LeftRow {
    const char* name;
    StandinCommand command;
    const char* payload;
};

class UpdateAfterLeaving : public UpdateCase, public testing::WithParamInterface<LeftRow> {};

TEST_P(UpdateAfterLeaving, IsStillAppliedAndTheNewBuildStarts) {
    ASSERT_NO_FATAL_FAILURE(open());
    const DWORD old_process = process_id();
    // A second window keeps the shell running once the first one closes.
    const HWND second = open_window("window:/second");
    ASSERT_NE(second, nullptr) << standin_log().text();

    download(kUpdateUrl, downloads() / L"wispermoth.exe", "held", new_build_file());
    command(GetParam().command, GetParam().payload);
    ASSERT_TRUE(settle(second)) << standin_log().text();
    ASSERT_TRUE(send_command(wait_for_web_view(second), StandinCommand::end_download, "completed"));
    DWORD new_process = 0;
    ASSERT_NO_FATAL_FAILURE(expect_handed_over(old_process, new_process));
    const ForeignProcess ends_with_the_case(new_process);
    EXPECT_EQ(files_beside()["executable"], "new");
}

INSTANTIATE_TEST_SUITE_P(, UpdateAfterLeaving,
                         testing::Values(LeftRow{"foreign_page", StandinCommand::set_source, "https://id.example.org/login"},
                                         LeftRow{"window_closed", StandinCommand::post_message, "close"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The stale previous executable is read-only: Windows neither deletes nor replaces such a file
// until its attribute is cleared (Wine replaces it all the same, so only Windows tells the two
// apart here).
TEST_F(UpdateDownload, AReadOnlyStalePreviousIsClearedAndMakesNoDifference) {
    ASSERT_NO_FATAL_FAILURE(open());
    const DWORD old_process = process_id();
    write_file(previous(), kStale);
    ASSERT_TRUE(SetFileAttributesW(previous().c_str(), FILE_ATTRIBUTE_READONLY));
    ASSERT_FALSE(DeleteFileW(previous().c_str()));
    download_update(new_build_);
    DWORD new_process = 0;
    ASSERT_NO_FATAL_FAILURE(expect_handed_over(old_process, new_process));
    const ForeignProcess ends_with_the_case(new_process);
    EXPECT_TRUE(poll_until(kEffectTimeout, [&] {
        return files_beside() == Files{{"executable", "new"}};
    })) << testing::PrintToString(files_beside());
}

// A new build that is a valid program, started under the executable's name (its trace shows it
// ran), ends with exit code 1 before building a window.
TEST_F(UpdateDownload, ANewBuildThatEndsAtOnceIsUndoneAndTheOldOneRunsOn) {
    ASSERT_NO_FATAL_FAILURE(open());
    download_update(fake_build_);
    ASSERT_TRUE(wait_for_downloads_ended(1)) << standin_log().text();
    // Its web view, let go for the new build, is built again on its page.
    ASSERT_TRUE(standin_log().wait_until([](const auto& entries) { return payloads(entries, "navigate").size() == 2; }))
        << standin_log().text();
    handled_through("done");
    EXPECT_EQ(scripts(), (std::vector<std::string>{kUpdateFailed, "shellSaved('done')"}));
    EXPECT_TRUE(fs::exists(executable().native() + L".ran"));
    EXPECT_EQ(files_beside(), (Files{{"executable", "old"}, {"staged", "fake"}}));
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

TEST_F(UpdateDownload, ANewBuildThatRunsOnWithoutSignallingIsKeptOnceTheWaitIsOver) {
    // The variable reaches the fake build through the shell's environment.
    ASSERT_NO_FATAL_FAILURE(open({.variables = {{L"E2E_FAKE_BUILD_RUNS_ON", L"1"}}}));
    download_update(fake_build_);
    ASSERT_TRUE(poll_until(kStartTimeout, [&] { return fs::exists(executable().native() + L".ran"); }));
    // Waiting, its web views let go for the new build, the old build still answers, and does not
    // end before its time.
    EXPECT_TRUE(SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr));
    EXPECT_FALSE(wait_for_exit(15s));
    const auto exit_code = wait_for_exit(15s);
    ASSERT_TRUE(exit_code);
    EXPECT_EQ(*exit_code, 0u);
    EXPECT_EQ(files_beside(), (Files{{"executable", "fake"}, {"previous", "old"}}));
}

// A signed running shell: its copy of the executable is the build signed under "publisher". The
// unsigned running shell's row is UpdateSwap: an unsigned new build is swapped in.
class UpdateSigned : public UpdateCase {
protected:
    void SetUp() override {
        UpdateCase::SetUp();
        if (HasFatalFailure()) return;
        old_build_ = read_file(signed_build(L"running.exe")).value_or("");
        ASSERT_FALSE(old_build_.empty());
        write_file(executable(), old_build_);
    }

    static fs::path signed_build(const wchar_t* name) { return windows_path(WM_E2E_SIGNED_BUILDS) / name; }
};

TEST_F(UpdateSigned, ABuildSignedUnderTheSameSubjectIsSwappedInAndStarted) {
    ASSERT_NO_FATAL_FAILURE(open());
    const DWORD old_process = process_id();
    const std::string next = read_file(signed_build(L"publisher.exe")).value_or("");
    download_update(next);
    DWORD new_process = 0;
    ASSERT_NO_FATAL_FAILURE(expect_handed_over(old_process, new_process));
    const ForeignProcess ends_with_the_case(new_process);
    EXPECT_TRUE(read_file(executable()) == next) << "the executable is not the build signed under \"publisher\"";
}

// A second update download may still overwrite the staged file: the first one's end changes
// nothing, and the second one's own end has what it wrote checked. Here that is an unsigned build.
TEST_F(UpdateSigned, WhileAnotherUpdateDownloadRunsNoUpdateIsApplied) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::string checked = read_file(signed_build(L"publisher.exe")).value_or("");
    const std::string unsigned_build = read_file(signed_build(L"next.exe")).value_or("");
    download(kUpdateUrl, downloads() / L"wispermoth.exe", "held");
    download(kUpdateUrl, downloads() / L"wispermoth.exe", "completed", signed_build(L"publisher.exe"));
    ASSERT_TRUE(wait_for_downloads_ended(1)) << standin_log().text();
    handled_through("first ended");
    EXPECT_EQ(scripts(), std::vector<std::string>{"shellSaved('first ended')"});
    EXPECT_TRUE(read_file(executable()) == old_build_) << "the executable changed";
    EXPECT_TRUE(read_file(staged()) == checked) << "the staged file is not the first download's";

    command(StandinCommand::end_download, "completed\t" + narrow(signed_build(L"next.exe").native()));
    ASSERT_TRUE(wait_for_downloads_ended(2)) << standin_log().text();
    handled_through("second ended");
    EXPECT_EQ(scripts(), (std::vector<std::string>{"shellSaved('first ended')", kUpdateFailed,
                                                   "shellSaved('second ended')"}));
    EXPECT_TRUE(read_file(executable()) == old_build_) << "the executable changed";
    EXPECT_TRUE(read_file(staged()) == unsigned_build) << "the staged file is not the second download's";
    EXPECT_FALSE(fs::exists(previous()));
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

// Refused before a file changes: the build signed under "other", the one signed under
// "publisher" with a byte changed after signing, the unsigned one, and the one signed under
// "publisher" whose version is one patch lower.
struct SignedRow {
    const char* name;
    const wchar_t* build;
};

class UpdateSignedRefusal : public UpdateSigned, public testing::WithParamInterface<SignedRow> {};

TEST_P(UpdateSignedRefusal, LeavesEveryFileAsItWasAndTellsThePage) {
    ASSERT_NO_FATAL_FAILURE(open());
    const std::string next = read_file(signed_build(GetParam().build)).value_or("");
    ASSERT_FALSE(next.empty());
    download_update(next);
    ASSERT_TRUE(wait_for_downloads_ended(1)) << standin_log().text();
    handled_through("done");
    EXPECT_EQ(scripts(), (std::vector<std::string>{kUpdateFailed, "shellSaved('done')"}));
    // Compared whole, not printed: these are programs.
    EXPECT_TRUE(read_file(executable()) == old_build_) << "the executable changed";
    EXPECT_TRUE(read_file(staged()) == next) << "the staged file changed";
    EXPECT_FALSE(fs::exists(previous()));
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

INSTANTIATE_TEST_SUITE_P(, UpdateSignedRefusal,
                         testing::Values(SignedRow{"other_subject", L"other.exe"},
                                         SignedRow{"changed_after_signing", L"publisher-changed.exe"},
                                         SignedRow{"unsigned", L"next.exe"},
                                         SignedRow{"older_version", L"older.exe"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A downloaded update, planted files and locks, then the page's own "update:done": each failing
// step leaves the files as planned, the old build under the executable's name, and the shell
// running.
enum class Lock { none, previous_unshared, staged_undeletable, staged_writable };

struct FaultRow {
    const char* name;
    const char* staged;  // "new", "text" or "truncated"
    Lock lock;
    Files after;
};

class UpdateFault : public UpdateCase, public testing::WithParamInterface<FaultRow> {};

TEST_P(UpdateFault, LeavesTheOldBuildInPlace) {
    const FaultRow& row = GetParam();
    // Planted once the shell's start-up clean-up has run.
    ASSERT_NO_FATAL_FAILURE(open());
    write_file(previous(), kStale);
    const std::string staged_content = row.staged == std::string("text")        ? std::string(kText)
                                       : row.staged == std::string("truncated") ? truncated()
                                                                                : new_build_;
    ASSERT_NO_FATAL_FAILURE(stage_update(staged_content));

    // Opened without delete sharing, a file can be neither deleted nor renamed nor replaced.
    // Opened for writing, sharing everything, it can be changed at any moment, as by a second
    // download.
    const fs::path locked = row.lock == Lock::previous_unshared ? previous() : staged();
    const bool writable = row.lock == Lock::staged_writable;
    UniqueHandle lock;
    if (row.lock != Lock::none) {
        lock = UniqueHandle(CreateFileW(locked.c_str(), writable ? GENERIC_WRITE : GENERIC_READ,
                                        writable ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                                                 : FILE_SHARE_READ,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
    }
    // A failed attempt spends the download: the second "update:done" has nothing to apply.
    post("update:done");
    post("update:done");
    handled_through("done");
    lock.reset();

    // The held download's failure, then the update's.
    EXPECT_EQ(scripts(), (std::vector<std::string>{kUpdateFailed, kUpdateFailed, "shellSaved('done')"}));
    EXPECT_EQ(files_beside(), row.after);
    EXPECT_FALSE(wait_for_exit(std::chrono::milliseconds(0)));
}

INSTANTIATE_TEST_SUITE_P(
    , UpdateFault,
    testing::Values(
        // Step 4 fails: the stale file stays, and so does everything else.
        FaultRow{"previous_locked",
                 "new",
                 Lock::previous_unshared,
                 {{"executable", "old"}, {"staged", "new"}, {"previous", "stale"}}},
        // Held by another process, the staged file is not opened: nothing changes.
        FaultRow{"staged_locked",
                 "new",
                 Lock::staged_undeletable,
                 {{"executable", "old"}, {"staged", "new"}, {"previous", "stale"}}},
        // Another writer could change it after the check: it is not taken.
        FaultRow{"staged_open_for_writing",
                 "new",
                 Lock::staged_writable,
                 {{"executable", "old"}, {"staged", "new"}, {"previous", "stale"}}},
        // Refused before step 3: not a single file touched.
        FaultRow{"staged_not_a_program",
                 "text",
                 Lock::none,
                 {{"executable", "old"}, {"staged", "text"}, {"previous", "stale"}}},
        // Headers pass, the start fails (step 6): the swap is undone.
        FaultRow{"staged_truncated", "truncated", Lock::none, {{"executable", "old"}, {"staged", "truncated"}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
