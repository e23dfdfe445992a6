// tests/windows/menu/canvas.h
// A 32-bit top-down DIB section selected into a memory DC: the tests paint into it and read the
// pixels back.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>

namespace test_support {

class Canvas
{
public:
    Canvas(int width, int height, COLORREF fill = RGB(1, 2, 3)) : m_width(width), m_height(height)
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
    ~Canvas()
    {
        ::SelectObject(m_dc, m_previous);
        ::DeleteDC(m_dc);
        ::DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const DWORD bgr = m_bits[y * m_width + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    void Fill(COLORREF colour)
    {
        ::GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    }
    // How many pixels of the rectangle satisfy the predicate.
    int Count(const RECT& area, const std::function<bool(COLORREF)>& wanted) const
    {
        int count = 0;
        for (int y = std::max(0L, area.top); y < std::min<LONG>(m_height, area.bottom); ++y)
            for (int x = std::max(0L, area.left); x < std::min<LONG>(m_width, area.right); ++x)
                count += wanted(At(x, y));
        return count;
    }
    int Count(const RECT& area, COLORREF colour) const
    {
        return Count(area, [colour](COLORREF c) { return c == colour; });
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

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap = nullptr;
    DWORD* m_bits = nullptr;
    HDC m_dc = nullptr;
    HGDIOBJ m_previous = nullptr;
};

}  // namespace test_support
