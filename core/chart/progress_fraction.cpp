// core/chart/progress_fraction.cpp
#include "core/chart/progress_fraction.h"

#include "core/chart/scaled.h"

namespace chart {

int DoneLength(const ProgressSpan& span, int position, int length)
{
    const long long range = static_cast<long long>(span.maximum) - span.minimum;
    if (range == 0)
        return 0;
    return detail::Saturate(detail::MulDiv(static_cast<long long>(position) - span.minimum, length, range));
}

int DonePercent(const ProgressSpan& span, int position) { return DoneLength(span, position, 100); }

std::string PercentText(const ProgressSpan& span, int position)
{
    return std::to_string(DonePercent(span, position)) + "%";
}

}  // namespace chart
