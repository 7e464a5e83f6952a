#include "update/update_paths.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace wm {
namespace {

using path = std::wstring;

TEST(UpdatePaths, SiblingsHaveFixedNamesWhateverTheExecutableIsCalled) {
    struct Case {
        path executable;
        path folder;
    };
    const Case cases[] = {
        {LR"(C:\Program Files\wm\wispermoth.exe)", LR"(C:\Program Files\wm\)"},
        {LR"(C:\wm\My Chat (2).exe)", LR"(C:\wm\)"},
        {LR"(C:\wm\wispermoth.new.exe)", LR"(C:\wm\)"},
        {LR"(\\server\share\wm.exe)", LR"(\\server\share\)"},
        {L"Z:/opt/wm/app", L"Z:/opt/wm/"},
        {L"C:\\Users\\\u00e9l\u00e8ve\\moth.exe", L"C:\\Users\\\u00e9l\u00e8ve\\"},
        {L"app.exe", L""},
    };
    for (const Case& c : cases) {
        const UpdatePaths paths = update_paths_for(c.executable);
        EXPECT_EQ(paths.current, c.executable);
        EXPECT_EQ(paths.staged, c.folder + L"wispermoth.new.exe");
        EXPECT_EQ(paths.previous, c.folder + L"wispermoth.old.exe");
    }
}

constexpr FileError kNotFound = 2;
constexpr FileError kAccessDenied = 5;
constexpr FileError kSharingViolation = 32;
constexpr FileError kBadExeFormat = 193;
constexpr FileError kVirusInfected = 225;

const UpdatePaths& fake_paths() {
    static const UpdatePaths paths = update_paths_for(L"C:\\apps\\My Chat.exe");
    return paths;
}

// The executable's folder, its files named by role ("current", "staged", "previous") and known
// by their contents ("old", "new", "stale", or "text" for a file that is not a program). A
// signed program's content names its signer's subject after "@", and ends in "!" when its
// signature does not verify (a changed byte, an expired certificate): "new@publisher!". Any
// operation named in `failing` fails with its error, e.g. "rename staged>current".
class FakeFolder final : public FileOps {
public:
    FakeFolder(std::map<std::string, std::string> files, std::map<std::string, FileError> failing)
        : files(std::move(files)), failing_(std::move(failing)) {}

    bool remove_file(const path& file) override {
        deleted.push_back(role(file));
        if (fails("delete " + role(file))) return false;
        return files.erase(role(file)) == 1;
    }
    FileError read_attributes(const path& file) override {
        if (const FileError error = fails("attributes " + role(file))) return error;
        return files.contains(role(file)) ? 0 : kNotFound;
    }
    FileError read_head(const path& file, std::size_t size, std::vector<std::byte>& head) override {
        if (const FileError error = fails("read " + role(file))) return error;
        const auto found = files.find(role(file));
        if (found == files.end()) return kNotFound;
        head = found->second == "text" ? text_head() : program_head();
        if (head.size() > size) head.resize(size);
        return 0;
    }
    Signature read_signature(const path& file) override {
        const auto found = files.find(role(file));
        if (found == files.end()) return {.present = true};
        const std::string& content = found->second;
        const auto at = content.find('@');
        if (at == std::string::npos) return {};
        const bool verifies = content.back() != '!';
        return {.present = true,
                .verified = verifies,
                .signer_subject = content.substr(at + 1, content.size() - at - (verifies ? 1 : 2))};
    }
    FileError rename_replacing(const path& from, const path& to) override {
        if (const FileError error = fails("rename " + role(from) + ">" + role(to))) return error;
        const auto found = files.find(role(from));
        if (found == files.end()) return kNotFound;
        files[role(to)] = found->second;
        files.erase(role(from));
        return 0;
    }
    FileError start_process(const path& file) override {
        if (const FileError error = fails("start")) {
            // An antivirus that refuses to start a program also takes its file away.
            if (error == kVirusInfected) files.erase(role(file));
            return error;
        }
        started.push_back(files.at(role(file)));
        return 0;
    }
    NewBuildReport wait_for_new_build() override { return report; }

