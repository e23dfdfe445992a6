// core/menu/region_runs.cpp
#include "core/menu/region_runs.h"

namespace menu {

std::vector<Run> OpaqueRuns(const std::uint32_t* pixels, int width, std::uint32_t key)
{
    std::vector<Run> runs;
    int start = 0;
    for (int x = 0; x < width; ++x) {
        if (pixels[x] != key)
            continue;
        if (x > start)
            runs.push_back({start, x});
        start = x + 1;
    }
    if (width > start)
        runs.push_back({start, width});
    return runs;
}

}  // namespace menu
