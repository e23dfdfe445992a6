// core/chart/pie_geometry.h
// The pie chart's geometry: the square the pie sits in, points on its rim by angle (0 degrees at
// the top, growing clockwise on the screen) and the percentage a slice is labelled with.
#pragma once

#include <optional>
#include <string>

#include "core/geometry/rect.h"

namespace chart {

using Point = core::Point;
using Rect = core::Rect;

// Degrees brought into 0..359.
int NormaliseAngle(long long degrees);

// The pie's bounding square in a client rectangle: below a title twice its height (titleHeight
// 0 for none), as large as fits, centred across and resting on the bottom edge. A client with no
// room left gives an empty square rather than an inverted one.
Rect PieSquare(const Rect& client, int titleHeight);

// Radius factor of the points that percentages are centred on.
constexpr double kLabelRadius = 0.6;

// The point at the angle on a circle of radiusFactor times the pie's radius, each coordinate
// truncated towards zero.
Point PiePoint(const Rect& pie, long long degrees, double radiusFactor = 1.0);

// Slices up to this many degrees carry no percentage.
constexpr int kSmallestLabelledSlice = 25;

// The percentage text of a slice ("7%" for 26 degrees), rounded to whole percent with exact
// integer arithmetic; none for slices of kSmallestLabelledSlice degrees or less.
std::optional<std::string> SlicePercentText(int degrees);

}  // namespace chart
