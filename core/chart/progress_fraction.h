// core/chart/progress_fraction.h
// The share of a text progress bar that is done: in pixels of its length and as the percentage
// text it shows. The shares are exact (29 of 0..100 is 29 %, not the 28.999... % that a floating
// product truncates to), and a range whose ends meet counts as nothing done.
#pragma once

#include <string>

namespace chart {

struct ProgressSpan {
    int minimum = 0;
    int maximum = 100;

    // The control draws only a range whose minimum lies below its maximum.
    bool IsDrawable() const { return minimum < maximum; }
};

// (position - minimum) / (maximum - minimum) of length, truncated towards zero. A position
// outside the range gives a length outside 0..length (the drawing is clipped).
int DoneLength(const ProgressSpan& span, int position, int length);

// The whole percent done, truncated towards zero.
int DonePercent(const ProgressSpan& span, int position);

// The text shown when none is set: the whole percent and a percent sign, "50%".
std::string PercentText(const ProgressSpan& span, int position);

}  // namespace chart
