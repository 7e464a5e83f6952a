#include "update/update_paths.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
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
constexpr FileError kBadExeFormat = 193;
constexpr FileError kVirusInfected = 225;

constexpr FileVersion kRunningVersion{0, 2, 13, 0};

const UpdatePaths& fake_paths() {
    static const UpdatePaths paths = update_paths_for(L"C:\\apps\\My Chat.exe");
    return paths;
}

// Which file the fake folder's file of this content is.
FileIdentity identity_of(const std::string& content) {
    FileIdentity identity{1, {}};
    const std::size_t hash = std::hash<std::string>{}(content);
    std::memcpy(identity.id.data(), &hash, sizeof hash);
    return identity;
}

// The file that the update download completed: what lies under the staged name, if anything.
FileIdentity downloaded_file(const std::map<std::string, std::string>& files) {
    const auto staged = files.find("staged");
    return staged == files.end() ? FileIdentity{} : identity_of(staged->second);
}

// The executable's folder, its files named by role ("current", "staged", "previous") and known
// by their contents ("old", "new", "stale", or "text" for a file that is not a program). A
// program's content may give its file version after ":" (the running build's otherwise); a
// signed one names its signer's subject after "@", and ends in "!" when its signature does not
// verify (a changed byte, an expired certificate): "new:0.2.14@publisher!"; one whose
// certificate table cannot be read ends in "?". Other files are known by their names. Any
// operation named in `failing` fails with its error, e.g. "rename staged>current". As on Windows:
// renames fail onto an existing file unless asked to replace; a running program's file and a
// read-only one can be neither deleted nor replaced (the former can be renamed); a file opened
// exclusively can be neither deleted, renamed by name, unmarked nor opened again until it is
// closed.
class FakeFolder final : public FileOps {
public:
    FakeFolder(std::map<std::string, std::string> files, std::map<std::string, FileError> failing)
        : files(std::move(files)), failing_(std::move(failing)) {}

    bool remove_file(const path& file) override {
        deleted.push_back(role(file));
        if (fails("delete " + role(file)) || locked_ == role(file) || kept(role(file))) return false;
        return files.erase(role(file)) == 1;
    }
    FileError clear_read_only(const path& file) override {
        if (!files.contains(role(file))) return kNotFound;
        read_only.erase(files.at(role(file)));
        return 0;
    }
    std::vector<path> list_files(const path&) override {
        std::vector<path> all;
        for (const auto& [name, content] : files) all.push_back(path_of(name));
        return all;
    }
    FileError remove_download_mark(const path& file) override {
        if (locked_ == role(file)) return kSharingViolation;
        steps.push_back("unmark " + role(file));
        return 0;
    }
    void pause(std::chrono::milliseconds time) override { waited += time; }
    FileError open(const path& file, FileLock lock, std::unique_ptr<OpenFile>& opened) override {
        if (const FileError error = fails("open " + role(file))) return error;
        if (!files.contains(role(file))) return kNotFound;
        if (locked_ == role(file)) return kSharingViolation;
        if (role(file) == "staged" && waited < staged_held_for) return staged_held_with;
        if (lock == FileLock::exclusive) locked_ = role(file);
        opened = std::make_unique<FakeFile>(*this, role(file), lock);
        return 0;
    }
    FileError rename(const path& from, const path& to, bool replace) override {
        if (locked_ == role(from) || locked_ == role(to)) return kSharingViolation;
        return move(role(from), role(to), replace);
    }
    FileError start_process(const path& file) override {
        if (locked_ == role(file)) return kSharingViolation;
        if (const FileError error = fails("start")) {
            // An antivirus that refuses to start a program also takes its file away.
            if (error == kVirusInfected) files.erase(role(file));
            return error;
        }
        started.push_back(files.at(role(file)));
        steps.push_back("start");
        return 0;
    }
    NewBuildReport wait_for_new_build() override { return report; }

