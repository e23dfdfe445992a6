// core/skin/colour.cpp
#include "core/skin/colour.h"

#include <algorithm>

namespace skin {

Colour ShiftColour(Colour colour, int offset)
{
    const int channels[3] = {RedOf(colour), GreenOf(colour), BlueOf(colour)};
    int used = offset;
    for (int value : channels) {
        if (offset > 0)
            used = std::min(used, std::min(offset, 255 - value));
        else
            used = std::max(used, std::max(offset, -value));
    }
    return MakeColour(channels[0] + used, channels[1] + used, channels[2] + used);
}

Colour DarkenColour(Colour colour, double factor)
{
    if (!(factor > 0.0 && factor <= 1.0))
        return colour;
    auto darken = [factor](int value) { return static_cast<int>(value - value * factor); };
    return MakeColour(darken(RedOf(colour)), darken(GreenOf(colour)), darken(BlueOf(colour)));
}

int GreyLevel(Colour colour)
{
    return (299 * RedOf(colour) + 587 * GreenOf(colour) + 114 * BlueOf(colour)) / 1000;
}

Colour GreyColour(Colour colour)
{
    const int level = GreyLevel(colour);
    return MakeColour(level, level, level);
}

}  // namespace skin
