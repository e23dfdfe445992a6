// core/chart/slider_geometry.h
// Where a bitmap slider's thumb sits for a position and which position a pixel stands for, along
// one axis: horizontally the channel's width with the left and right margins and the thumb's
// width, vertically its height with the top and bottom margins and the thumb's height.
#pragma once

namespace chart {

struct SliderAxis {
    int channelLength = 0;
    int marginStart = 0;  // left or top
    int marginEnd = 0;    // right or bottom
    int thumbLength = 0;

    // How far the thumb's centre can travel; 0 or less leaves no room to move.
    long long Travel() const;
};

struct SliderRange {
    int minimum = 0;
    int maximum = 100;
};

// The value SetPos stores: above the maximum it becomes the maximum, then below the minimum the
// minimum (so with the minimum above the maximum, the minimum wins).
int ClampSliderPosition(int value, const SliderRange& range);

// The thumb centre's pixel for a position. The share of the range is exact: the products are
// not rounded through floating point. An empty range puts the thumb at its start.
int PositionToPixel(const SliderAxis& axis, const SliderRange& range, int position);

// The position a thumb centre at the pixel stands for, the whole sum truncated towards zero. An
// empty travel stands for the minimum.
int PixelToPosition(const SliderAxis& axis, const SliderRange& range, int pixel);

// Keeps a dragged thumb centre inside the travel. The two bounds are applied in the order the
// slider uses them: horizontally the upper bound last, vertically the lower bound last, which
// decides where the centre goes when the thumb is wider than the room it has.
enum class BoundLast { Upper, Lower };
int ClampThumbCentre(const SliderAxis& axis, int pixel, BoundLast last);

// The distance kept between the grab point and the thumb centre for a drag that starts at the
// grab point: 0 (the centre jumps to the cursor) when the press is outside the thumb.
int DragOffset(int grab, int thumbCentre, int thumbLength);

// The split of a channel at a pixel, held inside the channel: the part before shows the active
// channel, the part from it on the normal channel.
int ChannelSplit(int channelLength, int pixel);

}  // namespace chart
