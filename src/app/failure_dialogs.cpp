#include "app/failure_dialogs.h"

#include <windows.h>

#include "base/product.h"
#include "links/open_external.h"

namespace wm {
namespace {

constexpr wchar_t kMissingRuntimeText[] =
    L"wispermoth needs Microsoft Edge WebView2, which this PC doesn't have.\n\n"
    L"Open Microsoft's download page? Run the Evergreen installer there, then start wispermoth again.";
constexpr wchar_t kWindowFailureText[] = L"wispermoth could not open its window:\n\n";

// MessageBoxW with the product caption and the error icon; true exactly when OK was chosen.
bool show_error_box(const std::wstring& text, bool with_cancel) {
    const std::wstring caption(kProductNameW);
    // A box that cannot be shown returns 0, which counts as a refusal.
    return MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_ICONERROR | (with_cancel ? MB_OKCANCEL : MB_OK)) ==
           IDOK;
}

}  // namespace

void show_missing_runtime_dialog() {
    if (!show_error_box(kMissingRuntimeText, true)) return;
    open_external(kWebView2DownloadPage);
}

void show_window_failure_dialog(const std::wstring& description) {
    (void)show_error_box(kWindowFailureText + description, false);
}

}  // namespace wm
