// core/progress/clock.cpp
#include "core/progress/clock.h"

namespace progress {

namespace {

// Days are counted in 400-year cycles of years that begin on 1 March, so the leap day is the
// last day of its year and the month lengths before it follow a fixed pattern.
constexpr std::int64_t kDaysPerCycle = 146'097;
constexpr std::int64_t kMarchBasedYearOfEpoch = 1600;  // 1601-01-01 lies in the year from March 1600
constexpr std::int64_t kEpochDayInCycle = 306;         // 1 March 1600 .. 1 January 1601

std::int64_t DaysSinceEpoch(std::int64_t year, std::int64_t month, std::int64_t day)
{
    if (month <= 2)
        --year;
    const std::int64_t cycle = (year >= 0 ? year : year - 399) / 400;
    const std::int64_t yearOfCycle = year - cycle * 400;
    const std::int64_t monthFromMarch = month > 2 ? month - 3 : month + 9;
    const std::int64_t dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const std::int64_t dayOfCycle = yearOfCycle * 365 + yearOfCycle / 4 - yearOfCycle / 100 + dayOfYear;
    return (cycle - kMarchBasedYearOfEpoch / 400) * kDaysPerCycle + dayOfCycle - kEpochDayInCycle;
}

}  // namespace

std::int64_t TicksFromDateTime(const DateTime& time)
{
    const std::int64_t days = DaysSinceEpoch(time.year, time.month, time.day);
    const std::int64_t seconds = time.hour * 3600LL + time.minute * 60LL + time.second;
    return days * kTicksPerDay + seconds * kTicksPerSecond + time.milliseconds * 10'000LL;
}

DateTime DateTimeFromTicks(std::int64_t ticks)
{
    if (ticks < 0)
        ticks = 0;
    const std::int64_t days = ticks / kTicksPerDay;
    const std::int64_t rest = ticks % kTicksPerDay;

    const std::int64_t fromCycleStart = days + kEpochDayInCycle;  // days since 1 March 1600
    const std::int64_t cycle = fromCycleStart / kDaysPerCycle;
    const std::int64_t dayOfCycle = fromCycleStart % kDaysPerCycle;
    const std::int64_t yearOfCycle =
        (dayOfCycle - dayOfCycle / 1460 + dayOfCycle / 36'524 - dayOfCycle / (kDaysPerCycle - 1)) / 365;
    const std::int64_t dayOfYear = dayOfCycle - (365 * yearOfCycle + yearOfCycle / 4 - yearOfCycle / 100);
    const std::int64_t monthFromMarch = (5 * dayOfYear + 2) / 153;
    const std::int64_t month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    const std::int64_t year = kMarchBasedYearOfEpoch + cycle * 400 + yearOfCycle + (month <= 2 ? 1 : 0);

    DateTime time;
    time.year = static_cast<std::uint16_t>(year);
    time.month = static_cast<std::uint16_t>(month);
    time.day = static_cast<std::uint16_t>(dayOfYear - (153 * monthFromMarch + 2) / 5 + 1);
    time.dayOfWeek = static_cast<std::uint16_t>((days + 1) % 7);  // 1601-01-01 was a Monday
    time.hour = static_cast<std::uint16_t>(rest / (3600 * kTicksPerSecond));
    time.minute = static_cast<std::uint16_t>(rest / (60 * kTicksPerSecond) % 60);
    time.second = static_cast<std::uint16_t>(rest / kTicksPerSecond % 60);
    time.milliseconds = static_cast<std::uint16_t>(rest / 10'000 % 1000);
    return time;
}

bool SameDate(const DateTime& a, const DateTime& b)
{
    return a.day == b.day && a.month == b.month && a.year == b.year;
}

}  // namespace progress
