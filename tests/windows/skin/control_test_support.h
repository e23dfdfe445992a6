// tests/windows/skin/control_test_support.h
// What the skin control tests share: a canvas to paint into and read back, the colours of the
// test pictures (make_control_test_images.py), a message pump and the link probe's paths.
#pragma once

#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

namespace skin_test {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kSmallKey = RGB(75, 100, 112);
constexpr COLORREF kBody = RGB(30, 60, 200);
constexpr COLORREF kHoverBody = RGB(200, 40, 30);
constexpr COLORREF kMark = RGB(250, 250, 0);
constexpr int kFaceWidth = 60;
constexpr int kFaceHeight = 24;

// Resource numbers of the test pictures and templates.
constexpr UINT kBackground = 401;
constexpr UINT kFace = 402;
constexpr UINT kHoverFace = 403;
constexpr UINT kSmallFace = 404;
constexpr UINT kIcon = 405;
constexpr UINT kCursor = 406;
constexpr UINT kButtonStage = 400;
constexpr UINT kTextStage = 410;

// The background picture: every pixel a colour of its own.
constexpr COLORREF BackgroundAt(int x, int y) { return RGB(x % 256, (y * 3) % 256, 77); }

// Whether the face picture (60 x 24) is transparent at (x, y).
constexpr bool FaceIsGreenAt(int x, int y) { return x < 4 || y < 4 || x >= 56 || y >= 20 || (x < 10 && y < 10); }

// A 32-bit top-down DIB section selected into a memory DC, to paint into and read back.
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
        m_bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_dc = CreateCompatibleDC(nullptr);
        m_previous = SelectObject(m_dc, m_bitmap);
        Fill(fill);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteDC(m_dc);
        DeleteObject(m_bitmap);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC dc() const { return m_dc; }
    int width() const { return m_width; }
    int height() const { return m_height; }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        DWORD bgr = m_bits[y * m_width + x];
        return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
    }
    void Fill(COLORREF color)
    {
        GdiFlush();
        for (int i = 0; i < m_width * m_height; ++i)
            m_bits[i] = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    }
    // Each pixel its own colour: BackgroundAt shifted by (dx, dy).
    void FillPattern(int dx = 0, int dy = 0)
    {
        GdiFlush();
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x) {
                COLORREF c = BackgroundAt(x + dx, y + dy);
                m_bits[y * m_width + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
            }
    }
    // What a window's client area shows now, read from its own DC.
    void CopyFromWindow(HWND window)
    {
        HDC source = GetDC(window);
        BitBlt(m_dc, 0, 0, m_width, m_height, source, 0, 0, SRCCOPY);
        ReleaseDC(window, source);
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
    int Count(const std::function<bool(COLORREF)>& wanted) const
    {
        int count = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                count += wanted(At(x, y)) ? 1 : 0;
        return count;
    }
    int Count(COLORREF color) const
    {
        return Count([color](COLORREF c) { return c == color; });
    }

private:
    int m_width;
    int m_height;
    HBITMAP m_bitmap;
    DWORD* m_bits = nullptr;
    HDC m_dc;
    HGDIOBJ m_previous;
};

// Pumps this thread's messages for a while, each offered to PreTranslateMessage as the modal
// loop offers it (through the application object) first.
void Pump(DWORD milliseconds);
// Pumps until the condition holds; false when it did not within the time.
bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

// A file beside the test program.
std::string BesideProgram(const char* name);

// The link probe: a program that, started, writes "<its path>.ran" and ends.
std::string LinkProbePath();
std::string LinkProbeMarker();

// Puts the pointer at a screen point, waiting until the display follows; false when it does not.
bool PlacePointer(int x, int y);

}  // namespace skin_test
