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
    static void CopyClient(HWND window, PixelCanvas& canvas)
    {
        HDC source = ::GetDC(window);
        ::BitBlt(canvas.m_dc, 0, 0, canvas.m_width, canvas.m_height, source, 0, 0, SRCCOPY);
        ::ReleaseDC(window, source);
    }

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        DWORD bgr = m_bits[y * m_width + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    void Fill(COLORREF color)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
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
    int Count(COLORREF color) const
    {
        int count = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                count += At(x, y) == color;
        return count;
    }
    // Pixels of the colour inside a rectangle.
    int Count(COLORREF color, const RECT& area) const
    {
        int count = 0;
        for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, m_height); ++y)
            for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, m_width); ++x)
                count += At(x, y) == color;
        return count;
    }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap;
    DWORD* m_bits = nullptr;
    HDC m_dc;
    HGDIOBJ m_previous;
};

}  // namespace test_support
