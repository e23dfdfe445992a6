// The colour labels on a skinned dialog: transparent or solid looks read back pixel by pixel,
// fonts, tooltips, and a radio button that ignores the mouse and the keyboard.
#include <gtest/gtest.h>

#include "core/skin/font_height.h"
#include "tests/windows/skin/text_stage.h"
#include "tests/windows/support/gdi_objects.h"

#include <string>

namespace {

using namespace skin_test;

struct ColorLabel : testing::Test
{
    void SetUp() override { ASSERT_TRUE(stage.Open()); }
    void TearDown() override { stage.DestroyWindow(); }

    // What the control paints over a patterned canvas of its size.
    std::unique_ptr<Canvas> Printed(CWnd& control)
    {
        CRect client;
        control.GetClientRect(&client);
        auto canvas = std::make_unique<Canvas>(client.Width(), client.Height());
        canvas->FillPattern();
        control.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas->dc()), PRF_CLIENT);
        return canvas;
    }
    static bool IsPattern(const Canvas& canvas, int x, int y) { return canvas.At(x, y) == BackgroundAt(x, y); }
    static int PatternPixels(const Canvas& canvas)
    {
        int count = 0;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                count += IsPattern(canvas, x, y) ? 1 : 0;
        return count;
    }

    CTextStage stage;
};

TEST_F(ColorLabel, AFreshLabelIsTransparentWithTheWindowTextColour)
{
    stage.m_device.SetWindowText("Device text");
    auto canvas = Printed(stage.m_device);
    const int all = canvas->width() * canvas->height();
    EXPECT_GT(canvas->Count(GetSysColor(COLOR_WINDOWTEXT)), 10) << "the text";
    EXPECT_GT(PatternPixels(*canvas), all * 8 / 10) << "what lies behind shows around it";
    EXPECT_EQ(canvas->Count(GetSysColor(COLOR_WINDOW)), 0) << "no background is painted";
    EXPECT_EQ(stage.m_device.GetTransparentBackground(), TRUE);
}

TEST_F(ColorLabel, ASolidLabelStandsOnItsBackgroundColour)
{
    stage.m_device.SetWindowText("Device text");
    ASSERT_TRUE(stage.m_device.SetTransparentBackground(FALSE));
    auto solid = Printed(stage.m_device);
    const int all = solid->width() * solid->height();
    EXPECT_EQ(PatternPixels(*solid), 0);
    EXPECT_GT(solid->Count(GetSysColor(COLOR_WINDOW)), all / 2) << "COLOR_WINDOW by default";

    ASSERT_TRUE(stage.m_device.SetBackgroundColour(RGB(10, 120, 10)));
    ASSERT_TRUE(stage.m_device.SetTextColour(RGB(250, 0, 0)));
    auto coloured = Printed(stage.m_device);
    EXPECT_GT(coloured->Count(RGB(10, 120, 10)), all / 2);
    EXPECT_GT(coloured->Count(RGB(250, 0, 0)), 10);
    COLORREF colour = 0;
    EXPECT_TRUE(stage.m_device.GetBackgroundColour(colour));
    EXPECT_EQ(colour, RGB(10, 120, 10));
    EXPECT_TRUE(stage.m_device.GetTextColour(colour));
    EXPECT_EQ(colour, RGB(250, 0, 0));
}

