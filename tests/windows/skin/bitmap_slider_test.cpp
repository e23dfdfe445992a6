// The bitmap slider with real windows: the bar it draws at each position, masks, the thumb, and
// the notifications that drags and keys post to its parent.
#include "tests/windows/skin/gauge_host.h"

#include <gtest/gtest.h>

#include "tests/windows/support/gdi_objects.h"

namespace {

using gauges::CGaugeHost;
using Notification = gauges::CGaugeHost::Notification;
using test_support::PixelCanvas;

constexpr WPARAM kSliderId = 1016;
constexpr COLORREF kPixelColour = 0xFF000000;  // "the colour of the pixel at (x, y)"

// The repair dialog's bar: channel and active channel, no thumb, range 0..100.
void SetUpBar(CGaugeHost& host, BOOL transparent = FALSE, UINT channel = gauges::kChannel,
              UINT active = gauges::kActiveChannel)
{
    ASSERT_TRUE(host.m_slider.SetBitmapChannel(channel, active, transparent, kPixelColour, 0, 0));
    host.m_slider.SetVertical(FALSE);
    host.m_slider.SetRange(0, 100, FALSE);
}

// A slider with a thumb: channel 200, thumb 10, so the centre travels 5..195 (190 pixels).
void SetUpThumb(CGaugeHost& host, BOOL transparentChannel = FALSE)
{
    SetUpBar(host, transparentChannel, transparentChannel ? gauges::kKeyedChannel : gauges::kChannel,
             transparentChannel ? gauges::kKeyedActiveChannel : gauges::kActiveChannel);
    ASSERT_TRUE(host.m_slider.SetBitmapThumb(gauges::kThumbBitmap, gauges::kActiveThumbBitmap, FALSE, 0, 0, 0));
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(BitmapSlider, BarWithoutThumbShowsTheActiveChannelUpToThePosition)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host);
    CRect client;
    host.m_slider.GetClientRect(client);
    EXPECT_EQ(client.Width(), 200) << "sized to the channel";
    EXPECT_EQ(client.Height(), 14);
    struct Case { int position; int activeRight; };
    // 29 of 100 on 200 pixels is 58: the share is exact.
    for (const Case& c : {Case{50, 100}, Case{0, 0}, Case{100, 200}, Case{29, 58}}) {
        host.m_slider.SetPos(c.position);
        PixelCanvas canvas(200, 14);
        host.Capture(host.m_slider, canvas);
        EXPECT_EQ(canvas.Count(gauges::kRed, CRect(0, 0, c.activeRight, 14)), c.activeRight * 14)
            << "position " << c.position;
        EXPECT_EQ(canvas.Count(gauges::kBlue, CRect(c.activeRight, 0, 200, 14)), (200 - c.activeRight) * 14)
            << "position " << c.position;
    }
}

TEST(BitmapSlider, AVerticalBarGrowsFromTheTop)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    ASSERT_TRUE(host.m_slider.SetBitmapChannel(gauges::kTallChannel, gauges::kTallActiveChannel, FALSE, 0, 0, 0));
    host.m_slider.SetVertical(TRUE);
    host.m_slider.SetPos(50);
    PixelCanvas canvas(14, 100);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kRed, CRect(0, 0, 14, 50)), 14 * 50);
    EXPECT_EQ(canvas.Count(gauges::kBlue, CRect(0, 50, 14, 100)), 14 * 50);
}

TEST(BitmapSlider, DisabledDrawsOnlyTheNormalChannel)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SetPos(50);
    host.m_slider.Enable(FALSE);
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kBlue), 200 * 14) << "no split, no thumb";

    host.m_slider.Enable(TRUE);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kThumb), 10 * 14) << "enabled again: the thumb is back";
}