    std::map<std::string, std::string> files;
    std::vector<std::string> started;  // the contents each start ran
    std::vector<std::string> deleted;  // the roles asked to be deleted, in order
    NewBuildReport report = NewBuildReport::ready;  // what the started build shows

private:
    static std::string role(const path& file) {
        if (file == fake_paths().current) return "current";
        if (file == fake_paths().staged) return "staged";
        if (file == fake_paths().previous) return "previous";
        return "elsewhere";
    }
    FileError fails(const std::string& operation) const {
        const auto found = failing_.find(operation);
        return found == failing_.end() ? 0 : found->second;
    }
    static std::vector<std::byte> program_head() {
        // "MZ", the header at 0x40: "PE\0\0", AMD64, executable image; PE32+, GUI subsystem.
        std::vector<std::byte> head(0x100);
        const auto put = [&](std::size_t at, std::initializer_list<int> bytes) {
            for (const int b : bytes) head[at++] = std::byte(b);
        };
        put(0, {'M', 'Z'});
        put(0x3C, {0x40});
        put(0x40, {'P', 'E', 0, 0, 0x64, 0x86});
        put(0x40 + 20, {240, 0, 0x22, 0});
        put(0x40 + 24, {0x0B, 0x02});
        put(0x40 + 24 + 68, {2});
        return head;
    }
    static std::vector<std::byte> text_head() {
        const std::string text = "<!doctype html><title>502 Bad Gateway</title>";
        std::vector<std::byte> head;
        for (const char c : text) head.push_back(std::byte(c));
        return head;
    }

