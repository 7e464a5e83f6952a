#pragma once
// What a window says when its document failed to load, and whether the shell tries again by
// itself. The runtime's own error page draws no title bar and offers no way on, so the strip
// says it in plain words instead.

#include <string>

#include "base/load_result.h"

namespace wm {

struct LoadVerdict {
    AfterLoad after = AfterLoad::done;
    std::string text;  // the strip's words, for a failure
};

// A load that did not succeed fails, and so does a document of the application's origin that
// came with a server error (HTTP 5xx). A refused certificate is never retried by the shell. A
// foreign page is not named: its host could be made to read as the application's.
LoadVerdict judge_load(const LoadResult& result);

}  // namespace wm