TEST(BitmapSlider, TheThumbSitsOnItsPositionAndShowsItsActiveLookWhileDragged)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SetFocusRectDrawing(FALSE, FALSE);  // a press gives the slider the focus
    host.m_slider.SetMarginTop(2);
    host.m_slider.SetPos(50);  // centre 5 + 95 = 100
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    const RECT thumb = canvas.Find([](COLORREF c) { return c == gauges::kThumb; });
    EXPECT_EQ(thumb.left, 95);
    EXPECT_EQ(thumb.right, 105);
    EXPECT_EQ(thumb.top, 2) << "the top margin places it";
    EXPECT_EQ(canvas.Count(gauges::kRed, CRect(0, 0, 95, 14)), 95 * 14);
    EXPECT_EQ(canvas.Count(gauges::kBlue, CRect(105, 0, 200, 14)), 95 * 14);

    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 7));
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kActiveThumb), 10 * 12);
    EXPECT_EQ(canvas.Count(gauges::kThumb), 0);
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(100, 7));
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kThumb), 10 * 12);
}

TEST(BitmapSlider, TransparentMasksShowTheParentWhereThePixelColourIs)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host, TRUE, gauges::kKeyedChannel, gauges::kKeyedActiveChannel);
    host.m_slider.SetPos(50);
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    // The key (the colour of pixel (0, 0)) covers x < 20 and y < 2 of both channels.
    const int keyed = 20 * 14 + 180 * 2;
    EXPECT_EQ(canvas.Count(gauges::kParentColor), keyed);
    EXPECT_EQ(canvas.Count(gauges::kKey), 0);
    EXPECT_EQ(canvas.Count(gauges::kRed, CRect(20, 2, 100, 14)), 80 * 12);
    EXPECT_EQ(canvas.Count(gauges::kBlue, CRect(100, 2, 200, 14)), 100 * 12);

    // An explicit colour works the same; one that no pixel has keys nothing out.
    ASSERT_TRUE(host.m_slider.SetBitmapChannel(gauges::kKeyedChannel, 0, TRUE, gauges::kKey, 0, 0));
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kParentColor), keyed);
    ASSERT_TRUE(host.m_slider.SetBitmapChannel(gauges::kKeyedChannel, 0, TRUE, RGB(1, 1, 1), 0, 0));
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kParentColor), 0);
}

TEST(BitmapSlider, AKeyedThumbShowsTheChannelAroundIt)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host);
    ASSERT_TRUE(host.m_slider.SetBitmapThumb(gauges::kKeyedThumb, 0, TRUE, kPixelColour, 0, 0));
    host.m_slider.SetPos(50);  // thumb x 95..104, its columns 95, 96, 103 and 104 keyed out
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kThumb), 6 * 14);
    EXPECT_EQ(canvas.Count(gauges::kRed, CRect(95, 0, 97, 14)), 2 * 14);
    EXPECT_EQ(canvas.Count(gauges::kBlue, CRect(103, 0, 105, 14)), 2 * 14);
}

// Over a transparent channel the buffer starts as the screen, old thumb included: what was saved
// under the thumb covers it again before the channel is drawn, so the channel's split at the new
// position shows there, not the one of the last paint.
TEST(BitmapSlider, AMovedThumbOverATransparentChannelLeavesNoTrace)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host, TRUE);
    host.m_slider.SetPos(20);  // centre 5 + 38 = 43
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Find([](COLORREF c) { return c == gauges::kThumb; }).left, 38);
    EXPECT_NE(host.m_slider.m_savedThumbX, -1);

    host.m_slider.SetPos(80);  // centre 5 + 152 = 157; only the slider repaints
    host.m_slider.UpdateWindow();
    canvas.CopyFromWindow(host.m_slider.m_hWnd);
    const RECT thumb = canvas.Find([](COLORREF c) { return c == gauges::kThumb; });
    EXPECT_EQ(thumb.left, 152);
    EXPECT_EQ(thumb.right, 162);
    EXPECT_EQ(canvas.Count(gauges::kRed, CRect(38, 2, 48, 14)), 10 * 12) << "the old place shows the channel";
}

