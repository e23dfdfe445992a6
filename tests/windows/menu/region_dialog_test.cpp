// The region bitmap dialog with real dialogs: the window region cut out of a bitmap with
// key-coloured columns, a row and a hole, read back with GetWindowRgn, also from a bitmap larger
// than the client area; the background it paints; statics made transparent while a trackbar
// keeps its background; who owns the bitmap.
#include "brimlet/skin/region_bitmap_dialog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "tests/windows/support/pixel_canvas.h"
#include "tests/windows/support/gdi_objects.h"

namespace {

using test_support::PixelCanvas;

constexpr UINT kBorderless = 400;
constexpr UINT kFramed = 401;
constexpr UINT kRegionBitmap = 340;  // 40 x 30, white; magenta columns 0 and 39, row 5, hole (20, 20, 24, 24)
constexpr UINT kLargeRegionBitmap = 341;  // 240 x 200, white; magenta column 0, row 5, hole (20, 20, 24, 24)
constexpr int kLabel = 1001;
constexpr int kTrackbar = 1002;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The region the bitmap gives, built here rectangle by rectangle, at the client area's offset.
HRGN ExpectedBitmapRegion(int offsetX, int offsetY)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    auto add = [&](int left, int top, int right, int bottom, int mode) {
        HRGN part = ::CreateRectRgn(offsetX + left, offsetY + top, offsetX + right, offsetY + bottom);
        ::CombineRgn(region, region, part, mode);
        ::DeleteObject(part);
    };
    add(1, 0, 39, 5, RGN_OR);
    add(1, 6, 39, 30, RGN_OR);
    add(20, 20, 24, 24, RGN_DIFF);
    return region;
}

// The window's region now; NULL when it has none.
HRGN WindowRegion(HWND window)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    if (::GetWindowRgn(window, region) == ERROR) {
        ::DeleteObject(region);
        return nullptr;
    }
    return region;
}

POINT ClientOffset(HWND window)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    POINT origin = {0, 0};
    ::ClientToScreen(window, &origin);
    return {origin.x - rect.left, origin.y - rect.top};
}

class CTestRegionDialog : public CRegionBitmapDialog
{
public:
    using CRegionBitmapDialog::CRegionBitmapDialog;
    using CRegionBitmapDialog::ReadPixels;
    BOOL OwnsBitmap() const { return m_ownsBitmap; }
    BOOL HasBitmap() const { return m_hasBitmap; }
    HBITMAP Bitmap() const { return m_bitmap ? static_cast<HBITMAP>(m_bitmap->m_hObject) : nullptr; }
};

