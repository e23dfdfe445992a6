// The licence's text box: black text straight on the dialog's picture, and the parent's picture
// painted again under it whenever its text changes, scrolls or gets selected.
#include <gtest/gtest.h>

#include "tests/windows/skin/text_stage.h"
#include "tests/windows/support/gdi_objects.h"

#include <string>

namespace {

using namespace skin_test;

struct ColorEdit : testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(stage.Open());
        std::string text;
        for (int line = 1; line <= 30; ++line)
            text += "Line " + std::to_string(line) + " of the licence\r\n";
        stage.m_text.SetWindowText(text.c_str());
        stage.UpdateWindow();
    }
    void TearDown() override { stage.DestroyWindow(); }

    // Whether the parent has to paint the area under the text box again.
    bool BehindIsInvalid()
    {
        CRect update;
        if (!::GetUpdateRect(stage.m_hWnd, &update, FALSE))
            return false;
        CRect box = stage.PlaceOf(stage.m_text);
        CRect both;
        both.IntersectRect(&update, &box);
        return both == box;
    }
    void Settle()
    {
        stage.UpdateWindow();
        ::ValidateRect(stage.m_hWnd, nullptr);
    }

    CTextStage stage;
};

TEST_F(ColorEdit, AControlNeverGivenColoursDrawsBlackTextOnWhatLiesBehind)
{
    CRect client;
    stage.m_text.GetClientRect(&client);
    Canvas canvas(client.Width(), client.Height());
    canvas.FillPattern();
    stage.m_text.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_GT(canvas.Count(RGB(0, 0, 0)), 20) << "black text";
    EXPECT_EQ(canvas.Count(GetSysColor(COLOR_WINDOW)), 0) << "no background of its own";
    int behind = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            behind += canvas.At(x, y) == BackgroundAt(x, y) ? 1 : 0;
    EXPECT_GT(behind, canvas.width() * canvas.height() / 2);
}

TEST_F(ColorEdit, EachColourQueryReplacesTheSolidBrush)
{
    CProbeEdit& edit = stage.m_text;
    HDC dc = GetDC(edit.m_hWnd);
    auto query = [&] {
        return reinterpret_cast<HBRUSH>(stage.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(edit.m_hWnd)));
    };
    EXPECT_EQ(query(), GetStockObject(NULL_BRUSH)) << "transparent";
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));

    edit.m_backgroundColour = RGB(9, 90, 9);
    query();
    const DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    HBRUSH brush = nullptr;
    for (int i = 0; i < 50; ++i)
        brush = query();
    const DWORD after = test_support::CountGdiObjects();
    EXPECT_LE(after, before) << "one brush alive at a time: " << before << " -> " << after;
    LOGBRUSH solid = {};
    ASSERT_TRUE(GetObjectA(brush, sizeof solid, &solid));
    EXPECT_EQ(solid.lbColor, RGB(9, 90, 9));
    EXPECT_EQ(GetBkColor(dc), RGB(9, 90, 9));

    edit.m_backgroundColour = CColorEdit::kTransparent;
    EXPECT_EQ(query(), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetObjectType(brush), 0u) << "the solid brush went with the change";
    EXPECT_EQ(GetObjectType(GetStockObject(NULL_BRUSH)), static_cast<DWORD>(OBJ_BRUSH)) << "the stock brush is only borrowed";
    ReleaseDC(edit.m_hWnd, dc);
}

TEST_F(ColorEdit, DraggingWithTheLeftButtonRepaintsBehindOnEveryMove)
{
    CProbeEdit& edit = stage.m_text;
    Settle();
    edit.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(BehindIsInvalid()) << "moving without a button";
    edit.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(BehindIsInvalid()) << "pressing";
    Settle();
    edit.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 20));
    EXPECT_TRUE(BehindIsInvalid()) << "dragging a selection";
    int start = 0, end = 0;
    edit.GetSel(start, end);
    EXPECT_LT(start, end) << "the edit control still selects";
    edit.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(40, 20));
}

TEST_F(ColorEdit, ScrollingRepaintsBehindAfterTheScroll)
{
    CProbeEdit& edit = stage.m_text;
    Settle();
    ASSERT_EQ(edit.SendMessage(EM_GETFIRSTVISIBLELINE), 0);
    edit.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(edit.SendMessage(EM_GETFIRSTVISIBLELINE), 1) << "the edit control scrolled";
    EXPECT_TRUE(BehindIsInvalid());
}

TEST_F(ColorEdit, ChangingTheTextLosingTheFocusOrTheColourRepaintsBehind)
{
    CProbeEdit& edit = stage.m_text;
    Settle();
    // (A multi-line edit control sends no EN_UPDATE for WM_SETTEXT.)
    edit.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>("Another text"));
    EXPECT_TRUE(BehindIsInvalid()) << "EN_UPDATE";
    edit.SetFocus();
    Settle();
    stage.m_fast.SetFocus();
    EXPECT_TRUE(BehindIsInvalid()) << "EN_KILLFOCUS";
    Settle();
    edit.SetTextColour(RGB(200, 0, 0));
    EXPECT_TRUE(BehindIsInvalid());
    CRect client;
    edit.GetClientRect(&client);
    Canvas canvas(client.Width(), client.Height());
    canvas.FillPattern();
    edit.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_GT(canvas.Count(RGB(200, 0, 0)), 10);
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0)), 0);
}

}  // namespace
