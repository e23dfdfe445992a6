// brimlet/skin/text_progress_ctrl.cpp
#include "brimlet/skin/text_progress_ctrl.h"

#include "brimlet/skin/buffer_dc.h"
#include "core/chart/progress_fraction.h"

#include <climits>
#include <cstring>

namespace {

COLORREF Resolve(COLORREF color, int systemColor) { return color == CLR_DEFAULT ? ::GetSysColor(systemColor) : color; }

// A step of the position that does not wrap round.
int Advance(int position, long long delta)
{
    const long long target = position + delta;
    return target > INT_MAX ? INT_MAX : target < INT_MIN ? INT_MIN : static_cast<int>(target);
}

// A clip region for a rectangle in the logical units of the DC (regions are in device units).
BOOL MakeClipRegion(CDC& dc, CRgn& region, CRect rect)
{
    dc.LPtoDP(reinterpret_cast<LPPOINT>(&rect), 2);
    rect.NormalizeRect();
    return region.CreateRectRgnIndirect(rect);
}

}  // namespace

IMPLEMENT_DYNAMIC(CTextProgressCtrl, CProgressCtrl)

BEGIN_MESSAGE_MAP(CTextProgressCtrl, CWnd)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_MESSAGE(WM_SETTEXT, &CTextProgressCtrl::OnSetText)
    ON_MESSAGE(WM_GETTEXT, &CTextProgressCtrl::OnGetText)
    ON_MESSAGE(PBM_DELTAPOS, &CTextProgressCtrl::OnDeltaPos)
    ON_MESSAGE(PBM_GETPOS, &CTextProgressCtrl::OnGetPos)
    ON_MESSAGE(PBM_GETRANGE, &CTextProgressCtrl::OnGetRange)
    ON_MESSAGE(PBM_SETBARCOLOR, &CTextProgressCtrl::OnSetBarColor)
    ON_MESSAGE(PBM_SETBKCOLOR, &CTextProgressCtrl::OnSetBkColor)
    ON_MESSAGE(PBM_SETPOS, &CTextProgressCtrl::OnSetPos)
    ON_MESSAGE(PBM_SETRANGE, &CTextProgressCtrl::OnSetRange)
    ON_MESSAGE(PBM_SETRANGE32, &CTextProgressCtrl::OnSetRange32)
    ON_MESSAGE(PBM_SETSTEP, &CTextProgressCtrl::OnSetStep)
    ON_MESSAGE(PBM_STEPIT, &CTextProgressCtrl::OnStepIt)
    ON_MESSAGE(PBM_SETTEXTCOLOR, &CTextProgressCtrl::OnSetTextColor)
    ON_MESSAGE(PBM_SHOWTEXT, &CTextProgressCtrl::OnShowText)
END_MESSAGE_MAP()

// --- members

void CTextProgressCtrl::Redraw()
{
    if (m_hWnd && ::IsWindow(m_hWnd))
        Invalidate(TRUE);
}

COLORREF CTextProgressCtrl::SetBarColor(COLORREF color)
{
    Redraw();
    const COLORREF previous = m_barColor;
    m_barColor = color;
    return previous;
}

COLORREF CTextProgressCtrl::SetBgColor(COLORREF color)
{
    Redraw();
    const COLORREF previous = m_backgroundColor;
    m_backgroundColor = color;
    return previous;
}

COLORREF CTextProgressCtrl::SetTextForeColor(COLORREF color)
{
    Redraw();
    const COLORREF previous = m_textColor;
    m_textColor = color;
    return previous;
}

void CTextProgressCtrl::SetShowText(BOOL show)
{
    if (show != m_showText)
        Redraw();
    m_showText = show;
}

BOOL CTextProgressCtrl::SetTextFormat(UINT alignment)
{
    if (!SetTextFormatNoRedraw(alignment))
        return FALSE;
    Redraw();
    return TRUE;
}

BOOL CTextProgressCtrl::SetTextFormatNoRedraw(UINT alignment)
{
    if (alignment > DT_RIGHT)
        return FALSE;
    m_textFormat = alignment | DT_VCENTER | DT_SINGLELINE;
    return TRUE;
}

// --- painting

BOOL CTextProgressCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;  // the paint covers the whole area
}

