// core/menu/region_runs.h
// The opaque runs of one row of a region bitmap: the pixels between key-coloured ones, which
// become one-pixel-high rectangles of the window region.
#pragma once

#include <cstdint>
#include <vector>

namespace menu {

struct Run {
    int start = 0;
    int end = 0;  // exclusive
    bool operator==(const Run&) const = default;
};

// pixels holds the row's first `width` pixels; every pixel equal to key is a hole.
std::vector<Run> OpaqueRuns(const std::uint32_t* pixels, int width, std::uint32_t key);

}  // namespace menu