    std::map<std::string, FileError> failing_;
};

using Files = std::map<std::string, std::string>;

TEST(ApplyUpdate, EachFailingStepLeavesTheFilesAsPlannedAndIsReported) {
    const Files downloaded = {{"current", "old"}, {"staged", "new"}};
    const Files with_stale = {{"current", "old"}, {"staged", "new"}, {"previous", "stale"}};
    const Files swapped = {{"current", "new"}, {"previous", "old"}};
    const Files unswapped = {{"current", "old"}, {"staged", "new"}};
    struct Case {
        const char* label;
        Files before;
        std::map<std::string, FileError> failing;
        UpdateOutcome outcome;
        Files after;
        std::vector<std::string> started;
        NewBuildReport report = NewBuildReport::ready;
    };
    const Case cases[] = {
        {"swap and start", downloaded, {}, {}, swapped, {"new"}},
        {"stale previous deleted", with_stale, {}, {}, swapped, {"new"}},
        {"stale previous not deleted but replaced", with_stale, {{"delete previous", kAccessDenied}}, {}, swapped,
         {"new"}},
        {"4: stale previous neither deleted nor replaced", with_stale,
         {{"delete previous", kSharingViolation}, {"rename current>previous", kSharingViolation}},
         {UpdateStep::move_aside, kSharingViolation}, with_stale, {}},
        {"4: executable not renamed", downloaded, {{"rename current>previous", kAccessDenied}},
         {UpdateStep::move_aside, kAccessDenied}, downloaded, {}},
        {"2: no staged file", {{"current", "old"}, {"previous", "stale"}}, {},
         {UpdateStep::staged_file, kNotFound}, {{"current", "old"}, {"previous", "stale"}}, {}},
        {"2: staged file unreachable", with_stale, {{"attributes staged", kAccessDenied}},
         {UpdateStep::staged_file, kAccessDenied}, with_stale, {}},
        {"staged file not a program", {{"current", "old"}, {"staged", "text"}, {"previous", "stale"}}, {},
         {UpdateStep::program_check, 0}, {{"current", "old"}, {"staged", "text"}, {"previous", "stale"}}, {}},
        {"staged file unreadable", with_stale, {{"read staged", kSharingViolation}},
         {UpdateStep::program_check, kSharingViolation}, with_stale, {}},
        {"5: staged file locked, undone", with_stale, {{"rename staged>current", kSharingViolation}},
         {UpdateStep::move_in, kSharingViolation}, unswapped, {}},
        {"5: and its undo failing", downloaded,
         {{"rename staged>current", kSharingViolation}, {"rename previous>current", kAccessDenied}},
         {UpdateStep::move_in, kSharingViolation}, {{"staged", "new"}, {"previous", "old"}}, {}},
        {"6: new executable does not start, mended", with_stale, {{"start", kBadExeFormat}},
         {UpdateStep::start, kBadExeFormat}, unswapped, {}},
        // The executable's name must hold the build that ran before, whatever became of the new
        // file: one that cannot be moved away is replaced.
        {"6: mend cannot move the new file back", downloaded,
         {{"start", kBadExeFormat}, {"rename current>staged", kAccessDenied}},
         {UpdateStep::start, kBadExeFormat}, {{"current", "old"}}, {}},
        {"6: antivirus took the new file at its start", downloaded, {{"start", kVirusInfected}},
         {UpdateStep::start, kVirusInfected}, {{"current", "old"}}, {}},
        {"new build ends before its first window is ready, undone", with_stale, {}, {UpdateStep::ended_early},
         unswapped, {"new"}, NewBuildReport::ended},
        {"new build says nothing in its time, kept", downloaded, {}, {}, swapped, {"new"}, NewBuildReport::silent},
        {"6: mend cannot put the executable back", downloaded,
         {{"start", kBadExeFormat}, {"rename previous>current", kAccessDenied}},
         {UpdateStep::start, kBadExeFormat}, {{"staged", "new"}, {"previous", "old"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeFolder folder(c.before, c.failing);
        folder.report = c.report;
        EXPECT_EQ(apply_update(folder, fake_paths()), c.outcome);
        EXPECT_EQ(folder.files, c.after);
        EXPECT_EQ(folder.started, c.started);
    }
}

TEST(ApplyUpdate, ASignedProgramBecomesOnlyAFileThatVerifiesUnderItsOwnSubject) {
    struct Case {
        const char* label;
        std::string current;
        std::string staged;
        bool swapped;
    };
    const Case cases[] = {
        {"unsigned becomes unsigned", "old", "new", true},
        {"unsigned becomes signed", "old", "new@other", true},
        {"same subject", "old@publisher", "new@publisher", true},
        {"own certificate expired: same subject still accepted", "old@publisher!", "new@publisher", true},
        {"other subject", "old@publisher", "new@other", false},
        {"same subject, changed after signing", "old@publisher", "new@publisher!", false},
        {"unsigned new build", "old@publisher", "new", false},
        {"own certificate expired: unsigned still refused", "old@publisher!", "new", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const Files before = {{"current", c.current}, {"staged", c.staged}};
        FakeFolder folder(before, {});
        const UpdateOutcome outcome = apply_update(folder, fake_paths());
        if (c.swapped) {
            EXPECT_EQ(outcome, UpdateOutcome{});
            EXPECT_EQ(folder.files, (Files{{"current", c.staged}, {"previous", c.current}}));
        } else {
            EXPECT_EQ(outcome, UpdateOutcome{UpdateStep::signature});
            EXPECT_EQ(folder.files, before);
            EXPECT_TRUE(folder.started.empty());
        }
    }
}

TEST(ApplyUpdate, WithoutPathsNothingIsTouched) {
    FakeFolder folder({{"current", "old"}, {"staged", "new"}}, {});
    EXPECT_EQ(apply_update(folder, std::nullopt), UpdateOutcome{UpdateStep::paths});
    EXPECT_EQ(folder.files, (Files{{"current", "old"}, {"staged", "new"}}));
}

TEST(UpdatePaths, CleanRemovesPreviousThenStagedWhetherOrNotThatWorks) {
    for (const bool fail : {false, true}) {
        std::map<std::string, FileError> failing;
        if (fail) failing = {{"delete previous", kAccessDenied}};
        FakeFolder folder({{"current", "new"}, {"staged", "new"}, {"previous", "old"}}, failing);
        clean_update_files(folder, fake_paths());
        EXPECT_EQ(folder.deleted, (std::vector<std::string>{"previous", "staged"}));
        const Files left = fail ? Files{{"current", "new"}, {"previous", "old"}} : Files{{"current", "new"}};
        EXPECT_EQ(folder.files, left) << fail;
    }
}

TEST(UpdatePaths, CleanDoesNothingWithoutPaths) {
    FakeFolder folder({{"staged", "new"}, {"previous", "old"}}, {});
    clean_update_files(folder, std::nullopt);
    EXPECT_EQ(folder.files, (Files{{"staged", "new"}, {"previous", "old"}}));
}

}  // namespace
}  // namespace wm
