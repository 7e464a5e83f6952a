#pragma once

#include <optional>
#include <string>

namespace wm {

// The running executable and its two siblings used by a self-update, as Windows paths.
struct UpdatePaths {
    std::wstring current;
    std::wstring staged;    // "wispermoth.new.exe" beside current
    std::wstring previous;  // "wispermoth.old.exe" beside current
};

// The last component (after the last "\" or "/") is replaced; a bare file name has no folder.
UpdatePaths update_paths_for(const std::wstring& executable);

// The file operations the update steps need, so that the steps run against a fake in tests.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual bool remove_file(const std::wstring& path) = 0;
};

// Deletes an earlier update's leftovers: the previous executable first, then the staged file.
// Failures are ignored.
void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths);

}  // namespace wm
