// core/progress/progress_text.cpp
#include "core/progress/progress_text.h"

#include <cstdio>
#include <cstdlib>

namespace progress {

namespace {

constexpr std::string_view kEllipsis = "...";

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

template <typename... Args>
void Append(std::string& text, const char* format, Args... args)
{
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    if (length > 0)
        text.append(buffer, static_cast<std::size_t>(length) < sizeof buffer ? length : sizeof buffer - 1);
}

// Days first when the span reaches one; then hours, minutes and seconds of the part below a day.
void AppendSpan(std::string& text, std::int64_t span)
{
    const std::int64_t days = span / kTicksPerDay;
    const std::int64_t seconds = span % kTicksPerDay / kTicksPerSecond;
    if (days > 0)
        Append(text, "%lld:", static_cast<long long>(days));
    Append(text, "%02d:%02d:%02d - ", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
           static_cast<int>(seconds % 60));
}

void AppendDateIfNotToday(std::string& text, const DateTime& time, const DateTime& today)
{
    if (!SameDate(time, today))
        Append(text, "%04d/%02d/%02d/%02d ", time.year, time.month, time.day, time.dayOfWeek + 1);
}

// elapsed x 25600 / rate: the whole run's length extrapolated from the share done. Split so the
// product cannot overflow however long the run has been going.
std::int64_t ProjectedTotal(std::int64_t elapsed, unsigned rate)
{
    return elapsed / rate * 25600 + elapsed % rate * 25600 / rate;
}

}  // namespace

int FitTextWithEllipsis(std::string& text, const TextMeasure& measure, int width, int extra)
{
    if (text.ends_with(kEllipsis))
        text.resize(text.size() - kEllipsis.size());
    if (text.empty())
        return 0;
    if (measure.Width(text) + extra <= width)
        return 0;
    // The dots are measured with their terminating zero, as the system always did.
    const int ellipsisWidth = measure.Width(std::string_view("...", 4));
    if (measure.Width(text) <= ellipsisWidth + measure.Width(std::string_view(text).substr(0, 1)))
        return -static_cast<int>(text.size());

    int removed = 0;
    if (text.size() > 1) {
        extra += ellipsisWidth / 2;
        while (text.size() > 1 && measure.Width(text) + extra > width) {
            text.pop_back();
            while (!text.empty() && IsBlank(text.back()))
                text.pop_back();
            ++removed;
        }
    }
    text.append(kEllipsis);
    return removed;
}

std::string FormatTimeText(const DateTime& start, const DateTime& now, const ProgressRange& range, int textMode)
{
    std::string text = " ";
    if (textMode > 0)
        text += "(";
    AppendDateIfNotToday(text, start, now);
    Append(text, "%02d:%02d:%02d - ", start.hour, start.minute, start.second);

    const std::int64_t startTicks = TicksFromDateTime(start);
    std::int64_t elapsed = TicksFromDateTime(now) - startTicks;
    if (elapsed < 0)
        elapsed = 0;  // the clock was set back: count from now rather than show a negative span
    AppendSpan(text, elapsed);

    const unsigned rate = range.RateSinceStart();
    const int done = static_cast<int>(rate / 256);
    Append(text, "%d%% / ", done);
    Append(text, "%d%% - ", 100 - done);

    const std::int64_t total = rate == 0 ? elapsed : ProjectedTotal(elapsed, rate);
    AppendSpan(text, total - elapsed);

    const DateTime finish = DateTimeFromTicks(startTicks + total);
    AppendDateIfNotToday(text, finish, now);
    Append(text, "%02d:%02d:%02d", finish.hour, finish.minute, finish.second);
    if (textMode > 0)
        text += ")";
    return text;
}

std::string ComposeProgressText(const std::string& message, int textMode, const ProgressRange& range,
                                const DateTime& start, const DateTime& now, const TextMeasure& measure,
                                int width)
{
    const long long mode = std::llabs(static_cast<long long>(textMode));
    std::string percent;
    std::string timeLine;
    if (mode != 0) {
        Append(percent, "%d%%", range.PercentDone());
        if (textMode > 0)
            percent = "(" + percent + ")";
        percent = " " + percent;
    }
    if (mode >= 2)
        timeLine = FormatTimeText(start, now, range, textMode);
    const int reserve = 2 * measure.Width(" ");

    std::string text = message;
    bool percentChosen = mode == 1;
    switch (mode) {
    case 1:
        FitTextWithEllipsis(text, measure, width, reserve + measure.Width(percent));
        break;
    case 2:
        FitTextWithEllipsis(text, measure, width, reserve + measure.Width(timeLine));
        break;
    case 3: {
        // When the time line leaves the message no room, the shorter percentage is shown instead.
        const int removed = FitTextWithEllipsis(text, measure, width, reserve + measure.Width(timeLine));
        if (removed != 0 && removed != static_cast<int>(text.size())) {
            text = message;
            percent += "...";
            FitTextWithEllipsis(text, measure, width, reserve + measure.Width(percent));
            percentChosen = true;
        }
        break;
    }
    default:
        FitTextWithEllipsis(text, measure, width, reserve);
        break;
    }

    if (percentChosen)
        text += percent;
    else if (mode == 2 || mode == 3)
        text += timeLine;

    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first]))
        ++first;
    text.erase(0, first);
    return text.empty() ? " " : text;
}

}  // namespace progress
