// core/chart/pie_geometry.cpp
#include "core/chart/pie_geometry.h"

#include <cmath>

#include "core/chart/scaled.h"

namespace chart {

namespace {

// The pie's own value of pi, so that points land where the control has always put them.
constexpr double kPi = 3.1415926535;

}  // namespace

int NormaliseAngle(long long degrees)
{
    long long turned = degrees % 360;
    if (turned < 0)
        turned += 360;
    return static_cast<int>(turned);
}

Rect PieSquare(const Rect& client, int titleHeight)
{
    const long long top = static_cast<long long>(client.top) + 2LL * titleHeight;
    const long long height = client.bottom - top;
    const long long width = static_cast<long long>(client.right) - client.left;
    long long side = height < width ? height : width;
    if (side < 0)
        side = 0;
    const long long x0 = client.left + (width - side) / 2;
    return Rect{detail::Saturate(x0), detail::Saturate(client.bottom - side), detail::Saturate(x0 + side),
                client.bottom};
}

Point PiePoint(const Rect& pie, long long degrees, double radiusFactor)
{
    const int angle = NormaliseAngle(degrees);
    const double radius = (static_cast<double>(pie.bottom) - pie.top) * 0.5 * radiusFactor;
    const double radians = angle * kPi * (1.0 / 180.0);
    const double x = radius * std::sin(radians) + (static_cast<double>(pie.left) + pie.right) * 0.5;
    const double y = (static_cast<double>(pie.top) + pie.bottom) * 0.5 - radius * std::cos(radians);
    // Within a rectangle of int corners, so the truncation always fits.
    return Point{static_cast<int>(x), static_cast<int>(y)};
}

std::optional<std::string> SlicePercentText(int degrees)
{
    if (degrees <= kSmallestLabelledSlice)
        return std::nullopt;
    // degrees * 100 / 360 to the nearest whole percent; halves (27 degrees is 7.5 %) go up.
    const long long percent = (static_cast<long long>(degrees) * 100 + 180) / 360;
    return std::to_string(percent) + "%";
}

}  // namespace chart
