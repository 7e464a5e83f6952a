#pragma once
// What names a shell window across the layers.

#include <cstdint>

namespace wm {

// A window's identifier: its HWND's value.
using WindowId = std::uintptr_t;

}  // namespace wm
