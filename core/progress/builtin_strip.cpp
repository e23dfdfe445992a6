// core/progress/builtin_strip.cpp
#include "core/progress/builtin_strip.h"

#include "core/progress/bar_layout.h"

namespace progress {

namespace {

constexpr int kTile = kBuiltInStripWidth / kTileCount;
constexpr int kRimTop = 0;
constexpr int kRimBottom = 13;  // rows below it are the shadow
constexpr int kRadius = 4;

std::uint32_t Rgb(int r, int g, int b)
{
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 | static_cast<std::uint32_t>(b);
}

int Mix(int from, int to, int step, int steps)
{
    return from + (to - from) * step / steps;
}

// Mid grey at the top, lightening towards white at the bottom.
std::uint32_t TrackColour(int row)
{
    const int grey = Mix(0x90, 0xF4, row, kBuiltInStripHeight - 1);
    return Rgb(grey, grey, grey);
}

// Deep blue at the top to light sky blue in the lower part; the rim and a grey shadow below.
std::uint32_t BarColour(int row)
{
    if (row == kRimTop || row == kRimBottom)
        return 0x0A246A;
    if (row > kRimBottom)
        return row == kRimBottom + 1 ? Rgb(0x80, 0x80, 0x88) : Rgb(0xB4, 0xB4, 0xB8);
    const int step = row < 9 ? row - 1 : 8;
    return Rgb(Mix(0x10, 0x87, step, 8), Mix(0x3C, 0xCE, step, 8), Mix(0xB8, 0xFA, step, 8));
}

// The left end of the bar, column 0 the outermost: corners rounded with radius 4 over the track.
std::uint32_t LeftEndColour(int column, int row)
{
    constexpr std::uint32_t kRim = 0x0A246A;
    if (row > kRimBottom)
        return column == 0 ? TrackColour(row) : BarColour(row);
    const bool inTopCorner = row < kRadius, inBottomCorner = row > kRimBottom - kRadius;
    if (column >= kRadius || !(inTopCorner || inBottomCorner))
        return column == 0 ? kRim : BarColour(row);
    // Distances in half pixels from the corner's centre to the pixel's centre.
    const int dx = 2 * kRadius - (2 * column + 1);
    const int dy = inTopCorner ? 2 * kRadius - (2 * row + 1) : (2 * row + 1) - 2 * (kRimBottom + 1 - kRadius);
    const int distance = dx * dx + dy * dy;
    if (distance > 4 * kRadius * kRadius)
        return TrackColour(row);
    if (distance > 4 * (kRadius - 1) * (kRadius - 1))
        return kRim;
    return BarColour(row);
}

}  // namespace

std::vector<std::uint32_t> BuiltInStripPixels()
{
    std::vector<std::uint32_t> pixels(kBuiltInStripWidth * kBuiltInStripHeight);
    for (int row = 0; row < kBuiltInStripHeight; ++row) {
        for (int x = 0; x < kBuiltInStripWidth; ++x) {
            const int tile = x / kTile;
            const int column = x % kTile;
            std::uint32_t colour;
            switch (tile) {
            case kBarLeftEnd:
                colour = LeftEndColour(column, row);
                break;
            case kBarRightEnd:
                colour = LeftEndColour(kTile - 1 - column, row);
                break;
            case kCentreMark:
            case kBarBody:
                colour = BarColour(row);
                break;
            default:
                colour = TrackColour(row);
                break;
            }
            pixels[row * kBuiltInStripWidth + x] = colour;
        }
    }
    return pixels;
}

}  // namespace progress
