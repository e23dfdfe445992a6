// Bar geometry and the paint plans: an incremental repaint after any run of positions leaves the
// same picture as a full repaint.
#include "core/progress/bar_layout.h"

#include <climits>
#include <random>
#include <vector>

#include <gtest/gtest.h>

namespace {

using progress::BarGeometry;
using progress::DrawnBar;
using progress::PaintPlan;
using progress::ProgressRange;
using progress::TileDraw;

ProgressRange RangeAt(int lower, int upper, int position)
{
    ProgressRange range;
    EXPECT_TRUE(range.SetRange(lower, upper, false));
    range.SetPos(position);
    return range;
}

TEST(BarGeometry, LowerBoundShowsBothEndTilesSideBySideAndUpperBoundReachesTheTrackEnd)
{
    struct Case { int position; bool reverse; int start; int end; };
    // client 200, tile 10: track end 190, usable length 180
    const Case cases[] = {
        {0, false, 0, 10},
        {100, false, 0, 190},
        {50, false, 0, 100},
        {0, true, 180, 190},     // mirrored: fills from the right
        {100, true, 0, 190},
        {25, true, 135, 190},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << (c.reverse ? " reversed" : ""));
        const BarGeometry g = progress::ComputeBarGeometry(200, 10, RangeAt(0, 100, c.position), c.reverse, {});
        EXPECT_EQ(g.trackEnd, 190);
        EXPECT_EQ(g.start, c.start);
        EXPECT_EQ(g.end, c.end);
    }
}

TEST(BarGeometry, ProductsAreTakenIn64BitsAndTruncated)
{
    const BarGeometry g = progress::ComputeBarGeometry(1000, 10, RangeAt(0, INT_MAX, INT_MAX - 1), false, {});
    EXPECT_EQ(g.end, 10 + 979);  // (INT_MAX - 1) * 980 / INT_MAX truncates to 979
    const BarGeometry n = progress::ComputeBarGeometry(1000, 10, RangeAt(INT_MIN, INT_MAX, 0), false, {});
    EXPECT_EQ(n.end, 10 + 490);
}

TEST(BarGeometry, ChangedOnlyWhenTheDrawnPixelsDiffer)
{
    const DrawnBar drawn{0, 10 + 18, 190};  // what position 10 of 0..100 paints
    for (int position : {100, 105}) {  // 0.18 pixels a step: 105 truncates to the pixel of 100
        EXPECT_FALSE(progress::ComputeBarGeometry(200, 10, RangeAt(0, 1000, position), false, drawn).changed)
            << position;
    }
    EXPECT_TRUE(progress::ComputeBarGeometry(200, 10, RangeAt(0, 100, 12), false, drawn).changed);
    EXPECT_TRUE(progress::ComputeBarGeometry(210, 10, RangeAt(0, 100, 10), false, drawn).changed);
    EXPECT_TRUE(progress::ComputeBarGeometry(200, 10, RangeAt(0, 100, 10), true, drawn).changed);
}

TEST(PaintPlan, FullRepaintDrawsTheGridThenTheEnds)
{
    DrawnBar drawn;
    // client 60, tile 10, half way: track end 50, bar 0..30
    const BarGeometry g = progress::ComputeBarGeometry(60, 10, RangeAt(0, 100, 50), false, drawn);
    const PaintPlan expected = {{7, 50}, {7, 40}, {4, 30}, {4, 20}, {4, 10}, {4, 0}, {3, 15},
                                {6, 40}, {0, 0},  {8, 50}, {2, 0},  {5, 30}};
    EXPECT_EQ(progress::PlanFullPaint(g, 10, drawn), expected);
    EXPECT_EQ(drawn.start, 0);
    EXPECT_EQ(drawn.end, 30);
    EXPECT_EQ(drawn.trackEnd, 50);
}

TEST(PaintPlan, WithoutATileWidthNothingIsDrawn)
{
    DrawnBar drawn;
    const BarGeometry g = progress::ComputeBarGeometry(60, 0, RangeAt(0, 100, 50), false, drawn);
    EXPECT_TRUE(progress::PlanFullPaint(g, 0, drawn).empty());
    EXPECT_TRUE(progress::PlanIncrementalPaint(g, 0, drawn).empty());
}

// One column of the picture. The built-in strip's track tiles are one flat band and its centre
// mark looks like the body, both the same in every column; only the bar's end tiles have a shape.
struct Column {
    int look = -1;
    int offset = 0;
    bool operator==(const Column&) const = default;
};

Column Look(int tile, int offsetInTile)
{
    switch (tile) {
    case progress::kBarLeftEnd:
    case progress::kBarRightEnd:
        return {tile, offsetInTile};
    case progress::kCentreMark:
    case progress::kBarBody:
        return {progress::kBarBody, 0};
    default:
        return {progress::kTrack, 0};
    }
}

void Execute(const PaintPlan& plan, int tileWidth, std::vector<Column>& picture)
{
    for (const TileDraw& draw : plan)
        for (int x = draw.x; x < draw.x + tileWidth; ++x)
            if (x >= 0 && x < static_cast<int>(picture.size()))
                picture[x] = Look(draw.tile, x - draw.x);
}

std::vector<Column> FullPicture(int width, int tileWidth, const ProgressRange& range, bool reverse)
{
    std::vector<Column> picture(width);
    DrawnBar drawn;
    const BarGeometry g = progress::ComputeBarGeometry(width, tileWidth, range, reverse, drawn);
    Execute(progress::PlanFullPaint(g, tileWidth, drawn), tileWidth, picture);
    return picture;
}

TEST(PaintPlan, IncrementalRepaintsAfterAnyRunOfPositionsEqualAFullRepaint)
{
    struct Size { int width; int tileWidth; };
    const Size sizes[] = {{200, 10}, {203, 10}, {97, 7}, {41, 16}, {328, 10}, {35, 10}};
    std::mt19937 random(20261210);
    for (const Size& size : sizes) {
        for (bool reverse : {false, true}) {
            for (int upper : {100, 30000, 7}) {
                SCOPED_TRACE(testing::Message() << size.width << "/" << size.tileWidth << " 0.." << upper
                                                << (reverse ? " reversed" : ""));
                std::vector<int> positions;
                for (int p = 0; p <= upper; p += 1 + upper / 150)
                    positions.push_back(p);
                for (int p = upper; p >= 0; p -= 1 + upper / 90)
                    positions.push_back(p);
                std::uniform_int_distribution<int> any(-upper / 10, upper + upper / 10);
                for (int i = 0; i < 300; ++i)
                    positions.push_back(any(random));

                ProgressRange range = RangeAt(0, upper, 0);
                std::vector<Column> picture(size.width);
                DrawnBar drawn;
                BarGeometry g = progress::ComputeBarGeometry(size.width, size.tileWidth, range, reverse, drawn);
                Execute(progress::PlanFullPaint(g, size.tileWidth, drawn), size.tileWidth, picture);
                for (int position : positions) {
                    range.SetPos(position);
                    g = progress::ComputeBarGeometry(size.width, size.tileWidth, range, reverse, drawn);
                    Execute(progress::PlanIncrementalPaint(g, size.tileWidth, drawn), size.tileWidth, picture);
                    ASSERT_EQ(picture, FullPicture(size.width, size.tileWidth, range, reverse))
                        << "after position " << position;
                    ASSERT_FALSE(progress::ComputeBarGeometry(size.width, size.tileWidth, range, reverse, drawn).changed);
                }
            }
        }
    }
}

}  // namespace
