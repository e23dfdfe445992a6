// The pie chart with real windows: its window class, the template control it takes over, the
// disc, slices, percentages and legend it draws, and turning it by dragging.
#include "tests/windows/skin/gauge_host.h"

#include <gtest/gtest.h>

#include "tests/windows/support/gdi_objects.h"

namespace {

using gauges::CGaugeHost;
using gauges::CPieProbe;
using test_support::PixelCanvas;

constexpr COLORREF kDisc = RGB(0, 0, 255);
constexpr COLORREF kSlice = RGB(255, 0, 0);
constexpr COLORREF kLine = RGB(0, 0, 0);
constexpr int kWidth = 120;
constexpr int kHeight = 100;  // wider than tall: the pie is the square (10, 0, 110, 100)

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

void Resize(CGaugeHost& host, int width, int height)
{
    host.m_pie.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(PieChart, EveryConstructorRegistersTheWindowClass)
{
    CPieChartCtrl first;
    CPieChartCtrl second;  // a second registration fails quietly
    WNDCLASSA info = {};
    ASSERT_TRUE(GetClassInfoA(AfxGetInstanceHandle(), "PIE_CHART_CTRL", &info));
    EXPECT_TRUE(info.style & CS_GLOBALCLASS);
    EXPECT_EQ(info.hCursor, LoadCursorA(nullptr, IDC_CROSS));
    EXPECT_EQ(info.hbrBackground, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)));
    EXPECT_EQ(info.cbClsExtra, 0);
    EXPECT_EQ(info.cbWndExtra, 0);
    EXPECT_EQ(info.hIcon, nullptr);
}

TEST(PieChart, TakesOverTheTemplatesControl)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    HWND control = ::GetDlgItem(host.m_hWnd, 1000);
    ASSERT_NE(control, nullptr) << "the template's PIE_CHART_CTRL control was created";
    EXPECT_EQ(host.m_pie.m_hWnd, control);
    EXPECT_EQ(CWnd::FromHandlePermanent(control), &host.m_pie);
    char text[32] = {};
    GetWindowTextA(control, text, sizeof text);
    EXPECT_STREQ(text, "Pie Chart");
}

TEST(PieChart, WithoutPiecesABlueDiscWithABlackOutlineOnButtonFace)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.At(60, 50), kDisc);
    EXPECT_EQ(canvas.At(30, 70), kDisc);
    EXPECT_EQ(canvas.At(2, 2), Face());
    EXPECT_EQ(canvas.At(5, 50), Face());
    EXPECT_EQ(canvas.At(115, 50), Face());
    EXPECT_EQ(canvas.At(60, 0), kLine) << "the outline at the top";
    EXPECT_EQ(canvas.At(10, 50), kLine) << "and at the left";
    EXPECT_EQ(canvas.Count(kSlice), 0);
    const RECT outline = canvas.Find([](COLORREF c) { return c == kLine; });
    EXPECT_EQ(outline.left, 10);
    EXPECT_EQ(outline.top, 0);
    EXPECT_EQ(outline.right, 110);
    EXPECT_EQ(outline.bottom, 100);
}

TEST(PieChart, ASliceOf90DegreesFillsTheUpperRightQuarter)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    ASSERT_TRUE(host.m_pie.AddPiece(kSlice, RGB(0, 160, 0), 90, ""));
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.At(92, 18), kSlice);
    EXPECT_EQ(canvas.At(28, 18), kDisc);
    EXPECT_EQ(canvas.At(92, 82), kDisc);
    EXPECT_EQ(canvas.At(28, 82), kDisc);
    const RECT slice = canvas.Find([](COLORREF c) { return c == kSlice; });
    EXPECT_GE(slice.left, 60);
    EXPECT_LE(slice.bottom, 51);
    EXPECT_GE(slice.right, 108);
    EXPECT_LE(slice.top, 2);
    EXPECT_EQ(canvas.At(60, 25), kLine) << "the radius up";
    // The pie's pi is a hair short of pi: the right end of the radius lands at (110, 49).
    EXPECT_TRUE(canvas.At(85, 50) == kLine || canvas.At(85, 49) == kLine) << "the radius right";
    // "25%" in the text colour, around 45 degrees at 0.6 of the radius: (81, 29).
    const RECT text = canvas.Find([](COLORREF c) { return c == RGB(0, 160, 0); });
    ASSERT_GT(text.right, text.left);
    EXPECT_LE(text.left, 81);
    EXPECT_GE(text.right, 81);
    EXPECT_LE(text.top, 29);
    EXPECT_GE(text.bottom, 29);
}

