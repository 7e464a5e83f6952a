#pragma once
// An icon's colour bitmap read back as pixels, and the two colours of the badge overlay: what the
// badge's own test and the stand-in taskbar both look at.

#include <windows.h>

#include <cstdint>
#include <vector>

namespace icon_pixels {

struct Pixels {
    int width = 0;  // 0 and 0 when the icon has no colour bitmap that could be read
    int height = 0;
    std::vector<std::uint32_t> argb;  // straight alpha, as the icon holds it, rows from the top
    std::uint32_t at(int x, int y) const { return argb[static_cast<std::size_t>(y) * width + x]; }
};

inline Pixels read(HICON icon) {
    Pixels read;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return read;
    BITMAP bitmap{};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap)) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof(format.bmiHeader);
        format.bmiHeader.biWidth = bitmap.bmWidth;
        format.bmiHeader.biHeight = -bitmap.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        read.argb.resize(static_cast<std::size_t>(bitmap.bmWidth) * bitmap.bmHeight);
        const HDC screen = GetDC(nullptr);
        if (GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, read.argb.data(), &format, DIB_RGB_COLORS) ==
            bitmap.bmHeight) {
            read.width = bitmap.bmWidth;
            read.height = bitmap.bmHeight;
        } else {
            read.argb.clear();
        }
        ReleaseDC(nullptr, screen);
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return read;
}

// An opaque pixel of the badge's disc.
inline bool disc_red(std::uint32_t p) {
    return (p >> 24) == 255 && ((p >> 16) & 0xFF) > 180 && ((p >> 8) & 0xFF) < 80 && (p & 0xFF) < 80;
}

// An opaque pixel of the text on it.
inline bool text_white(std::uint32_t p) {
    return (p >> 24) == 255 && ((p >> 16) & 0xFF) >= 0xE0 && ((p >> 8) & 0xFF) >= 0xE0 && (p & 0xFF) >= 0xE0;
}

}  // namespace icon_pixels
