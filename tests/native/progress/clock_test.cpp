// Calendar conversions against known FILETIME values.
#include "core/progress/clock.h"

#include <gtest/gtest.h>

namespace {

using progress::DateTime;

struct KnownDate {
    DateTime time;  // year, month, day of week, day, hour, minute, second, ms
    long long seconds;  // since 1601-01-01 00:00
};

TEST(Clock, ConvertsKnownDatesBothWays)
{
    const KnownDate cases[] = {
        {{1601, 1, 1, 1, 0, 0, 0, 0}, 0LL},
        {{1601, 3, 4, 1, 0, 0, 0, 0}, 59LL * 86400},
        {{1970, 1, 4, 1, 0, 0, 0, 0}, 11644473600LL},
        {{2000, 2, 2, 29, 12, 30, 15, 0}, 12596301015LL},
        {{2000, 3, 3, 1, 0, 0, 0, 0}, 12596342400LL},
        {{2100, 3, 1, 1, 0, 0, 0, 0}, 15752016000LL},  // 2100 is no leap year
        {{2026, 12, 4, 10, 9, 16, 10, 0}, 13441367770LL},
    };
    for (const KnownDate& c : cases) {
        SCOPED_TRACE(testing::Message() << c.time.year << "-" << c.time.month << "-" << c.time.day);
        EXPECT_EQ(progress::TicksFromDateTime(c.time), c.seconds * progress::kTicksPerSecond);
        const DateTime back = progress::DateTimeFromTicks(c.seconds * progress::kTicksPerSecond + 1234 * 10000);
        EXPECT_EQ(back.year, c.time.year);
        EXPECT_EQ(back.month, c.time.month);
        EXPECT_EQ(back.day, c.time.day);
        EXPECT_EQ(back.dayOfWeek, c.time.dayOfWeek);
        EXPECT_EQ(back.hour, c.time.hour);
        EXPECT_EQ(back.minute, c.time.minute);
        EXPECT_EQ(back.second, c.time.second + 1);
        EXPECT_EQ(back.milliseconds, 234);
    }
}

// Two 400-year cycles, 1601 to 2400: past the century years 2100 to 2300 and the leap year 2400.
TEST(Clock, EveryDayOfEightCenturiesRoundTrips)
{
    int lastDay = 0;
    for (long long day = 0; day < 146097 * 2; ++day) {
        const DateTime t = progress::DateTimeFromTicks(day * progress::kTicksPerDay);
        ASSERT_EQ(progress::TicksFromDateTime(t), day * progress::kTicksPerDay) << day;
        ASSERT_EQ(t.dayOfWeek, (day + 1) % 7);
        ASSERT_TRUE(t.day == lastDay + 1 || t.day == 1) << day;
        lastDay = t.day;
    }
}

}  // namespace
