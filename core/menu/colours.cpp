// core/menu/colours.cpp
#include "core/menu/colours.h"

namespace menu {

Colour BlendTowardWhite(Colour colour, double f)
{
    if (!(f > 0.0 && f <= 1.0))
        return colour;
    auto blend = [f](unsigned v) { return static_cast<unsigned>(v + f * (255 - v)); };
    return MakeColour(blend(Red(colour)), blend(Green(colour)), blend(Blue(colour)));
}

Colour MenuBackground(const SystemColours& system, bool xpThemed) { return xpThemed ? system.face3d : system.menu; }

XpColours XpPalette(const SystemColours& system, bool xpThemed)
{
    XpColours colours;
    colours.window = system.window;
    colours.column = xpThemed ? system.buttonFace : BlendTowardWhite(system.buttonFace, 0.25);
    colours.highlight = system.highlight;
    colours.light = BlendTowardWhite(system.highlight, xpThemed ? 0.7 : 0.85);
    colours.checkedCell = BlendTowardWhite(system.highlight, 0.85);
    colours.grayText = xpThemed ? system.grayText : BlendTowardWhite(system.grayText, 0.4);
    return colours;
}

Colour ClassicCheckFill(const SystemColours& system, bool xpThemed, bool selected)
{
    Colour fill = MenuBackground(system, xpThemed);
    return selected ? fill : BlendTowardWhite(fill, 0.6);
}

Colour FadedPixel(Colour pixel, Colour background)
{
    return pixel == background ? pixel : BlendTowardWhite(pixel, 0.3);
}

Colour ShadowColour(const SystemColours& system, bool xpThemed)
{
    return xpThemed ? system.buttonShadow : BlendTowardWhite(system.buttonShadow, 0.49);
}

Colour ShadowPixel(Colour pixel, Colour background, Colour shadow) { return pixel == background ? pixel : shadow; }

}  // namespace menu
