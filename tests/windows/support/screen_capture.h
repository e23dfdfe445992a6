// tests/windows/support/screen_capture.h
// What a window shows on the screen, saved as a 24-bit .bmp file. Read from the screen, not with
// PrintWindow: Wine's PrintWindow leaves the child windows out.
#pragma once

#include <windows.h>

#include <cstdio>

namespace test_support {

struct ScreenCapture {
    bool copied = false;  // the screen copy worked
    bool varied = false;  // not every pixel alike (a blank screen reads uniform)
    bool saved = false;   // the file is written whole
};

// The window's rectangle as the screen has it now: callers bring the window up and let it paint.
inline ScreenCapture SaveWindowScreenshot(HWND window, const char* path)
{
    ScreenCapture capture;
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return capture;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return capture;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a .bmp file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    void* bits = nullptr;
    if (HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        capture.copied = ::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        ::SelectObject(memory, old);
        ::GdiFlush();
        const DWORD size = ((width * 3 + 3) & ~3u) * height;
        const BYTE* pixels = static_cast<const BYTE*>(bits);
        for (DWORD i = 3; i < size && !capture.varied; ++i)
            capture.varied = pixels[i] != pixels[i % 3];
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        info.bmiHeader.biSizeImage = size;
        if (FILE* file = std::fopen(path, "wb")) {
            capture.saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                            std::fwrite(bits, size, 1, file) == 1;
            capture.saved = std::fclose(file) == 0 && capture.saved;
        }
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

}  // namespace test_support
