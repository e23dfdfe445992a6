// Blends toward white, the colours each look paints with, and the faded and shadow pixels.
#include "core/menu/colours.h"

#include <gtest/gtest.h>

namespace {

using menu::Colour;
using menu::MakeColour;

TEST(BlendTowardWhite, TruncatesEachChannelAndIgnoresFactorsOutsideTheRange)
{
    struct Case { Colour colour; double f; Colour blended; };
    const Case cases[] = {
        {MakeColour(0, 0, 0), 0.3, MakeColour(76, 76, 76)},
        {MakeColour(0, 0, 0), 1.0, MakeColour(255, 255, 255)},
        {MakeColour(10, 100, 200), 0.5, MakeColour(132, 177, 227)},  // 10 + 122.5, 100 + 77.5, 200 + 27.5
        {MakeColour(49, 106, 197), 0.85, MakeColour(224, 232, 246)},  // XP's highlight, as its checked cells
        {MakeColour(255, 255, 255), 0.6, MakeColour(255, 255, 255)},
        {MakeColour(1, 2, 3), 0.0, MakeColour(1, 2, 3)},
        {MakeColour(1, 2, 3), -0.5, MakeColour(1, 2, 3)},
        {MakeColour(1, 2, 3), 1.01, MakeColour(1, 2, 3)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::BlendTowardWhite(c.colour, c.f), c.blended) << std::hex << c.colour << " by " << c.f;
}

menu::SystemColours Scheme()
{
    menu::SystemColours system;
    system.face3d = MakeColour(236, 233, 216);
    system.menu = MakeColour(255, 255, 255);
    system.buttonFace = MakeColour(200, 200, 200);
    system.window = MakeColour(250, 250, 250);
    system.highlight = MakeColour(0, 0, 100);
    system.grayText = MakeColour(100, 100, 100);
    system.buttonShadow = MakeColour(128, 128, 128);
    return system;
}

TEST(Palette, ThemedXpUsesTheSystemColoursAndOtherSystemsLighterOnes)
{
    const menu::SystemColours system = Scheme();
    EXPECT_EQ(menu::MenuBackground(system, true), system.face3d);
    EXPECT_EQ(menu::MenuBackground(system, false), system.menu);

    const menu::XpColours themed = menu::XpPalette(system, true);
    EXPECT_EQ(themed.column, system.buttonFace);
    EXPECT_EQ(themed.light, MakeColour(178, 178, 208));  // 0.7 toward white
    EXPECT_EQ(themed.checkedCell, MakeColour(216, 216, 231));
    EXPECT_EQ(themed.grayText, system.grayText);

    const menu::XpColours plain = menu::XpPalette(system, false);
    EXPECT_EQ(plain.column, MakeColour(213, 213, 213));  // 200 + 0.25 x 55
    EXPECT_EQ(plain.light, MakeColour(216, 216, 231));   // 0.85 toward white
    EXPECT_EQ(plain.grayText, MakeColour(162, 162, 162));  // 100 + 0.4 x 155

    EXPECT_EQ(menu::ClassicCheckFill(system, false, true), system.menu);
    EXPECT_EQ(menu::ClassicCheckFill(system, true, false), MakeColour(247, 246, 239));  // 3-D face, 0.6 lighter
}

TEST(ImageVariants, TheBackgroundStaysAndEveryOtherPixelFadesOrShades)
{
    const menu::SystemColours system = Scheme();
    const Colour background = system.buttonFace;
    EXPECT_EQ(menu::FadedPixel(background, background), background);
    EXPECT_EQ(menu::FadedPixel(MakeColour(0, 0, 0), background), MakeColour(76, 76, 76));
    EXPECT_EQ(menu::FadedPixel(MakeColour(255, 0, 0), background), MakeColour(255, 76, 76));

    EXPECT_EQ(menu::ShadowColour(system, true), system.buttonShadow);
    EXPECT_EQ(menu::ShadowColour(system, false), MakeColour(190, 190, 190));  // 128 + 0.49 x 127
    const Colour shadow = menu::ShadowColour(system, true);
    EXPECT_EQ(menu::ShadowPixel(background, background, shadow), background);
    EXPECT_EQ(menu::ShadowPixel(MakeColour(255, 0, 0), background, shadow), shadow);
}

}  // namespace
