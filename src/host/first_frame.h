#pragma once
// The colour of a window's first frame while the application's own is not known yet.

#include <cstdint>

namespace wm::host {

inline constexpr std::uint32_t kDarkBackground = 0x202020;
inline constexpr std::uint32_t kLightBackground = 0xFFFFFF;

// Dark when Windows' app theme is dark, otherwise white, as 0xRRGGBB.
std::uint32_t theme_background() noexcept;

// Makes 0xRRGGBB the colour the next web view made in this process shows before its page paints.
void offer_first_frame_colour(std::uint32_t background) noexcept;

}  // namespace wm::host