    std::map<std::string, std::string> files;
    std::set<std::string> running = {"old"};  // contents of running programs' files
    std::set<std::string> read_only;          // contents of read-only files
    std::vector<std::string> started;         // the contents each start ran
    std::vector<std::string> deleted;         // the roles asked to be deleted, in order
    std::vector<std::string> steps;           // download marks removed (by role) and starts, in order
    NewBuildReport report = NewBuildReport::ready;  // what the started build shows
    std::optional<std::string> second_download;     // what lands on the staged name during its check
    // An antivirus holds the staged file until this much time has been let pass.
    std::chrono::milliseconds staged_held_for{0};
    FileError staged_held_with = kSharingViolation;
    std::chrono::milliseconds waited{0};

private:
    class FakeFile final : public OpenFile {
    public:
        FakeFile(FakeFolder& folder, std::string role, FileLock lock) : folder_(folder), role_(std::move(role)), lock_(lock) {}
        ~FakeFile() override {
            if (lock_ == FileLock::exclusive) folder_.locked_.clear();
            folder_.land_second_download();
        }
        FileError read_facts(ProgramFacts& facts) override {
            if (const FileError error = folder_.fails("read " + role_)) return error;
            const std::string& content = folder_.files.at(role_);
            facts = {};
            if (content == "text") return 0;
            const auto at = content.find('@');
            const auto colon = content.substr(0, at).find(':');
            facts.gui_program_x64 = true;
            if (content.back() != '?') facts.certificate_table = at != std::string::npos;
            facts.product_name = content.find("+other") == std::string::npos ? u"wispermoth" : u"other";
            facts.original_file_name = content.find("=other") == std::string::npos ? u"wispermoth.exe" : u"other.exe";
            facts.version = kRunningVersion;
            if (colon != std::string::npos) {
                const std::string version = content.substr(colon + 1, at == std::string::npos ? at : at - colon - 1);
                unsigned major = 0, minor = 0, patch = 0;
                if (std::sscanf(version.c_str(), "%u.%u.%u", &major, &minor, &patch) != 3) facts.version.reset();
                else facts.version = FileVersion{std::uint16_t(major), std::uint16_t(minor), std::uint16_t(patch), 0};
            }
            return 0;
        }
        FileError identity(FileIdentity& identity) override {
            if (const FileError error = folder_.fails("identify " + role_)) return error;
            identity = identity_of(folder_.files.at(role_));
            return 0;
        }
        Signature signature() override {
            const std::string& content = folder_.files.at(role_);
            Signature judged;
            if (const auto at = content.find('@'); at != std::string::npos) {
                const bool verifies = content.back() != '!';
                judged.signer_subject = content.substr(at + 1, content.size() - at - (verifies ? 1 : 2));
                judged.verified = verifies;
            }
            // A second download ends just after the check, or else as soon as the file is closed.
            if (role_ == "staged") folder_.land_second_download();
            return judged;
        }
        FileError rename(const path& to, bool replace) override {
            if (to_role(to) == folder_.locked_ && to_role(to) != role_) return kSharingViolation;
            const FileError error = folder_.move(role_, to_role(to), replace);
            if (error) return error;
            if (folder_.locked_ == role_) folder_.locked_ = to_role(to);
            role_ = to_role(to);
            return 0;
        }

    private:
        static std::string to_role(const path& file) { return role(file); }
        FakeFolder& folder_;
        std::string role_;
        FileLock lock_;
    };

