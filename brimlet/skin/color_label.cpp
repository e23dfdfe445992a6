// brimlet/skin/color_label.cpp
#include "brimlet/skin/color_label.h"

#include <cstring>

#include "core/skin/font_height.h"

// --- what both labels share

CColorLabelCommon::CColorLabelCommon(CWnd& control)
    : m_textColour(::GetSysColor(COLOR_WINDOWTEXT)), m_backgroundColour(::GetSysColor(COLOR_WINDOW)),
      m_control(control)
{
    m_backgroundBrush.CreateSolidBrush(m_backgroundColour);
    m_hollowBrush.CreateStockObject(NULL_BRUSH);
}

void CColorLabelCommon::Repaint()
{
    if (m_control.m_hWnd)
        m_control.InvalidateRect(nullptr, TRUE);
}

BOOL CColorLabelCommon::SetBackgroundColour(COLORREF colour)
{
    m_backgroundColour = colour;
    m_backgroundBrush.DeleteObject();
    m_backgroundBrush.CreateSolidBrush(colour);
    Repaint();
    return TRUE;
}

BOOL CColorLabelCommon::GetBackgroundColour(COLORREF& colour) const
{
    colour = m_backgroundColour;
    return TRUE;
}

BOOL CColorLabelCommon::SetTextColour(COLORREF colour)
{
    m_textColour = colour;
    Repaint();
    return TRUE;
}

BOOL CColorLabelCommon::GetTextColour(COLORREF& colour) const
{
    colour = m_textColour;
    return TRUE;
}

BOOL CColorLabelCommon::SetTransparentBackground(BOOL transparent)
{
    m_transparent = transparent ? TRUE : FALSE;
    Repaint();
    return TRUE;
}

int CColorLabelCommon::ControlDotsPerInch() const
{
    HDC dc = ::GetDC(m_control.m_hWnd);
    int dotsPerInch = ::GetDeviceCaps(dc, LOGPIXELSY);
    ::ReleaseDC(m_control.m_hWnd, dc);
    return dotsPerInch;
}

BOOL CColorLabelCommon::CreateLabelFont(int pointSize, BOOL bold, BOOL italic, LPCSTR faceName)
{
    LOGFONTA logFont = {};
    if (faceName && std::strlen(faceName) >= sizeof logFont.lfFaceName)
        return FALSE;
    logFont.lfHeight = skin::PointSizeToHeight(pointSize, ControlDotsPerInch());
    logFont.lfWeight = bold ? FW_BOLD : 0;
    logFont.lfItalic = italic ? TRUE : FALSE;
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        lstrcpynA(logFont.lfFaceName, faceName, sizeof logFont.lfFaceName);
    return ApplyLogFont(logFont);
}

BOOL CColorLabelCommon::GetLabelFont(LOGFONTA& logFont) const
{
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(m_control.SendMessage(WM_GETFONT));
    if (!font)
        font = ::GetStockObject(SYSTEM_FONT);
    return ::GetObjectA(font, sizeof logFont, &logFont) != 0;
}

BOOL CColorLabelCommon::ApplyLogFont(const LOGFONTA& logFont)
{
    m_font.DeleteObject();
    if (!m_font.CreateFontIndirect(&logFont))
        return FALSE;
    m_control.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.m_hObject), TRUE);
    return TRUE;
}

BOOL CColorLabelCommon::SetFontWeightBold(BOOL bold)
{
    LOGFONTA logFont = {};
    GetLabelFont(logFont);
    logFont.lfWeight = bold ? FW_BOLD : 0;
    return ApplyLogFont(logFont);
}

BOOL CColorLabelCommon::SetFontItalic(BOOL italic)
{
    LOGFONTA logFont = {};
    GetLabelFont(logFont);
    logFont.lfItalic = italic != 0;
    return ApplyLogFont(logFont);
}

BOOL CColorLabelCommon::SetFontPointSize(int pointSize)
{
    LOGFONTA logFont = {};
    GetLabelFont(logFont);
    logFont.lfHeight = skin::PointSizeToHeight(pointSize, ControlDotsPerInch());
    logFont.lfWidth = 0;
    return ApplyLogFont(logFont);
}

