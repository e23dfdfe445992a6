// The link label: its own painting (solid, gradient, transparent, raised, rotated, flashing) read
// back from the window, its font setters, and clicks that open a link or tell the parent.
#include <gtest/gtest.h>

#include "core/skin/font_height.h"
#include "core/skin/gradient.h"
#include "tests/windows/skin/text_stage.h"

#include <cstring>
#include <string>

namespace {

using namespace skin_test;

struct LinkLabel : testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(stage.Open());
        // A label of 100 x 20 pixels, well inside the dialog's picture.
        stage.m_link.SetWindowPos(nullptr, 20, 20, 100, 20, SWP_NOZORDER | SWP_NOACTIVATE);
        stage.m_link.SetWindowText("Link text");
        stage.m_link.SetTextColour(RGB(250, 0, 0));
    }
    void TearDown() override { stage.DestroyWindow(); }

    // What the label shows after it painted.
    std::unique_ptr<Canvas> Shown()
    {
        stage.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        CRect client;
        stage.m_link.GetClientRect(&client);
        auto canvas = std::make_unique<Canvas>(client.Width(), client.Height());
        canvas->CopyFromWindow(stage.m_link.m_hWnd);
        return canvas;
    }
    static bool IsRed(COLORREF c) { return c == RGB(250, 0, 0); }

    CTextStage stage;
};

TEST_F(LinkLabel, SetLabelTextBeforeTheWindowExistsStoresNothing)
{
    CProbeLink unbound;
    unbound.SetLabelText("early");
    EXPECT_TRUE(unbound.m_text.IsEmpty());
    unbound.SetTextColour(RGB(1, 2, 3)).SetFontItalic(TRUE).SetBackgroundFill(RGB(4, 5, 6), 0, FALSE);  // no window: no harm

    // Bound, the first paint (when the dialog opened) took the window text of then; SetLabelText
    // replaces what is drawn.
    Shown();
    EXPECT_EQ(stage.m_link.m_text, "Link");
    stage.m_link.SetLabelText("Later text");
    EXPECT_EQ(stage.m_link.m_text, "Later text");
}

TEST_F(LinkLabel, ASolidLabelPaintsItsBackgroundAndText)
{
    stage.m_link.SetBackgroundFill(RGB(10, 200, 10), 0, FALSE);
    auto shown = Shown();
    const int all = shown->width() * shown->height();
    EXPECT_GT(shown->Count(RGB(10, 200, 10)), all / 2);
    EXPECT_GT(shown->Count(IsRed), 10);

    // Without a colour of its own: the default background, COLOR_BTNFACE.
    CProbeLink& link = stage.m_link;
    ::DeleteObject(link.m_backgroundBrush);
    link.m_backgroundBrush = nullptr;
    auto plain = Shown();
    EXPECT_GT(plain->Count(GetSysColor(COLOR_BTNFACE)), all / 2);
}

