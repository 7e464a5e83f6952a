#include "update/update_paths.h"

#include <string>

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
    (void)files.rename_replacing(paths.current, paths.staged);  // frees the name when it can
    (void)files.rename_replacing(paths.previous, paths.current);
}

}  // namespace

UpdateOutcome apply_update(FileOps& files, const std::optional<UpdatePaths>& paths) {
    if (!paths) return {UpdateStep::paths};
    if (const FileError error = files.read_attributes(paths->staged)) return {UpdateStep::staged_file, error};
    // A truncated or wrong download must not take the executable's name.
    std::vector<std::byte> head;
    if (const FileError error = files.read_head(paths->staged, kProgramHeadSize, head))
        return {UpdateStep::program_check, error};
    if (!is_gui_program_x64(head)) return {UpdateStep::program_check};
    // Whoever may publish a file at the update address must not thereby replace a signed program.
    if (!signature_allows(files.read_signature(paths->current), files.read_signature(paths->staged)))
        return {UpdateStep::signature};

    // A stale previous executable still in use may refuse deletion yet allow replacement.
    (void)files.remove_file(paths->previous);
    if (const FileError error = files.rename_replacing(paths->current, paths->previous))
        return {UpdateStep::move_aside, error};
    if (const FileError error = files.rename_replacing(paths->staged, paths->current)) {
        (void)files.rename_replacing(paths->previous, paths->current);  // the step's error is the one reported
        return {UpdateStep::move_in, error};
    }
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
