// tests/windows/support/pixel_canvas.h
// A 32-bit top-down DIB section in a memory DC, to paint into or copy a window's pixels into and
// read them back one by one.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

namespace test_support {

class PixelCanvas
{
public:
    PixelCanvas(int width, int height, COLORREF fill = RGB(1, 2, 3)) : m_width(width), m_height(height)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_dc = ::CreateCompatibleDC(nullptr);
        m_previous = ::SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~PixelCanvas()
    {
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    PixelCanvas(const PixelCanvas&) = delete;
    PixelCanvas& operator=(const PixelCanvas&) = delete;

    // The pixels a window's client area shows now (the window's own DC, so nothing covering it
    // matters).
    void CopyFromWindow(HWND window)
    {
        HDC source = ::GetDC(window);
        ::BitBlt(m_dc, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
        ::ReleaseDC(window, source);
    }

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const DWORD bgr = m_bits[y * m_width + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    void Fill(COLORREF color)
    {
        Fill([color](int, int) { return color; });
    }
    // Each pixel the colour `colorAt` gives for it.
    void Fill(const std::function<COLORREF(int x, int y)>& colorAt)
    {
        ::GdiFlush();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                const COLORREF c = colorAt(x, y);
                m_bits[y * m_width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
    }
    // Bounding box of the pixels that satisfy the predicate; empty (right < left) when none.
    RECT Find(const std::function<bool(COLORREF)>& wanted) const
    {
        RECT box = {m_width, m_height, -1, -1};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (wanted(At(x, y))) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    // Pixels that satisfy the predicate, or of the colour, inside a rectangle (the whole canvas
    // when none is given).
    int Count(const std::function<bool(COLORREF)>& wanted, const RECT& area) const
    {
        int count = 0;
        for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, m_height); ++y)
            for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, m_width); ++x)
                count += wanted(At(x, y)) ? 1 : 0;
        return count;
    }
    int Count(const std::function<bool(COLORREF)>& wanted) const { return Count(wanted, Whole()); }
    int Count(COLORREF color, const RECT& area) const
    {
        return Count([color](COLORREF c) { return c == color; }, area);
    }
    int Count(COLORREF color) const { return Count(color, Whole()); }

private:
    RECT Whole() const { return {0, 0, m_width, m_height}; }

    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace test_support
