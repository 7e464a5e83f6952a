#pragma once
// The update files beside the running executable.

#include <optional>

#include "update/update_paths.h"

namespace wm {

// Derived from the running executable's path; nothing when that path cannot be obtained.
std::optional<UpdatePaths> update_paths();

// Deletes the leftovers of an earlier update, before anything else at start-up.
void clean_update_files();

// Swaps the staged file in for the running executable and starts it.
UpdateOutcome apply_update();

}  // namespace wm
