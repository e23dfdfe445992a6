// core/skin/gradient.cpp
#include "core/skin/gradient.h"

#include <algorithm>

namespace skin {

std::vector<GradientBand> GradientBands(int left, int right, Colour start, Colour end, int maxBands)
{
    std::vector<GradientBand> bands;
    const int width = right - left;
    const int count = std::min(maxBands, width);
    if (count <= 0)
        return bands;
    const int divisor = count > 1 ? count : 1;
    const int startChannels[3] = {RedOf(start), GreenOf(start), BlueOf(start)};
    const int endChannels[3] = {RedOf(end), GreenOf(end), BlueOf(end)};
    int running[3];
    int step[3];
    for (int c = 0; c < 3; ++c) {
        running[c] = startChannels[c] * 256;
        step[c] = (endChannels[c] - startChannels[c]) * 256 / divisor;
    }
    const int bandWidth = width / count;
    bands.reserve(count);
    for (int i = 0; i < count; ++i) {
        const int bandRight = i == count - 1 ? right : left + bandWidth;
        bands.push_back({left, bandRight, MakeColour(running[0] / 256, running[1] / 256, running[2] / 256)});
        for (int c = 0; c < 3; ++c)
            running[c] += step[c];
        left = bandRight;
    }
    return bands;
}

}  // namespace skin
