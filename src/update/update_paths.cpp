#include "update/update_paths.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <string_view>
#include <utility>

#include "base/product.h"
#include "base/text_codec.h"
#include "update/program_image.h"

namespace wm {

namespace {

// With its last separator; empty for a bare file name.
std::wstring folder_of(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator + 1);
}

}  // namespace

UpdatePaths update_paths_for(const std::wstring& executable) {
    const std::wstring folder = folder_of(executable);
    // Fixed names, whatever the running executable was renamed to.
    const std::wstring product(kProductNameW);
    return {
        .current = executable,
        .staged = folder + product + L".new.exe",
        .previous = folder + product + L".old.exe",
    };
}

namespace {

// A previous executable that was still running when an update needed its name went aside as
// "wispermoth.old.<n>.exe", n from 1.
constexpr unsigned kAsideNames = 16;

std::wstring aside_name(unsigned number) {
    return std::wstring(kProductNameW) + L".old." + decimal_text(number) + L".exe";
}

bool is_aside_name(std::wstring_view name) {
    const std::wstring prefix = std::wstring(kProductNameW) + L".old.";
    if (name.size() < prefix.size() + 4 || !name.starts_with(prefix) || !name.ends_with(L".exe")) return false;
    const std::wstring_view number = name.substr(prefix.size(), name.size() - prefix.size() - 4);
    return !number.empty() && number.size() <= 2 &&
           std::all_of(number.begin(), number.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Windows deletes no read-only file, whatever else allows it.
bool remove_writable(FileOps& files, const std::wstring& path) {
    (void)files.clear_read_only(path);
    return files.remove_file(path);
}

// The previous name must be free for the running executable. A stale previous executable that
// still runs cannot be deleted or replaced, but can be renamed; the next start deletes it.
void free_previous_name(FileOps& files, const UpdatePaths& paths) {
    if (remove_writable(files, paths.previous)) return;
    for (unsigned number = 1; number <= kAsideNames; ++number)
        if (files.rename(paths.previous, folder_of(paths.previous) + aside_name(number), false) != kAlreadyExists) return;
}

}  // namespace

void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths) {
    if (!paths) return;
    // Either file may be absent or still in use by the process that just ended; the next start
    // tries again.
    (void)remove_writable(files, paths->previous);
    (void)files.remove_file(paths->staged);
    const std::wstring folder = folder_of(paths->previous);
    for (const std::wstring& leftover : files.list_files(folder + std::wstring(kProductNameW) + L".old.*.exe"))
        if (leftover.starts_with(folder) && is_aside_name(std::wstring_view(leftover).substr(folder.size())))
            (void)remove_writable(files, leftover);
}

namespace {

// A new file that does not start or come up must not stay the program the user starts next. The previous
// executable goes back even when the new file cannot be moved away: an antivirus may have taken
// it, and a name with no program behind it is worse than a lost update.
void undo_swap(FileOps& files, const UpdatePaths& paths) {
    (void)files.rename(paths.current, paths.staged, true);  // frees the name when it can
    (void)files.rename(paths.previous, paths.current, true);
}

// Whether the running program carries a signature, and which. One whose own certificate table
// cannot be read (its file unreadable, or too large to read) counts as signed, so that a failure
// cannot switch the rule off.
std::pair<bool, Signature> running_signature(FileOps& files, const UpdatePaths& paths) {
    std::unique_ptr<OpenFile> own;
    ProgramFacts facts;
    if (!files.open(paths.current, FileLock::shared, own) && !own->read_facts(facts) &&
        facts.certificate_table == false)
        return {false, {}};
    return {true, own ? own->signature() : Signature{}};
}

// An antivirus or the indexer may hold a fresh download for a moment.
constexpr std::chrono::milliseconds kStagedOpenPause{200};
constexpr std::chrono::milliseconds kStagedOpenTime{2000};

FileError open_staged(FileOps& files, const std::wstring& path, std::unique_ptr<OpenFile>& staged) {
    for (std::chrono::milliseconds waited{0};; waited += kStagedOpenPause) {
        const FileError error = files.open(path, FileLock::exclusive, staged);
        if ((error != kSharingViolation && error != kAccessDenied) || waited >= kStagedOpenTime) return error;
        files.pause(kStagedOpenPause);
    }
}

}  // namespace

UpdateOutcome apply_update(FileOps& files, const std::optional<UpdatePaths>& paths, FileVersion running_version,
                           const FileIdentity& downloaded) {
    if (!paths) return {UpdateStep::paths};
    // Held from the check to the swap: the file that takes the executable's name is the one
    // checked, whatever a second download or another process does to the staged name meanwhile.
    std::unique_ptr<OpenFile> staged;
    if (const FileError error = open_staged(files, paths->staged, staged)) return {UpdateStep::staged_file, error};
    // Whatever else took the staged name (another program, a download of the runtime's own) is not
    // the update.
    FileIdentity identity;
    if (const FileError error = staged->identity(identity)) return {UpdateStep::other_file, error};
    if (identity != downloaded) return {UpdateStep::other_file};
    // A truncated or wrong download must not take the executable's name.
    ProgramFacts facts;
    if (const FileError error = staged->read_facts(facts)) return {UpdateStep::program_check, error};
    if (!facts.gui_program_x64) return {UpdateStep::program_check};
    // Whoever may publish a file at the update address must not thereby replace a signed program.
    const auto [running_signed, running] = running_signature(files, *paths);
    if (running_signed) {
        switch (judge_signed_update(running, running_version, staged->signature(), facts)) {
        case UpdateRefusal::signature:
            return {UpdateStep::signature};
        case UpdateRefusal::other_program:
            return {UpdateStep::other_program};
        case UpdateRefusal::older:
            return {UpdateStep::older};
        case UpdateRefusal::none:
            break;
        }
    }

    free_previous_name(files, *paths);
    if (const FileError error = files.rename(paths->current, paths->previous, true))
        return {UpdateStep::move_aside, error};
    if (const FileError error = staged->rename(paths->current, false)) {
        (void)files.rename(paths->previous, paths->current, true);  // the step's error is the one reported
        return {UpdateStep::move_in, error};
    }
    // The new program's own start must find its file free.
    staged.reset();
    // A publisher's build needs no download warning at its start. The mark goes once the file is
    // no longer held, under the name it is started by.
    if (running_signed) (void)files.remove_download_mark(paths->current);
    if (const FileError error = files.start_process(paths->current)) {
        undo_swap(files, *paths);
        return {UpdateStep::start, error};
    }
    // A build that starts and dies at once would leave the user no program that runs.
    if (files.wait_for_new_build() == NewBuildReport::ended) {
        undo_swap(files, *paths);
        return {UpdateStep::ended_early};
    }
    return {};
}

}  // namespace wm
