// brimlet/skin/color_label.h
// Texts of Brimlet's skinned dialogs in their own colours and font, on a solid colour or with a
// transparent background over the dialog's picture, each with an optional tooltip: CColorLabel
// for plain texts (a static) and CColorLabelButton for radio buttons and check boxes, which can
// also ignore the mouse and the keyboard. Both take over a template control (DDX_Control) and
// colour it through the colour notification that the parent reflects back to them, so Windows
// still draws the text and the button.
#pragma once

#include "platform/dialogs/dialogs.h"

// What the two label classes share: the colours, the background, the font and the tooltip.
class CColorLabelCommon
{
public:
    static constexpr UINT kTipToolId = 1;
    static constexpr int kTipMaxWidth = 400;

    // Transparent, with the system's window-text colour, until told otherwise.
    explicit CColorLabelCommon(CWnd& control);
    virtual ~CColorLabelCommon() = default;
    CColorLabelCommon(const CColorLabelCommon&) = delete;
    CColorLabelCommon& operator=(const CColorLabelCommon&) = delete;

    BOOL SetBackgroundColour(COLORREF colour);
    BOOL GetBackgroundColour(COLORREF& colour) const;
    BOOL SetTextColour(COLORREF colour);
    BOOL GetTextColour(COLORREF& colour) const;
    BOOL SetTransparentBackground(BOOL transparent);
    BYTE GetTransparentBackground() const { return m_transparent; }

    // A whole new font: the size in points for the control's device, bold, italic and face
    // name. A face name longer than a LOGFONT holds (31 characters) is refused: FALSE.
    BOOL CreateLabelFont(int pointSize, BOOL bold, BOOL italic, LPCSTR faceName);
    // The font the control reports (WM_GETFONT), or the system font when it reports none.
    BOOL GetLabelFont(LOGFONTA& logFont) const;
    // Each changes the current font (GetLabelFont) in one respect.
    BOOL SetFontWeightBold(BOOL bold);
    BOOL SetFontItalic(BOOL italic);
    BOOL SetFontPointSize(int pointSize);
    BOOL SetFontFaceName(LPCSTR faceName);

    // The tooltip is made on first need; it has one tool, the control's client area.
    BOOL EnsureTip();
    BOOL SetTipText(LPCSTR text, BOOL activate);
    // FALSE while the tooltip holds no tool.
    BOOL ActivateTip(BOOL activate);

protected:
    // The reflected colour query and the background erase of the control.
    HBRUSH LabelCtlColor(CDC* dc);
    void PrepareErase(CDC* dc);
    void RelayToTip(MSG* msg);
    // Deletes the font held, makes one from the description and gives it to the control.
    BOOL ApplyLogFont(const LOGFONTA& logFont);
    int ControlDotsPerInch() const;
    void Repaint();

    CToolTipCtrl m_tooltip;
    CFont m_font;
    COLORREF m_textColour;
    COLORREF m_backgroundColour;
    CBrush m_backgroundBrush;
    CBrush m_hollowBrush;  // the stock NULL_BRUSH, held without ownership
    BYTE m_transparent = TRUE;

private:
    CWnd& m_control;
};

class CColorLabel : public CStatic, public CColorLabelCommon
{
    DECLARE_DYNAMIC(CColorLabel)
public:
    CColorLabel() : CColorLabelCommon(static_cast<CWnd&>(*this)) {}
    ~CColorLabel() override = default;

    // Escapement and orientation of the current font, in degrees.
    BOOL SetFontAngle(int degrees);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    HBRUSH CtlColor(CDC* dc, UINT kind);
    BOOL OnEraseBkgnd(CDC* dc);
};

class CColorLabelButton : public CButton, public CColorLabelCommon
{
    DECLARE_DYNAMIC(CColorLabelButton)
public:
    CColorLabelButton() : CColorLabelCommon(static_cast<CWnd&>(*this)) {}
    ~CColorLabelButton() override = default;

    // FALSE: mouse clicks and key presses do nothing; the program can still check the button.
    BOOL EnableMouseAndKeys(BOOL enable);

    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    DECLARE_MESSAGE_MAP()
    HBRUSH CtlColor(CDC* dc, UINT kind);
    BOOL OnEraseBkgnd(CDC* dc);

    BYTE m_input = TRUE;
};
