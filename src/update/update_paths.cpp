#include "update/update_paths.h"

#include <string>

#include "product.h"

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

}  // namespace wm
