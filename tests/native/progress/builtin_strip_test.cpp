// The built-in strip: flat track tiles, a body the same in every column, and no pixel in the
// image list's mask colour.
#include "core/progress/builtin_strip.h"

#include <cstdint>

#include <gtest/gtest.h>

#include "core/progress/bar_layout.h"

namespace {

constexpr int kTile = 10;

std::uint32_t Pixel(const std::vector<std::uint32_t>& strip, int tile, int column, int row)
{
    return strip[row * progress::kBuiltInStripWidth + tile * kTile + column];
}

TEST(BuiltInStrip, TrackAndBodyTilesAreUniformAcrossAndTheEndsAreRounded)
{
    const std::vector<std::uint32_t> strip = progress::BuiltInStripPixels();
    ASSERT_EQ(strip.size(), 90u * 16u);
    for (int row = 0; row < 16; ++row) {
        SCOPED_TRACE(row);
        const std::uint32_t track = Pixel(strip, progress::kTrack, 0, row);
        const std::uint32_t body = Pixel(strip, progress::kBarBody, 0, row);
        for (int column = 0; column < kTile; ++column) {
            for (int tile : {0, 1, 6, 7, 8})
                EXPECT_EQ(Pixel(strip, tile, column, row), track) << tile;
            for (int tile : {3, 4})
                EXPECT_EQ(Pixel(strip, tile, column, row), body) << tile;
            // The right end mirrors the left.
            EXPECT_EQ(Pixel(strip, 5, column, row), Pixel(strip, 2, kTile - 1 - column, row));
        }
    }
    // Track grey lightens downwards; the bar is blue with a grey shadow; its corners show track.
    auto blue = [](std::uint32_t p) { return static_cast<int>(p & 0xFF); };
    auto red = [](std::uint32_t p) { return static_cast<int>(p >> 16 & 0xFF); };
    EXPECT_LT(red(Pixel(strip, 7, 0, 0)), red(Pixel(strip, 7, 0, 15)));
    EXPECT_GT(blue(Pixel(strip, 4, 0, 5)), red(Pixel(strip, 4, 0, 5)));
    EXPECT_LT(blue(Pixel(strip, 4, 0, 2)), blue(Pixel(strip, 4, 0, 10)));  // deep to light blue
    EXPECT_EQ(Pixel(strip, 2, 0, 0), Pixel(strip, 7, 0, 0));
    EXPECT_EQ(Pixel(strip, 2, 0, 13), Pixel(strip, 7, 0, 13));
    EXPECT_NE(Pixel(strip, 2, 0, 7), Pixel(strip, 7, 0, 7));
    EXPECT_EQ(Pixel(strip, 2, 5, 7), Pixel(strip, 4, 0, 7));

    for (std::uint32_t pixel : strip)
        ASSERT_NE(pixel & 0xFFFFFF, 0x00FFFFu);  // COLORREF 0xFFFF00, the mask colour
}

}  // namespace
