// core/menu/colours.h
// The menu's colours: blends toward white, the colours each look paints with, and the per-pixel
// rules of the faded and shadow image variants. A colour is laid out as a COLORREF (0x00BBGGRR).
#pragma once

#include <cstdint>

namespace menu {

using Colour = std::uint32_t;

constexpr Colour MakeColour(unsigned red, unsigned green, unsigned blue)
{
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}
constexpr unsigned Red(Colour colour) { return colour & 0xFF; }
constexpr unsigned Green(Colour colour) { return (colour >> 8) & 0xFF; }
constexpr unsigned Blue(Colour colour) { return (colour >> 16) & 0xFF; }

// Each channel v becomes v + f x (255 - v), truncated; f outside (0, 1] leaves the colour alone.
Colour BlendTowardWhite(Colour colour, double f);

// The system colours the menu paints with, read at every paint.
struct SystemColours {
    Colour face3d = 0;     // COLOR_3DFACE
    Colour menu = 0;       // COLOR_MENU
    Colour buttonFace = 0; // COLOR_BTNFACE
    Colour window = 0;     // COLOR_WINDOW
    Colour highlight = 0;  // COLOR_HIGHLIGHT
    Colour grayText = 0;   // COLOR_GRAYTEXT
    Colour buttonShadow = 0;  // COLOR_BTNSHADOW
};

// Background of the classic look, of its check boxes and of coloured cells.
Colour MenuBackground(const SystemColours& system, bool xpThemed);

struct XpColours {
    Colour window;       // item background
    Colour column;       // the image column
    Colour highlight;    // frames of a selected item and of a checked cell
    Colour light;        // fill of a selected item
    Colour checkedCell;  // fill of a checked image cell and of the check box
    Colour grayText;     // text of a greyed item
};
XpColours XpPalette(const SystemColours& system, bool xpThemed);

// The classic look's check box: lighter while the item is not selected.
Colour ClassicCheckFill(const SystemColours& system, bool xpThemed, bool selected);

// The faded variant keeps the background and lightens every other pixel; the shadow variant
// paints every other pixel in the shadow colour.
Colour FadedPixel(Colour pixel, Colour background);
Colour ShadowColour(const SystemColours& system, bool xpThemed);
Colour ShadowPixel(Colour pixel, Colour background, Colour shadow);

}  // namespace menu
