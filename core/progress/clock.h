// core/progress/clock.h
// Local date and time as the progress text needs it: date fields laid out like the system's
// SYSTEMTIME, and a 64-bit count of 100 ns units since 1601-01-01 00:00 (the FILETIME epoch),
// converted in a proleptic Gregorian calendar.
#pragma once

#include <cstdint>

namespace progress {

struct DateTime {
    std::uint16_t year = 1601;
    std::uint16_t month = 1;      // 1..12
    std::uint16_t dayOfWeek = 1;  // 0 = Sunday
    std::uint16_t day = 1;        // 1..31
    std::uint16_t hour = 0;
    std::uint16_t minute = 0;
    std::uint16_t second = 0;
    std::uint16_t milliseconds = 0;
};

constexpr std::int64_t kTicksPerSecond = 10'000'000;
constexpr std::int64_t kTicksPerDay = 86'400 * kTicksPerSecond;

// The day of the week is ignored.
std::int64_t TicksFromDateTime(const DateTime& time);
// Fills the day of the week. Counts before the epoch read as the epoch.
DateTime DateTimeFromTicks(std::int64_t ticks);

bool SameDate(const DateTime& a, const DateTime& b);

}  // namespace progress
