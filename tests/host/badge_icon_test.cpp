// The badge overlay as the shell draws it, read back from the icon: its size at each DPI, the red
// disc with clear corners, and white text only when there is a count. With WM_BADGE_ICONS set to
// a folder, each icon is also written there as a PAM image (for the documentation's picture).

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../support/icon_pixels.h"
#include "features/badge_win.h"

namespace wm {
namespace {

using icon_pixels::Pixels;

void write_pam(const Pixels& pixels, const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", pixels.width,
                 pixels.height);
    for (const std::uint32_t p : pixels.argb) {
        const unsigned char rgba[4] = {static_cast<unsigned char>(p >> 16), static_cast<unsigned char>(p >> 8),
                                       static_cast<unsigned char>(p), static_cast<unsigned char>(p >> 24)};
        std::fwrite(rgba, 1, 4, file);
    }
    std::fclose(file);
}

TEST(BadgeIcon, ARedDiscOfSixteenLogicalPixelsWithWhiteTextForACount) {
    const struct {
        const char* name;
        Badge badge;
    } badges[] = {{"dot", {BadgeKind::flag, 0}}, {"3", {BadgeKind::count, 3}}, {"9", {BadgeKind::count, 9}},
                  {"9plus", {BadgeKind::count, 10}}};
    const char* folder = std::getenv("WM_BADGE_ICONS");
    EXPECT_EQ(draw_badge_icon(Badge{}, 96), nullptr);
    for (const UINT dpi : {96u, 144u, 192u}) {
        std::vector<std::uint32_t> nine;
        for (const auto& [name, badge] : badges) {
            SCOPED_TRACE(std::string(name) + " at " + std::to_string(dpi));
            const host::UniqueIcon icon = draw_badge_icon(badge, dpi);
            ASSERT_NE(icon, nullptr);
            const Pixels pixels = icon_pixels::read(icon.get());
            const int size = static_cast<int>(dpi) / 6;  // 16 at 96 DPI
            ASSERT_EQ(pixels.width, size);
            ASSERT_EQ(pixels.height, size);
            EXPECT_EQ(pixels.at(0, 0) >> 24, 0u) << "a corner is clear";
            EXPECT_EQ(pixels.at(size - 1, size - 1) >> 24, 0u);
            EXPECT_TRUE(icon_pixels::disc_red(pixels.at(size / 2, 1))) << std::hex << pixels.at(size / 2, 1);
            int white = 0;
            for (const std::uint32_t p : pixels.argb) white += icon_pixels::text_white(p);
            if (badge.kind == BadgeKind::flag) {
                EXPECT_EQ(white, 0);
            } else {
                EXPECT_GT(white, size / 4);
            }
            if (badge.count == 9) nine = pixels.argb;
            if (badge.count == 10) {
                EXPECT_NE(pixels.argb, nine) << "9+ is not 9";
            }
            if (folder) write_pam(pixels, std::string(folder) + "/" + name + "_" + std::to_string(size) + ".pam");
        }
    }
}

}  // namespace
}  // namespace wm
