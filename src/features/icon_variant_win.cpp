#include "features/icon_variant_win.h"

#include "features/icon_variants.h"

namespace wm {

void apply_icon_variant(HWND window, std::string_view word, host::UniqueIcon& held) {
    const auto id = icon_resource_id(word);
    if (!id) return;
    host::UniqueIcon icon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(*id), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.get()));
    held = std::move(icon);  // the previous icon is released here, no longer shown
}

}  // namespace wm
