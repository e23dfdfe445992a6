// platform/timing/sleep_pause.h
// The real pause behind the timing seam: the calling thread sleeps.
#pragma once

#include <windows.h>

#include "core/timing/pause.h"

namespace timing {

class SleepPause final : public Pause {
public:
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

}  // namespace timing
