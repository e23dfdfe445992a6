// tests/windows/support/window_picture.h
// A window's picture as the window itself paints it, saved as a 24-bit .bmp file: PrintWindow
// into a DIB, then each visible child window in the same way at its place, bottom of the z-order
// first (Wine's PrintWindow leaves the children out). No screen pixels are read, so whatever lies
// over the window, or on another desktop, never shows in the picture.
#pragma once

#include <windows.h>

#include <cstdio>

namespace test_support {

struct WindowPicture {
    bool rendered = false;  // the window and its children printed into the DIB
    bool varied = false;    // not every pixel alike (a window that painted nothing is uniform)
    bool saved = false;     // the file is written whole
};

namespace picture_detail {

// Prints the visible children of `parent` into `dc`, which holds the picture of the window whose
// top-left corner lies at `origin` on the screen. `clip` is the part of `dc` the parent's client
// area leaves visible. Each child prints into a bitmap of its own with the origin at its corner
// (Wine's controls clip to their client rectangle in device units, so a shifted origin loses
// them), laid over a copy of what lies beneath it so transparent controls show the parent.
inline void PrintChildren(HWND parent, HDC dc, POINT origin, RECT clip)
{
    HWND top = ::GetWindow(parent, GW_CHILD);
    if (!top)
        return;
    for (HWND child = ::GetWindow(top, GW_HWNDLAST); child; child = ::GetWindow(child, GW_HWNDPREV)) {
        if (!(::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE))
            continue;
        RECT rect;
        ::GetWindowRect(child, &rect);
        const POINT corner{rect.left, rect.top};
        ::OffsetRect(&rect, -origin.x, -origin.y);
        RECT visible;
        if (!::IntersectRect(&visible, &rect, &clip))
            continue;
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        HDC own = ::CreateCompatibleDC(dc);
        HBITMAP bitmap = ::CreateCompatibleBitmap(dc, width, height);
        if (own && bitmap) {
            HGDIOBJ old = ::SelectObject(own, bitmap);
            ::BitBlt(own, 0, 0, width, height, dc, rect.left, rect.top, SRCCOPY);
            ::PrintWindow(child, own, 0);

            // The child's own children show only inside its client area.
            RECT client;
            ::GetClientRect(child, &client);
            POINT clientCorner{0, 0};
            ::ClientToScreen(child, &clientCorner);
            ::OffsetRect(&client, clientCorner.x - corner.x, clientCorner.y - corner.y);
            PrintChildren(child, own, corner, client);

            ::BitBlt(dc, visible.left, visible.top, visible.right - visible.left, visible.bottom - visible.top, own,
                     visible.left - rect.left, visible.top - rect.top, SRCCOPY);
            ::SelectObject(own, old);
        }
        if (bitmap)
            ::DeleteObject(bitmap);
        if (own)
            ::DeleteDC(own);
    }
}

}  // namespace picture_detail

inline WindowPicture SaveWindowPicture(HWND window, const char* path)
{
    WindowPicture picture;
    RECT rect;
    if (!::GetWindowRect(window, &rect))
        return picture;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return picture;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as a .bmp file stores it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    ::ReleaseDC(nullptr, screen);
    void* bits = nullptr;
    if (HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0)) {
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        picture.rendered = ::PrintWindow(window, memory, 0) != FALSE;
        RECT client;
        ::GetClientRect(window, &client);
        POINT corner{0, 0};
        ::ClientToScreen(window, &corner);
        ::OffsetRect(&client, corner.x - rect.left, corner.y - rect.top);
        picture_detail::PrintChildren(window, memory, POINT{rect.left, rect.top}, client);
        ::SelectObject(memory, old);
        ::GdiFlush();
        const DWORD size = ((width * 3 + 3) & ~3u) * height;
        const BYTE* pixels = static_cast<const BYTE*>(bits);
        for (DWORD i = 3; i < size && !picture.varied; ++i)
            picture.varied = pixels[i] != pixels[i % 3];
        BITMAPFILEHEADER header = {};
        header.bfType = 0x4D42;
        header.bfOffBits = sizeof header + sizeof info.bmiHeader;
        header.bfSize = header.bfOffBits + size;
        info.bmiHeader.biSizeImage = size;
        if (FILE* file = std::fopen(path, "wb")) {
            picture.saved = std::fwrite(&header, sizeof header, 1, file) == 1 &&
                            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file) == 1 &&
                            std::fwrite(bits, size, 1, file) == 1;
            picture.saved = std::fclose(file) == 0 && picture.saved;
        }
        ::DeleteObject(bitmap);
    }
    ::DeleteDC(memory);
    return picture;
}

}  // namespace test_support
