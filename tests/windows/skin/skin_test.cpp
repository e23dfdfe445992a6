// The skinned dialog base (draw styles, sizing, transparency, easy move, bitmap ownership) and
// the hover button (looks, caption colours, pressed offset, hover tracking), with real windows.
#include "brimlet/skin/bitmap_dialog.h"
#include "sarrow/controls/hover_button.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include "tests/windows/support/gdi_objects.h"
#include "tests/windows/support/pixel_canvas.h"

#include <functional>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
// The hover button's fixed caption colours: hovered or pressed, and disabled.
constexpr COLORREF kLightBlueCaption = 0xFFAF0E;  // RGB(14, 175, 255)
constexpr COLORREF kGreyCaption = 0xC0C0C0;

using Canvas = test_support::PixelCanvas;

// A device-dependent bitmap whose pixel (x, y) is PatternColor(x, y).
COLORREF PatternColor(int x, int y) { return RGB(x * 4 + 3, y * 4 + 3, 90); }

HBITMAP MakePatternBitmap(int width, int height)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixelV(dc, x, y, PatternColor(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

class CSkinProbe : public CBitmapDialog
{
public:
    explicit CSkinProbe(UINT templateId = 300) : CBitmapDialog(templateId, nullptr) {}
    using CBitmapDialog::m_bitmap;
    using CBitmapDialog::m_bitmapHeight;
    using CBitmapDialog::m_bitmapWidth;
    using CBitmapDialog::m_drawStyle;
    using CBitmapDialog::m_easyMove;

    BOOL Open()
    {
        if (!Create(m_lpszTemplateName, nullptr))
            return FALSE;
        SetWindowPos(nullptr, 0, 0, 70, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        return TRUE;
    }
    // What WM_ERASEBKGND paints into a client-sized canvas.
    void Erase(Canvas& canvas) { SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc())); }
};

struct StyleCase
{
    int style;
    int bitmapWidth, bitmapHeight;
    // Client pixel -> expected colour, or CLR_NONE where the style does not say.
    COLORREF (*expect)(int x, int y, int bw, int bh);
};

COLORREF Face() { return GetSysColor(COLOR_BTNFACE); }

TEST(BitmapDialog, DrawStylesPaintTheBackgroundAsTheirRuleSays)
{
    const int W = 70, H = 50;
    const StyleCase cases[] = {
        {0, 30, 20, [](int x, int y, int, int) { return x < 30 && y < 20 ? PatternColor(x, y) : CLR_NONE; }},
        {4, 30, 20, [](int x, int y, int, int) { return x < 30 && y < 20 ? PatternColor(x, y) : CLR_NONE; }},
        {1, 30, 20, [](int x, int y, int, int) { return PatternColor(x % 30, y % 20); }},
        {1, 90, 60, [](int x, int y, int, int) { return PatternColor(x, y); }},
        // Centred: equal margins; the offsets are signed, so a larger bitmap shows its middle.
        {2, 30, 20, [](int x, int y, int, int) {
             int ox = (70 - 30) / 2, oy = (50 - 20) / 2;
             return x >= ox && x < ox + 30 && y >= oy && y < oy + 20 ? PatternColor(x - ox, y - oy) : CLR_NONE;
         }},
        {2, 61, 57, [](int x, int y, int, int) {
             int ox = (70 - 61) / 2, oy = (50 - 57) / 2;  // 4 and -3
             return x >= ox && x < ox + 61 ? PatternColor(x - ox, y - oy) : CLR_NONE;
         }},
        {2, 101, 81, [](int x, int y, int, int) { return PatternColor(x + 15, y + 15); }},
        // Stretched: a 2 x 2 bitmap becomes four quadrants.
        {3, 2, 2, [](int x, int y, int, int) { return PatternColor(x < 35 ? 0 : 1, y < 25 ? 0 : 1); }},
        {9, 30, 20, [](int, int, int, int) { return Face(); }},
    };
    for (const StyleCase& c : cases) {
        CSkinProbe dialog;
        ASSERT_TRUE(dialog.Open());
        EXPECT_TRUE(dialog.SetBitmap(MakePatternBitmap(c.bitmapWidth, c.bitmapHeight)));
        dialog.m_drawStyle = c.style;  // SetBitmapStyle(4) would resize the window
        Canvas canvas(W, H);
        dialog.Erase(canvas);
        int wrong = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                COLORREF expected = c.expect(x, y, c.bitmapWidth, c.bitmapHeight);
                if (expected != CLR_NONE && canvas.At(x, y) != expected && wrong++ < 3)
                    ADD_FAILURE() << "style " << c.style << " bitmap " << c.bitmapWidth << "x" << c.bitmapHeight
                                  << " pixel " << x << "," << y << ": " << std::hex << canvas.At(x, y)
                                  << " instead of " << expected;
            }
        EXPECT_EQ(wrong, 0) << "style " << c.style;
        dialog.DestroyWindow();
    }
}

