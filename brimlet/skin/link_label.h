// brimlet/skin/link_label.h
// CLinkLabel: a static that paints its own text in its own font and colours, on a solid colour,
// a horizontal gradient or a transparent background; optionally raised (a second copy offset by
// one pixel), rotated about the centre, flashing, framed, and clickable as a hyperlink or an
// e-mail link. Every setter answers the label, so calls can be chained. It takes over a template
// static (DDX_Control).
#pragma once

#include "platform/dialogs/dialogs.h"

// The notification code (WM_NOTIFY) of a click that a label reports to its parent.
constexpr UINT LinkClickNotify = 0x8200;

class CLinkLabel : public CStatic
{
    DECLARE_DYNAMIC(CLinkLabel)
public:
    enum LinkKind : int { kNoLink = 0, kHyperlink = 1, kMailLink = 2 };
    enum FlashMode : int { kNoFlash = 0, kFlashingText = 1, kFlashingBackground = 2 };
    static constexpr UINT_PTR kFlashTimer = 1;
    static constexpr UINT kFlashMilliseconds = 500;
    static constexpr int kGradientBands = 100;

    CLinkLabel();
    ~CLinkLabel() override;

    // Background colour (left), gradient end colour (right) and whether the background is that
    // gradient or solid in the first colour.
    virtual CLinkLabel& SetBackgroundFill(COLORREF colour, COLORREF endColour, BOOL gradient);
    virtual CLinkLabel& SetTextColour(COLORREF colour);
    // Only while the window exists.
    virtual CLinkLabel& SetLabelText(LPCSTR text);
    virtual CLinkLabel& SetFontWeightBold(BOOL bold);
    // A face name longer than a LOGFONT holds (31 characters) leaves the font as it is.
    virtual CLinkLabel& SetFontFaceName(LPCSTR faceName, BYTE charSet);
    virtual CLinkLabel& SetFontUnderline(BOOL underline);
    virtual CLinkLabel& SetFontItalic(BOOL italic);
    virtual CLinkLabel& SetFontPointSize(int pointSize);
    virtual CLinkLabel& SetSunkenEdge(BOOL sunken);
    virtual CLinkLabel& SetBorderLine(BOOL border);
    // Transparent: the parent's picture stands behind the text (WS_EX_TRANSPARENT while it is).
    virtual CLinkLabel& SetTransparentBackground(BOOL transparent);
    virtual CLinkLabel& FlashText(BOOL flash);
    virtual CLinkLabel& FlashBackground(BOOL flash);
    // A click opens the link target (or the window text), or only tells the parent.
    virtual CLinkLabel& SetLink(BOOL link, BOOL notifyParent);
    virtual CLinkLabel& SetLinkCursor(HCURSOR cursor);
    // direction FALSE: the copy lies one pixel up and left; TRUE: down and right.
    virtual CLinkLabel& SetRaisedText(BOOL raised, BOOL direction);
    virtual CLinkLabel& SetTextRotation(int degrees, BOOL rotated);
    virtual CLinkLabel& SetRaisedTextColour(COLORREF colour);
    virtual CLinkLabel& SetLogFont(LOGFONTA logFont);
    // A click opens "mailto:" and the window text, or only tells the parent.
    virtual CLinkLabel& SetMailLink(BOOL link, BOOL notifyParent);
    virtual CLinkLabel& SetLinkTarget(LPCSTR target);

    // The font from the description; the label selects it when it paints.
    void RebuildFont();
    // Repaints the label now, and the parent's picture under a transparent one.
    void RedrawLabel();
    // At most bands vertical bands from start (left) to end (right); nothing for no width.
    void FillGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, int bands = kGradientBands);

protected:
    DECLARE_MESSAGE_MAP()
    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

    void OnTimer(UINT_PTR id);
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message);
    void OnSysColorChange();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);

    void StartFlashing(int mode);
    void StopFlashing();
    void Paint(CDC* dc, const CRect& client);
    UINT TextFormat() const;
    // Hands a clicked link to the shell (ShellExecuteA); a failure is left alone.
    virtual void OpenInShell(LPCSTR verb, LPCSTR file);

    COLORREF m_textColour;
    COLORREF m_raisedTextColour = RGB(255, 255, 255);
    HBRUSH m_defaultBackgroundBrush;
    HBRUSH m_backgroundBrush = nullptr;
    LOGFONTA m_logFont = {};
    CFont m_font;
    BOOL m_flashPhase = FALSE;
    BOOL m_timerRunning = FALSE;
    int m_linkKind = kNoLink;
    BOOL m_transparent = FALSE;
    BOOL m_raisedText = FALSE;
    BOOL m_notifyParent = FALSE;
    BOOL m_rotated = FALSE;
    int m_flashMode = kNoFlash;
    HCURSOR m_linkCursor = nullptr;
    BOOL m_raisedDirection = FALSE;
    BOOL m_gradient = FALSE;
    COLORREF m_gradientEndColour = 0;
    COLORREF m_backgroundColour = 0;
    CString m_linkTarget;
    CString m_text;
};