// What was saved under the old thumb covers it whatever comes after it: a smaller thumb (which
// would restore only its own size) or none.
TEST(BitmapSlider, AThumbReplacedOrRemovedOverATransparentChannelLeavesNoPieceOfTheOldOne)
{
    struct Case {
        const char* name;
        UINT thumb;
        int thumbPixels;
    };
    for (const Case& c : {Case{"a smaller thumb", gauges::kSmallThumbBitmap, 4 * 6}, Case{"no thumb", 0, 0}}) {
        CGaugeHost host;
        ASSERT_TRUE(host.Open());
        SetUpThumb(host, TRUE);
        host.m_slider.SetPos(20);  // thumb x 38..47, over the keyed rows 0 and 1 too
        PixelCanvas canvas(200, 14);
        host.Capture(host.m_slider, canvas);
        ASSERT_EQ(canvas.Count(gauges::kThumb), 10 * 14) << c.name;

        ASSERT_TRUE(host.m_slider.SetBitmapThumb(c.thumb, 0, FALSE, 0, 0, 0)) << c.name;
        host.m_slider.SetPos(80);  // only the slider repaints
        host.m_slider.UpdateWindow();
        canvas.CopyFromWindow(host.m_slider.m_hWnd);
        EXPECT_EQ(canvas.Count(gauges::kThumb), 0) << c.name;
        EXPECT_EQ(canvas.Count(gauges::kParentColor, CRect(38, 0, 48, 2)), 10 * 2) << c.name << ": the keyed rows";
        EXPECT_EQ(canvas.Count(gauges::kSmallThumb), c.thumbPixels) << c.name;
    }
}

// Without its button-up (the capture went elsewhere) a drag must still end, or the thumb would
// follow the pointer over the control with no button held.
TEST(BitmapSlider, ADragEndsWhenTheCaptureIsLost)
{
    struct Case {
        const char* name;
        void (*loseCapture)(CGaugeHost& host);
    };
    const Case cases[] = {
        {"another window takes it", [](CGaugeHost& host) { host.SetCapture(); }},
        {"it is released", [](CGaugeHost&) { ::ReleaseCapture(); }},
    };
    for (const Case& c : cases) {
        CGaugeHost host;
        ASSERT_TRUE(host.Open());
        SetUpThumb(host);
        host.m_slider.SetFocusRectDrawing(FALSE, FALSE);
        host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 7));
        ASSERT_TRUE(host.m_slider.m_dragging) << c.name;
        c.loseCapture(host);
        EXPECT_FALSE(host.m_slider.m_dragging) << c.name;
        host.TakeNotifications();
        host.m_slider.SendMessage(WM_MOUSEMOVE, 0, At(150, 7));
        EXPECT_TRUE(host.TakeNotifications().empty()) << c.name;
        EXPECT_EQ(host.m_slider.m_position, 50) << c.name;
        PixelCanvas canvas(200, 14);
        host.Capture(host.m_slider, canvas);
        EXPECT_EQ(canvas.Count(gauges::kThumb), 10 * 14) << c.name << ": the thumb's own look again";
        ::ReleaseCapture();
    }
}

TEST(BitmapSlider, FocusDrawsAFocusRectangleAndLosingItTakesItAway)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host, TRUE, gauges::kKeyedChannel, gauges::kKeyedActiveChannel);
    host.m_slider.SetPos(50);
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    const int plain = canvas.Count(gauges::kParentColor);
    host.m_slider.SetFocus();
    host.m_slider.UpdateWindow();
    canvas.CopyFromWindow(host.m_slider.m_hWnd);
    EXPECT_LT(canvas.Count(gauges::kParentColor), plain) << "the dotted frame covers some keyed pixels";
    host.GetDlgItem(IDOK)->SetFocus();
    host.m_slider.UpdateWindow();
    canvas.CopyFromWindow(host.m_slider.m_hWnd);
    EXPECT_EQ(canvas.Count(gauges::kParentColor), plain) << "drawn again as an XOR, the frame is gone";
}

TEST(BitmapSlider, DragPostsMovingWhileMovingAndMovedOnRelease)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.TakeNotifications();
    // Pressed far from the thumb (centre 5): the centre jumps to the cursor.
    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 7));
    EXPECT_EQ(CWnd::GetCapture(), &host.m_slider);
    host.m_slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(150, 7));  // (150 - 5) * 100 / 190
    host.m_slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(900, 7));  // held at the end of the travel
    host.m_slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(-60, 7));
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(-60, 7));
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
    const std::vector<Notification> expected = {
        {WM_SLIDER_MOVING, kSliderId, 50}, {WM_SLIDER_MOVING, kSliderId, 76}, {WM_SLIDER_MOVING, kSliderId, 100},
        {WM_SLIDER_MOVING, kSliderId, 0}, {WM_SLIDER_MOVED, kSliderId, 0}};
    EXPECT_EQ(host.TakeNotifications(), expected);
    EXPECT_EQ(host.m_slider.m_position, 0);
}

