#include <windows.h>
#include <shellapi.h>

#include "host/text.h"
#include "links/external_scheme.h"
#include "links/open_external.h"

namespace wm {

void open_external(std::string_view address) {
    if (!has_external_scheme(address)) return;
    const std::wstring wide = host::to_wide(address);
    (void)ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);  // result ignored
}

void on_new_window_requested(std::string_view address, std::string_view requesting_page, bool user_initiated) {
    if (may_open_requested_window(requesting_page, user_initiated)) open_external(address);
}

}  // namespace wm
