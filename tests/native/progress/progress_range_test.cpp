// Clamping, rescaling and the shares of the range.
#include "core/progress/progress_range.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

TEST(ProgressRange, SetPosClampsAndReturnsThePositionBefore)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.SetRange(0, 100, false));
    struct Case { int value; int stored; int returned; };
    const Case cases[] = {{40, 40, 0}, {250, 100, 40}, {-7, 0, 100}, {100, 100, 0}, {INT_MIN, 0, 100}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(range.SetPos(c.value), c.returned);
        EXPECT_EQ(range.Position(), c.stored);
        EXPECT_EQ(range.PreviousPosition(), c.returned);
    }
}

TEST(ProgressRange, RescalingCarriesTheMiddleOfTheOldRangeIntoTheNew)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.Reset(30000));
    range.SetPos(15000);
    ASSERT_TRUE(range.SetRange(0, 100, true));
    EXPECT_EQ(range.Position(), 50);
    EXPECT_EQ(range.StartPosition(), 0);
}

TEST(ProgressRange, RescalingTruncatesTowardsZeroIn64Bits)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.SetRange(0, INT_MAX, false));
    range.SetPos(INT_MAX - 1);
    ASSERT_TRUE(range.SetRange(-3, 3, true));
    EXPECT_EQ(range.Position(), 2);  // -3 + (INT_MAX - 1) * 6 / INT_MAX = -3 + 5
}

TEST(ProgressRange, WithoutRescalingTheOldPositionIsBroughtIntoTheNewBounds)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.Reset(30000));
    range.SetPos(20000);
    ASSERT_TRUE(range.SetRange(0, 100, false));
    EXPECT_EQ(range.Position(), 100);
    EXPECT_EQ(range.GetPos(true), 25600);
}

TEST(ProgressRange, AnEmptyOrInvertedRangeIsRefusedAndTheOldOneKept)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.SetRange(10, 20, false));
    EXPECT_FALSE(range.SetRange(5, 5, true));
    EXPECT_FALSE(range.SetRange(9, 1, false));
    EXPECT_FALSE(range.Reset(0));
    EXPECT_EQ(range.Lower(), 10);
    EXPECT_EQ(range.Upper(), 20);
    EXPECT_EQ(range.Position(), 10);
    EXPECT_EQ(range.GetPos(true), 0);
}

TEST(ProgressRange, GetPosGivesThePositionOrTheShareIn256thsOfAPercent)
{
    progress::ProgressRange range;
    ASSERT_TRUE(range.SetRange(-100, 300, false));
    range.SetPos(0);
    EXPECT_EQ(range.GetPos(false), 0);
    EXPECT_EQ(range.GetPos(true), 6400);  // a quarter
    EXPECT_EQ(range.PercentDone(), 25);
    ASSERT_TRUE(range.SetRange(0, INT_MAX, false));
    range.SetPos(INT_MAX);
    EXPECT_EQ(range.GetPos(true), 25600);
}

}  // namespace