TEST(PieChart, AWholeTurnShowsTheDiscWithOneRadiusAndReads100Percent)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    ASSERT_TRUE(host.m_pie.AddPiece(kSlice, RGB(0, 160, 0), 360, ""));
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.Count(kSlice), 0) << "the slice's ends meet: nothing to fill";
    EXPECT_EQ(canvas.At(92, 18), kDisc);
    EXPECT_EQ(canvas.At(60, 25), kLine) << "one radius, there and back";
    EXPECT_NE(canvas.At(85, 50), kLine);
    EXPECT_NE(canvas.At(85, 49), kLine);
    // "100%" around 180 degrees at 0.6 of the radius: (60, 80).
    const RECT text = canvas.Find([](COLORREF c) { return c == RGB(0, 160, 0); });
    ASSERT_GT(text.right, text.left);
    EXPECT_LE(text.left, 60);
    EXPECT_GE(text.right, 60);
    EXPECT_LE(text.top, 80);
    EXPECT_GE(text.bottom, 80);
}

TEST(PieChart, OnlySlicesAbove25DegreesCarryAPercentage)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    constexpr COLORREF kText = RGB(0, 160, 0);
    ASSERT_TRUE(host.m_pie.AddPiece(kSlice, kText, 25, ""));
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.Count(kText), 0);
    EXPECT_GT(canvas.Count(kSlice), 0);
    host.m_pie.RemoveAllPieces();
    ASSERT_TRUE(host.m_pie.AddPiece(kSlice, kText, 26, ""));
    host.Capture(host.m_pie, canvas);
    EXPECT_GT(canvas.Count(kText), 0) << "7%";
}

TEST(PieChart, DraggingSidewaysTurnsThePieADegreeAPixel)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    ASSERT_TRUE(host.m_pie.AddPiece(kSlice, 0, 90, ""));
    host.m_pie.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(60, 50));
    EXPECT_EQ(CWnd::GetCapture(), &host.m_pie);
    host.m_pie.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(100, 50));
    host.m_pie.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(150, 90));  // 90 degrees in all; down does nothing
    EXPECT_EQ(host.m_pie.m_startAngle, 90);
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.At(92, 82), kSlice) << "turned a quarter clockwise: the lower right";
    EXPECT_EQ(canvas.At(92, 18), kDisc);
    host.m_pie.SendMessage(WM_LBUTTONUP, 0, At(150, 90));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    host.m_pie.SendMessage(WM_MOUSEMOVE, 0, At(300, 90));
    EXPECT_EQ(host.m_pie.m_startAngle, 90) << "no drag after the release";

    // Turned back past the top, the first slice starts at 359 degrees.
    host.m_pie.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 50));
    host.m_pie.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(9, 50));
    host.m_pie.SendMessage(WM_LBUTTONUP, 0, At(9, 50));
    EXPECT_EQ(host.m_pie.m_startAngle, 359);
    host.Capture(host.m_pie, canvas);
    EXPECT_EQ(canvas.At(92, 18), kSlice);
    EXPECT_EQ(canvas.At(92, 82), kDisc);
}

TEST(PieChart, LaysOutOnSizeAndBelowATitle)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, kWidth, kHeight);
    EXPECT_EQ(host.m_pie.m_pieRect, CRect(10, 0, 110, 100));
    Resize(host, 80, 150);
    EXPECT_EQ(host.m_pie.m_pieRect, CRect(0, 70, 80, 150)) << "tall: the width, on the bottom";
    Resize(host, kWidth, kHeight);
    host.m_pie.SetTitle("Bad blocks");
    const CRect pie = host.m_pie.m_pieRect;
    EXPECT_EQ(pie.bottom, 100);
    EXPECT_EQ(pie.Width(), pie.Height());
    EXPECT_LT(pie.Height(), 100 - 2 * 10) << "twice the title's height is left above";
    EXPECT_EQ((pie.left + pie.right) / 2, 60) << "centred across";
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_pie, canvas);
    const RECT title = canvas.Find([](COLORREF c) { return c == GetSysColor(COLOR_WINDOWTEXT); });
    EXPECT_LT(title.top, pie.top) << "the title at the top left";
    EXPECT_LE(title.left, 3);
}

