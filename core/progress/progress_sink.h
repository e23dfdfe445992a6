// core/progress/progress_sink.h
// What the volume builders and the repair routine need of a progress bar. Sarrow's
// CBitmapProgressCtrl implements it; tests record the calls.
#pragma once

namespace progress {

class ProgressSink {
public:
    // Moves the bar; the value is clamped into the range. Returns the position before the call.
    virtual int SetPos(int value, bool refresh) = 0;
    // The position, or with `percent` the share done in 1/256 percent units.
    virtual int GetPos(bool percent) const = 0;

protected:
    ~ProgressSink() = default;
};

// Stands in where no bar could be made: keeps the position, shows nothing.
class UnseenProgress final : public ProgressSink {
public:
    int SetPos(int value, bool) override
    {
        const int before = position_;
        position_ = value;
        return before;
    }
    int GetPos(bool) const override { return position_; }

private:
    int position_ = 0;
};

}  // namespace progress
