// core/progress/progress_range.h
// The bounds and positions of a progress bar. Upper always exceeds lower, so every share of the
// range is a division by a positive number.
#pragma once

namespace progress {

class ProgressRange {
public:
    ProgressRange() = default;

    // Back to 0..upper with the start and the position at 0. FALSE (the range kept) when upper
    // is not above 0.
    bool Reset(int upper);

    // With rescale the start position and the position keep their share of the range. Refused
    // (FALSE, nothing changes) when upper does not exceed lower.
    bool SetRange(int lower, int upper, bool rescale);

    // Clamped to upper, then lower, then the start position. Returns the position before.
    int SetPos(int value);

    // The position, or with percent the share done in 1/256 percent units.
    int GetPos(bool percent) const;

    // Whole percent of the range done, as the progress text shows it.
    int PercentDone() const;

    // The share done since the start position in 1/256 percent units.
    unsigned RateSinceStart() const;

    int Lower() const { return lower_; }
    int Upper() const { return upper_; }
    int StartPosition() const { return startPosition_; }
    int Position() const { return position_; }
    int PreviousPosition() const { return previousPosition_; }

private:
    long long Span() const { return static_cast<long long>(upper_) - lower_; }

    int lower_ = 0;
    int upper_ = 100;
    int startPosition_ = 0;
    int position_ = 0;
    int previousPosition_ = 0;
};

}  // namespace progress
