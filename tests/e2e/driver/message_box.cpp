#include "driver/message_box.h"

#include <vector>

#include "driver/wait.h"
#include "driver/windows.h"

namespace e2e {
namespace {

// MessageBoxW's static text control.
constexpr int kTextControlId = 0xFFFF;

}  // namespace

HWND wait_for_message_box(DWORD process_id, const std::wstring& caption) {
    return poll_for(kStartTimeout,
                    [&]() -> std::optional<HWND> {
                        for (HWND window : top_level_windows(process_id))
                            if (window_class(window) == L"#32770" && window_title(window) == caption &&
                                IsWindowVisible(window))
                                return window;
                        return std::nullopt;
                    })
        .value_or(nullptr);
}

std::wstring message_box_text(HWND box) {
    std::vector<wchar_t> text(4096);
    const UINT length = GetDlgItemTextW(box, kTextControlId, text.data(), static_cast<int>(text.size()));
    return std::wstring(text.data(), length);
}

bool has_button(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    return button != nullptr && IsWindowVisible(button);
}

void press_button(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

}  // namespace e2e
