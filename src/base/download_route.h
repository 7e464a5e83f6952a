#pragma once
// What becomes of a download that starts in a shell window.

#include <string>

namespace wm {

struct DownloadRoute {
    enum class Kind {
        silent,     // written to `path` without the runtime's download interface; its end is told to the page
        visible,    // left to the runtime's own download interface where it proposed; never told
        cancelled,  // never runs
    };
    Kind kind = Kind::cancelled;
    std::wstring path;  // for `silent`

    bool operator==(const DownloadRoute&) const = default;
};

}  // namespace wm
