#include "features/badge_win.h"

#include <cstdint>
#include <vector>

#include "host/dpi.h"
#include "host/text.h"

namespace wm {
namespace {

// The disc's red, as blue, green, red: strong enough to read on light and dark taskbars.
constexpr std::uint8_t kDisc[3] = {0x24, 0x1C, 0xD6};

using UniqueBitmap = host::UniqueHandleOf<HBITMAP, &DeleteObject>;
using UniqueDc = host::UniqueHandleOf<HDC, &DeleteDC>;

// A top-down 32-bit bitmap whose pixels the caller writes.
UniqueBitmap pixel_bitmap(int size, std::uint32_t*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

// How much of each pixel the text covers, 0 to 255: drawn white on black with grey-scale
// smoothing, whose level is the coverage.
std::vector<std::uint8_t> text_coverage(const std::wstring& text, const BadgeLayout& layout) {
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(layout.size) * layout.size);
    if (text.empty()) return coverage;
    std::uint32_t* pixels = nullptr;
    const UniqueBitmap bitmap = pixel_bitmap(layout.size, pixels);
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    const host::UniqueFont font(CreateFontW(-layout.text_height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                            DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                                            VARIABLE_PITCH | FF_SWISS, L"Segoe UI"));
    if (!bitmap || !dc || !font) return coverage;
    const HGDIOBJ old_bitmap = SelectObject(dc.get(), bitmap.get());
    const HGDIOBJ old_font = SelectObject(dc.get(), font.get());
    RECT square{0, 0, layout.size, layout.size};
    (void)FillRect(dc.get(), &square, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    (void)SetBkMode(dc.get(), TRANSPARENT);
    (void)SetTextColor(dc.get(), RGB(255, 255, 255));
    (void)DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &square,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    (void)GdiFlush();
    for (std::size_t i = 0; i < coverage.size(); ++i) coverage[i] = static_cast<std::uint8_t>(pixels[i] >> 8);
    SelectObject(dc.get(), old_font);
    SelectObject(dc.get(), old_bitmap);
    return coverage;
}

}  // namespace

host::UniqueIcon draw_badge_icon(const Badge& badge, UINT dpi) {
    if (badge.kind == BadgeKind::none) return nullptr;
    const std::wstring text = host::to_wide(badge_text(badge));
    const BadgeLayout layout = badge_layout(dpi, badge_text(badge));
    const std::vector<std::uint8_t> ink = text_coverage(text, layout);

    // Straight (not premultiplied) alpha, as icons keep it: the disc's edge in the alpha, the
    // text blended from red to white.
    std::uint32_t* pixels = nullptr;
    const UniqueBitmap colour = pixel_bitmap(layout.size, pixels);
    if (!colour) return nullptr;
    for (int y = 0; y < layout.size; ++y) {
        for (int x = 0; x < layout.size; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * layout.size + x;
            const std::uint32_t alpha = disc_coverage(layout.size, x, y);
            std::uint32_t pixel = alpha << 24;
            for (int channel = 0; channel < 3; ++channel) {
                const std::uint32_t value = (kDisc[channel] * (255u - ink[i]) + 255u * ink[i] + 127) / 255;
                pixel |= value << (8 * channel);
            }
            pixels[i] = alpha ? pixel : 0;
        }
    }
    (void)GdiFlush();
    // The alpha decides; the mask only has to be there.
    const std::vector<std::uint8_t> mask_bits(static_cast<std::size_t>((layout.size + 15) / 16 * 2) * layout.size);
    const UniqueBitmap mask(CreateBitmap(layout.size, layout.size, 1, 1, mask_bits.data()));
    if (!mask) return nullptr;
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return host::UniqueIcon(CreateIconIndirect(&info));  // copies both bitmaps
}

void TaskbarOverlay::show(HWND window, const Badge& badge) {
    if (!taskbar_) {
        if (badge.kind == BadgeKind::none) return;  // nothing was ever shown
        host::ComPtr<ITaskbarList3> made;
        if (FAILED(CoCreateInstance(kTaskbarListClass, nullptr, CLSCTX_INPROC_SERVER, host::iid_of<ITaskbarList3>,
                                    reinterpret_cast<void**>(made.put()))))
            return;
        // The list must be initialised before any other call; a failed one is not used.
        if (FAILED(made->HrInit())) return;
        taskbar_ = std::move(made);
    }
    const host::UniqueIcon icon = draw_badge_icon(badge, host::window_dpi(window));
    const std::wstring description = host::to_wide(badge_description(badge));
    // The taskbar keeps its own copy of the icon. A window whose button does not exist yet fails
    // here and gets the overlay from TaskbarButtonCreated.
    (void)taskbar_->SetOverlayIcon(window, icon.get(), description.c_str());
}

}  // namespace wm