TEST(BitmapSlider, GrabbingTheThumbOffCentreKeepsTheOffset)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SetPos(50);  // centre 100
    host.TakeNotifications();
    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(103, 7));  // 3 right of the centre
    host.m_slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(133, 7));    // centre 130: (130 - 5) * 100 / 190
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(133, 7));
    const std::vector<Notification> expected = {
        {WM_SLIDER_MOVING, kSliderId, 50}, {WM_SLIDER_MOVING, kSliderId, 65}, {WM_SLIDER_MOVED, kSliderId, 65}};
    EXPECT_EQ(host.TakeNotifications(), expected);
}

TEST(BitmapSlider, MovesWithoutADragAndAReleaseWithoutOne)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SetPos(30);
    host.TakeNotifications();
    host.m_slider.SendMessage(WM_MOUSEMOVE, 0, At(150, 7));
    EXPECT_TRUE(host.TakeNotifications().empty()) << "no drag, no notification";
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(150, 7));
    const std::vector<Notification> released = {{WM_SLIDER_MOVED, kSliderId, 30}};
    EXPECT_EQ(host.TakeNotifications(), released) << "a release posts even without a drag";
}

TEST(BitmapSlider, KeysMoveThePositionAndPostMoved)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SetRange(10, 90, FALSE);
    host.m_slider.SetPos(50);
    EXPECT_EQ(host.m_slider.SetPageSize(20), 5);
    host.TakeNotifications();
    const UINT keys[] = {VK_HOME, VK_END, VK_LEFT, VK_UP, VK_RIGHT, VK_PRIOR, VK_NEXT, VK_NEXT, VK_DOWN};
    for (UINT key : keys)
        host.m_slider.SendMessage(WM_KEYDOWN, key, 1);
    host.m_slider.SendMessage(WM_KEYDOWN, 'A', 1);
    const std::vector<Notification> expected = {
        {WM_SLIDER_MOVED, kSliderId, 10}, {WM_SLIDER_MOVED, kSliderId, 90}, {WM_SLIDER_MOVED, kSliderId, 89},
        {WM_SLIDER_MOVED, kSliderId, 88}, {WM_SLIDER_MOVED, kSliderId, 89}, {WM_SLIDER_MOVED, kSliderId, 69},
        {WM_SLIDER_MOVED, kSliderId, 89}, {WM_SLIDER_MOVED, kSliderId, 90}, {WM_SLIDER_MOVED, kSliderId, 90}};
    EXPECT_EQ(host.TakeNotifications(), expected);
    EXPECT_EQ(host.m_slider.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
}

TEST(BitmapSlider, DisabledIgnoresMouseAndKeysAndEnds_aDrag)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpThumb(host);
    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(100, 7));
    ASSERT_EQ(CWnd::GetCapture(), &host.m_slider);
    host.m_slider.Enable(FALSE);
    EXPECT_EQ(CWnd::GetCapture(), nullptr) << "disabling ends the drag";
    EXPECT_FALSE(host.m_slider.m_dragging);
    host.TakeNotifications();
    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(30, 7));
    host.m_slider.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, At(60, 7));
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(60, 7));
    host.m_slider.SendMessage(WM_KEYDOWN, VK_END, 1);
    EXPECT_TRUE(host.TakeNotifications().empty());
    EXPECT_EQ(host.m_slider.m_position, 50);
    EXPECT_EQ(CWnd::GetCapture(), nullptr);
}

TEST(BitmapSlider, SetPosClampsAndSetRangeDoesNot)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host);
    struct Case { int minimum, maximum, value, stored; };
    for (const Case& c : {Case{0, 100, 150, 100}, Case{0, 100, -5, 0}, Case{10, 5, 7, 10}}) {
        host.m_slider.SetRange(c.minimum, c.maximum, FALSE);
        host.m_slider.SetPos(c.value);
        EXPECT_EQ(host.m_slider.m_position, c.stored) << c.value;
    }
    host.m_slider.SetRange(0, 100, FALSE);
    host.m_slider.SetPos(80);
    host.m_slider.SetRange(0, 50, FALSE);
    EXPECT_EQ(host.m_slider.m_position, 80) << "until the next SetPos";
    // The bar still paints: the split stays inside the channel.
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kRed), 200 * 14);
    host.m_slider.SetPos(80);
    EXPECT_EQ(host.m_slider.m_position, 50);
}

