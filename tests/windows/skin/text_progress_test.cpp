// The text progress bar with real windows: its two parts and two-colour text, the progress bar
// messages it answers, its text, and painting with an empty range.
#include "tests/windows/skin/gauge_host.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using gauges::CGaugeHost;
using test_support::PixelCanvas;

constexpr COLORREF kBar = RGB(0, 0, 160);
constexpr COLORREF kBack = RGB(255, 255, 192);
constexpr int kWidth = 200;
constexpr int kHeight = 16;

// The progress bar with a client area of 200 (or width) x 16 and known colours.
void SizeAndColour(CGaugeHost& host, int width = kWidth)
{
    CRect client;
    host.m_progress.GetClientRect(client);
    CRect window;
    host.m_progress.GetWindowRect(window);
    host.ScreenToClient(window);
    host.m_progress.SetWindowPos(nullptr, 0, 0, window.Width() - client.Width() + width,
                                 window.Height() - client.Height() + kHeight, SWP_NOMOVE | SWP_NOZORDER);
    host.m_progress.SetBarColor(kBar);
    host.m_progress.SetBgColor(kBack);
}

// Pumps this thread's messages for a while (also when they never stop coming).
void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < milliseconds) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        else
            Sleep(5);
    }
}

TEST(TextProgress, HalfWayFillsHalfAndWritesTheTextInTheOtherPartsColour)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    EXPECT_EQ(host.m_progress.SendMessage(PBM_SETRANGE32, 0, 100), 0);
    host.m_progress.SetPos(50);
    host.m_progress.SetShowText(FALSE);
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_progress, canvas);
    EXPECT_EQ(canvas.Count(kBar, CRect(0, 0, 100, kHeight)), 100 * kHeight) << "done part: 100 of 200 pixels";
    EXPECT_EQ(canvas.Count(kBack, CRect(100, 0, kWidth, kHeight)), 100 * kHeight);

    // The text "50%" straddles the edge of the bar: over the bar it is in the background colour,
    // over the rest in the bar colour.
    host.m_progress.SetShowText(TRUE);
    host.Capture(host.m_progress, canvas);
    EXPECT_GT(canvas.Count(kBack, CRect(0, 0, 100, kHeight)), 10);
    EXPECT_GT(canvas.Count(kBar, CRect(100, 0, kWidth, kHeight)), 10);

    // A text colour of its own is used on both parts.
    constexpr COLORREF kText = RGB(255, 0, 0);
    EXPECT_EQ(static_cast<COLORREF>(host.m_progress.SendMessage(PBM_SETTEXTCOLOR, 0, kText)), CLR_DEFAULT);
    host.Capture(host.m_progress, canvas);
    EXPECT_GT(canvas.Count(kText, CRect(0, 0, 100, kHeight)), 5);
    EXPECT_GT(canvas.Count(kText, CRect(100, 0, kWidth, kHeight)), 5);
    EXPECT_EQ(canvas.Count(kBack, CRect(0, 0, 100, kHeight)), 0);
}

TEST(TextProgress, APartialRepaintDrawsTheSameAsAWholeOne)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    host.m_progress.SetPos(50);
    PixelCanvas whole(kWidth, kHeight);
    host.Capture(host.m_progress, whole);
    // Only the right three quarters: the buffer then starts at x 50, and the text's clip regions
    // must follow it.
    PixelCanvas blank(kWidth, kHeight, RGB(9, 9, 9));
    HDC screen = host.m_progress.GetDC()->m_hDC;
    BitBlt(screen, 0, 0, kWidth, kHeight, blank.dc(), 0, 0, SRCCOPY);
    host.m_progress.ReleaseDC(CDC::FromHandle(screen));
    CRect right(50, 0, kWidth, kHeight);
    host.m_progress.InvalidateRect(right, FALSE);
    host.m_progress.UpdateWindow();
    PixelCanvas part(kWidth, kHeight);
    part.CopyFromWindow(host.m_progress.m_hWnd);
    int different = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 50; x < kWidth; ++x)
            different += part.At(x, y) != whole.At(x, y);
    EXPECT_EQ(different, 0);
    EXPECT_EQ(part.Count(RGB(9, 9, 9), CRect(0, 0, 50, kHeight)), 50 * kHeight) << "the rest was not painted";
}

