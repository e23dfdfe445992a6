// The time line, the ellipsis fitting and the composed text of each text mode.
#include "core/progress/progress_text.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using progress::DateTime;
using progress::ProgressRange;

// Every character 5 pixels wide except dots (2) and the terminating zero (4).
class FixedMeasure final : public progress::TextMeasure {
public:
    int Width(std::string_view text) const override
    {
        int width = 0;
        for (char c : text)
            width += c == '.' ? 2 : c == '\0' ? 4 : 5;
        return width;
    }
};

DateTime At(int year, int month, int day, int hour, int minute, int second)
{
    DateTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    // The day of the week as the system clock fills it.
    return progress::DateTimeFromTicks(progress::TicksFromDateTime(t));
}

ProgressRange RangeAt(int upper, int position)
{
    ProgressRange range;
    EXPECT_TRUE(range.SetRange(0, upper, false));
    range.SetPos(position);
    return range;
}

TEST(FormatTimeText, TimeLines)
{
    struct Case {
        const char* name;
        DateTime start;
        DateTime now;
        int upper;
        int position;
        int textMode;
        const char* expected;
    };
    const Case cases[] = {
        {"a quarter after two minutes", At(2026, 12, 10, 10, 0, 0), At(2026, 12, 10, 10, 2, 0), 100, 25, 3,
         " (10:00:00 - 00:02:00 - 25% / 75% - 00:06:00 - 10:08:00)"},
        {"negative mode, no parentheses", At(2026, 12, 10, 10, 0, 0), At(2026, 12, 10, 10, 2, 0), 30000, 7500, -2,
         " 10:00:00 - 00:02:00 - 25% / 75% - 00:06:00 - 10:08:00"},
        {"no progress yet: nothing remains, finish is now", At(2026, 12, 10, 10, 0, 0),
         At(2026, 12, 10, 10, 2, 0), 100, 0, -3, " 10:00:00 - 00:02:00 - 0% / 100% - 00:00:00 - 10:02:00"},
        {"after midnight the start date comes first", At(2026, 12, 10, 23, 50, 0), At(2026, 12, 11, 0, 10, 0), 100,
         50, 1, " (2026/12/10/05 23:50:00 - 00:20:00 - 50% / 50% - 00:20:00 - 00:30:00)"},
        {"finish tomorrow in the same month", At(2026, 12, 10, 12, 0, 0), At(2026, 12, 10, 18, 0, 0), 100, 25, -3,
         " 12:00:00 - 06:00:00 - 25% / 75% - 18:00:00 - 2026/12/11/06 12:00:00"},
        {"spans of days", At(2026, 12, 10, 0, 0, 0), At(2026, 12, 12, 6, 0, 0), 100, 10, -3,
         " 2026/12/10/05 00:00:00 - 2:06:00:00 - 10% / 90% - 20:06:00:00 - 2027/01/01/06 12:00:00"},
        {"done", At(2026, 12, 10, 10, 0, 0), At(2026, 12, 10, 10, 5, 30), 100, 100, 2,
         " (10:00:00 - 00:05:30 - 100% / 0% - 00:00:00 - 10:05:30)"},
        {"clock set back", At(2026, 12, 10, 10, 0, 0), At(2026, 12, 10, 9, 0, 0), 100, 50, -2,
         " 10:00:00 - 00:00:00 - 50% / 50% - 00:00:00 - 10:00:00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(progress::FormatTimeText(c.start, c.now, RangeAt(c.upper, c.position), c.textMode), c.expected);
    }
}

TEST(FitTextWithEllipsis, Cases)
{
    struct Case {
        const char* text;
        int width;
        int extra;
        int result;
        const char* fitted;
    };
    const Case cases[] = {
        {"Hello", 100, 0, 0, "Hello"},
        {"Hello", 30, 5, 0, "Hello"},               // exactly fits
        {"Hello...", 100, 0, 0, "Hello"},           // an old ellipsis is taken off first
        {"", 10, 0, 0, ""},
        {"...", 1, 0, 0, ""},
        {"Hi", 5, 0, -2, "Hi"},                     // no wider than the dots and one character
        {"Hello world", 40, 0, 4, "Hello w..."},
        {"Hello world", 35, 0, 5, "Hello..."},      // the blank before the cut goes too
        {"Hello world", 0, 0, 9, "H..."},           // never below one character
        {"Hello world...", 40, 0, 4, "Hello w..."},
    };
    const FixedMeasure measure;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" in " << c.width);
        std::string text = c.text;
        EXPECT_EQ(progress::FitTextWithEllipsis(text, measure, c.width, c.extra), c.result);
        EXPECT_EQ(text, c.fitted);
    }
}

TEST(ComposeProgressText, TextModesAtAQuarter)
{
    const DateTime start = At(2026, 12, 10, 10, 0, 0);
    const DateTime now = At(2026, 12, 10, 10, 2, 0);
    const ProgressRange range = RangeAt(100, 25);
    const std::string line = "10:00:00 - 00:02:00 - 25% / 75% - 00:06:00 - 10:08:00";
    struct Case {
        int textMode;
        std::string message;
        int width;
        std::string expected;
    };
    const Case cases[] = {
        {0, "Copying", 1000, "Copying"},
        {-1, "Copying", 1000, "Copying 25%"},
        {1, "Copying", 1000, "Copying (25%)"},
        {-2, "Copying", 1000, "Copying " + line},
        {2, "Copying", 1000, "Copying (" + line + ")"},
        {3, "Copying files", 1000, "Copying files (" + line + ")"},
        {-3, "", 1000, line},  // leading blanks go
        // The time line leaves no room: the message with the percentage instead.
        {3, "Copying files", 300, "Copying files (25%)..."},
        {-1, "Copying files", 60, "Copyi... 25%"},
        {0, "", 1000, " "},
        {4, "Copying", 1000, "Copying"},
    };
    const FixedMeasure measure;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.textMode << " \"" << c.message << "\" in " << c.width);
        EXPECT_EQ(progress::ComposeProgressText(c.message, c.textMode, range, start, now, measure, c.width),
                  c.expected);
    }
}

}  // namespace