TEST(BitmapDialog, TilingAClientAreaOfNoHeightDrawsNothing)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    dialog.SetBitmap(MakePatternBitmap(30, 20));
    dialog.m_drawStyle = 1;
    dialog.SetWindowPos(nullptr, 0, 0, 70, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Canvas canvas(70, 10, RGB(1, 2, 3));
    dialog.Erase(canvas);
    EXPECT_EQ(canvas.Count(RGB(1, 2, 3)), 70 * 10);
    dialog.DestroyWindow();
}

TEST(BitmapDialog, SettingTheBitmapItHoldsKeepsIt)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    HBITMAP bitmap = MakePatternBitmap(30, 20);
    dialog.SetBitmap(bitmap);
    EXPECT_TRUE(dialog.SetBitmap(bitmap));
    EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(dialog.m_bitmap, bitmap);
    dialog.DestroyWindow();
}

TEST(BitmapDialog, WithoutBitmapOnlyTheDefaultBackgroundIsDrawn)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_TRUE(dialog.SetBitmap(4242u)) << "a resource that does not load still answers TRUE";
    EXPECT_EQ(dialog.m_bitmap, nullptr);
    Canvas canvas(70, 50);
    dialog.Erase(canvas);
    EXPECT_EQ(canvas.Count(Face()), 70 * 50);
    dialog.DestroyWindow();
}

TEST(BitmapDialog, LoadsItsBitmapFromTheResourceModule)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_TRUE(dialog.SetBitmap(201u));
    EXPECT_EQ(dialog.m_bitmapWidth, 20);
    EXPECT_EQ(dialog.m_bitmapHeight, 10);
    Canvas canvas(70, 50);
    dialog.Erase(canvas);
    EXPECT_EQ(canvas.At(2, 2), RGB(200, 0, 0));
    EXPECT_EQ(canvas.At(15, 8), RGB(0, 0, 200));
    dialog.DestroyWindow();
}

TEST(BitmapDialog, SetBitmapTakesOverTheHandleAndKeepsTheOldSizeForNull)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    HBITMAP first = MakePatternBitmap(30, 20);
    EXPECT_TRUE(dialog.SetBitmap(first));
    HBITMAP second = MakePatternBitmap(8, 6);
    EXPECT_TRUE(dialog.SetBitmap(second));
    EXPECT_EQ(GetObjectType(first), 0u) << "the previous bitmap is deleted";
    EXPECT_EQ(dialog.m_bitmapWidth, 8);

    ValidateRect(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(dialog.SetBitmap(static_cast<HBITMAP>(nullptr)));
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_EQ(dialog.m_bitmap, nullptr);
    EXPECT_EQ(dialog.m_bitmapWidth, 8) << "width and height keep the old bitmap's values";
    EXPECT_EQ(dialog.m_bitmapHeight, 6);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(dialog.m_hWnd, &update, FALSE)) << "the window is invalidated";

    HBITMAP stale = MakePatternBitmap(4, 4);
    DeleteObject(stale);
    EXPECT_FALSE(dialog.SetBitmap(stale)) << "a handle whose header cannot be read";
    EXPECT_EQ(dialog.m_bitmap, nullptr);

    HBITMAP kept = MakePatternBitmap(5, 5);
    dialog.SetBitmap(kept);
    dialog.FreeBitmap();
    EXPECT_EQ(GetObjectType(kept), 0u);
    EXPECT_EQ(dialog.m_bitmapWidth, 5);
    dialog.DestroyWindow();
}