    // It writes over the staged name unless that file is held.
    void land_second_download() {
        if (second_download && locked_ != "staged") files["staged"] = *std::exchange(second_download, std::nullopt);
    }
    bool kept(const std::string& role) const {
        const auto found = files.find(role);
        return found != files.end() && (running.contains(found->second) || read_only.contains(found->second));
    }
    FileError move(const std::string& from, const std::string& to, bool replace) {
        if (const FileError error = fails("rename " + from + ">" + to)) return error;
        const auto found = files.find(from);
        if (found == files.end()) return kNotFound;
        if (files.contains(to) && !replace) return kAlreadyExists;
        if (kept(to)) return kAccessDenied;
        files[to] = found->second;
        files.erase(from);
        return 0;
    }
    static std::string role(const path& file) {
        if (file == fake_paths().current) return "current";
        if (file == fake_paths().staged) return "staged";
        if (file == fake_paths().previous) return "previous";
        return std::string(file.begin() + static_cast<std::ptrdiff_t>(file.find_last_of(L'\\') + 1), file.end());
    }
    static path path_of(const std::string& role) {
        if (role == "current") return fake_paths().current;
        if (role == "staged") return fake_paths().staged;
        if (role == "previous") return fake_paths().previous;
        return L"C:\\apps\\" + path(role.begin(), role.end());
    }
    FileError fails(const std::string& operation) const {
        const auto found = failing_.find(operation);
        return found == failing_.end() ? 0 : found->second;
    }

    std::map<std::string, FileError> failing_;
    std::string locked_;  // the role opened exclusively, if any
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
        std::set<std::string> running = {"old"};
        std::set<std::string> read_only = {};
    };
    const auto plus = [](Files files, const std::string& name, const std::string& content) {
        files[name] = content;
        return files;
    };
    const auto ready = NewBuildReport::ready;
    const Case cases[] = {
        {"swap and start", downloaded, {}, {}, swapped, {"new"}},
        {"stale previous deleted", with_stale, {}, {}, swapped, {"new"}},
        {"read-only stale previous: cleared and deleted", with_stale, {}, {}, swapped, {"new"}, ready, {"old"}, {"stale"}},
        {"stale previous still running: moved aside", with_stale, {}, {}, plus(swapped, "wispermoth.old.1.exe", "stale"),
         {"new"}, ready, {"old", "stale"}},
        {"running and read-only: moved aside", with_stale, {}, {}, plus(swapped, "wispermoth.old.1.exe", "stale"),
         {"new"}, ready, {"old", "stale"}, {"stale"}},
        {"an earlier one aside still running", plus(with_stale, "wispermoth.old.1.exe", "older"), {}, {},
         plus(plus(swapped, "wispermoth.old.1.exe", "older"), "wispermoth.old.2.exe", "stale"), {"new"}, ready,
         {"old", "stale", "older"}},
        // Held open without delete sharing by another process.
        {"4: stale previous neither deleted, moved aside nor replaced", with_stale,
         {{"delete previous", kSharingViolation},
          {"rename previous>wispermoth.old.1.exe", kSharingViolation},
          {"rename current>previous", kSharingViolation}},
         {UpdateStep::move_aside, kSharingViolation}, with_stale, {}},
        {"4: executable not renamed", downloaded, {{"rename current>previous", kAccessDenied}},
         {UpdateStep::move_aside, kAccessDenied}, downloaded, {}},
        {"2: no staged file", {{"current", "old"}, {"previous", "stale"}}, {},
         {UpdateStep::staged_file, kNotFound}, {{"current", "old"}, {"previous", "stale"}}, {}},
        {"2: staged file unreachable", with_stale, {{"open staged", kAccessDenied}},
         {UpdateStep::staged_file, kAccessDenied}, with_stale, {}},
        // The stricter rule: a running build whose own file cannot be read counts as signed.
        {"running file unreadable", downloaded, {{"open current", kSharingViolation}}, {UpdateStep::signature},
         downloaded, {}},
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
        folder.running = c.running;
        folder.read_only = c.read_only;
        EXPECT_EQ(apply_update(folder, fake_paths(), kRunningVersion, downloaded_file(c.before)), c.outcome);
        EXPECT_EQ(folder.files, c.after);
        EXPECT_EQ(folder.started, c.started);
    }
}

