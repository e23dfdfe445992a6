// tests/windows/brimlet/skin_pictures.h
// Brimlet's pictures as stored, and which of them a skinned dialog paints as its background: the
// dialog erases into a memory canvas (its WM_ERASEBKGND, without the controls) and the canvas is
// compared with the bitmap resource pixel by pixel.
#pragma once

#include <windows.h>

#include <memory>

#include "tests/windows/support/pixel_canvas.h"

namespace brimlet_test {

// One of the program's bitmap resources as it is stored; nullptr when it does not load.
inline std::unique_ptr<test_support::PixelCanvas> LoadPicture(UINT bitmapId)
{
    HBITMAP bitmap = static_cast<HBITMAP>(
        ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap)
        return nullptr;
    BITMAP header = {};
    ::GetObjectA(bitmap, sizeof header, &header);
    auto picture = std::make_unique<test_support::PixelCanvas>(header.bmWidth, header.bmHeight);
    HDC source = ::CreateCompatibleDC(picture->dc());
    HGDIOBJ old = ::SelectObject(source, bitmap);
    ::BitBlt(picture->dc(), 0, 0, header.bmWidth, header.bmHeight, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(bitmap);
    return picture;
}

// Share (0..1) of the bitmap's pixels that the dialog's background shows at the same place.
inline double BackgroundMatches(HWND dialog, UINT bitmapId)
{
    const auto picture = LoadPicture(bitmapId);
    if (!picture)
        return 0.0;
    const test_support::PixelCanvas& expected = *picture;
    RECT client;
    ::GetClientRect(dialog, &client);
    test_support::PixelCanvas shown(client.right, client.bottom);
    ::SendMessageA(dialog, WM_ERASEBKGND, reinterpret_cast<WPARAM>(shown.dc()), 0);
    int same = 0;
    int total = 0;
    for (int y = 0; y < std::min<int>(expected.height(), client.bottom); y += 3) {
        for (int x = 0; x < std::min<int>(expected.width(), client.right); x += 3) {
            ++total;
            same += shown.At(x, y) == expected.At(x, y);
        }
    }
    return total ? static_cast<double>(same) / total : 0.0;
}

}  // namespace brimlet_test