BOOL CColorLabelCommon::SetFontFaceName(LPCSTR faceName)
{
    LOGFONTA logFont = {};
    if (!faceName || std::strlen(faceName) >= sizeof logFont.lfFaceName)
        return FALSE;
    GetLabelFont(logFont);
    lstrcpynA(logFont.lfFaceName, faceName, sizeof logFont.lfFaceName);
    return ApplyLogFont(logFont);
}

BOOL CColorLabelCommon::EnsureTip()
{
    if (m_tooltip.m_hWnd)
        return TRUE;
    if (!m_control.m_hWnd || !m_tooltip.Create(&m_control, 0))
        return FALSE;
    m_tooltip.Activate(TRUE);
    m_tooltip.SetMaxTipWidth(kTipMaxWidth);
    return TRUE;
}

BOOL CColorLabelCommon::SetTipText(LPCSTR text, BOOL activate)
{
    if (!text || !EnsureTip())
        return FALSE;
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        m_control.GetClientRect(&client);
        // No TTF_SUBCLASS: PreTranslateMessage relays the control's mouse messages itself.
        m_tooltip.AddTool(&m_control, text, &client, kTipToolId);
    }
    m_tooltip.UpdateTipText(text, &m_control, kTipToolId);
    m_tooltip.Activate(activate);
    return TRUE;
}

BOOL CColorLabelCommon::ActivateTip(BOOL activate)
{
    if (!m_tooltip.m_hWnd || m_tooltip.GetToolCount() == 0)
        return FALSE;
    m_tooltip.Activate(activate);
    return TRUE;
}

HBRUSH CColorLabelCommon::LabelCtlColor(CDC* dc)
{
    HBRUSH brush;
    if (m_transparent) {
        dc->SetBkMode(TRANSPARENT);
        brush = m_hollowBrush;
    } else {
        dc->SetBkMode(OPAQUE);
        dc->SetBkColor(m_backgroundColour);
        brush = m_backgroundBrush;
    }
    dc->SetTextColor(m_textColour);
    return brush;
}

void CColorLabelCommon::PrepareErase(CDC* dc)
{
    if (m_transparent)
        dc->SetBkMode(TRANSPARENT);
    else
        dc->SetBkColor(m_backgroundColour);
}

void CColorLabelCommon::RelayToTip(MSG* msg)
{
    if (EnsureTip())
        m_tooltip.RelayEvent(msg);
}

// --- CColorLabel

IMPLEMENT_DYNAMIC(CColorLabel, CStatic)

BEGIN_MESSAGE_MAP(CColorLabel, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CColorLabel::SetFontAngle(int degrees)
{
    LOGFONTA logFont = {};
    GetLabelFont(logFont);
    logFont.lfEscapement = degrees * 10;
    logFont.lfOrientation = degrees * 10;
    return ApplyLogFont(logFont);
}

BOOL CColorLabel::PreTranslateMessage(MSG* msg)
{
    RelayToTip(msg);
    return CStatic::PreTranslateMessage(msg);
}

HBRUSH CColorLabel::CtlColor(CDC* dc, UINT) { return LabelCtlColor(dc); }

BOOL CColorLabel::OnEraseBkgnd(CDC* dc)
{
    PrepareErase(dc);
    return CStatic::OnEraseBkgnd(dc);
}

// --- CColorLabelButton

IMPLEMENT_DYNAMIC(CColorLabelButton, CButton)

BEGIN_MESSAGE_MAP(CColorLabelButton, CButton)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

BOOL CColorLabelButton::EnableMouseAndKeys(BOOL enable)
{
    m_input = enable ? TRUE : FALSE;
    return TRUE;
}

BOOL CColorLabelButton::PreTranslateMessage(MSG* msg)
{
    RelayToTip(msg);
    return CButton::PreTranslateMessage(msg);
}

LRESULT CColorLabelButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_input && (message == WM_KEYDOWN || message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK))
        return 0;
    return CButton::WindowProc(message, wParam, lParam);
}

HBRUSH CColorLabelButton::CtlColor(CDC* dc, UINT) { return LabelCtlColor(dc); }

BOOL CColorLabelButton::OnEraseBkgnd(CDC* dc)
{
    PrepareErase(dc);
    return CButton::OnEraseBkgnd(dc);
}
