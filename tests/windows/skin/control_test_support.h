// tests/windows/skin/control_test_support.h
// What the skin control tests share: a canvas to paint into and read back, the colours of the
// test pictures (make_control_test_images.py), a message pump and the link probe's paths.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "tests/windows/support/pixel_canvas.h"

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

// The shared canvas, which can also take the background picture's pattern.
class Canvas : public test_support::PixelCanvas
{
public:
    using PixelCanvas::PixelCanvas;
    // Each pixel its own colour: BackgroundAt shifted by (dx, dy).
    void FillPattern(int dx = 0, int dy = 0)
    {
        Fill([dx, dy](int x, int y) { return BackgroundAt(x + dx, y + dy); });
    }
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
