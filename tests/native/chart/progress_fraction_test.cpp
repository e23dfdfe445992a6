// The text progress bar's done part and percentage.
#include "core/chart/progress_fraction.h"

#include <climits>

#include <gtest/gtest.h>

namespace {

using chart::ProgressSpan;

TEST(ProgressFraction, DoneLengthAndPercentAreExactAndTruncated)
{
    struct Case { ProgressSpan span; int position; int length; int done; const char* text; };
    const Case cases[] = {
        {{0, 100}, 50, 200, 100, "50%"},
        {{0, 100}, 33, 200, 66, "33%"},
        {{0, 100}, 29, 100, 29, "29%"},  // a floating product truncates to 28
        {{0, 100}, 0, 200, 0, "0%"},
        {{0, 100}, 100, 200, 200, "100%"},
        {{0, 3}, 2, 100, 66, "66%"},
        {{-100, 100}, 0, 200, 100, "50%"},
        {{0, 100}, 150, 200, 300, "150%"},   // outside the range: stored and drawn past the edge
        {{0, 100}, -10, 200, -20, "-10%"},
        {{0, 65535}, 65535, 234, 234, "100%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chart::DoneLength(c.span, c.position, c.length), c.done) << c.position;
        EXPECT_EQ(chart::PercentText(c.span, c.position), c.text) << c.position;
    }
}

TEST(ProgressFraction, AnEmptyRangeIsNothingDoneAndNeverDrawn)
{
    EXPECT_EQ(chart::DoneLength({40, 40}, 40, 200), 0);
    EXPECT_EQ(chart::DoneLength({40, 40}, 90, 200), 0);
    EXPECT_EQ(chart::DonePercent({40, 40}, 90), 0);
    EXPECT_FALSE((ProgressSpan{40, 40}.IsDrawable()));
    EXPECT_FALSE((ProgressSpan{50, 40}.IsDrawable()));
    EXPECT_TRUE((ProgressSpan{39, 40}.IsDrawable()));
}

TEST(ProgressFraction, ExtremesSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(chart::DoneLength({INT_MIN, INT_MAX}, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(chart::DoneLength({0, 1}, INT_MAX, INT_MAX), INT_MAX);
    EXPECT_EQ(chart::DoneLength({0, 1}, INT_MIN, INT_MAX), INT_MIN);
    EXPECT_EQ(chart::DonePercent({INT_MIN, INT_MAX}, 0), 50);
}

}  // namespace
