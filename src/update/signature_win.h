#pragma once
// The Authenticode signature of a file on disk, as Windows judges it.

#include <windows.h>

#include <string>

#include "update/program_image.h"

namespace wm {

// Verified through `file`, an open handle to the file at `path`, so that what is judged is what
// that handle reads; with the generic policy, without any interface and without fetching
// revocation lists from the network. A file that cannot be judged is not verified.
Signature read_signature(const std::wstring& path, HANDLE file);

}  // namespace wm