// A signed build also loses the new file's download mark before it takes the executable's name.
TEST(ApplyUpdate, ASignedProgramBecomesOnlyAFileThatVerifiesUnderItsOwnSubjectAndIsNoOlder) {
    struct Case {
        const char* label;
        std::string current;
        std::string staged;
        UpdateStep refused = UpdateStep::none;
    };
    const Case cases[] = {
        {"unsigned becomes unsigned", "old", "new"},
        {"unsigned becomes signed", "old", "new@other"},
        {"unsigned becomes an older build", "old", "new:0.2.12"},
        {"same subject", "old@publisher", "new@publisher"},
        {"own certificate expired: same subject still accepted", "old@publisher!", "new@publisher"},
        {"other subject", "old@publisher", "new@other", UpdateStep::signature},
        {"same subject, changed after signing", "old@publisher", "new@publisher!", UpdateStep::signature},
        {"unsigned new build", "old@publisher", "new", UpdateStep::signature},
        {"own certificate expired: unsigned still refused", "old@publisher!", "new", UpdateStep::signature},
        // Its certificate table says it is signed, however its own check ends.
        {"own signature unreadable: unsigned still refused", "old@", "new", UpdateStep::signature},
        {"own signature unreadable: any subject refused", "old@", "new@publisher", UpdateStep::signature},
        // Too large to read, say: the stricter rule.
        {"own certificate table unreadable: unsigned refused", "old?", "new", UpdateStep::signature},
        {"same subject, another of the publisher's programs", "old@publisher", "new+other@publisher",
         UpdateStep::other_program},
        {"same subject and product, another file name", "old@publisher", "new=other@publisher",
         UpdateStep::other_program},
        // A certificate may name nobody: no subject is no publisher.
        {"own signature unreadable: a file verified without a subject refused", "old@", "new@", UpdateStep::signature},
        {"one patch lower", "old@publisher", "new:0.2.12@publisher", UpdateStep::older},
        {"a lower minor version with a higher patch", "old@publisher", "new:0.1.99@publisher", UpdateStep::older},
        {"no version resource", "old@publisher", "new:none@publisher", UpdateStep::older},
        {"one patch higher", "old@publisher", "new:0.2.14@publisher"},
        {"next minor version", "old@publisher", "new:0.3.0@publisher"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const Files before = {{"current", c.current}, {"staged", c.staged}};
        FakeFolder folder(before, {});
        const UpdateOutcome outcome = apply_update(folder, fake_paths(), kRunningVersion, downloaded_file(before));
        if (c.refused == UpdateStep::none) {
            EXPECT_EQ(outcome, UpdateOutcome{});
            EXPECT_EQ(folder.files, (Files{{"current", c.staged}, {"previous", c.current}}));
            // Unmarked under the executable's name, once the staged file's handle is gone, before
            // the start.
            const bool running_signed = c.current.find('@') != std::string::npos;
            const std::vector<std::string> steps =
                running_signed ? std::vector<std::string>{"unmark current", "start"} : std::vector<std::string>{"start"};
            EXPECT_EQ(folder.steps, steps);
        } else {
            EXPECT_EQ(outcome, UpdateOutcome{c.refused});
            EXPECT_EQ(folder.files, before);
            EXPECT_TRUE(folder.steps.empty());
        }
    }
}

TEST(ApplyUpdate, AStagedFileHeldByAnotherProgramIsWaitedForUpToTwoSeconds) {
    using std::chrono::milliseconds;
    const struct {
        milliseconds held_for;
        FileError held_with;
        UpdateOutcome outcome;
        milliseconds waited;
    } cases[] = {
        {milliseconds(1000), kSharingViolation, {}, milliseconds(1000)},
        {milliseconds(2000), kAccessDenied, {}, milliseconds(2000)},
        {milliseconds(2001), kSharingViolation, {UpdateStep::staged_file, kSharingViolation}, milliseconds(2000)},
        {milliseconds(5000), kNotFound, {UpdateStep::staged_file, kNotFound}, milliseconds(0)},  // gone: not waited for
    };
    for (const auto& c : cases) {
        FakeFolder folder({{"current", "old"}, {"staged", "new"}}, {});
        folder.staged_held_for = c.held_for;
        folder.staged_held_with = c.held_with;
        EXPECT_EQ(apply_update(folder, fake_paths(), kRunningVersion, downloaded_file(folder.files)), c.outcome)
            << c.held_for.count();
        EXPECT_EQ(folder.waited, c.waited) << c.held_for.count();
    }
}

TEST(ApplyUpdate, TheFileCheckedIsTheFileSwappedIn) {
    FakeFolder folder({{"current", "old@publisher"}, {"staged", "new@publisher"}}, {});
    folder.second_download = "other";
    EXPECT_EQ(apply_update(folder, fake_paths(), kRunningVersion, downloaded_file(folder.files)), UpdateOutcome{});
    EXPECT_EQ(folder.files,
              (Files{{"current", "new@publisher"}, {"previous", "old@publisher"}, {"staged", "other"}}));
}

// Whatever took the staged name after this process's own update download is not taken.
TEST(ApplyUpdate, OnlyTheFileThisProcessDownloadedIsTaken) {
    const Files before = {{"current", "old"}, {"staged", "new"}, {"previous", "stale"}};
    struct Case {
        const char* label;
        std::map<std::string, FileError> failing;
        FileIdentity downloaded;
        UpdateOutcome outcome;
    };
    const Case cases[] = {
        {"another file under the staged name", {}, identity_of("other"), {UpdateStep::other_file}},
        {"its identity unreadable", {{"identify staged", kAccessDenied}}, identity_of("new"),
         {UpdateStep::other_file, kAccessDenied}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        FakeFolder folder(before, c.failing);
        EXPECT_EQ(apply_update(folder, fake_paths(), kRunningVersion, c.downloaded), c.outcome);
        EXPECT_EQ(folder.files, before);
        EXPECT_TRUE(folder.started.empty());
    }
}

TEST(ApplyUpdate, WithoutPathsNothingIsTouched) {
    FakeFolder folder({{"current", "old"}, {"staged", "new"}}, {});
    EXPECT_EQ(apply_update(folder, std::nullopt, kRunningVersion, downloaded_file(folder.files)),
              UpdateOutcome{UpdateStep::paths});
    EXPECT_EQ(folder.files, (Files{{"current", "old"}, {"staged", "new"}}));
}

TEST(UpdatePaths, CleanRemovesPreviousThenStagedWhetherOrNotThatWorks) {
    for (const bool fail : {false, true}) {
        std::map<std::string, FileError> failing;
        if (fail) failing = {{"delete previous", kAccessDenied}};
        FakeFolder folder({{"current", "new"}, {"staged", "new"}, {"previous", "old"}}, failing);
        folder.running = {};  // the process that ran it has ended
        clean_update_files(folder, fake_paths());
        EXPECT_EQ(folder.deleted, (std::vector<std::string>{"previous", "staged"}));
        const Files left = fail ? Files{{"current", "new"}, {"previous", "old"}} : Files{{"current", "new"}};
        EXPECT_EQ(folder.files, left) << fail;
    }
}

TEST(UpdatePaths, CleanClearsAReadOnlyPreviousAndSweepsOnlyWhatWasMovedAside) {
    const Files users = {{"wispermoth.old.x.exe", "u"}, {"wispermoth.old.123.exe", "u"}, {"wispermoth.old..exe", "u"}};
    Files before = users;
    before.insert({{"current", "new"}, {"previous", "old"}, {"wispermoth.old.1.exe", "a"}, {"wispermoth.old.16.exe", "b"}});
    FakeFolder folder(before, {});
    folder.running = {};
    folder.read_only = {"old", "b"};
    clean_update_files(folder, fake_paths());
    Files after = users;
    after.insert({"current", "new"});
    EXPECT_EQ(folder.files, after);
}

TEST(UpdatePaths, CleanDoesNothingWithoutPaths) {
    FakeFolder folder({{"staged", "new"}, {"previous", "old"}}, {});
    clean_update_files(folder, std::nullopt);
    EXPECT_EQ(folder.files, (Files{{"staged", "new"}, {"previous", "old"}}));
}

}  // namespace
}  // namespace wm
