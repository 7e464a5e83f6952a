#pragma once
// The only two failures the user ever sees, both at start-up.

#include <string>

namespace wm {

// Offers Microsoft's WebView2 download page and opens it when the user agrees.
void show_missing_runtime_dialog();

void show_window_failure_dialog(const std::wstring& description);

}  // namespace wm
