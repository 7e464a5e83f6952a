#include "update/update_paths.h"

#include <string>

#include "app/product.h"

namespace wm {

UpdatePaths update_paths_for(const std::filesystem::path& executable) {
    // Fixed names, whatever the running executable was renamed to.
    const std::string product(kProductName);
    return {
        .current = executable,
        .staged = std::filesystem::path(executable).replace_filename(product + ".new.exe"),
        .previous = std::filesystem::path(executable).replace_filename(product + ".old.exe"),
    };
}

void clean_update_files(FileOps& files, const std::optional<UpdatePaths>& paths) {
    if (!paths) return;
    // Either file may be absent or still in use by the process that just ended; the next start
    // tries again.
    (void)files.remove_file(paths->previous);
    (void)files.remove_file(paths->staged);
}

}  // namespace wm
