// CBufferDC over memory DCs: what it covers, how it starts (the target's pixels, its background
// colour, or unfilled) and that it lands where the target's mapping puts it.
#include "brimlet/skin/buffer_dc.h"

#include <gtest/gtest.h>

#include "tests/windows/support/pixel_canvas.h"

namespace {

using test_support::PixelCanvas;

constexpr COLORREF kTarget = RGB(10, 20, 30);
constexpr COLORREF kDrawn = RGB(200, 0, 0);
constexpr COLORREF kBackground = RGB(0, 90, 0);

TEST(BufferDC, FilledWithTheTargetsBackgroundColourAndCopiedBackWhole)
{
    PixelCanvas canvas(60, 40, kTarget);
    CDC* target = CDC::FromHandle(canvas.dc());
    target->SetBkColor(kBackground);
    {
        CBufferDC buffer(target, CRect(10, 5, 50, 25), FALSE);
        EXPECT_TRUE(buffer.IsBuffered());
        EXPECT_EQ(buffer.GetRect(), CRect(10, 5, 50, 25));
        buffer.FillSolidRect(20, 10, 5, 5, kDrawn);  // the target's logical coordinates
        EXPECT_EQ(canvas.At(20, 10), kTarget) << "nothing reaches the target before the end";
    }
    EXPECT_EQ(canvas.Count(kDrawn), 25);
    EXPECT_EQ(canvas.At(20, 10), kDrawn);
    EXPECT_EQ(canvas.Count(kBackground), 40 * 20 - 25);
    EXPECT_EQ(canvas.Count(kTarget), 60 * 40 - 40 * 20);
}

TEST(BufferDC, StartsAsTheTargetsPixelsWhenAskedTo)
{
    PixelCanvas canvas(60, 40, kTarget);
    ::SetPixelV(canvas.dc(), 12, 7, RGB(1, 1, 200));
    CDC* target = CDC::FromHandle(canvas.dc());
    {
        CBufferDC buffer(target, CRect(10, 5, 50, 25), TRUE);
        EXPECT_EQ(buffer.GetPixel(12, 7), RGB(1, 1, 200));
        buffer.FillSolidRect(30, 10, 2, 2, kDrawn);
    }
    EXPECT_EQ(canvas.Count(kTarget), 60 * 40 - 1 - 4);
    EXPECT_EQ(canvas.At(12, 7), RGB(1, 1, 200));
    EXPECT_EQ(canvas.Count(kDrawn), 4);
}

TEST(BufferDC, FollowsTheTargetsViewportOrigin)
{
    PixelCanvas canvas(60, 40, kTarget);
    ::SetViewportOrgEx(canvas.dc(), 5, 7, nullptr);
    CDC* target = CDC::FromHandle(canvas.dc());
    {
        CBufferDC buffer(target, CRect(0, 0, 20, 10), TRUE);
        buffer.FillSolidRect(CRect(0, 0, 20, 10), kDrawn);
    }
    ::SetViewportOrgEx(canvas.dc(), 0, 0, nullptr);
    const RECT drawn = canvas.Find([](COLORREF c) { return c == kDrawn; });
    EXPECT_EQ(CRect(drawn), CRect(5, 7, 25, 17));
}

TEST(BufferDC, OnTheTargetAloneCoversItsClipBoxUnfilled)
{
    PixelCanvas canvas(60, 40, kTarget);
    CDC* target = CDC::FromHandle(canvas.dc());
    target->IntersectClipRect(20, 10, 50, 30);
    {
        CBufferDC buffer(target);
        EXPECT_EQ(buffer.GetRect(), CRect(20, 10, 50, 30));
        buffer.FillSolidRect(CRect(0, 0, 60, 40), kDrawn);  // past the clip box: only it is copied back
    }
    target->SelectClipRgn(nullptr);
    const RECT drawn = canvas.Find([](COLORREF c) { return c == kDrawn; });
    EXPECT_EQ(CRect(drawn), CRect(20, 10, 50, 30));
    EXPECT_EQ(canvas.Count(kDrawn), 30 * 20);
}

TEST(BufferDC, WithoutATargetDrawsNowhereAndDoesNotFault)
{
    CBufferDC noTarget(nullptr, CRect(0, 0, 10, 10), TRUE);
    EXPECT_FALSE(noTarget.IsBuffered());
    noTarget.FillSolidRect(CRect(0, 0, 10, 10), kDrawn);
    CBufferDC noTargetClip(nullptr);
    EXPECT_FALSE(noTargetClip.IsBuffered());
}

}  // namespace