TEST(TextProgress, AVerticalBarGrowsUpwardAndHasNoText)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    host.m_progress.ModifyStyle(0, PBS_VERTICAL);
    host.m_progress.SetPos(25);
    host.m_progress.SetShowText(TRUE);
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_progress, canvas);
    EXPECT_EQ(canvas.Count(kBar, CRect(0, 12, kWidth, kHeight)), kWidth * 4) << "a quarter of 16 from the bottom";
    EXPECT_EQ(canvas.Count(kBack, CRect(0, 0, kWidth, 12)), kWidth * 12) << "no text";
}

// The percentage is drawn exactly as the same text set by hand draws.
TEST(TextProgress, PercentagesAreExactAndTruncated)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    host.m_progress.SetTextForeColor(RGB(255, 0, 0));
    auto drawn = [&](int position, LPCSTR text) {
        host.m_progress.SetWindowText(text);
        host.m_progress.SetPos(position);
        auto canvas = std::make_unique<PixelCanvas>(kWidth, kHeight);
        host.Capture(host.m_progress, *canvas);
        return canvas;
    };
    auto same = [](const PixelCanvas& a, const PixelCanvas& b) {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (a.At(x, y) != b.At(x, y))
                    return false;
        return true;
    };
    struct Case { int position; LPCSTR text; LPCSTR other; };
    for (const Case& c : {Case{29, "29%", "28%"}, Case{33, "33%", "34%"}, Case{50, "50%", "49%"}}) {
        const auto computed = drawn(c.position, "");
        EXPECT_TRUE(same(*computed, *drawn(c.position, c.text))) << c.text;
        EXPECT_FALSE(same(*computed, *drawn(c.position, c.other))) << "the picture tells " << c.text << " from "
                                                                   << c.other;
    }
}

TEST(TextProgress, AnswersTheProgressBarMessages)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    CTextProgressCtrl& bar = host.m_progress;
    EXPECT_EQ(bar.SendMessage(PBM_SETRANGE, 0, MAKELPARAM(5, 60000)), 0);
    PBRANGE range = {};
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), 5);
    EXPECT_EQ(range.iLow, 5);
    EXPECT_EQ(range.iHigh, 60000) << "the 16-bit ends are unsigned";
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, FALSE, 0), 60000);
    EXPECT_EQ(bar.SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(-10), 90), 0);
    EXPECT_EQ(bar.SendMessage(PBM_GETRANGE, TRUE, 0), -10);

    EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 20), 0);
    EXPECT_EQ(bar.SendMessage(PBM_SETPOS, 200), 20);
    EXPECT_EQ(bar.SendMessage(PBM_GETPOS), 200) << "not clamped to the range";
    EXPECT_EQ(bar.SendMessage(PBM_DELTAPOS, static_cast<WPARAM>(-150)), 200);
    EXPECT_EQ(bar.SendMessage(PBM_SETSTEP, 7), 1);
    EXPECT_EQ(bar.SendMessage(PBM_STEPIT), 50);
    EXPECT_EQ(bar.SendMessage(PBM_GETPOS), 57);

    EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETBARCOLOR, 0, RGB(1, 2, 3))), CLR_DEFAULT);
    EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETBARCOLOR, 0, CLR_DEFAULT)), RGB(1, 2, 3));
    EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETBKCOLOR, 0, RGB(4, 5, 6))), CLR_DEFAULT);
    EXPECT_EQ(bar.GetBgColor(), RGB(4, 5, 6));
    EXPECT_EQ(static_cast<COLORREF>(bar.SendMessage(PBM_SETTEXTCOLOR, 0, RGB(7, 8, 9))), CLR_DEFAULT);
    EXPECT_EQ(bar.GetTextForeColor(), RGB(7, 8, 9));
    EXPECT_EQ(bar.GetBarColor(), CLR_DEFAULT);

    EXPECT_FALSE(bar.SetTextFormat(3));
    EXPECT_TRUE(bar.SetTextFormat(2));
    EXPECT_TRUE(bar.SetTextFormatNoRedraw(1));

    bar.SendMessage(PBM_SHOWTEXT, FALSE);
    bar.SendMessage(PBM_SETPOS, 10);
    bar.SendMessage(PBM_SETRANGE32, 0, 100);
    bar.SetBarColor(kBar);
    bar.SetBgColor(kBack);
    PixelCanvas canvas(40, 5);
    host.Capture(bar, canvas);
    EXPECT_EQ(canvas.Count(kBar) + canvas.Count(kBack), 40 * 5) << "no text once PBM_SHOWTEXT turned it off";
}

