// core/timing/pause.h
// The fixed pauses of the repair (50 ms between MBR write attempts, 1 s after an upload, ...)
// go through this seam, so tests check that a pause was asked for without waiting.
#pragma once

#include <cstdint>

namespace timing {

class Pause {
public:
    virtual void Sleep(std::uint32_t milliseconds) = 0;

protected:
    ~Pause() = default;
};

}  // namespace timing