TEST(RegionBitmapDialog, TheRegionFollowsTheBitmapAroundTheKeyColour)
{
    CTestRegionDialog dialog(kBorderless, nullptr, nullptr, kRegionBitmap);
    EXPECT_TRUE(dialog.OwnsBitmap());
    ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
    // Set before the window existed: no region yet.
    EXPECT_EQ(WindowRegion(dialog.m_hWnd), nullptr);

    RECT window;
    ::GetWindowRect(dialog.m_hWnd, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    ASSERT_GT(width, 40);
    ASSERT_GT(height, 30);

    dialog.SetRegionKeyColor(kMagenta);  // the region flag is still off: the whole window
    HRGN region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    RECT box;
    ::GetRgnBox(region, &box);
    EXPECT_EQ(box.right - box.left, width);
    EXPECT_EQ(box.bottom - box.top, height);
    ::DeleteObject(region);

    dialog.EnableBitmapRegion(TRUE);
    region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    HRGN expected = ExpectedBitmapRegion(0, 0);
    EXPECT_TRUE(::EqualRgn(region, expected));
    struct Probe { int x, y; bool inside; };
    const Probe probes[] = {
        {0, 0, false},   // the key-coloured first column
        {1, 0, true},    {38, 29, true},
        {39, 10, false},  // the last column
        {10, 5, false},   // the key-coloured row
        {10, 4, true},   {10, 6, true},
        {21, 21, false},  // the hole
        {19, 21, true},
        {45, 10, false},  // client area beyond the bitmap
        {10, 35, false},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(::PtInRegion(region, probe.x, probe.y) != FALSE, probe.inside) << probe.x << ", " << probe.y;
    ::DeleteObject(expected);
    ::DeleteObject(region);

    dialog.EnableBitmapRegion(FALSE);
    region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    EXPECT_TRUE(::PtInRegion(region, 0, 0));
    EXPECT_TRUE(::PtInRegion(region, width - 1, height - 1));
    ::DeleteObject(region);
    dialog.DestroyWindow();
}

TEST(RegionBitmapDialog, TheFrameAndTheCaptionStay)
{
    CTestRegionDialog dialog;
    ASSERT_TRUE(dialog.Create(kFramed, nullptr));
    ASSERT_TRUE(dialog.SetBitmap(kRegionBitmap));
    dialog.SetRegionKeyColor(kMagenta);
    dialog.EnableBitmapRegion(TRUE);
    const POINT offset = ClientOffset(dialog.m_hWnd);
    ASSERT_GT(offset.y, offset.x);  // a caption above the client area
    HRGN region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    RECT window;
    ::GetWindowRect(dialog.m_hWnd, &window);
    EXPECT_TRUE(::PtInRegion(region, 0, 0));                          // frame
    EXPECT_TRUE(::PtInRegion(region, (window.right - window.left) / 2, offset.y / 2));  // caption
    EXPECT_FALSE(::PtInRegion(region, offset.x, offset.y));          // key colour
    EXPECT_TRUE(::PtInRegion(region, offset.x + 1, offset.y));
    EXPECT_FALSE(::PtInRegion(region, offset.x + 50, offset.y + 10));  // beyond the bitmap
    // Frame and caption plus the bitmap's opaque pixels, nothing else.
    HRGN expected = ::CreateRectRgn(0, 0, window.right - window.left, window.bottom - window.top);
    RECT client;
    ::GetClientRect(dialog.m_hWnd, &client);
    HRGN clientArea = ::CreateRectRgn(offset.x, offset.y, offset.x + client.right, offset.y + client.bottom);
    ::CombineRgn(expected, expected, clientArea, RGN_DIFF);
    HRGN bitmap = ExpectedBitmapRegion(offset.x, offset.y);
    ::CombineRgn(expected, expected, bitmap, RGN_OR);
    EXPECT_TRUE(::EqualRgn(region, expected));
    ::DeleteObject(bitmap);
    ::DeleteObject(clientArea);
    ::DeleteObject(expected);
    ::DeleteObject(region);
    dialog.DestroyWindow();
}

TEST(RegionBitmapDialog, ABitmapFileGivesTheSameRegionAndAMissingOneNone)
{
    CTestRegionDialog dialog;
    ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
    dialog.SetRegionKeyColor(kMagenta);
    dialog.EnableBitmapRegion(TRUE);
    EXPECT_FALSE(dialog.SetBitmap(nullptr, "Z:\\nowhere\\missing.bmp"));
    EXPECT_FALSE(dialog.HasBitmap());
    EXPECT_FALSE(dialog.SetBitmap(999u));
    ASSERT_TRUE(dialog.SetBitmap(nullptr, REGION_BITMAP_FILE));
    EXPECT_TRUE(dialog.OwnsBitmap());
    HRGN region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    HRGN expected = ExpectedBitmapRegion(0, 0);
    EXPECT_TRUE(::EqualRgn(region, expected));
    ::DeleteObject(expected);
    ::DeleteObject(region);
    dialog.DestroyWindow();
}

// The program's own import slots of GetDIBits and GetPixel, through which the dialog's calls go:
// counting them tells which read the dialog took.
extern "C" void* GetDIBitsSlot __asm__("__imp__GetDIBits@28");
extern "C" void* GetPixelSlot __asm__("__imp__GetPixel@12");

using GetDIBitsFunction = int(WINAPI*)(HDC, HBITMAP, UINT, UINT, LPVOID, LPBITMAPINFO, UINT);
using GetPixelFunction = COLORREF(WINAPI*)(HDC, int, int);
GetDIBitsFunction g_getDIBits;
GetPixelFunction g_getPixel;
int g_getDIBitsCalls;
int g_getPixelCalls;

int WINAPI CountedGetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT usage)
{
    ++g_getDIBitsCalls;
    return g_getDIBits(dc, bitmap, start, lines, bits, info, usage);
}

COLORREF WINAPI CountedGetPixel(HDC dc, int x, int y)
{
    ++g_getPixelCalls;
    return g_getPixel(dc, x, y);
}

// Puts `replacement` in an import slot for its own life.
class SlotSwap
{
public:
    SlotSwap(void*& slot, void* replacement) : m_slot(slot), m_original(slot) { Write(replacement); }
    ~SlotSwap() { Write(m_original); }
    void* Original() const { return m_original; }

private:
    void Write(void* value)
    {
        DWORD protection = 0;
        ::VirtualProtect(&m_slot, sizeof m_slot, PAGE_READWRITE, &protection);
        m_slot = value;
        ::VirtualProtect(&m_slot, sizeof m_slot, protection, &protection);
    }
    void*& m_slot;
    void* m_original;
};

// The region of a bitmap larger than the client area comes from its top rows, read in one pass:
// one GetDIBits, no pixel by pixel.
TEST(RegionBitmapDialog, ABitmapLargerThanTheClientAreaIsReadInOnePassFromItsTopRows)
{
    CTestRegionDialog dialog;
    ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
    dialog.SetRegionKeyColor(kMagenta);
    ASSERT_TRUE(dialog.SetBitmap(kLargeRegionBitmap));
    {
        SlotSwap dibits(GetDIBitsSlot, reinterpret_cast<void*>(&CountedGetDIBits));
        SlotSwap pixel(GetPixelSlot, reinterpret_cast<void*>(&CountedGetPixel));
        g_getDIBits = reinterpret_cast<GetDIBitsFunction>(dibits.Original());
        g_getPixel = reinterpret_cast<GetPixelFunction>(pixel.Original());
        g_getDIBitsCalls = g_getPixelCalls = 0;
        dialog.EnableBitmapRegion(TRUE);
    }
    EXPECT_EQ(g_getDIBitsCalls, 1) << "the region's pixels in one pass";
    EXPECT_EQ(g_getPixelCalls, 0) << "and not one by one";
    RECT client;
    ::GetClientRect(dialog.m_hWnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    ASSERT_GT(width, 24);
    ASSERT_GT(height, 24);
    ASSERT_LT(width, 240) << "the bitmap must be wider than the client area";
    ASSERT_LT(height, 200) << "and taller";

    std::vector<std::uint32_t> pixels;
    ASSERT_TRUE(CTestRegionDialog::ReadPixels(dialog.Bitmap(), width, height, pixels));
    ASSERT_EQ(pixels.size(), static_cast<size_t>(width) * height);
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; };
    struct Probe { int x, y; COLORREF colour; };
    const Probe probes[] = {
        {0, 0, kMagenta}, {1, 0, kWhite}, {10, 4, kWhite}, {10, 5, kMagenta}, {10, 6, kWhite},
        {21, 21, kMagenta}, {24, 21, kWhite}, {0, height - 1, kMagenta}, {width - 1, height - 1, kWhite},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(at(probe.x, probe.y), probe.colour) << probe.x << ", " << probe.y;

    // The region: the client area's part of the bitmap around the key colour.
    HRGN region = WindowRegion(dialog.m_hWnd);
    ASSERT_TRUE(region);
    HRGN expected = ::CreateRectRgn(1, 0, width, height);
    HRGN cut = ::CreateRectRgn(0, 5, width, 6);
    ::CombineRgn(expected, expected, cut, RGN_DIFF);
    ::SetRectRgn(cut, 20, 20, 24, 24);
    ::CombineRgn(expected, expected, cut, RGN_DIFF);
    EXPECT_TRUE(::EqualRgn(region, expected));
    ::DeleteObject(cut);
    ::DeleteObject(expected);
    ::DeleteObject(region);

    // A size past the bitmap's is refused rather than read.
    EXPECT_FALSE(CTestRegionDialog::ReadPixels(dialog.Bitmap(), 241, 10, pixels));
    EXPECT_FALSE(CTestRegionDialog::ReadPixels(dialog.Bitmap(), 10, 201, pixels));
    dialog.DestroyWindow();
}

TEST(RegionBitmapDialog, ItPaintsItsBitmapAsTheBackground)
{
    CTestRegionDialog dialog(kBorderless, nullptr, MAKEINTRESOURCEA(kRegionBitmap));
    ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
    PixelCanvas canvas(60, 40, RGB(9, 9, 9));
    EXPECT_TRUE(dialog.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc())));
    EXPECT_EQ(canvas.At(0, 0), kMagenta);
    EXPECT_EQ(canvas.At(1, 0), kWhite);
    EXPECT_EQ(canvas.At(21, 21), kMagenta);
    dialog.ReleaseBitmap();
    canvas.Fill(RGB(9, 9, 9));
    dialog.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()));
    EXPECT_NE(canvas.At(1, 0), kWhite);  // the dialog's own background now
    dialog.DestroyWindow();
}

