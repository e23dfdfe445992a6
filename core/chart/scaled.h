// core/chart/scaled.h
// Exact integer shares for the gauges. Screen geometry lives in int; the products in between are
// taken in 64 bits, and only values far outside any screen (where a product would not fit) fall
// back to long double. Results that do not fit an int saturate.
#pragma once

#include <climits>

namespace chart::detail {

inline int Saturate(long long value)
{
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
}

// Truncated towards zero, held well inside long long so that sums with ints cannot overflow.
inline long long Truncate(long double value)
{
    constexpr long double kLimit = 4e18L;
    if (value > kLimit)
        return static_cast<long long>(kLimit);
    if (value < -kLimit)
        return -static_cast<long long>(kLimit);
    return static_cast<long long>(value);
}

// (a * b + c * d) / divisor, truncated towards zero; the divisor is not 0.
inline long long MulAddDiv(long long a, long long b, long long c, long long d, long long divisor)
{
    long long ab = 0;
    long long cd = 0;
    long long sum = 0;
    if (!__builtin_mul_overflow(a, b, &ab) && !__builtin_mul_overflow(c, d, &cd) &&
        !__builtin_add_overflow(ab, cd, &sum) && !(sum == LLONG_MIN && divisor == -1))
        return sum / divisor;
    return Truncate((static_cast<long double>(a) * b + static_cast<long double>(c) * d) / divisor);
}

// value * numerator / denominator, truncated towards zero; the denominator is not 0.
inline long long MulDiv(long long value, long long numerator, long long denominator)
{
    return MulAddDiv(value, numerator, 0, 0, denominator);
}

}  // namespace chart::detail
