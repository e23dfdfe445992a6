// brimlet/skin/color_edit.cpp
#include "brimlet/skin/color_edit.h"

IMPLEMENT_DYNAMIC(CColorEdit, CEdit)

BEGIN_MESSAGE_MAP(CColorEdit, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
    ON_EN_UPDATE_REFLECT(&CColorEdit::OnEditUpdate)
    ON_EN_KILLFOCUS_REFLECT(&CColorEdit::OnEditKillFocus)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

void CColorEdit::SetTextColour(COLORREF colour)
{
    m_textColour = colour;
    RedrawBehind();
}

void CColorEdit::RedrawBehind()
{
    CWnd* parent = GetParent();
    if (!m_hWnd || !parent)
        return;
    CRect area;
    GetWindowRect(&area);
    parent->ScreenToClient(&area);
    parent->InvalidateRect(&area, TRUE);
}

HBRUSH CColorEdit::CtlColor(CDC* dc, UINT)
{
    // The stock brush is held without ownership: deleting it does nothing.
    m_backgroundBrush.DeleteObject();
    if (m_backgroundColour == kTransparent) {
        m_backgroundBrush.CreateStockObject(NULL_BRUSH);
        dc->SetBkMode(TRANSPARENT);
    } else {
        m_backgroundBrush.CreateSolidBrush(m_backgroundColour);
        dc->SetBkColor(m_backgroundColour);
    }
    dc->SetTextColor(m_textColour);
    return m_backgroundBrush;
}

void CColorEdit::OnEditUpdate() { RedrawBehind(); }

void CColorEdit::OnEditKillFocus() { RedrawBehind(); }

void CColorEdit::OnLButtonDown(UINT flags, CPoint point)
{
    RedrawBehind();
    CEdit::OnLButtonDown(flags, point);
}

void CColorEdit::OnMouseMove(UINT flags, CPoint point)
{
    if (flags & MK_LBUTTON)
        RedrawBehind();
    CEdit::OnMouseMove(flags, point);
}

void CColorEdit::OnVScroll(UINT code, UINT position, CWnd* scrollBar)
{
    CEdit::OnVScroll(code, position, scrollBar);
    RedrawBehind();
}