TEST(RegionBitmapDialog, StaticsTurnTransparentWhileATrackbarKeepsItsBackground)
{
    CTestRegionDialog dialog(kBorderless, nullptr, nullptr, kRegionBitmap);
    ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
    HWND label = ::GetDlgItem(dialog.m_hWnd, kLabel);
    HWND trackbar = ::GetDlgItem(dialog.m_hWnd, kTrackbar);
    ASSERT_TRUE(label && trackbar);

    PixelCanvas colours(4, 4);
    ::SetBkMode(colours.dc(), OPAQUE);
    const LRESULT labelBrush = ::SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC,
                                              reinterpret_cast<WPARAM>(colours.dc()), reinterpret_cast<LPARAM>(label));
    EXPECT_EQ(reinterpret_cast<HGDIOBJ>(labelBrush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetBkMode(colours.dc()), TRANSPARENT);
    ::SetBkMode(colours.dc(), OPAQUE);
    const LRESULT trackbarBrush = ::SendMessageA(dialog.m_hWnd, WM_CTLCOLORSTATIC,
                                                 reinterpret_cast<WPARAM>(colours.dc()),
                                                 reinterpret_cast<LPARAM>(trackbar));
    EXPECT_TRUE(trackbarBrush);
    EXPECT_NE(reinterpret_cast<HGDIOBJ>(trackbarBrush), ::GetStockObject(NULL_BRUSH));
    EXPECT_EQ(::GetBkMode(colours.dc()), OPAQUE);

    // Painted over a picture: the label leaves it showing around its text, the trackbar covers it.
    constexpr COLORREF kPicture = RGB(10, 200, 30);
    RECT labelRect;
    ::GetClientRect(label, &labelRect);
    PixelCanvas labelCanvas(labelRect.right, labelRect.bottom, kPicture);
    ::SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(labelCanvas.dc()), PRF_CLIENT);
    const int picture = labelCanvas.Count(kPicture, labelRect);
    EXPECT_GT(picture, labelRect.right * labelRect.bottom / 2);
    EXPECT_LT(picture, labelRect.right * labelRect.bottom);  // and the text is there

    RECT trackbarRect;
    ::GetClientRect(trackbar, &trackbarRect);
    PixelCanvas trackbarCanvas(trackbarRect.right, trackbarRect.bottom, kPicture);
    ::SendMessageA(trackbar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(trackbarCanvas.dc()), PRF_CLIENT);
    EXPECT_EQ(trackbarCanvas.Count(kPicture, trackbarRect), 0);
    EXPECT_EQ(trackbarCanvas.At(1, 1), ::GetSysColor(COLOR_BTNFACE));  // inside its focus rectangle
    dialog.DestroyWindow();
}