void CTextProgressCtrl::OnPaint()
{
    // Begun and ended whatever the range: an update region left valid-less would bring WM_PAINT
    // back at once, for ever.
    CPaintDC paintDc(this);
    const chart::ProgressSpan span{m_minimum, m_maximum};
    if (!span.IsDrawable())
        return;
    const COLORREF bar = Resolve(m_barColor, COLOR_HIGHLIGHT);
    const COLORREF back = Resolve(m_backgroundColor, COLOR_WINDOW);

    CBufferDC dc(&paintDc);
    CFont* oldFont = nullptr;
    if (CWnd* parent = GetParent()) {
        if (HFONT font = reinterpret_cast<HFONT>(parent->SendMessage(WM_GETFONT)))
            oldFont = dc.SelectObject(CFont::FromHandle(font));
    }

    CRect client;
    GetClientRect(client);
    CRect done = client;
    CRect rest = client;
    const bool vertical = (GetStyle() & PBS_VERTICAL) != 0;
    if (vertical) {
        done.top = client.bottom - chart::DoneLength(span, m_position, client.Height());
        rest.bottom = done.top;
    } else {
        done.right = client.left + chart::DoneLength(span, m_position, client.Width());
        rest.left = done.right;
    }
    dc.FillSolidRect(done, bar);
    dc.FillSolidRect(rest, back);

    if (m_showText && !vertical) {
        const CString text = m_text.IsEmpty() ? CString(chart::PercentText(span, m_position).c_str()) : m_text;
        dc.SetBkMode(TRANSPARENT);
        CRgn doneRegion;
        CRgn restRegion;
        if (MakeClipRegion(dc, doneRegion, done)) {
            dc.SelectClipRgn(&doneRegion);
            dc.SetTextColor(m_textColor == CLR_DEFAULT ? back : m_textColor);
            dc.DrawText(text, client, m_textFormat);
        }
        if (MakeClipRegion(dc, restRegion, rest)) {
            dc.SelectClipRgn(&restRegion);
            dc.SetTextColor(m_textColor == CLR_DEFAULT ? bar : m_textColor);
            dc.DrawText(text, client, m_textFormat);
        }
        dc.SelectClipRgn(nullptr);
    }
    if (oldFont)
        dc.SelectObject(oldFont);
}

void CTextProgressCtrl::OnSize(UINT type, int cx, int cy)
{
    CProgressCtrl::OnSize(type, cx, cy);
    m_barWidth = -1;
}

// --- text

LRESULT CTextProgressCtrl::OnSetText(WPARAM, LPARAM lParam)
{
    const LRESULT result = Default();
    const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
    if (std::strcmp(text, m_text) != 0) {
        m_text = text;
        Redraw();
    }
    return result;
}

LRESULT CTextProgressCtrl::OnGetText(WPARAM wParam, LPARAM lParam)
{
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || wParam == 0)
        return 0;
    const size_t room = static_cast<size_t>(wParam) - 1;
    const size_t length = static_cast<size_t>(m_text.GetLength());
    const size_t copied = length < room ? length : room;
    CopyMemory(buffer, static_cast<LPCSTR>(m_text), copied);
    buffer[copied] = '\0';
    return static_cast<LRESULT>(copied);
}

// --- progress bar messages

LRESULT CTextProgressCtrl::OnSetPos(WPARAM wParam, LPARAM)
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return -1;
    const int previous = m_position;
    m_position = static_cast<int>(wParam);
    CRect client;
    GetClientRect(client);
    const chart::ProgressSpan span{m_minimum, m_maximum};
    const int width = chart::DoneLength(span, m_position, client.Width());
    // Width and percentage are truncated apart, so the text can change while the width stays
    // (150 pixels for 0..1000: positions 7 and 10 both fill 1 pixel, and read 0% and 1%).
    const int percent = chart::DonePercent(span, m_position);
    const bool showsPercentage = m_showText && !(GetStyle() & PBS_VERTICAL) && m_text.IsEmpty();
    const bool newText = showsPercentage && percent != m_barPercent;
    m_barPercent = percent;
    if (width != m_barWidth || newText) {
        m_barWidth = width;
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    return previous;
}

LRESULT CTextProgressCtrl::OnDeltaPos(WPARAM wParam, LPARAM)
{
    return SendMessage(PBM_SETPOS, static_cast<WPARAM>(Advance(m_position, static_cast<int>(wParam))));
}

LRESULT CTextProgressCtrl::OnStepIt(WPARAM, LPARAM)
{
    return SendMessage(PBM_SETPOS, static_cast<WPARAM>(Advance(m_position, m_step)));
}

LRESULT CTextProgressCtrl::OnSetStep(WPARAM wParam, LPARAM)
{
    const int previous = m_step;
    m_step = static_cast<int>(wParam);
    return previous;
}

LRESULT CTextProgressCtrl::OnGetPos(WPARAM, LPARAM) { return m_position; }

LRESULT CTextProgressCtrl::OnSetRange(WPARAM, LPARAM lParam)
{
    m_minimum = LOWORD(lParam);
    m_maximum = HIWORD(lParam);
    return 0;
}

LRESULT CTextProgressCtrl::OnSetRange32(WPARAM wParam, LPARAM lParam)
{
    m_minimum = static_cast<int>(wParam);
    m_maximum = static_cast<int>(lParam);
    return 0;
}

LRESULT CTextProgressCtrl::OnGetRange(WPARAM wParam, LPARAM lParam)
{
    if (auto range = reinterpret_cast<PBRANGE*>(lParam)) {
        range->iLow = m_minimum;
        range->iHigh = m_maximum;
    }
    return wParam ? m_minimum : m_maximum;
}

LRESULT CTextProgressCtrl::OnSetBarColor(WPARAM, LPARAM lParam) { return SetBarColor(static_cast<COLORREF>(lParam)); }

LRESULT CTextProgressCtrl::OnSetBkColor(WPARAM, LPARAM lParam) { return SetBgColor(static_cast<COLORREF>(lParam)); }

LRESULT CTextProgressCtrl::OnSetTextColor(WPARAM, LPARAM lParam)
{
    return SetTextForeColor(static_cast<COLORREF>(lParam));
}

LRESULT CTextProgressCtrl::OnShowText(WPARAM wParam, LPARAM)
{
    const LRESULT result = Default();
    SetShowText(static_cast<BOOL>(wParam));
    return result;
}
