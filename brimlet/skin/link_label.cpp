// brimlet/skin/link_label.cpp
#include "brimlet/skin/link_label.h"

#include <shellapi.h>

#include <cstring>

#include "core/skin/gradient.h"

IMPLEMENT_DYNAMIC(CLinkLabel, CStatic)

BEGIN_MESSAGE_MAP(CLinkLabel, CStatic)
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_SYSCOLORCHANGE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CLinkLabel::CLinkLabel()
    : m_textColour(::GetSysColor(COLOR_WINDOWTEXT)),
      m_defaultBackgroundBrush(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)))
{
}

CLinkLabel::~CLinkLabel()
{
    m_font.DeleteObject();
    if (m_defaultBackgroundBrush)
        ::DeleteObject(m_defaultBackgroundBrush);
    if (m_backgroundBrush)
        ::DeleteObject(m_backgroundBrush);
}

void CLinkLabel::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
    if (!font)
        font = ::GetStockObject(SYSTEM_FONT);
    ::GetObjectA(font, sizeof m_logFont, &m_logFont);
    RebuildFont();
}

BOOL CLinkLabel::PreCreateWindow(CREATESTRUCTA& cs) { return CStatic::PreCreateWindow(cs); }

void CLinkLabel::RebuildFont()
{
    m_font.DeleteObject();
    m_font.CreateFontIndirect(&m_logFont);
}

void CLinkLabel::RedrawLabel()
{
    if (!m_hWnd)
        return;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CWnd* parent = GetParent();
    if (!parent)
        return;
    if (m_transparent) {
        CRect area;
        GetWindowRect(&area);
        parent->ScreenToClient(&area);
        parent->InvalidateRect(&area, TRUE);
    }
    parent->UpdateWindow();
}

// --- setters

