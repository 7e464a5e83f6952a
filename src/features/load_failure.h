#pragma once
// What a window says when its document failed to load, and whether the shell tries again by
// itself. The runtime's own error page draws no title bar and offers no way on, so the strip
// says it in plain words instead.

#include <string>

#include "base/load_result.h"

namespace wm {

struct LoadVerdict {
    AfterLoad after = AfterLoad::done;
    // The strip's words for a failure, empty for none. The application's name their host; a
    // foreign page's follow its origin, which the strip names before them, so that a host made
    // to read as the application's is still shown as the strip shows every origin.
    std::string words;
};

// A server's answer is shown as served: a 4xx anywhere, a 5xx from a foreign page, a page that
// stopped itself. The application's 5xx and a load that got no answer fail; the shell tries the application again by
// itself, a refused certificate only when the network changes, and a foreign page never.
LoadVerdict judge_load(const LoadResult& result);

}  // namespace wm
