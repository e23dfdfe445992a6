// core/geometry/rect.h
// The rectangle and point of the core's drawing arithmetic, in pixels, right and bottom
// exclusive, as Win32's RECT and POINT; each area names them as it likes.
#pragma once

namespace core {

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const Rect&) const = default;
};

}  // namespace core