TEST(BitmapSlider, AnEmptyRangeOrTravelDrawsAndDragsWithoutFault)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host);
    host.m_slider.SetRange(40, 40, FALSE);
    host.m_slider.SetPos(40);
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kBlue), 200 * 14) << "an empty range is nothing done";
    // A thumb as wide as the channel leaves no travel.
    host.m_slider.SetRange(0, 100, FALSE);
    host.m_slider.SetMargin(100, 0, 100, 0);
    ASSERT_TRUE(host.m_slider.SetBitmapThumb(gauges::kThumbBitmap, 0, FALSE, 0, 0, 0));
    host.TakeNotifications();
    host.m_slider.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, At(120, 7));
    host.m_slider.SendMessage(WM_LBUTTONUP, 0, At(120, 7));
    const std::vector<Notification> expected = {{WM_SLIDER_MOVING, kSliderId, 0}, {WM_SLIDER_MOVED, kSliderId, 0}};
    EXPECT_EQ(host.TakeNotifications(), expected);
}

TEST(BitmapSlider, BitmapGroupsLoadReplaceAndFailWhole)
{
    CGaugeHost host;
    ASSERT_TRUE(host.Open());
    SetUpBar(host);
    EXPECT_TRUE(host.m_slider.SetBitmapChannel(0, 0, FALSE, 0, 0, 0));
    EXPECT_FALSE(host.m_slider.m_hasChannel);
    EXPECT_EQ(host.m_slider.m_channel.m_hObject, nullptr);

    EXPECT_FALSE(host.m_slider.SetBitmapChannel(999, 0, FALSE, 0, 0, 0)) << "no such bitmap";
    EXPECT_FALSE(host.m_slider.m_hasChannel);
    EXPECT_FALSE(host.m_slider.SetBitmapChannel(gauges::kChannel, 998, TRUE, kPixelColour, 0, 0))
        << "the active channel is missing";
    EXPECT_FALSE(host.m_slider.m_hasChannel);
    EXPECT_FALSE(host.m_slider.m_hasActiveChannel);
    EXPECT_EQ(host.m_slider.m_channel.m_hObject, nullptr) << "released with the group";
    PixelCanvas canvas(200, 14);
    host.Capture(host.m_slider, canvas);
    EXPECT_EQ(canvas.Count(gauges::kBlue), 0) << "a failed group draws nothing";
    EXPECT_EQ(canvas.Count(gauges::kRed), 0);
    EXPECT_FALSE(host.m_slider.SetBitmapThumb(997, 0, FALSE, 0, 0, 0));
    EXPECT_FALSE(host.m_slider.m_hasThumb);
}

TEST(BitmapSlider, HoldsNoGdiObjectsOnceDestroyed)
{
    {
        CGaugeHost warmUp;  // the first host makes the wrappers and caches every later one reuses
        ASSERT_TRUE(warmUp.Open());
        SetUpThumb(warmUp, TRUE);
        PixelCanvas canvas(200, 14);
        warmUp.Capture(warmUp.m_slider, canvas);
    }
    const DWORD before = test_support::CountGdiObjects();
    {
        CGaugeHost host;
        ASSERT_TRUE(host.Open());
        for (int round = 0; round < 10; ++round) {
            SetUpThumb(host, round % 2);
            ASSERT_TRUE(host.m_slider.SetBitmapThumb(gauges::kKeyedThumb, gauges::kActiveThumbBitmap, TRUE,
                                                     kPixelColour, 0, 0));
            host.m_slider.SetPos(round * 10);
            PixelCanvas canvas(200, 14);
            host.Capture(host.m_slider, canvas);
        }
    }
    EXPECT_EQ(test_support::CountGdiObjects(), before);
}

}  // namespace