TEST_F(LinkLabel, GradientBandsAreDrawnAcrossTheWholeLabel)
{
    struct Case {
        int width;
        int firstBandWidth;
        int lastBandWidth;
    };
    for (Case c : {Case{50, 1, 1}, Case{250, 2, 52}}) {
        Canvas canvas(c.width, 12, RGB(1, 2, 3));
        CRect rect(0, 0, c.width, 12);
        stage.m_link.FillGradient(CDC::FromHandle(canvas.dc()), rect, RGB(0, 0, 0), RGB(255, 0, 0));
        const auto bands = skin::GradientBands(0, c.width, RGB(0, 0, 0), RGB(255, 0, 0));
        int wrong = 0;
        for (const skin::GradientBand& band : bands)
            for (int x = band.left; x < band.right; ++x)
                for (int y : {0, 6, 11})
                    if (canvas.At(x, y) != band.colour && wrong++ < 3)
                        ADD_FAILURE() << c.width << " px: pixel " << x << "," << y << " " << std::hex << canvas.At(x, y);
        EXPECT_EQ(wrong, 0) << "every band, from the top row to the bottom one";
        EXPECT_EQ(canvas.At(c.firstBandWidth, 5), bands[1].colour) << c.width;
        EXPECT_EQ(canvas.At(c.width - c.lastBandWidth, 5), bands.back().colour) << c.width;
        EXPECT_NE(canvas.At(c.width - c.lastBandWidth - 1, 5), bands.back().colour) << c.width;
    }
    Canvas untouched(10, 10, RGB(1, 2, 3));
    stage.m_link.FillGradient(CDC::FromHandle(untouched.dc()), CRect(5, 0, 5, 10), 0, RGB(255, 0, 0));
    EXPECT_EQ(untouched.Count(RGB(1, 2, 3)), 100) << "no width, no bands";

    // Through the label's own painting: black at the left, blue at the right, no edge left out.
    stage.m_link.SetBackgroundFill(RGB(0, 0, 0), RGB(0, 0, 255), TRUE);
    stage.m_link.SetWindowText("");
    stage.m_link.SetLabelText("");
    auto shown = Shown();
    EXPECT_EQ(shown->At(0, 10), RGB(0, 0, 0));
    EXPECT_EQ(GetBValue(shown->At(99, 19)), 252) << "the bottom right corner";
    EXPECT_LT(GetBValue(shown->At(50, 19)), GetBValue(shown->At(99, 19)));
}

TEST_F(LinkLabel, ATransparentLabelShowsTheDialogsPictureBehindItsText)
{
    stage.m_link.SetTransparentBackground(TRUE);
    EXPECT_TRUE(stage.m_link.GetExStyle() & WS_EX_TRANSPARENT);
    auto shown = Shown();
    const CRect place = stage.PlaceOf(stage.m_link);
    int behind = 0;
    for (int y = 0; y < shown->height(); ++y)
        for (int x = 0; x < shown->width(); ++x)
            behind += shown->At(x, y) == BackgroundAt(place.left + x, place.top + y) ? 1 : 0;
    EXPECT_GT(behind, shown->width() * shown->height() * 7 / 10);
    EXPECT_GT(shown->Count(IsRed), 10);

    stage.m_link.SetTransparentBackground(FALSE);
    EXPECT_FALSE(stage.m_link.GetExStyle() & WS_EX_TRANSPARENT) << "a solid label paints in the usual order again";
    auto solid = Shown();
    EXPECT_GT(solid->Count(GetSysColor(COLOR_BTNFACE)), solid->width() * solid->height() / 2);
}

TEST_F(LinkLabel, FlashingTextBlinksBetweenItsColourAndTheBackgrounds)
{
    CProbeLink& link = stage.m_link;
    link.FlashText(TRUE);
    EXPECT_TRUE(link.m_timerRunning);
    EXPECT_EQ(link.m_flashMode, CLinkLabel::kFlashingText);
    auto off = Shown();
    EXPECT_EQ(off->Count(IsRed), 0) << "no background colour: the text is black";
    EXPECT_GT(off->Count(RGB(0, 0, 0)), 10);
    link.SendMessage(WM_TIMER, CLinkLabel::kFlashTimer);
    EXPECT_TRUE(link.m_flashPhase);
    auto on = Shown();
    EXPECT_GT(on->Count(IsRed), 10);

    link.SetBackgroundFill(RGB(10, 200, 10), 0, FALSE);
    link.SendMessage(WM_TIMER, CLinkLabel::kFlashTimer);
    auto hidden = Shown();
    EXPECT_EQ(hidden->Count(IsRed), 0);
    EXPECT_EQ(hidden->Count(RGB(10, 200, 10)), hidden->width() * hidden->height()) << "the text vanishes into the background";

    link.FlashText(FALSE);
    EXPECT_FALSE(link.m_timerRunning);
    EXPECT_EQ(link.m_flashMode, CLinkLabel::kNoFlash);
    EXPECT_FALSE(::KillTimer(link.m_hWnd, CLinkLabel::kFlashTimer)) << "the timer is gone";

    link.FlashBackground(TRUE);
    EXPECT_EQ(link.m_flashMode, CLinkLabel::kFlashingBackground);
    link.FlashBackground(FALSE);
    EXPECT_FALSE(link.m_timerRunning);
    EXPECT_EQ(link.m_flashMode, CLinkLabel::kFlashingBackground) << "the mode stays";
}

