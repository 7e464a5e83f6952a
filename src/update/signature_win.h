#pragma once
// The Authenticode signature of a file on disk, as Windows judges it.

#include <string>

#include "update/program_image.h"

namespace wm {

// Verified with the generic policy, without any interface and without fetching revocation lists
// from the network. A file that cannot be judged counts as signed and not verified.
Signature read_signature(const std::wstring& path);

}  // namespace wm
