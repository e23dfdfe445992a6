// core/skin/gradient.h
// The bands of a horizontal colour gradient: at most a given number of equal bands (the last
// one takes what the division leaves) whose colours step evenly in 8.8 fixed point.
#pragma once

#include <vector>

#include "core/skin/colour.h"

namespace skin {

struct GradientBand {
    int left = 0;
    int right = 0;  // exclusive
    Colour colour = 0;
};

// From left (start colour) to right; none for a span of no width, so nothing divides by zero.
std::vector<GradientBand> GradientBands(int left, int right, Colour start, Colour end, int maxBands = 100);

}  // namespace skin
