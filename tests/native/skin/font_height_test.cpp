// Point sizes to LOGFONT heights.
#include "core/skin/font_height.h"

#include <gtest/gtest.h>

namespace skin {
namespace {

TEST(PointSizeToHeight, ScalesByTheDevicesDotsPerInch)
{
    EXPECT_EQ(PointSizeToHeight(12, 96), -16);
    EXPECT_EQ(PointSizeToHeight(12, 120), -20);
    EXPECT_EQ(PointSizeToHeight(8, 96), -11);  // 10.67 rounds up
    EXPECT_EQ(PointSizeToHeight(9, 96), -12);
    EXPECT_EQ(PointSizeToHeight(0, 96), 0);
}

TEST(MulDivRounded, RoundsHalvesAwayFromZeroAndRefusesNoDenominator)
{
    EXPECT_EQ(MulDivRounded(1, 1, 2), 1);
    EXPECT_EQ(MulDivRounded(-1, 1, 2), -1);
    EXPECT_EQ(MulDivRounded(5, 7, -2), -18);  // -17.5
    EXPECT_EQ(MulDivRounded(3, 4, 0), -1);
    EXPECT_EQ(MulDivRounded(0x40000000, 8, 2), -1) << "a result that does not fit an int";
}

}  // namespace
}  // namespace skin