TEST(BitmapDialog, StyleFourSizesTheWholeWindowToTheBitmap)
{
    CSkinProbe framed(301);
    ASSERT_TRUE(framed.Create(301u, nullptr));
    framed.SetBitmap(MakePatternBitmap(123, 77));
    framed.SetBitmapStyle(4);
    CRect window;
    framed.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 123);
    EXPECT_EQ(window.Height(), 77);
    CRect client;
    framed.GetClientRect(&client);
    EXPECT_LT(client.Width(), 123) << "the frame is part of the bitmap's size";
    framed.DestroyWindow();

    // Before any bitmap the style is stored and the window keeps its size; a later bitmap does
    // not resize it.
    CSkinProbe early;
    ASSERT_TRUE(early.Open());
    early.SetBitmapStyle(4);
    EXPECT_EQ(early.m_drawStyle, 4);
    early.SetBitmap(MakePatternBitmap(123, 77));
    early.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), 70);
    EXPECT_EQ(window.Height(), 50);
    early.DestroyWindow();
}

TEST(BitmapDialog, TransparencySettersLayerTheWindowAndAnswer)
{
    CSkinProbe dialog;
    ASSERT_TRUE(dialog.Open());
    ASSERT_NE(CBitmapDialog::s_setLayeredWindowAttributes, nullptr);
    auto layered = [&] { return (dialog.GetExStyle() & WS_EX_LAYERED) != 0; };

    EXPECT_TRUE(dialog.SetTransparent(255)) << "never layered: clears a bit that is not set";
    EXPECT_FALSE(layered());
    EXPECT_TRUE(dialog.SetTransparent(0));
    EXPECT_TRUE(layered());
    EXPECT_TRUE(dialog.SetTransparentColor(RGB(0, 255, 0), TRUE));
    EXPECT_TRUE(layered());
    COLORREF key = 0;
    BYTE alpha = 1;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(dialog.m_hWnd, &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(0, 255, 0));
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY)) << "the later call decides: only the colour key is in force";
    EXPECT_TRUE(dialog.SetTransparentColor(RGB(1, 2, 3), FALSE));
    EXPECT_FALSE(layered()) << "disabling removes the layering whatever key is given";

    // Where USER32 has no SetLayeredWindowAttributes both setters refuse and leave the style.
    auto saved = CBitmapDialog::s_setLayeredWindowAttributes;
    CBitmapDialog::s_setLayeredWindowAttributes = nullptr;
    EXPECT_FALSE(dialog.SetTransparent(0));
    EXPECT_FALSE(dialog.SetTransparentColor(RGB(0, 255, 0), TRUE));
    EXPECT_FALSE(layered());
    CBitmapDialog::s_setLayeredWindowAttributes = saved;
    dialog.DestroyWindow();
}

TEST(BitmapDialog, EasyMovePostsACaptionDragForAClickOnTheBackground)
{
    for (BOOL easyMove : {TRUE, FALSE}) {
        CSkinProbe dialog;
        ASSERT_TRUE(dialog.Open());
        EXPECT_TRUE(dialog.m_easyMove) << "on by default";
        dialog.SetEasyMove(easyMove);
        MSG drained;
        while (PeekMessageA(&drained, dialog.m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {
        }
        dialog.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(33, 21));
        MSG posted = {};
        BOOL found = PeekMessageA(&posted, dialog.m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE);
        EXPECT_EQ(found != FALSE, easyMove != FALSE);
        if (found) {
            EXPECT_EQ(posted.wParam, static_cast<WPARAM>(HTCAPTION));
            EXPECT_EQ(LOWORD(posted.lParam), 33);
            EXPECT_EQ(HIWORD(posted.lParam), 21) << "the point as received, in client coordinates";
        }
        dialog.DestroyWindow();
    }
}

TEST(BitmapDialog, CreateAndDestroyLoopsLeakNoGdiObject)
{
    auto round = [] {
        CSkinProbe dialog;
        ASSERT_TRUE(dialog.Open());
        dialog.SetBitmap(201u);
        dialog.SetBitmap(MakePatternBitmap(16, 16));
        dialog.SetBitmapStyle(4);
        Canvas canvas(16, 16);
        dialog.Erase(canvas);
        dialog.DestroyWindow();
    };
    round();  // first-use allocations (fonts, brushes) before counting
    DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    for (int i = 0; i < 60; ++i)
        round();
    {
        // The destructor frees the bitmap of a dialog that is still open, too.
        CSkinProbe open;
        ASSERT_TRUE(open.Open());
        open.SetBitmap(MakePatternBitmap(16, 16));
    }
    DWORD after = test_support::CountGdiObjects();
    EXPECT_LE(after, before + 2) << before << " -> " << after;
}

// --- hover button

class CButtonHost : public CDialog
{
public:
    CButtonHost() : CDialog(300u) {}
    CHoverButton m_button;
    void DoDataExchange(CDataExchange* dx) override { DDX_Control(dx, 1001, m_button); }
};

struct HoverFixture : testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(host.Create(300u, nullptr));
        host.ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_NE(host.m_button.m_hWnd, nullptr);
        EXPECT_TRUE(host.m_button.LoadBitmaps(210, 211, 212));
    }
    void TearDown() override { host.DestroyWindow(); }

    // The button's look for the item state, painted through DrawItem into a 64 x 26 canvas.
    void Paint(Canvas& canvas, UINT itemState)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = 1001;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = itemState;
        item.hwndItem = host.m_button.m_hWnd;
        item.hDC = canvas.dc();
        host.m_button.GetClientRect(&item.rcItem);
        host.m_button.DrawItem(&item);
    }

    CButtonHost host;
};

