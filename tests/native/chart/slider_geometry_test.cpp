// A bitmap slider's positions and pixels along either axis.
#include "core/chart/slider_geometry.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

using chart::BoundLast;
using chart::SliderAxis;
using chart::SliderRange;

TEST(SliderPosition, SetPosClampsToTheMaximumThenTheMinimum)
{
    struct Case { int minimum, maximum, value, stored; };
    const Case cases[] = {
        {0, 100, 150, 100},
        {0, 100, -5, 0},
        {0, 100, 42, 42},
        {10, 5, 7, 10},   // an inverted range: the minimum wins
        {10, 5, 3, 10},
        {10, 5, 20, 10},
        {INT_MIN, INT_MAX, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::ClampSliderPosition(c.value, {c.minimum, c.maximum}), c.stored)
            << c.value << " in " << c.minimum << ".." << c.maximum;
}

// Horizontal: the channel's width with left and right margins; vertical: its height with top and
// bottom margins. Each axis is the same arithmetic over its own four numbers.
TEST(SliderPosition, PositionToPixelOnEitherAxisWithMarginsAndThumb)
{
    struct Case { SliderAxis axis; SliderRange range; int position; int pixel; };
    const Case cases[] = {
        // The progress bar: 200 pixels, no thumb, no margins across.
        {{200, 0, 0, 0}, {0, 100}, 50, 100},
        {{200, 0, 0, 0}, {0, 100}, 0, 0},
        {{200, 0, 0, 0}, {0, 100}, 100, 200},
        // The exact share: 29 of 100 on 100 pixels is 29, not the 28 a floating product gives.
        {{100, 0, 0, 0}, {0, 100}, 29, 29},
        // Margins 5 and 7, thumb 10: travel 200 - 7 - 10 - 5 = 178, centre offset 5 + 10 / 2.
        {{200, 5, 7, 10}, {0, 100}, 0, 10},
        {{200, 5, 7, 10}, {0, 100}, 100, 188},
        {{200, 5, 7, 10}, {0, 100}, 50, 99},
        {{200, 5, 7, 10}, {0, 100}, 33, 5 + 58 + 5},  // 33 * 178 / 100 = 58.74 truncates to 58
        // An odd thumb: its half truncates.
        {{120, 0, 0, 11}, {0, 10}, 10, 109 + 5},
        // A range that does not start at 0.
        {{110, 0, 0, 10}, {-50, 50}, 0, 50 + 5},
        // A vertical channel of 60 with top 4 and bottom 6, thumb 8: travel 42.
        {{60, 4, 6, 8}, {0, 100}, 50, 4 + 21 + 4},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::PositionToPixel(c.axis, c.range, c.position), c.pixel)
            << "position " << c.position << " channel " << c.axis.channelLength;
}

TEST(SliderPosition, PixelToPositionTruncatesTheWholeSum)
{
    struct Case { SliderAxis axis; SliderRange range; int pixel; int position; };
    const Case cases[] = {
        {{200, 0, 0, 0}, {0, 100}, 100, 50},
        {{200, 0, 0, 0}, {0, 100}, 199, 99},
        {{200, 5, 7, 10}, {0, 100}, 10, 0},
        {{200, 5, 7, 10}, {0, 100}, 188, 100},
        {{200, 5, 7, 10}, {0, 100}, 99, 50},
        // -0.5 + 3 truncates to 2: the truncation covers the minimum as well.
        {{20, 0, 0, 0}, {3, 5}, -5, 2},
        {{20, 0, 0, 0}, {-5, 5}, 1, -4},  // 0.5 - 5 = -4.5 truncates to -4
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::PixelToPosition(c.axis, c.range, c.pixel), c.position) << "pixel " << c.pixel;
}

TEST(SliderPosition, EveryPixelOfTheTravelRoundTripsThroughItsPosition)
{
    const SliderAxis axis{208, 3, 3, 12};  // travel 190
    const SliderRange range{0, 190};
    for (int position = 0; position <= 190; ++position)
        EXPECT_EQ(chart::PixelToPosition(axis, range, chart::PositionToPixel(axis, range, position)), position);
}

TEST(SliderPosition, AnEmptyRangeOrTravelNeitherDividesByZeroNorOverflows)
{
    // Range 5..5: every position sits at the start of the travel.
    EXPECT_EQ(chart::PositionToPixel({200, 5, 7, 10}, {5, 5}, 5), 10);
    EXPECT_EQ(chart::PositionToPixel({200, 5, 7, 10}, {5, 5}, 90), 10);
    // A thumb that fills the channel leaves no travel: every pixel is the minimum.
    EXPECT_EQ(chart::PixelToPosition({20, 0, 0, 20}, {0, 100}, 10), 0);
    EXPECT_EQ(chart::PixelToPosition({20, 5, 5, 20}, {7, 100}, 10), 7);
    EXPECT_EQ(chart::PixelToPosition({0, 0, 0, 0}, {7, 100}, 10), 7);
    // Ends of int: the products are wide, results that do not fit saturate.
    EXPECT_EQ(chart::PositionToPixel({200, 0, 0, 0}, {INT_MIN, INT_MAX}, INT_MAX), 200);
    EXPECT_EQ(chart::PositionToPixel({INT_MAX, 0, 0, 0}, {0, 1}, INT_MAX), INT_MAX);
    EXPECT_EQ(chart::PixelToPosition({2, 0, 0, 0}, {INT_MIN, INT_MAX}, INT_MAX), INT_MAX);
    EXPECT_EQ(chart::PixelToPosition({2, 0, 0, 0}, {INT_MIN, INT_MAX}, 1), 0);  // -0.5 truncates to 0
    // Margins at the ends of int: the products no longer fit 64 bits and still come out right.
    const SliderAxis vast{INT_MAX, INT_MIN, INT_MIN, 0};  // travel 6,442,450,943
    EXPECT_EQ(chart::PositionToPixel(vast, {INT_MIN, INT_MAX}, INT_MIN), INT_MIN);
    EXPECT_EQ(chart::PositionToPixel(vast, {INT_MIN, INT_MAX}, 0), 1073741824);
    EXPECT_EQ(chart::PositionToPixel(vast, {INT_MIN, INT_MAX}, INT_MAX), INT_MAX);
    EXPECT_EQ(chart::PixelToPosition(vast, {INT_MIN, INT_MAX}, INT_MAX), 715827881);
}

TEST(SliderDrag, TheCentreStaysInTheTravelAndTheLastBoundWins)
{
    const SliderAxis axis{200, 5, 7, 10};  // centre from 10 to 188
    struct Case { int pixel; BoundLast last; int centre; };
    const Case cases[] = {
        {-40, BoundLast::Upper, 10}, {500, BoundLast::Upper, 188}, {77, BoundLast::Upper, 77},
        {-40, BoundLast::Lower, 10}, {500, BoundLast::Lower, 188}, {77, BoundLast::Lower, 77},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::ClampThumbCentre(axis, c.pixel, c.last), c.centre) << c.pixel;
    // A thumb wider than its room: bounds 15 and 5 cross, and the one applied last decides.
    const SliderAxis cramped{20, 10, 10, 10};
    EXPECT_EQ(chart::ClampThumbCentre(cramped, 9, BoundLast::Upper), 5);
    EXPECT_EQ(chart::ClampThumbCentre(cramped, 9, BoundLast::Lower), 15);
}

TEST(SliderDrag, GrabbingInsideTheThumbKeepsTheOffsetOutsideJumps)
{
    EXPECT_EQ(chart::DragOffset(103, 100, 10), 3);
    EXPECT_EQ(chart::DragOffset(95, 100, 10), -5);
    EXPECT_EQ(chart::DragOffset(106, 100, 10), 0);
    EXPECT_EQ(chart::DragOffset(94, 100, 10), 0);
    EXPECT_EQ(chart::DragOffset(100, 100, 0), 0);
    EXPECT_EQ(chart::DragOffset(INT_MAX, INT_MIN, 10), 0);
}

TEST(SliderChannel, TheSplitStaysInsideTheChannel)
{
    struct Case { int length, pixel, split; };
    const Case cases[] = {{200, 100, 100}, {200, 0, 0}, {200, 200, 200}, {200, 260, 200}, {200, -3, 0}, {0, 5, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(chart::ChannelSplit(c.length, c.pixel), c.split) << c.pixel;
}

}  // namespace
