#include <windows.h>

#include "host/file_io.h"
#include "update/update_files.h"

namespace wm {
namespace {

class Win32FileOps final : public FileOps {
public:
    bool remove_file(const std::wstring& path) override { return DeleteFileW(path.c_str()) != FALSE; }
};

}  // namespace

std::optional<UpdatePaths> update_paths() {
    const auto executable = host::executable_path();
    if (!executable) return std::nullopt;
    return update_paths_for(*executable);
}

void clean_update_files() {
    Win32FileOps files;
    clean_update_files(files, update_paths());
}

}  // namespace wm
