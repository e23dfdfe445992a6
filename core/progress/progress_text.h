// core/progress/progress_text.h
// The text the bar composes for a text window: message, percentage and the time line (start,
// elapsed, done / left, remaining, estimated finish), fitted to the window's width.
#pragma once

#include <string>
#include <string_view>

#include "core/progress/clock.h"
#include "core/progress/progress_range.h"

namespace progress {

// Widths in the text window's font; the window implements it with the device context.
class TextMeasure {
public:
    virtual int Width(std::string_view text) const = 0;

protected:
    ~TextMeasure() = default;
};

// Shortens text to width - extra, ending it in "...". Returns the number of characters taken
// away, 0 when it fits, or minus its length when it is too short to shorten.
int FitTextWithEllipsis(std::string& text, const TextMeasure& measure, int width, int extra);

// The time line; a positive text mode wraps it in parentheses.
std::string FormatTimeText(const DateTime& start, const DateTime& now, const ProgressRange& range, int textMode);

// What the text window shows; the magnitude of the text mode (0..3) chooses what follows the
// message. Never empty.
std::string ComposeProgressText(const std::string& message, int textMode, const ProgressRange& range,
                                const DateTime& start, const DateTime& now, const TextMeasure& measure,
                                int width);

}  // namespace progress