TEST_F(HoverFixture, LoadBitmapsLeavesThePressedPicturesSize)
{
    CRect rect;
    host.m_button.GetWindowRect(&rect);
    EXPECT_EQ(rect.Width(), 64);
    EXPECT_EQ(rect.Height(), 26);
    EXPECT_STREQ(host.m_button.GetRuntimeClass()->m_lpszClassName, "CHoverButton");
    EXPECT_TRUE(host.m_button.IsKindOf(RUNTIME_CLASS(CBitmapButton)));
}

TEST_F(HoverFixture, EachStateShowsItsPictureAndCaptionColour)
{
    host.m_button.SetTextPosition("Start", 32, 13, RGB(0, 0, 0));
    struct Case
    {
        const char* name;
        bool hover;
        bool enabled;
        UINT state;
        COLORREF picture;
        COLORREF caption;
    };
    const Case cases[] = {
        {"normal", false, true, 0, kRed, RGB(0, 0, 0)},
        {"normal disabled", false, false, ODS_DISABLED, kRed, kGreyCaption},
        {"hover", true, true, 0, kGreen, kLightBlueCaption},
        {"hover disabled", true, false, ODS_DISABLED, kGreen, kLightBlueCaption},
        {"pressed", false, true, ODS_SELECTED, kBlue, kLightBlueCaption},
        {"pressed while hovered", true, true, ODS_SELECTED, kBlue, kLightBlueCaption},
    };
    for (const Case& c : cases) {
        host.m_button.SendMessage(c.hover ? WM_MOUSEHOVER : WM_MOUSELEAVE);
        host.m_button.EnableWindow(c.enabled);
        Canvas canvas(64, 26, RGB(9, 9, 9));
        Paint(canvas, c.state);
        EXPECT_EQ(canvas.At(1, 1), c.picture) << c.name;
        EXPECT_GT(canvas.Count(c.caption), 10) << c.name << ": the caption is drawn in its colour";
    }
}

TEST_F(HoverFixture, PressingMovesTheCaptionOnePixelRightAndDown)
{
    host.m_button.SetTextPosition("Start", 30, 12, kLightBlueCaption);
    const COLORREF fill = RGB(1, 2, 3);
    Canvas normal(64, 26, fill), pressed(64, 26, fill);
    Paint(normal, 0);
    Paint(pressed, ODS_SELECTED);
    RECT up = normal.Find([=](COLORREF c) { return c != kRed && c != fill; });
    RECT down = pressed.Find([=](COLORREF c) { return c != kBlue && c != fill; });
    ASSERT_LT(up.left, up.right) << "a caption was drawn";
    EXPECT_EQ(down.left, up.left + 1);
    EXPECT_EQ(down.top, up.top + 1);
    EXPECT_EQ(down.right, up.right + 1);
    EXPECT_EQ(down.bottom, up.bottom + 1);
    // Centred on x, its top 8 pixels (half the font height) above y, give or take the glyphs' bearings.
    EXPECT_NEAR((up.left + up.right) / 2.0, 30, 2);
    EXPECT_GE(up.top, 12 - 8);
    EXPECT_LE(up.top, 12 - 8 + 4);
}

