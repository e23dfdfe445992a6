// sarrow/controls/hover_button.cpp
#include "sarrow/controls/hover_button.h"

#include <string>

#include <commctrl.h>

IMPLEMENT_DYNAMIC(CHoverButton, CBitmapButton)

BEGIN_MESSAGE_MAP(CHoverButton, CBitmapButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CHoverButton::OnMouseLeave)
    ON_MESSAGE(WM_MOUSEHOVER, &CHoverButton::OnMouseHover)
END_MESSAGE_MAP()

namespace {

void LoadLook(CWnd& button, CBitmap& bitmap, CSize& size, UINT id)
{
    bitmap.DeleteObject();
    size = CSize();
    HANDLE image = ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS);
    if (!bitmap.Attach(image))
        return;
    BITMAP header = {};
    bitmap.GetBitmap(&header);
    size = CSize(header.bmWidth, header.bmHeight);
    button.SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

}  // namespace

BOOL CHoverButton::LoadBitmaps(UINT normalId, UINT hoverId, UINT pressedId)
{
    LoadLook(*this, m_normalBitmap, m_normalSize, normalId);
    LoadLook(*this, m_hoverBitmap, m_hoverSize, hoverId);
    LoadLook(*this, m_pressedBitmap, m_pressedSize, pressedId);
    return TRUE;
}

void CHoverButton::SetTextPosition(LPCSTR caption, int x, int y, COLORREF colour)
{
    m_caption = caption;
    m_captionX = x;
    m_captionY = y;
    m_captionColour = colour;
}

void CHoverButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    CDC memory;
    memory.CreateCompatibleDC(dc);

    LOGFONTA logFont = {};
    logFont.lfHeight = m_fontHeight;
    logFont.lfWeight = m_fontWeight;
    logFont.lfOutPrecision = OUT_OUTLINE_PRECIS;
    lstrcpyA(logFont.lfFaceName, ::GetSystemDefaultLangID() == 0x0411 ? "MS Sans Serif" : "Arial");
    CFont font;
    font.CreateFontIndirect(&logFont);

    bool pressed = (item->itemState & ODS_SELECTED) != 0;
    CBitmap* bitmap = &m_normalBitmap;
    CSize size = m_normalSize;
    if (pressed) {
        bitmap = &m_pressedBitmap;
        size = m_pressedSize;
    } else if (m_hover) {
        bitmap = &m_hoverBitmap;
        size = m_hoverSize;
    }
    HGDIOBJ previousBitmap = nullptr;
    if (bitmap->m_hObject) {
        previousBitmap = memory.SelectObject(static_cast<HGDIOBJ>(bitmap->m_hObject));
        dc->BitBlt(0, 0, size.cx, size.cy, &memory, 0, 0, SRCCOPY);
    }

    dc->SetBkMode(TRANSPARENT);
    if (pressed || m_hover)
        dc->SetTextColor(kHighlightCaptionColour);
    else
        dc->SetTextColor(IsWindowEnabled() ? m_captionColour : kDisabledCaptionColour);
    HGDIOBJ previousFont = font.m_hObject ? dc->SelectObject(static_cast<HGDIOBJ>(font.m_hObject)) : nullptr;
    dc->SetTextAlign(TA_CENTER | TA_TOP);
    int x = m_captionX;
    int y = m_captionY - m_fontHeight / 2;
    if (pressed) {
        ++x;
        ++y;
    }
    // The caption is in the system's code page (Big5 on a Chinese system); converting it here
    // rather than by the font's ANSI character set keeps a Chinese caption readable.
    const int length = m_caption.GetLength();
    if (length > 0) {
        std::wstring wide(static_cast<std::size_t>(length), L'\0');
        const int converted = MultiByteToWideChar(CP_ACP, 0, m_caption, length, wide.data(), length);
        ::TextOutW(dc->GetSafeHdc(), x, y, wide.c_str(), converted);
    }

    if (previousFont)
        dc->SelectObject(previousFont);
    font.DeleteObject();
    if (previousBitmap)
        memory.SelectObject(previousBitmap);
}

BOOL CHoverButton::PreTranslateMessage(MSG* msg)
{
    if (!m_tooltip.m_hWnd) {
        m_tooltip.Create(this, 0);
        m_tooltip.Activate(FALSE);
    }
    m_tooltip.RelayEvent(msg);
    return CBitmapButton::PreTranslateMessage(msg);
}

void CHoverButton::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_tracking) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof track;
        track.dwFlags = TME_HOVER | TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 1;
        m_tracking = ::_TrackMouseEvent(&track);
    }
    CBitmapButton::OnMouseMove(flags, point);
}

LRESULT CHoverButton::OnMouseHover(WPARAM, LPARAM)
{
    m_hover = TRUE;
    InvalidateRect(nullptr, TRUE);
    return 0;
}

LRESULT CHoverButton::OnMouseLeave(WPARAM, LPARAM)
{
    m_tracking = FALSE;
    m_hover = FALSE;
    InvalidateRect(nullptr, TRUE);
    return 0;
}
