// core/progress/progress_range.cpp
#include "core/progress/progress_range.h"

#include <algorithm>

namespace progress {

namespace {

int Rescale(int value, int oldLower, int oldUpper, int newLower, int newUpper)
{
    const long long oldSpan = static_cast<long long>(oldUpper) - oldLower;
    const long long newSpan = static_cast<long long>(newUpper) - newLower;
    // Both spans fit in 33 bits, so the product cannot overflow 64 bits.
    return static_cast<int>(newLower + (static_cast<long long>(value) - oldLower) * newSpan / oldSpan);
}

}  // namespace

bool ProgressRange::Reset(int upper)
{
    startPosition_ = 0;
    position_ = 0;
    if (!SetRange(0, upper, false)) {
        SetRange(lower_, upper_, false);  // brings the zeroed positions back into the kept range
        return false;
    }
    return true;
}

bool ProgressRange::SetRange(int lower, int upper, bool rescale)
{
    if (upper <= lower)
        return false;
    if (rescale) {
        startPosition_ = Rescale(startPosition_, lower_, upper_, lower, upper);
        position_ = Rescale(position_, lower_, upper_, lower, upper);
    }
    lower_ = lower;
    upper_ = upper;
    // Without rescaling the old positions may lie outside the new bounds.
    startPosition_ = std::clamp(startPosition_, lower_, upper_);
    position_ = std::clamp(position_, startPosition_, upper_);
    return true;
}

int ProgressRange::SetPos(int value)
{
    value = std::min(value, upper_);
    value = std::max(value, lower_);
    value = std::max(value, startPosition_);
    previousPosition_ = position_;
    position_ = value;
    return previousPosition_;
}

int ProgressRange::GetPos(bool percent) const
{
    if (!percent)
        return position_;
    return static_cast<int>((static_cast<long long>(position_) - lower_) * 25600 / Span());
}

int ProgressRange::PercentDone() const
{
    return static_cast<int>((static_cast<long long>(position_) - lower_) * 100 / Span());
}

unsigned ProgressRange::RateSinceStart() const
{
    return static_cast<unsigned>((static_cast<long long>(position_) - startPosition_) * 25600 / Span());
}

}  // namespace progress
