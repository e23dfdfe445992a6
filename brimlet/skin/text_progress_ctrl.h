// brimlet/skin/text_progress_ctrl.h
// CTextProgressCtrl: a progress bar (msctls_progress32) that draws itself: a two-colour bar with a
// text across it, drawn in the background colour over the bar and in the bar colour elsewhere, so
// it reads at every position. It keeps range, position, step and colours itself and answers the
// progress bar messages from them, plus WM_SETTEXT, WM_GETTEXT, PBM_SETTEXTCOLOR and PBM_SHOWTEXT.
#pragma once

#include "platform/dialogs/dialogs.h"

constexpr UINT PBM_SETTEXTCOLOR = WM_USER + 100;
constexpr UINT PBM_SHOWTEXT = WM_USER + 101;

class CTextProgressCtrl : public CProgressCtrl
{
    DECLARE_DYNAMIC(CTextProgressCtrl)
public:
    CTextProgressCtrl() = default;
    ~CTextProgressCtrl() override = default;

    // CLR_DEFAULT: the bar in COLOR_HIGHLIGHT, the rest in COLOR_WINDOW, the text in the colour of
    // the other part. Each returns the colour it replaces.
    COLORREF SetBarColor(COLORREF color);
    COLORREF SetBgColor(COLORREF color);
    COLORREF SetTextForeColor(COLORREF color);
    COLORREF GetBarColor() const { return m_barColor; }
    COLORREF GetBgColor() const { return m_backgroundColor; }
    COLORREF GetTextForeColor() const { return m_textColor; }
    void SetShowText(BOOL show);
    // 0, 1 or 2: DT_LEFT, DT_CENTER or DT_RIGHT, always centred vertically on one line; FALSE for
    // anything else.
    BOOL SetTextFormat(UINT alignment);
    BOOL SetTextFormatNoRedraw(UINT alignment);

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnDeltaPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBarColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetBkColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetPos(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRange(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetRange32(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStep(WPARAM wParam, LPARAM lParam);
    LRESULT OnStepIt(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetTextColor(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowText(WPARAM wParam, LPARAM lParam);

    void Redraw();

    COLORREF m_textColor = CLR_DEFAULT;
    int m_position = 0;
    int m_step = 1;
    int m_maximum = 100;
    int m_minimum = 0;
    CString m_text;
    BOOL m_showText = TRUE;
    int m_barWidth = -1;
    int m_barPercent = -1;  // the percentage at the last position change
    COLORREF m_barColor = CLR_DEFAULT;
    COLORREF m_backgroundColor = CLR_DEFAULT;
    UINT m_textFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
};