TEST(PieChart, ALabelledPieceGetsALegendSquareAtTheTopRight)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    Resize(host, 200, kHeight);  // pie (50, 0, 150, 100): the legend at the right stays clear of it
    constexpr COLORREF kLegend = RGB(0, 160, 0);
    ASSERT_TRUE(host.m_pie.AddPiece(kLegend, 0, 30, "Bad"));
    PixelCanvas canvas(200, kHeight);
    host.Capture(host.m_pie, canvas);
    // Right of the pie only the legend square is green (the slice itself is green inside the pie).
    EXPECT_EQ(canvas.Count(kLegend, CRect(150, 0, 200, kHeight)), canvas.Count(kLegend, CRect(180, 0, 200, 16)));
    EXPECT_GT(canvas.Count(kLegend, CRect(180, 0, 200, 16)), 20);
    EXPECT_EQ(canvas.At(196, 6), kLegend);
    EXPECT_EQ(canvas.At(196, 40), Face()) << "one row only";
    EXPECT_GT(canvas.Count(GetSysColor(COLOR_WINDOWTEXT), CRect(151, 0, 185, 16)), 5)
        << "its label, right-aligned left of the square";
}

TEST(PieChart, PieceColoursAndRemoval)
{
    CPieProbe pie;
    COLORREF colour = RGB(1, 2, 3);
    EXPECT_FALSE(pie.GetPieceColor(0, &colour)) << "no piece to read";
    EXPECT_EQ(colour, RGB(1, 2, 3));
    ASSERT_TRUE(pie.AddPiece(RGB(10, 0, 0), 0, 30, "") && pie.AddPiece(RGB(20, 0, 0), 0, 40, ""));
    EXPECT_TRUE(pie.GetPieceColor(0, &colour));
    EXPECT_EQ(colour, RGB(10, 0, 0));
    EXPECT_TRUE(pie.GetPieceColor(7, &colour)) << "past the end: the last piece";
    EXPECT_EQ(colour, RGB(20, 0, 0));
    EXPECT_FALSE(pie.GetPieceColor(-1, &colour));
    EXPECT_FALSE(pie.GetPieceColor(0, nullptr));
    pie.RemoveAllPieces();
    EXPECT_EQ(pie.m_pieces.GetSize(), 0);
    EXPECT_FALSE(pie.GetPieceColor(0, &colour));
}

TEST(PieChart, HoldsNoGdiObjectsOnceDestroyed)
{
    {
        // The first painted host makes what every later one reuses (the dialog's font, the
        // system's caches): about 50 objects under Wine, kept to the end of the process.
        CGaugeHost warmUp;
        ASSERT_TRUE(warmUp.Open());
        ASSERT_TRUE(warmUp.m_pie.AddPiece(RGB(1, 1, 1), 0, 60, "label"));
        warmUp.m_pie.SetTitle("Title");
        PixelCanvas canvas(kWidth, kHeight);
        warmUp.Capture(warmUp.m_pie, canvas);
    }
    const DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    {
        CGaugeHost host;
        ASSERT_TRUE(host.Open());
        for (int round = 0; round < 5; ++round) {
            for (int piece = 0; piece < 6; ++piece)
                ASSERT_TRUE(host.m_pie.AddPiece(RGB(piece * 40, 0, 0), 0, 60, piece % 2 ? "label" : ""));
            host.m_pie.SetTitle("Title");
            PixelCanvas canvas(kWidth, kHeight);
            host.Capture(host.m_pie, canvas);
            host.m_pie.RemoveAllPieces();
        }
        ASSERT_TRUE(host.m_pie.AddPiece(RGB(1, 1, 1), 0, 60, ""));  // left for the destructor
    }
    const DWORD after = test_support::CountGdiObjects();
    EXPECT_EQ(after, before) << before << " -> " << after;
}

}  // namespace
