#pragma once

#include <filesystem>
#include <optional>

namespace wm {

// The running executable and its two siblings used by a self-update.
struct UpdatePaths {
    std::filesystem::path current;
    std::filesystem::path staged;    // "wispermoth.new.exe" beside current
    std::filesystem::path previous;  // "wispermoth.old.exe" beside current
};

UpdatePaths update_paths_for(const std::filesystem::path& executable);

// The file operations the update steps need, so that the steps run against a fake in tests.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual bool remove_file(const std::filesystem::path& path) = 0;
};

// Deletes an earlier update's leftovers: the previous executable first, then the staged file.
// Failures are ignored.
void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths);

}  // namespace wm
