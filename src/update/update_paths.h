#pragma once
// The update's files beside the executable, and the steps that swap them over a file-operations seam.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/file_facts.h"
#include "update/program_image.h"

namespace wm {

// The running executable and its two siblings used by a self-update, as Windows paths.
struct UpdatePaths {
    std::wstring current;
    std::wstring staged;    // "wispermoth.new.exe" beside current
    std::wstring previous;  // "wispermoth.old.exe" beside current
};

// The last component (after the last "\" or "/") is replaced; a bare file name has no folder.
UpdatePaths update_paths_for(const std::wstring& executable);

// The system's error code of a file operation; 0 when it succeeded.
using FileError = std::uint32_t;
// The codes the steps tell apart.
inline constexpr FileError kAccessDenied = 5;
inline constexpr FileError kSharingViolation = 32;
inline constexpr FileError kAlreadyExists = 183;


// What the started build showed within the time it has to prove itself.
enum class NewBuildReport {
    ready,   // its first window and web view are built
    ended,   // it ended first
    silent,  // neither: a slow machine must not undo a good update
};

// A file opened once for the update steps: what is read of it, verified and renamed is the same
// file, whatever happens to its name meanwhile.
class OpenFile {
public:
    virtual ~OpenFile() = default;
    // Reads the whole file; a file too large to be a build of this program reads as no program.
    virtual FileError read_facts(ProgramFacts& facts) = 0;
    // Which file it is, read through this handle.
    virtual FileError identity(FileIdentity& identity) = 0;
    // Its Authenticode signature; one that cannot be judged is not verified.
    virtual Signature signature() = 0;
    // Gives the file a new name in the same folder; onto an existing file only when `replace`.
    virtual FileError rename(const std::wstring& to, bool replace) = 0;
};

// How a file is opened for the update steps.
enum class FileLock {
    shared,     // others may go on using it: the running program
    exclusive,  // until it is closed nobody else may write, delete or rename it: the staged file
};

// The file operations the update steps need, so that the steps run against a fake in tests.
class FileOps {
public:
    virtual ~FileOps() = default;
    // Windows deletes neither a read-only file nor a running program's, and replaces neither by
    // a rename; a running program's file can still be renamed.
    virtual bool remove_file(const std::wstring& path) = 0;
    virtual FileError clear_read_only(const std::wstring& path) = 0;
    // The full paths of the files that match a pattern of the system's ("*" for any text), in
    // one folder.
    virtual std::vector<std::wstring> list_files(const std::wstring& pattern) = 0;
    // Deletes the mark of the web that a download leaves on a file. The mark is a stream of the
    // file, which a handle held without delete sharing keeps.
    virtual FileError remove_download_mark(const std::wstring& path) = 0;
    // Lets a moment pass: an antivirus or the indexer holds a fresh download briefly.
    virtual void pause(std::chrono::milliseconds time) = 0;
    // Fails when the file does not exist, cannot be reached or is in use in a way the lock forbids.
    virtual FileError open(const std::wstring& path, FileLock lock, std::unique_ptr<OpenFile>& file) = 0;
    // Moves the file to a new name in the same folder; onto an existing file only when `replace`,
    // as Windows renames.
    virtual FileError rename(const std::wstring& from, const std::wstring& to, bool replace) = 0;
    // Starts the program without arguments and without waiting for it.
    virtual FileError start_process(const std::wstring& path) = 0;
    // After a start: waits, for a bounded time, until the started program reports that its first
    // window is ready or ends.
    virtual NewBuildReport wait_for_new_build() = 0;
};

// Deletes an earlier update's leftovers: the previous executable first, then the staged file,
// then previous executables moved aside. Failures are ignored.
void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths);

// The step of `apply_update` that failed.
enum class UpdateStep {
    none,           // the new executable is in place and started
    paths,          // the executable's own path is unknown
    staged_file,    // no staged file can be reached
    other_file,     // the staged file is not the one this process downloaded as the update
    program_check,  // the staged file is not a 64-bit Windows GUI program
    signature,      // the running program is signed, and the staged file not by the same subject
    other_program,  // the running program is signed, and the staged file names another product or file
    older,          // the running program is signed, and the staged file's version is lower
    move_aside,     // the executable could not be renamed to the previous name
    move_in,        // the staged file could not take the executable's name
    start,          // the new executable did not start
    ended_early,    // the new executable ended before its first window was ready
};

struct UpdateOutcome {
    UpdateStep failed = UpdateStep::none;
    FileError error = 0;  // the failing operation's code; 0 for a refused program, no paths or an ended build
    bool succeeded() const { return failed == UpdateStep::none; }
    friend bool operator==(const UpdateOutcome&, const UpdateOutcome&) = default;
};

// Swaps the staged file in for the running executable, starts it and waits for it to prove
// itself. A failed rename into place puts the executable back; so does a failed start or a new
// build that ends before its first window is ready, which also move the new file back to the
// staged name where they can, so that the executable's name always holds a program that runs.
// `running_version` is the running program's own file version; `downloaded` is the file that this
// process's own update download completed: no other file is taken, whatever its name.
UpdateOutcome apply_update(FileOps& files, const std::optional<UpdatePaths>& paths, FileVersion running_version,
                           const FileIdentity& downloaded);

}  // namespace wm
