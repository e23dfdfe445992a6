// platform/dialogs/geometry.h
// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with their usual arithmetic.
#pragma once

#include <windows.h>

class CSize : public SIZE
{
public:
    CSize() { cx = cy = 0; }
    CSize(int width, int height) { cx = width, cy = height; }
    CSize(SIZE size) { cx = size.cx, cy = size.cy; }
    explicit CSize(DWORD packed) { cx = static_cast<short>(LOWORD(packed)), cy = static_cast<short>(HIWORD(packed)); }
    bool operator==(SIZE other) const { return cx == other.cx && cy == other.cy; }
    bool operator!=(SIZE other) const { return !(*this == other); }
    CSize operator+(SIZE other) const { return CSize(cx + other.cx, cy + other.cy); }
    CSize operator-(SIZE other) const { return CSize(cx - other.cx, cy - other.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT
{
public:
    CPoint() { x = y = 0; }
    CPoint(int px, int py) { x = px, y = py; }
    CPoint(POINT point) { x = point.x, y = point.y; }
    CPoint(SIZE size) { x = size.cx, y = size.cy; }
    // A point packed as in mouse messages: signed 16-bit x in the low word, y in the high word.
    explicit CPoint(LPARAM packed) { x = static_cast<short>(LOWORD(packed)), y = static_cast<short>(HIWORD(packed)); }
    void Offset(int dx, int dy) { x += dx, y += dy; }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void SetPoint(int px, int py) { x = px, y = py; }
    bool operator==(POINT other) const { return x == other.x && y == other.y; }
    bool operator!=(POINT other) const { return !(*this == other); }
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
    CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(SIZE size) { return Offset(size.cx, size.cy), *this; }
    CPoint& operator-=(SIZE size) { return Offset(-size.cx, -size.cy), *this; }
    CPoint& operator+=(POINT point) { return Offset(point.x, point.y), *this; }
    CPoint& operator-=(POINT point) { return Offset(-point.x, -point.y), *this; }
};

class CRect : public RECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    CRect(const RECT& rect) { CopyRect(&rect); }
    CRect(const RECT* rect) { left = top = right = bottom = 0; CopyRect(rect); }
    CRect(POINT topLeft, SIZE size) { left = topLeft.x, top = topLeft.y, right = left + size.cx, bottom = top + size.cy; }
    CRect(POINT topLeft, POINT bottomRight) { left = topLeft.x, top = topLeft.y, right = bottomRight.x, bottom = bottomRight.y; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }
    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }
    void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(const RECT* rect) { if (rect) left = rect->left, top = rect->top, right = rect->right, bottom = rect->bottom; }
    BOOL EqualRect(const RECT* rect) const { return ::EqualRect(this, rect); }
    void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void NormalizeRect()
    {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    BOOL IntersectRect(const RECT* a, const RECT* b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(const RECT* a, const RECT* b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(const RECT* a, const RECT* b) { return ::SubtractRect(this, a, b); }

    bool operator==(const RECT& rect) const { return ::EqualRect(this, &rect) != FALSE; }
    bool operator!=(const RECT& rect) const { return !(*this == rect); }
    CRect& operator=(const RECT& rect) { CopyRect(&rect); return *this; }
    CRect& operator+=(POINT point) { OffsetRect(point); return *this; }
    CRect& operator-=(POINT point) { OffsetRect(-point.x, -point.y); return *this; }
    CRect& operator&=(const RECT& rect) { ::IntersectRect(this, this, &rect); return *this; }
    CRect& operator|=(const RECT& rect) { ::UnionRect(this, this, &rect); return *this; }
    CRect operator+(POINT point) const { CRect r(*this); r.OffsetRect(point); return r; }
    CRect operator-(POINT point) const { CRect r(*this); r.OffsetRect(-point.x, -point.y); return r; }
};
