#include "update/update_paths.h"

#include <string>
#include <utility>

#include "base/product.h"
#include "update/program_image.h"

namespace wm {

UpdatePaths update_paths_for(const std::wstring& executable) {
    const size_t separator = executable.find_last_of(L"\\/");
    const std::wstring folder = separator == std::wstring::npos ? std::wstring() : executable.substr(0, separator + 1);
    // Fixed names, whatever the running executable was renamed to.
    const std::wstring product(kProductNameW);
    return {
        .current = executable,
        .staged = folder + product + L".new.exe",
        .previous = folder + product + L".old.exe",
    };
}

void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths) {
    if (!paths) return;
    // Either file may be absent or still in use by the process that just ended; the next start
    // tries again.
    (void)files.remove_file(paths->previous);
    (void)files.remove_file(paths->staged);
}

namespace {

// A new file that does not start or come up must not stay the program the user starts next. The previous
// executable goes back even when the new file cannot be moved away: an antivirus may have taken
// it, and a name with no program behind it is worse than a lost update.
void undo_swap(FileOps& files, const UpdatePaths& paths) {
    (void)files.rename(paths.current, paths.staged, true);  // frees the name when it can
    (void)files.rename(paths.previous, paths.current, true);
}

// Whether the running program carries a signature, and which. One whose own file cannot be read
// counts as signed, so that a failure cannot switch the rule off.
std::pair<bool, Signature> running_signature(FileOps& files, const UpdatePaths& paths) {
    std::unique_ptr<OpenFile> own;
    ProgramFacts facts;
    if (!files.open(paths.current, FileLock::shared, own) && !own->read_facts(facts) && !facts.certificate_table)
        return {false, {}};
    return {true, own ? own->signature() : Signature{}};
}

}  // namespace

UpdateOutcome apply_update(FileOps& files, const std::optional<UpdatePaths>& paths, FileVersion running_version,
                           const FileIdentity& downloaded) {
    if (!paths) return {UpdateStep::paths};
    // Held from the check to the swap: the file that takes the executable's name is the one
    // checked, whatever a second download or another process does to the staged name meanwhile.
    std::unique_ptr<OpenFile> staged;
    if (const FileError error = files.open(paths->staged, FileLock::exclusive, staged))
        return {UpdateStep::staged_file, error};
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
    if (const auto [running_signed, running] = running_signature(files, *paths); running_signed) {
        switch (judge_signed_update(running, running_version, staged->signature(), facts.version)) {
        case UpdateRefusal::signature:
            return {UpdateStep::signature};
        case UpdateRefusal::older:
            return {UpdateStep::older};
        case UpdateRefusal::none:
            break;
        }
        // A publisher's build needs no download warning at the user's next start.
        (void)staged->remove_download_mark();
    }

    // A stale previous executable still in use may refuse deletion yet allow replacement.
    (void)files.remove_file(paths->previous);
    if (const FileError error = files.rename(paths->current, paths->previous, true))
        return {UpdateStep::move_aside, error};
    if (const FileError error = staged->rename(paths->current, false)) {
        (void)files.rename(paths->previous, paths->current, true);  // the step's error is the one reported
        return {UpdateStep::move_in, error};
    }
    // The new program's own start must find its file free.
    staged.reset();
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
