// core/chart/slider_geometry.cpp
#include "core/chart/slider_geometry.h"

#include "core/chart/scaled.h"

namespace chart {

using detail::Saturate;

long long SliderAxis::Travel() const
{
    return static_cast<long long>(channelLength) - marginEnd - thumbLength - marginStart;
}

int ClampSliderPosition(int value, const SliderRange& range)
{
    if (value > range.maximum)
        value = range.maximum;
    if (value < range.minimum)
        value = range.minimum;
    return value;
}

int PositionToPixel(const SliderAxis& axis, const SliderRange& range, int position)
{
    const long long span = static_cast<long long>(range.maximum) - range.minimum;
    long long offset = 0;
    if (span != 0)
        offset = detail::MulDiv(static_cast<long long>(position) - range.minimum, axis.Travel(), span);
    return Saturate(axis.marginStart + offset + axis.thumbLength / 2);
}

int PixelToPosition(const SliderAxis& axis, const SliderRange& range, int pixel)
{
    const long long travel = axis.Travel();
    if (travel <= 0)
        return range.minimum;
    const long long span = static_cast<long long>(range.maximum) - range.minimum;
    const long long along = static_cast<long long>(pixel) - axis.thumbLength / 2 - axis.marginStart;
    // along / travel * span + minimum as one fraction, so that the truncation covers the sum.
    return Saturate(detail::MulAddDiv(along, span, range.minimum, travel, travel));
}

int ClampThumbCentre(const SliderAxis& axis, int pixel, BoundLast last)
{
    const long long lowest = static_cast<long long>(axis.marginStart) + axis.thumbLength / 2;
    const long long highest = static_cast<long long>(axis.channelLength) - axis.marginEnd - axis.thumbLength / 2;
    long long centre = pixel;
    if (last == BoundLast::Upper) {
        if (centre < lowest)
            centre = lowest;
        if (centre > highest)
            centre = highest;
    } else {
        if (centre > highest)
            centre = highest;
        if (centre < lowest)
            centre = lowest;
    }
    return Saturate(centre);
}

int DragOffset(int grab, int thumbCentre, int thumbLength)
{
    const long long distance = static_cast<long long>(grab) - thumbCentre;
    const long long reach = thumbLength / 2;
    if (distance > reach || distance < -reach)
        return 0;
    return static_cast<int>(distance);
}

int ChannelSplit(int channelLength, int pixel)
{
    if (channelLength <= 0 || pixel <= 0)
        return 0;
    return pixel < channelLength ? pixel : channelLength;
}

}  // namespace chart
