// The pie chart's angles, rim points, layout and percentage labels.
#include "core/chart/pie_geometry.h"

#include <climits>

#include <gtest/gtest.h>

namespace chart {
// Readable failures.
void PrintTo(const Point& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Rect& r, std::ostream* out)
{
    *out << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
}  // namespace chart

namespace {

using chart::Point;
using chart::Rect;

TEST(PieAngle, NormalisesIntoZeroTo359)
{
    struct Case { long long in; int out; };
    const Case cases[] = {{0, 0}, {359, 359}, {360, 0}, {361, 1}, {725, 5}, {-1, 359},
                          {-360, 0}, {-361, 359}, {-720, 0}, {INT_MIN, 232}, {LLONG_MIN, 352}};
    for (const Case& c : cases)
        EXPECT_EQ(chart::NormaliseAngle(c.in), c.out) << c.in;
}

TEST(PiePoint, ZeroDegreesIsTheTopAndAnglesGrowClockwise)
{
    const Rect pie{10, 20, 110, 120};  // centre (60, 70), radius 50
    struct Case { long long degrees; double factor; Point point; };
    const Case cases[] = {
        {0, 1.0, {60, 20}},
        // The pie's pi is a little short, so the cosine of its 90 degrees is a hair above 0 and
        // the truncation lands one pixel up.
        {90, 1.0, {110, 69}},
        {180, 1.0, {60, 120}},
        {270, 1.0, {10, 70}},
        {-90, 1.0, {10, 70}},
        {450, 1.0, {110, 69}},
        {45, 1.0, {95, 34}},  // 60 + 35.36, 70 - 35.36
        {90, chart::kLabelRadius, {90, 69}},
        {0, chart::kLabelRadius, {60, 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(chart::PiePoint(pie, c.degrees, c.factor), c.point) << c.degrees << " degrees";
}

TEST(PieLayout, TheSquareRestsOnTheBottomCentredAcrossBelowTheTitle)
{
    struct Case { Rect client; int title; Rect pie; };
    const Case cases[] = {
        {{0, 0, 200, 100}, 0, {50, 0, 150, 100}},    // wide: the height, centred
        {{0, 0, 201, 100}, 0, {50, 0, 150, 100}},    // the odd pixel left over goes right
        {{0, 0, 200, 100}, 15, {65, 30, 135, 100}},  // wide with a title 15 high: 70 left
        {{0, 0, 100, 300}, 0, {0, 200, 100, 300}},   // tall: the width, on the bottom
        {{0, 0, 100, 300}, 15, {0, 200, 100, 300}},  // a title does not matter when tall
        {{5, 7, 65, 47}, 0, {15, 7, 55, 47}},
        {{0, 0, 200, 20}, 15, {100, 20, 100, 20}},   // no room below the title: empty
    };
    for (const Case& c : cases) {
        const Rect pie = chart::PieSquare(c.client, c.title);
        EXPECT_EQ(pie, c.pie) << c.client.right << "x" << c.client.bottom << " title " << c.title;
    }
    EXPECT_TRUE(chart::PieSquare({0, 0, 200, 20}, 15).IsEmpty());
}

TEST(PieLabel, SlicesAbove25DegreesCarryTheirWholePercent)
{
    struct Case { int degrees; const char* text; };
    const Case cases[] = {
        {26, "7%"}, {90, "25%"}, {180, "50%"}, {360, "100%"}, {27, "8%"}, {45, "13%"}, {100, "28%"},
        {359, "100%"}, {720, "200%"},
    };
    for (const Case& c : cases) {
        const auto text = chart::SlicePercentText(c.degrees);
        ASSERT_TRUE(text.has_value()) << c.degrees;
        EXPECT_EQ(*text, c.text) << c.degrees;
    }
    for (int degrees : {25, 0, -90, INT_MIN})
        EXPECT_FALSE(chart::SlicePercentText(degrees).has_value()) << degrees;
    EXPECT_EQ(*chart::SlicePercentText(INT_MAX), "596523235%");
}

}  // namespace