TEST(TextProgress, SetPosRepaintsOnlyWhenThePixelWidthOrThePercentageChanges)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    host.m_progress.SendMessage(PBM_SETRANGE32, 0, 1000);
    host.m_progress.SendMessage(PBM_SETPOS, 10);  // 2 pixels, 1%
    const int paints = host.m_progress.m_paints;
    host.m_progress.SendMessage(PBM_SETPOS, 11);  // still 2 and 1%: nothing to redraw
    EXPECT_EQ(host.m_progress.m_paints, paints);
    host.m_progress.SendMessage(PBM_SETPOS, 15);  // 3 pixels, painted at once
    EXPECT_EQ(host.m_progress.m_paints, paints + 1);
    EXPECT_EQ(host.m_progress.m_barWidth, 3);
    host.m_progress.SetWindowPos(nullptr, 0, 0, 100, 20, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(host.m_progress.m_barWidth, -1) << "a new size forgets the width";
}

// Width and percentage are truncated apart: on 150 pixels of 0..1000, positions 7 and 10 both
// fill 1 pixel, and read 0% and 1%.
TEST(TextProgress, SetPosRepaintsANewPercentageOfTheSameWidth)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host, 150);
    host.m_progress.SetTextForeColor(RGB(255, 0, 0));
    host.m_progress.SendMessage(PBM_SETRANGE32, 0, 1000);
    host.m_progress.SendMessage(PBM_SETPOS, 7);
    host.m_progress.UpdateWindow();
    const int paints = host.m_progress.m_paints;
    host.m_progress.SendMessage(PBM_SETPOS, 10);
    EXPECT_EQ(host.m_progress.m_paints, paints + 1) << "1% in place of 0%";
    EXPECT_EQ(host.m_progress.m_barWidth, 1);

    // What the screen shows now is what the text "1%" draws.
    PixelCanvas shown(150, kHeight);
    shown.CopyFromWindow(host.m_progress.m_hWnd);
    host.m_progress.SetWindowText("1%");
    PixelCanvas expected(150, kHeight);
    host.Capture(host.m_progress, expected);
    int different = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < 150; ++x)
            different += shown.At(x, y) != expected.At(x, y);
    EXPECT_EQ(different, 0);

    // A text of its own does not change with the percentage: no repaint for that.
    const int texted = host.m_progress.m_paints;
    host.m_progress.SendMessage(PBM_SETPOS, 7);
    EXPECT_EQ(host.m_progress.m_paints, texted);
}

TEST(TextProgress, SetTextRepaintsOnlyForANewTextAndGetTextCutsToFit)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    CTextProgressCtrl& bar = host.m_progress;
    auto invalidated = [&] {
        RECT update;
        return GetUpdateRect(bar.m_hWnd, &update, FALSE) != FALSE;
    };
    bar.SetWindowText("Copying");
    EXPECT_TRUE(invalidated());
    bar.ValidateRect(nullptr);
    bar.SetWindowText("Copying");
    EXPECT_FALSE(invalidated()) << "the same text again";
    bar.SendMessage(WM_SETTEXT, 0, 0);
    EXPECT_TRUE(invalidated()) << "NULL clears the text";
    char buffer[16] = "xxxxxxxxxxxxxxx";
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_STREQ(buffer, "");

    bar.SetWindowText("Formatting");
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, 5, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "Form");
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer)), 10);
    EXPECT_STREQ(buffer, "Formatting");
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 0);
    EXPECT_EQ(buffer[0], 'x') << "no room, nothing written";
    EXPECT_EQ(bar.SendMessage(WM_GETTEXT, 5, 0), 0);
}

TEST(TextProgress, AnEmptyRangePaintsNothingAndDoesNotAskAgain)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SizeAndColour(host);
    host.m_progress.SendMessage(PBM_SETRANGE32, 40, 40);
    host.m_progress.SendMessage(PBM_SETPOS, 40);
    Pump(50);
    const int before = host.m_progress.m_paints;
    host.m_progress.Invalidate(TRUE);
    Pump(300);
    EXPECT_LE(host.m_progress.m_paints - before, 2) << "WM_PAINT keeps coming while the update region stays";
    RECT update;
    EXPECT_FALSE(GetUpdateRect(host.m_progress.m_hWnd, &update, FALSE));
    PixelCanvas canvas(kWidth, kHeight);
    host.Capture(host.m_progress, canvas);
    EXPECT_EQ(canvas.Count(kBar) + canvas.Count(kBack), 0);
    // Inverted ranges are not drawn either.
    host.m_progress.SendMessage(PBM_SETRANGE32, 50, 40);
    host.Capture(host.m_progress, canvas);
    EXPECT_EQ(canvas.Count(kBar) + canvas.Count(kBack), 0);
}

}  // namespace