TEST_F(ColorLabel, FontSettersChangeTheFontTheControlReports)
{
    CColorLabel& label = stage.m_device;
    HDC screen = GetDC(label.m_hWnd);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(label.m_hWnd, screen);

    LOGFONTA font = {};
    ASSERT_TRUE(label.SetFontPointSize(12));
    ASSERT_TRUE(label.GetLabelFont(font));
    EXPECT_EQ(font.lfHeight, skin::PointSizeToHeight(12, dotsPerInch));
    if (dotsPerInch == 96) {
        EXPECT_EQ(font.lfHeight, -16);
    }

    ASSERT_TRUE(label.CreateLabelFont(10, TRUE, TRUE, "Arial"));
    label.GetLabelFont(font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_TRUE(font.lfItalic);
    EXPECT_STREQ(font.lfFaceName, "Arial");
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);

    const std::string longName(32, 'F');
    EXPECT_FALSE(label.SetFontFaceName(longName.c_str())) << "32 characters do not fit with the terminator";
    EXPECT_FALSE(label.CreateLabelFont(10, FALSE, FALSE, longName.c_str()));
    label.GetLabelFont(font);
    EXPECT_STREQ(font.lfFaceName, "Arial") << "the font stays";
    EXPECT_TRUE(label.SetFontFaceName(std::string(31, 'G').c_str()));

    EXPECT_TRUE(label.SetFontWeightBold(FALSE));
    EXPECT_TRUE(label.SetFontItalic(FALSE));
    EXPECT_TRUE(label.SetFontAngle(90));
    label.GetLabelFont(font);
    EXPECT_EQ(font.lfWeight, 0);
    EXPECT_FALSE(font.lfItalic);
    EXPECT_EQ(font.lfEscapement, 900);
    EXPECT_EQ(font.lfOrientation, 900);

    const DWORD before = test_support::CountGdiObjects();
    for (int i = 0; i < 40; ++i)
        label.SetFontWeightBold(i % 2);
    EXPECT_LE(test_support::CountGdiObjects(), before + 1) << "each font replaces the one before";
}

TEST_F(ColorLabel, TheTooltipHasOneToolAndIsRelayedByTheLabel)
{
    CProbeLabel& label = stage.m_device;
    EXPECT_FALSE(label.ActivateTip(TRUE)) << "no tool yet";
    EXPECT_TRUE(label.SetTipText("first", TRUE));
    EXPECT_TRUE(label.SetTipText("second", FALSE));
    EXPECT_TRUE(label.ActivateTip(TRUE));
    HWND tip = label.m_tooltip.m_hWnd;
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    TOOLINFOA tool = {};
    char text[32] = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = label.m_hWnd;
    tool.uId = CColorLabelCommon::kTipToolId;
    tool.lpszText = text;
    SendMessageA(tip, TTM_GETTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(text, "second");
    ASSERT_TRUE(SendMessageA(tip, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & TTF_SUBCLASS, 0u) << "the label relays its messages itself";
    EXPECT_FALSE(label.SetTipText(nullptr, TRUE));
}

TEST_F(ColorLabel, AButtonWithoutInputIgnoresClicksAndKeysButNotTheProgram)
{
    CColorLabelButton& complete = stage.m_complete;
    ASSERT_TRUE(complete.EnableMouseAndKeys(FALSE));
    complete.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    complete.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(complete.SendMessage(BM_GETCHECK), BST_UNCHECKED) << "a click";
    complete.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(3, 3));
    complete.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(complete.SendMessage(BM_GETCHECK), BST_UNCHECKED) << "a double click";
    complete.SetFocus();
    complete.SendMessage(WM_KEYDOWN, VK_SPACE, 0x00390001);
    complete.SendMessage(WM_KEYUP, VK_SPACE, 0xC0390001);
    EXPECT_EQ(complete.SendMessage(BM_GETCHECK), BST_UNCHECKED) << "the space bar";
    complete.SendMessage(BM_CLICK);
    EXPECT_EQ(complete.SendMessage(BM_GETCHECK), BST_UNCHECKED) << "a click message";
    complete.SendMessage(BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(complete.SendMessage(BM_GETCHECK), BST_CHECKED) << "the program still checks it";

    CColorLabelButton& fast = stage.m_fast;
    fast.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    fast.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(fast.SendMessage(BM_GETCHECK), BST_CHECKED) << "a button with input takes the click";
}

TEST_F(ColorLabel, AButtonLabelIsColouredThroughTheParent)
{
    CColorLabelButton& fast = stage.m_fast;
    ASSERT_TRUE(fast.SetTextColour(RGB(250, 0, 0)));
    auto transparent = Printed(fast);
    EXPECT_GT(transparent->Count(RGB(250, 0, 0)), 5) << "the caption in the label's colour";
    EXPECT_GT(PatternPixels(*transparent), 0) << "what lies behind shows through";
    ASSERT_TRUE(fast.SetTransparentBackground(FALSE));
    ASSERT_TRUE(fast.SetBackgroundColour(RGB(10, 120, 10)));
    auto solid = Printed(fast);
    EXPECT_EQ(PatternPixels(*solid), 0);
    EXPECT_GT(solid->Count(RGB(10, 120, 10)), 20);
}

}  // namespace
