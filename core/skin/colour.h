// core/skin/colour.h
// Colour arithmetic of the skin controls. Colours are Windows COLORREF values: 0x00BBGGRR.
#pragma once

#include <cstdint>

namespace skin {

using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return static_cast<Colour>(red & 0xFF) | (static_cast<Colour>(green & 0xFF) << 8) |
           (static_cast<Colour>(blue & 0xFF) << 16);
}
constexpr int RedOf(Colour colour) { return colour & 0xFF; }
constexpr int GreenOf(Colour colour) { return (colour >> 8) & 0xFF; }
constexpr int BlueOf(Colour colour) { return (colour >> 16) & 0xFF; }

// Moves all three channels by one offset, as far as the channel nearest its limit allows, so
// their differences stay: RGB(250, 100, 0) by 20 gives RGB(255, 105, 5); by -20 it stays.
Colour ShiftColour(Colour colour, int offset);

// Each channel v becomes v - v * factor (truncated) for 0 < factor <= 1; any other factor leaves
// the colour as it is.
Colour DarkenColour(Colour colour, double factor);

// 0.299 R + 0.587 G + 0.114 B, truncated; worked in integers, so a grey stays the same grey.
int GreyLevel(Colour colour);
Colour GreyColour(Colour colour);

}  // namespace skin