TEST(RegionBitmapDialog, ABitmapObjectStaysTheCallersAndACopyIsTheDialogs)
{
    CBitmap external;
    {
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        ASSERT_TRUE(external.CreateCompatibleBitmap(&screen, 40, 30));
        ::ReleaseDC(nullptr, screen.Detach());
    }
    const DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    {
        CTestRegionDialog dialog(kBorderless, nullptr, nullptr, 0, 0, &external);
        EXPECT_TRUE(dialog.HasBitmap());
        EXPECT_FALSE(dialog.OwnsBitmap());
        ASSERT_TRUE(dialog.Create(kBorderless, nullptr));
        dialog.EnableBitmapRegion(TRUE);
        dialog.SetBitmap(&external);
        EXPECT_TRUE(dialog.CopyBitmapFrom(&external));
        EXPECT_TRUE(dialog.OwnsBitmap());
        dialog.SetBitmap(kRegionBitmap);
        dialog.CopyBitmapFrom(nullptr);  // refused: the bitmap held stays
        EXPECT_TRUE(dialog.HasBitmap());
        dialog.DestroyWindow();
    }
    BITMAP info = {};
    EXPECT_TRUE(external.GetBitmap(&info));  // not deleted by the dialog
    EXPECT_EQ(info.bmWidth, 40);
    EXPECT_EQ(test_support::CountGdiObjects(), before);  // the copies it owned are gone
}

}  // namespace
