// Face colour shifts, darkening and grey levels of the skin controls.
#include "core/skin/colour.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(ShiftColour, MovesAllChannelsByTheOffsetTheTightestChannelAllows)
{
    struct Case {
        Colour colour;
        int offset;
        Colour expected;
    };
    const Case cases[] = {
        {MakeColour(250, 100, 0), 20, MakeColour(255, 105, 5)},
        {MakeColour(250, 100, 0), -20, MakeColour(250, 100, 0)},  // blue allows no darkening
        {MakeColour(100, 120, 140), -30, MakeColour(70, 90, 110)},
        {MakeColour(100, 120, 140), 200, MakeColour(215, 235, 255)},
        {MakeColour(30, 40, 50), -255, MakeColour(0, 10, 20)},
        {MakeColour(30, 40, 50), 0, MakeColour(30, 40, 50)},
        {MakeColour(255, 255, 255), 10, MakeColour(255, 255, 255)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftColour(c.colour, c.offset), c.expected) << std::hex << c.colour << " by " << std::dec << c.offset;
}

TEST(DarkenColour, TakesTheFactorsShareOfEachChannel)
{
    EXPECT_EQ(DarkenColour(MakeColour(255, 100, 3), 0.25), MakeColour(191, 75, 2));  // 191.25, 75, 2.25
    EXPECT_EQ(DarkenColour(MakeColour(255, 100, 4), 1.0), MakeColour(0, 0, 0));
    EXPECT_EQ(DarkenColour(MakeColour(200, 100, 50), 0.5), MakeColour(100, 50, 25));
    for (double outside : {0.0, -0.5, 1.5})
        EXPECT_EQ(DarkenColour(MakeColour(200, 100, 50), outside), MakeColour(200, 100, 50)) << outside;
}

TEST(GreyColour, WeighsTheChannelsAndKeepsGreys)
{
    EXPECT_EQ(GreyLevel(MakeColour(255, 0, 0)), 76);   // 76.245
    EXPECT_EQ(GreyLevel(MakeColour(0, 255, 0)), 149);  // 149.685
    EXPECT_EQ(GreyLevel(MakeColour(0, 0, 255)), 29);   // 29.07
    EXPECT_EQ(GreyLevel(MakeColour(10, 20, 30)), 18);   // 18.15
    for (int level : {0, 1, 128, 254, 255})
        EXPECT_EQ(GreyColour(MakeColour(level, level, level)), MakeColour(level, level, level)) << level;
}

}  // namespace
}  // namespace skin
