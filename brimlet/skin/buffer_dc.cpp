// brimlet/skin/buffer_dc.cpp
#include "brimlet/skin/buffer_dc.h"

namespace {

BOOL IsPrinterDC(CDC* dc) { return dc->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER; }

}  // namespace

IMPLEMENT_DYNAMIC(CBufferDC, CDC)

CBufferDC::CBufferDC(CDC* target, const RECT& rect, BOOL copyBackground) : m_target(target), m_rect(rect)
{
    if (!target || !target->m_hDC || IsPrinterDC(target)) {
        ShareTarget();
        return;
    }
    CRect device = m_rect;
    target->LPtoDP(reinterpret_cast<LPPOINT>(&device), 2);
    if (!CreateSurface(device.Width(), device.Height())) {
        ShareTarget();
        return;
    }
    ::SetMapMode(m_hDC, ::GetMapMode(target->m_hDC));
    SIZE extent = {};
    ::GetWindowExtEx(target->m_hDC, &extent);
    ::SetWindowExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    ::GetViewportExtEx(target->m_hDC, &extent);
    ::SetViewportExtEx(m_hDC, extent.cx, extent.cy, nullptr);
    target->DPtoLP(reinterpret_cast<LPPOINT>(&device), 2);
    m_rect = device;
    SetWindowOrg(m_rect.left, m_rect.top);
    if (copyBackground)
        BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), target, m_rect.left, m_rect.top, SRCCOPY);
    else
        FillSolidRect(m_rect, target->GetBkColor());
}

CBufferDC::CBufferDC(CDC* target) : m_target(target)
{
    if (!target || !target->m_hDC || IsPrinterDC(target)) {
        ShareTarget();
        return;
    }
    target->GetClipBox(m_rect);
    if (!CreateSurface(m_rect.Width(), m_rect.Height())) {
        ShareTarget();
        return;
    }
    SetWindowOrg(m_rect.left, m_rect.top);
}

CBufferDC::~CBufferDC()
{
    if (m_memoryDc) {
        m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                         SRCCOPY);
        SelectObject(m_oldBitmap);
    } else {
        Detach();  // the target's DC: not ours to delete
    }
    m_bitmap.DeleteObject();
    DeleteDC();
}

BOOL CBufferDC::CreateSurface(int width, int height)
{
    if (!CreateCompatibleDC(m_target))
        return FALSE;
    if (!m_bitmap.CreateCompatibleBitmap(m_target, width, height)) {
        DeleteDC();
        return FALSE;
    }
    m_oldBitmap = SelectObject(&m_bitmap);
    m_memoryDc = TRUE;
    return TRUE;
}

void CBufferDC::ShareTarget()
{
    m_memoryDc = FALSE;
    if (m_target)
        Attach(m_target->m_hDC);
}
