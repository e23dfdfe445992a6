// brimlet/skin/color_edit.h
// CColorEdit: an edit control with its own text colour and a solid or a transparent background,
// so that text can stand directly on a skinned dialog's picture. With a transparent background
// nothing erases old text, so every change, scroll or selection makes the parent paint its
// picture under the control again before the control draws its text over it. It takes over an
// edit control of a dialog template (DDX_Control).
#pragma once

#include "platform/dialogs/dialogs.h"

class CColorEdit : public CEdit
{
    DECLARE_DYNAMIC(CColorEdit)
public:
    // The background colour that means "transparent".
    static constexpr COLORREF kTransparent = 0xFFFFFFFF;

    CColorEdit() = default;
    ~CColorEdit() override = default;

    // Stores the colour and has the parent repaint its picture under the control.
    void SetTextColour(COLORREF colour);
    // Invalidates, with erasing, the parent's area under the control.
    void RedrawBehind();

protected:
    DECLARE_MESSAGE_MAP()
    HBRUSH CtlColor(CDC* dc, UINT kind);
    void OnEditUpdate();
    void OnEditKillFocus();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);

    COLORREF m_textColour = RGB(0, 0, 0);
    COLORREF m_backgroundColour = kTransparent;
    // Rebuilt at every colour query: a solid brush of the background colour (owned), or the stock
    // NULL_BRUSH (borrowed) for a transparent background.
    CBrush m_backgroundBrush;
};