CLinkLabel& CLinkLabel::SetBackgroundFill(COLORREF colour, COLORREF endColour, BOOL gradient)
{
    m_backgroundColour = colour;
    m_gradientEndColour = endColour;
    m_gradient = gradient;
    if (m_backgroundBrush) {
        ::DeleteObject(m_backgroundBrush);
        m_backgroundBrush = nullptr;
    }
    if (!gradient)
        m_backgroundBrush = ::CreateSolidBrush(colour);
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetTextColour(COLORREF colour)
{
    m_textColour = colour;
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetLabelText(LPCSTR text)
{
    if (!m_hWnd)
        return *this;
    m_text = text;
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontWeightBold(BOOL bold)
{
    m_logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontFaceName(LPCSTR faceName, BYTE charSet)
{
    if (!faceName || std::strlen(faceName) >= sizeof m_logFont.lfFaceName)
        return *this;
    m_logFont.lfCharSet = charSet;
    lstrcpynA(m_logFont.lfFaceName, faceName, sizeof m_logFont.lfFaceName);
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontUnderline(BOOL underline)
{
    m_logFont.lfUnderline = underline ? TRUE : FALSE;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontItalic(BOOL italic)
{
    m_logFont.lfItalic = italic ? TRUE : FALSE;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetFontPointSize(int pointSize)
{
    CFont sized;
    LOGFONTA measured = {};
    if (sized.CreatePointFont(pointSize * 10, m_logFont.lfFaceName) && sized.GetLogFont(&measured)) {
        m_logFont.lfHeight = measured.lfHeight;
        m_logFont.lfWidth = measured.lfWidth;
    }
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetSunkenEdge(BOOL sunken)
{
    if (m_hWnd)
        ModifyStyleEx(sunken ? 0 : WS_EX_STATICEDGE, sunken ? WS_EX_STATICEDGE : 0, SWP_FRAMECHANGED);
    return *this;
}

CLinkLabel& CLinkLabel::SetBorderLine(BOOL border)
{
    if (m_hWnd)
        ModifyStyle(border ? 0 : WS_BORDER, border ? WS_BORDER : 0, SWP_FRAMECHANGED);
    return *this;
}

CLinkLabel& CLinkLabel::SetTransparentBackground(BOOL transparent)
{
    m_transparent = transparent;
    // Painted after its siblings while it shows what lies behind it; a solid label is painted in
    // the usual order again.
    if (m_hWnd)
        ModifyStyleEx(transparent ? 0 : WS_EX_TRANSPARENT, transparent ? WS_EX_TRANSPARENT : 0);
    RedrawLabel();
    return *this;
}

void CLinkLabel::StopFlashing()
{
    if (m_timerRunning && m_hWnd)
        KillTimer(kFlashTimer);
    m_timerRunning = FALSE;
}

void CLinkLabel::StartFlashing(int mode)
{
    StopFlashing();
    m_flashPhase = FALSE;
    m_timerRunning = m_hWnd && SetTimer(kFlashTimer, kFlashMilliseconds) != 0;
    m_flashMode = mode;
}

CLinkLabel& CLinkLabel::FlashText(BOOL flash)
{
    if (flash) {
        StartFlashing(kFlashingText);
    } else {
        StopFlashing();
        m_flashMode = kNoFlash;
    }
    return *this;
}

CLinkLabel& CLinkLabel::FlashBackground(BOOL flash)
{
    if (flash)
        StartFlashing(kFlashingBackground);
    else
        StopFlashing();
    return *this;
}

CLinkLabel& CLinkLabel::SetLink(BOOL link, BOOL notifyParent)
{
    m_linkKind = link ? kHyperlink : kNoLink;
    m_notifyParent = notifyParent;
    // A static without SS_NOTIFY lets clicks through to its parent.
    if (m_hWnd)
        ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
    return *this;
}

CLinkLabel& CLinkLabel::SetLinkCursor(HCURSOR cursor)
{
    m_linkCursor = cursor;
    return *this;
}

CLinkLabel& CLinkLabel::SetRaisedText(BOOL raised, BOOL direction)
{
    m_raisedText = raised;
    m_raisedDirection = direction;
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetTextRotation(int degrees, BOOL rotated)
{
    m_logFont.lfEscapement = degrees * 10;
    m_logFont.lfOrientation = degrees * 10;
    m_rotated = rotated;
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetRaisedTextColour(COLORREF colour)
{
    m_raisedTextColour = colour;
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetLogFont(LOGFONTA logFont)
{
    m_logFont = logFont;
    m_logFont.lfFaceName[sizeof m_logFont.lfFaceName - 1] = '\0';
    RebuildFont();
    RedrawLabel();
    return *this;
}

CLinkLabel& CLinkLabel::SetMailLink(BOOL link, BOOL notifyParent)
{
    m_linkKind = link ? kMailLink : kNoLink;
    m_notifyParent = notifyParent;
    if (m_hWnd)
        ModifyStyle(link ? 0 : SS_NOTIFY, link ? SS_NOTIFY : 0);
    return *this;
}

CLinkLabel& CLinkLabel::SetLinkTarget(LPCSTR target)
{
    m_linkTarget = target;
    return *this;
}

// --- messages

void CLinkLabel::OnTimer(UINT_PTR id)
{
    if (id == kFlashTimer) {
        m_flashPhase = !m_flashPhase;
        RedrawLabel();
    }
    CStatic::OnTimer(id);
}

void CLinkLabel::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_notifyParent) {
        if (CWnd* parent = GetParent()) {
            NMHDR header = {m_hWnd, static_cast<UINT_PTR>(GetDlgCtrlID()), LinkClickNotify};
            parent->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&header));
        }
    } else if (m_linkKind != kNoLink) {
        CString text;
        GetWindowText(text);
        if (m_linkKind == kHyperlink) {
            // With no target and no text there is nothing to open, and an empty name must not
            // reach the shell, which would make something of it.
            const CString& file = m_linkTarget.IsEmpty() ? text : m_linkTarget;
            if (!file.IsEmpty())
                OpenInShell("open", file);
        } else {
            OpenInShell(nullptr, CString("mailto:") + text);
        }
    }
    CStatic::OnLButtonDown(flags, point);
}

void CLinkLabel::OpenInShell(LPCSTR verb, LPCSTR file)
{
    ::ShellExecuteA(nullptr, verb, file, nullptr, nullptr, SW_SHOWNORMAL);
}

BOOL CLinkLabel::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (m_linkCursor) {
        ::SetCursor(m_linkCursor);
        return TRUE;
    }
    return CStatic::OnSetCursor(window, hitTest, message);
}

void CLinkLabel::OnSysColorChange()
{
    if (m_defaultBackgroundBrush)
        ::DeleteObject(m_defaultBackgroundBrush);
    m_defaultBackgroundBrush = ::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
    RedrawLabel();
}

BOOL CLinkLabel::OnEraseBkgnd(CDC*) { return TRUE; }

void CLinkLabel::OnPaint()
{
    CPaintDC paintDC(this);
    CRect client;
    GetClientRect(&client);
    if (m_text.IsEmpty())
        GetWindowText(m_text);
    if (m_transparent) {
        Paint(&paintDC, client);
        return;
    }
    // Off-screen first, so the label never shows half a picture.
    CDC memory;
    CBitmap picture;
    if (!memory.CreateCompatibleDC(&paintDC) ||
        !picture.CreateCompatibleBitmap(&paintDC, client.Width(), client.Height())) {
        Paint(&paintDC, client);
        return;
    }
    CBitmap* old = memory.SelectObject(&picture);
    Paint(&memory, client);
    paintDC.BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

UINT CLinkLabel::TextFormat() const
{
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE)
        return m_text.Find("\r\n") >= 0 ? DT_CENTER : DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    UINT format;
    switch (style & 0x1F) {
    case SS_CENTER:
        format = DT_CENTER | DT_WORDBREAK;
        break;
    case SS_RIGHT:
        format = DT_RIGHT | DT_WORDBREAK;
        break;
    case SS_LEFTNOWORDWRAP:
        format = 0;
        break;
    default:
        format = DT_WORDBREAK;
        break;
    }
    if (m_text.Find('\t') >= 0)
        format |= DT_EXPANDTABS;
    return format;
}

void CLinkLabel::Paint(CDC* dc, const CRect& client)
{
    const int oldMode = dc->SetBkMode(TRANSPARENT);
    COLORREF textColour = m_textColour;
    const COLORREF oldTextColour = dc->SetTextColor(textColour);
    CFont* oldFont = m_font.m_hObject ? dc->SelectObject(&m_font) : nullptr;

    if (!m_transparent) {
        if (m_gradient)
            FillGradient(dc, client, m_backgroundColour, m_gradientEndColour, kGradientBands);
        else
            ::FillRect(dc->m_hDC, &client, m_backgroundBrush ? m_backgroundBrush : m_defaultBackgroundBrush);
    }
    if (m_flashMode == kFlashingText && !m_flashPhase) {
        // The text takes the background's colour, so it vanishes and comes back: it blinks.
        LOGBRUSH brush = {};
        textColour = m_backgroundBrush && ::GetObjectA(m_backgroundBrush, sizeof brush, &brush) ? brush.lbColor
                                                                                               : RGB(0, 0, 0);
        dc->SetTextColor(textColour);
    }

    if (m_rotated) {
        const UINT oldAlign = dc->SetTextAlign(TA_BASELINE | TA_CENTER);
        dc->SetViewportOrg(client.Width() / 2, client.Height() / 2);
        dc->TextOut(0, 0, m_text);
        dc->SetViewportOrg(0, 0);
        dc->SetTextAlign(oldAlign);
    } else {
        const UINT format = TextFormat();
        CRect place = client;
        dc->DrawText(m_text, &place, format);
        if (m_raisedText) {
            dc->SetTextColor(m_raisedTextColour);
            place.OffsetRect(m_raisedDirection ? 1 : -1, m_raisedDirection ? 1 : -1);
            dc->DrawText(m_text, &place, format);
        }
    }

    dc->SetBkMode(oldMode);
    if (oldFont)
        dc->SelectObject(oldFont);
    dc->SetTextColor(oldTextColour);
}

void CLinkLabel::FillGradient(CDC* dc, const RECT& rect, COLORREF start, COLORREF end, int bands)
{
    HGDIOBJ oldPen = dc->SelectObject(::GetStockObject(NULL_PEN));
    for (const skin::GradientBand& band : skin::GradientBands(rect.left, rect.right, start, end, bands)) {
        HBRUSH brush = ::CreateSolidBrush(band.colour);
        HGDIOBJ oldBrush = dc->SelectObject(static_cast<HGDIOBJ>(brush));
        // Without a pen Rectangle leaves out its right and bottom edges.
        dc->Rectangle(band.left, rect.top, band.right + 1, rect.bottom + 1);
        dc->SelectObject(oldBrush);
        ::DeleteObject(brush);
    }
    dc->SelectObject(oldPen);
}