TEST_F(HoverFixture, WithoutCaptionOnlyThePictureIsDrawn)
{
    Canvas canvas(64, 26, RGB(9, 9, 9));
    Paint(canvas, 0);
    EXPECT_EQ(canvas.Count(kRed), 60 * 24);
    EXPECT_EQ(canvas.Count(RGB(9, 9, 9)), 64 * 26 - 60 * 24) << "the normal picture in its own size";
}

TEST_F(HoverFixture, PaintingThroughTheParentReachesDrawItem)
{
    host.m_button.SetTextPosition("", 0, 0, 0);
    Canvas canvas(64, 26, RGB(9, 9, 9));
    host.m_button.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(canvas.At(5, 5), kRed) << "WM_DRAWITEM went to the dialog and came back to the button";
}

TEST_F(HoverFixture, TheMouseRestingOnTheButtonHoversItAndLeavingEndsIt)
{
    // Other test programs share the display: this window goes on top, away from the corner
    // where they open theirs.
    ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 880, 640, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    CRect rect;
    host.m_button.GetWindowRect(&rect);
    auto pump = [](int milliseconds) {
        DWORD start = GetTickCount();
        MSG msg;
        while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            Sleep(5);
        }
    };
    auto pumpUntil = [&](auto condition) {
        for (DWORD start = GetTickCount(); !condition();) {
            if (GetTickCount() - start > 5000)
                return false;
            pump(10);
        }
        return true;
    };
    auto hovered = [&] {
        Canvas canvas(64, 26);
        DRAWITEMSTRUCT item = {};
        item.hDC = canvas.dc();
        item.hwndItem = host.m_button.m_hWnd;
        host.m_button.DrawItem(&item);
        return canvas.At(1, 1) == kGreen;
    };
    // The display may take a moment to follow a warp of the pointer.
    auto placeCursor = [&](int x, int y) {
        for (int attempt = 0; attempt < 20; ++attempt) {
            SetCursorPos(x, y);
            pump(50);
            POINT at;
            GetCursorPos(&at);
            if (at.x == x && at.y == y)
                return true;
            ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        }
        return false;
    };
    // Wine's TrackMouseEvent judges from its own record of where the pointer is. Where that
    // record still places the pointer elsewhere (a window of another program opened there, or a
    // late pointer event of the display moved it back), it tracks nothing and returns TRUE, and,
    // unlike Windows, posts no WM_MOUSELEAVE: a button would then wait for a leave that never
    // comes. So the pointer rests on the button by that record before the move, and where the
    // move still left nothing tracked the leave comes as Windows would post it, and the move
    // again. A button that does not track again after a leave stays unhovered all the same.
    const auto trackedForButton = [&] {
        TRACKMOUSEEVENT query = {};
        query.cbSize = sizeof query;
        query.dwFlags = TME_QUERY;
        return ::_TrackMouseEvent(&query) && query.hwndTrack == host.m_button.m_hWnd &&
               (query.dwFlags & TME_LEAVE);
    };
    const auto restOnTheButton = [&] {
        for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
            if (!placeCursor(rect.left + 5, rect.top + 5))
                return false;
            POINT at;
            GetCursorPos(&at);
            if (::WindowFromPoint(at) != host.m_button.m_hWnd) {
                ::SetWindowPos(host.m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
                pump(50);
                continue;
            }
            host.m_button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
            if (trackedForButton() || hovered())
                return true;
            host.m_button.SendMessage(WM_MOUSELEAVE);
        }
        return false;
    };
    // Until the hover shows; a tracking the pointer's record lost meanwhile is asked for again.
    const auto hoverWhileResting = [&] {
        for (DWORD start = GetTickCount(); !hovered();) {
            if (GetTickCount() - start > 10000)
                return false;
            if (!trackedForButton() && !restOnTheButton())
                return false;
            pump(10);
        }
        return true;
    };
    ASSERT_TRUE(restOnTheButton());
    EXPECT_TRUE(hoverWhileResting()) << "WM_MOUSEHOVER came after the mouse rested";
    ASSERT_TRUE(placeCursor(rect.left - 300, rect.top - 300));
    EXPECT_TRUE(pumpUntil([&] { return !hovered(); })) << "WM_MOUSELEAVE brought the normal look back";
    ASSERT_TRUE(restOnTheButton());
    EXPECT_TRUE(hoverWhileResting()) << "the next mouse move tracks again";
}

}  // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
