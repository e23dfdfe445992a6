// brimlet/skin/bitmap_dialog.cpp
#include "brimlet/skin/bitmap_dialog.h"

CBitmapDialog::SetLayeredWindowAttributesFunction CBitmapDialog::s_setLayeredWindowAttributes = nullptr;

BEGIN_MESSAGE_MAP(CBitmapDialog, CDialog)
    ON_WM_LBUTTONDOWN()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CBitmapDialog::CBitmapDialog(UINT templateId, CWnd* parent) : CDialog(templateId, parent) { CommonConstruct(); }

#ifndef BITMAP_DIALOG_LEAN
CBitmapDialog::CBitmapDialog(LPCSTR templateName, CWnd* parent) : CDialog(templateName, parent) { CommonConstruct(); }

CBitmapDialog::CBitmapDialog() { CommonConstruct(); }
#endif

CBitmapDialog::~CBitmapDialog() { FreeBitmap(); }

void CBitmapDialog::CommonConstruct()
{
    m_easyMove = TRUE;
    m_bitmap = nullptr;
    m_drawStyle = 0;
    s_setLayeredWindowAttributes = reinterpret_cast<SetLayeredWindowAttributesFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("USER32.DLL"), "SetLayeredWindowAttributes")));
}

BOOL CBitmapDialog::SetBitmap(UINT resourceId)
{
    HANDLE image = ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR);
    return SetBitmap(static_cast<HBITMAP>(image));
}

#ifndef BITMAP_DIALOG_LEAN
BOOL CBitmapDialog::SetBitmap(LPCSTR fileName)
{
    HANDLE image = ::LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE);
    return SetBitmap(static_cast<HBITMAP>(image));
}
#endif

BOOL CBitmapDialog::SetBitmap(HBITMAP bitmap)
{
    // The bitmap already held: freeing it first would leave a deleted handle behind.
    if (bitmap && bitmap == m_bitmap) {
        if (::IsWindow(m_hWnd))
            InvalidateRect(nullptr, TRUE);
        return TRUE;
    }
    FreeBitmap();
    if (bitmap) {
        m_bitmap = bitmap;
        BITMAP header = {};
        if (!::GetObjectA(bitmap, sizeof header, &header)) {
            FreeBitmap();
            return FALSE;
        }
        m_bitmapWidth = header.bmWidth;
        m_bitmapHeight = header.bmHeight;
    }
    if (::IsWindow(m_hWnd))
        InvalidateRect(nullptr, TRUE);
    return TRUE;
}

void CBitmapDialog::FreeBitmap()
{
    if (m_bitmap)
        ::DeleteObject(m_bitmap);
    m_bitmap = nullptr;
}

void CBitmapDialog::SetBitmapStyle(int style)
{
    m_drawStyle = style;
    if (style == 4 && m_bitmap)
        SetWindowPos(nullptr, 0, 0, m_bitmapWidth, m_bitmapHeight, SWP_NOMOVE | SWP_NOOWNERZORDER);
}

void CBitmapDialog::RemoveLayering()
{
    ModifyStyleEx(WS_EX_LAYERED, 0);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

#ifndef BITMAP_DIALOG_LEAN
BOOL CBitmapDialog::SetTransparent(BYTE alpha)
{
    if (!s_setLayeredWindowAttributes)
        return FALSE;
    if (alpha == 255) {
        RemoveLayering();
    } else {
        ModifyStyleEx(0, WS_EX_LAYERED);
        s_setLayeredWindowAttributes(m_hWnd, 0, alpha, LWA_ALPHA);
    }
    return TRUE;
}
#endif

BOOL CBitmapDialog::SetTransparentColor(COLORREF key, BOOL enable)
{
    if (!s_setLayeredWindowAttributes)
        return FALSE;
    if (enable) {
        ModifyStyleEx(0, WS_EX_LAYERED);
        s_setLayeredWindowAttributes(m_hWnd, key, 0, LWA_COLORKEY);
    } else {
        RemoveLayering();
    }
    return TRUE;
}

void CBitmapDialog::OnLButtonDown(UINT flags, CPoint point)
{
    // The system then moves the window as if its caption were dragged.
    if (m_easyMove)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
    CDialog::OnLButtonDown(flags, point);
}

BOOL CBitmapDialog::OnEraseBkgnd(CDC* dc)
{
    BOOL erased = CDialog::OnEraseBkgnd(dc);
    if (!m_bitmap)
        return erased;
    CRect client;
    GetClientRect(&client);
    int width = client.Width();
    int height = client.Height();
    CDC memory;
    memory.CreateCompatibleDC(dc);
    HGDIOBJ previous = memory.SelectObject(static_cast<HGDIOBJ>(m_bitmap));
    switch (m_drawStyle) {
    case 0:
    case 4:
        dc->BitBlt(0, 0, width, height, &memory, 0, 0, SRCCOPY);
        break;
    case 1:
        if (m_bitmapWidth > 0 && m_bitmapHeight > 0) {
            for (int y = 0; y < height; y += m_bitmapHeight)
                for (int x = 0; x < width; x += m_bitmapWidth)
                    dc->BitBlt(x, y, width, height, &memory, 0, 0, SRCCOPY);
        }
        break;
    case 2:
        // The whole bitmap at the signed offsets: a larger bitmap's middle fills the client area
        // (an extent of the client's size would leave its right and bottom margins unpainted).
        dc->BitBlt((width - m_bitmapWidth) / 2, (height - m_bitmapHeight) / 2, m_bitmapWidth, m_bitmapHeight,
                   &memory, 0, 0, SRCCOPY);
        break;
    case 3:
        dc->StretchBlt(0, 0, width, height, &memory, 0, 0, m_bitmapWidth, m_bitmapHeight, SRCCOPY);
        break;
    default:
        break;
    }
    memory.SelectObject(previous);
    return erased;
}

void CBitmapDialog::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    if (m_bitmap)
        InvalidateRect(nullptr, TRUE);
}
