// core/chart/scaled.h
// Exact integer shares for the gauges. Screen geometry lives in int; everything in between is
// computed wide enough that no product overflows, and results that do not fit an int saturate.
#pragma once

#include <climits>

namespace chart::detail {

using Wide = __int128;

inline int Saturate(Wide value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// value * numerator / denominator, truncated towards zero; the denominator is not 0.
inline Wide MulDivTruncate(Wide value, Wide numerator, Wide denominator)
{
    return value * numerator / denominator;
}

}  // namespace chart::detail