TEST_F(LinkLabel, RaisedTextLiesOnePixelOffInItsOwnColour)
{
    CProbeLink& link = stage.m_link;
    link.SetBackgroundFill(RGB(0, 0, 90), 0, FALSE);
    auto whiteBox = [&](BOOL direction) {
        link.SetRaisedText(TRUE, direction);
        return Shown()->Find([](COLORREF c) { return c == RGB(255, 255, 255); });
    };
    const RECT downRight = whiteBox(TRUE);
    const RECT upLeft = whiteBox(FALSE);
    ASSERT_LT(downRight.left, downRight.right) << "the copy is drawn in white";
    // (The copy up and left is cut at the label's left and top edges.)
    EXPECT_EQ(downRight.right - upLeft.right, 2);
    EXPECT_EQ(downRight.bottom - upLeft.bottom, 2);
    link.SetRaisedTextColour(RGB(0, 255, 255));
    EXPECT_GT(Shown()->Count(RGB(0, 255, 255)), 10);
}

TEST_F(LinkLabel, RotatedTextTurnsAboutTheCentre)
{
    CProbeLink& link = stage.m_link;
    link.SetWindowPos(nullptr, 20, 20, 80, 80, SWP_NOZORDER | SWP_NOACTIVATE);
    link.SetFontFaceName("Arial", ANSI_CHARSET).SetFontPointSize(10);
    auto flat = Shown()->Find(IsRed);
    link.SetTextRotation(90, TRUE);
    EXPECT_EQ(link.m_logFont.lfEscapement, 900);
    auto turned = Shown()->Find(IsRed);
    ASSERT_LT(turned.top, turned.bottom);
    EXPECT_GT(flat.right - flat.left, flat.bottom - flat.top) << "across";
    EXPECT_GT(turned.bottom - turned.top, turned.right - turned.left) << "upright";
    EXPECT_NEAR(turned.right, 40, 4) << "the baseline runs through the centre";
}

