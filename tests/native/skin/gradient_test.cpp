// The bands of the link label's colour gradient.
#include "core/skin/gradient.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(GradientBands, NarrowSpansGetOneBandAPixelWideSpansAHundred)
{
    struct Case {
        int width;
        size_t bands;
        int bandWidth;
        int lastWidth;
    };
    const Case cases[] = {{50, 50, 1, 1}, {100, 100, 1, 1}, {250, 100, 2, 52}, {1, 1, 1, 1}, {399, 100, 3, 102}};
    for (const Case& c : cases) {
        const auto bands = GradientBands(10, 10 + c.width, 0, MakeColour(255, 0, 0));
        ASSERT_EQ(bands.size(), c.bands) << c.width;
        EXPECT_EQ(bands.front().left, 10);
        EXPECT_EQ(bands.front().right - bands.front().left, c.bandWidth) << c.width;
        EXPECT_EQ(bands.back().right, 10 + c.width) << "the last band reaches the right edge";
        EXPECT_EQ(bands.back().right - bands.back().left, c.lastWidth) << c.width;
        for (size_t i = 1; i < bands.size(); ++i)
            EXPECT_EQ(bands[i].left, bands[i - 1].right) << c.width << " band " << i;
    }
}

TEST(GradientBands, ColoursStepInEightPointEightFixedPoint)
{
    const auto bands = GradientBands(0, 100, MakeColour(0, 0, 0), MakeColour(255, 0, 0));
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0].colour, MakeColour(0, 0, 0));
    EXPECT_EQ(bands[1].colour, MakeColour(2, 0, 0));  // 652 / 256
    EXPECT_EQ(bands[99].colour, MakeColour(252, 0, 0));

    const auto falling = GradientBands(0, 100, MakeColour(10, 255, 40), MakeColour(10, 0, 240));
    EXPECT_EQ(falling[0].colour, MakeColour(10, 255, 40));
    EXPECT_EQ(falling[99].colour, MakeColour(10, (255 * 256 - 99 * 652) / 256, (40 * 256 + 99 * 512) / 256));
}

TEST(GradientBands, ASpanOfNoWidthHasNoBands)
{
    EXPECT_TRUE(GradientBands(20, 20, 0, 0xFFFFFF).empty());
    EXPECT_TRUE(GradientBands(20, 5, 0, 0xFFFFFF).empty());
    EXPECT_TRUE(GradientBands(0, 50, 0, 0xFFFFFF, 0).empty());
}

}  // namespace
}  // namespace skin