TEST_F(LinkLabel, FontSettersChangeTheDescriptionAndChain)
{
    CProbeLink& link = stage.m_link;
    HDC screen = GetDC(nullptr);
    const int dotsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    CLinkLabel& chained = link.SetFontWeightBold(TRUE).SetFontItalic(TRUE).SetFontUnderline(TRUE).SetFontPointSize(12);
    EXPECT_EQ(&chained, &link);
    EXPECT_EQ(link.m_logFont.lfWeight, FW_BOLD);
    EXPECT_TRUE(link.m_logFont.lfItalic);
    EXPECT_TRUE(link.m_logFont.lfUnderline);
    EXPECT_EQ(link.m_logFont.lfHeight, skin::PointSizeToHeight(12, dotsPerInch));
    link.SetFontWeightBold(FALSE);
    EXPECT_EQ(link.m_logFont.lfWeight, FW_NORMAL);

    link.SetFontFaceName("Arial", ANSI_CHARSET);
    link.SetFontFaceName(std::string(32, 'F').c_str(), GB2312_CHARSET);
    EXPECT_STREQ(link.m_logFont.lfFaceName, "Arial") << "a name that does not fit leaves the font";
    EXPECT_EQ(link.m_logFont.lfCharSet, ANSI_CHARSET);

    LOGFONTA odd = {};
    odd.lfHeight = -20;
    std::memset(odd.lfFaceName, 'X', sizeof odd.lfFaceName);  // no terminator
    link.SetLogFont(odd);
    EXPECT_EQ(std::strlen(link.m_logFont.lfFaceName), sizeof odd.lfFaceName - 1);
    EXPECT_EQ(link.m_logFont.lfHeight, -20);

    link.SetSunkenEdge(TRUE).SetBorderLine(TRUE);
    EXPECT_TRUE(link.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_TRUE(link.GetStyle() & WS_BORDER);
    link.SetSunkenEdge(FALSE).SetBorderLine(FALSE);
    EXPECT_FALSE(link.GetExStyle() & WS_EX_STATICEDGE);
    EXPECT_FALSE(link.GetStyle() & WS_BORDER);
}

TEST_F(LinkLabel, AClickWithNotifyParentOpensNothingAndTellsTheParent)
{
    CProbeLink& link = stage.m_link;
    const std::string marker = LinkProbeMarker();
    DeleteFileA(marker.c_str());
    link.SetLinkTarget(LinkProbePath().c_str()).SetLink(TRUE, TRUE);
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(stage.m_linkClicks, 1);
    EXPECT_EQ(stage.m_lastNotify.code, LinkClickNotify);
    EXPECT_EQ(stage.m_lastNotify.idFrom, 1018u);
    EXPECT_EQ(stage.m_lastNotify.hwndFrom, link.m_hWnd);
    Pump(500);
    EXPECT_EQ(GetFileAttributesA(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing was opened";

    link.SetMailLink(TRUE, TRUE);
    EXPECT_EQ(link.m_linkKind, CLinkLabel::kMailLink);
    link.SetLink(FALSE, FALSE);
    EXPECT_FALSE(link.GetStyle() & SS_NOTIFY);
    EXPECT_EQ(link.m_linkKind, CLinkLabel::kNoLink);
}

TEST_F(LinkLabel, AHyperlinkOpensItsTargetOrElseItsOwnText)
{
    CProbeLink& link = stage.m_link;
    const std::string marker = LinkProbeMarker();
    auto clickOpensTheProbe = [&] {
        DeleteFileA(marker.c_str());
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        return PumpUntil([&] { return GetFileAttributesA(marker.c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000);
    };
    link.SetLink(TRUE, FALSE).SetLinkTarget(LinkProbePath().c_str());
    EXPECT_TRUE(clickOpensTheProbe()) << "the link target";
    link.SetLinkTarget("");
    link.SetWindowText(LinkProbePath().c_str());
    EXPECT_TRUE(clickOpensTheProbe()) << "an empty target opens the label's own text";
    EXPECT_EQ(stage.m_linkClicks, 0);
    DeleteFileA(marker.c_str());
}

TEST_F(LinkLabel, AClickHandsTheShellTheTargetOrTheTextAndNeverAnEmptyName)
{
    CProbeLink& link = stage.m_link;
    link.m_forwardToShell = false;
    using Opened = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        bool mail;
        const char* target;
        const char* text;
        Opened opened;
    };
    const Case cases[] = {
        {false, "http://example.org/", "Label", {{"open", "http://example.org/"}}},
        {false, "", "http://example.org/", {{"open", "http://example.org/"}}},
        {false, "", "", {}},
        {true, "", "someone@example.org", {{"", "mailto:someone@example.org"}}},
    };
    for (const Case& c : cases) {
        if (c.mail)
            link.SetMailLink(TRUE, FALSE);
        else
            link.SetLink(TRUE, FALSE);
        link.SetLinkTarget(c.target);
        link.SetWindowText(c.text);
        link.m_opened.clear();
        link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(link.m_opened, c.opened) << "target \"" << c.target << "\", text \"" << c.text << "\"";
    }
}

TEST_F(LinkLabel, AColourChangeFromTheDialogRepaintsTheLabel)
{
    CProbeLink& link = stage.m_link;
    Shown();
    const int paints = link.m_paints;
    stage.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_GT(link.m_paints, paints);
    link.SetLinkCursor(LoadCursorA(nullptr, IDC_HAND));
    EXPECT_TRUE(link.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(link.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_HAND));
}

}  // namespace
