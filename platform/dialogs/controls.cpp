// platform/dialogs/controls.cpp
#include "platform/dialogs/controls.h"

#include "platform/dialogs/app.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)
IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

namespace {

BOOL OwnerDrawNotify(UINT message, LPARAM lParam, LRESULT* result, void (*draw)(void*, LPDRAWITEMSTRUCT), void* self)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    draw(self, reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *result = TRUE;
    return TRUE;
}

// The size of TOOLINFO that comctl32 5.8 (the one of XP without a manifest) accepts.
const UINT kToolInfoSize = TTTOOLINFOA_V2_SIZE;

}  // namespace

BOOL CButton::Create(LPCSTR caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (OwnerDrawNotify(message, lParam, result,
                        [](void* self, LPDRAWITEMSTRUCT item) { static_cast<CButton*>(self)->DrawItem(item); }, this))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL CBitmapButton::LoadBitmaps(UINT up, UINT down, UINT focus, UINT disabled)
{
    return LoadBitmaps(MAKEINTRESOURCEA(up), down ? MAKEINTRESOURCEA(down) : nullptr,
                       focus ? MAKEINTRESOURCEA(focus) : nullptr, disabled ? MAKEINTRESOURCEA(disabled) : nullptr);
}

BOOL CBitmapButton::LoadBitmaps(LPCSTR up, LPCSTR down, LPCSTR focus, LPCSTR disabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.LoadBitmap(up))
        return FALSE;
    BOOL all = TRUE;
    if (down && !m_bitmapSel.LoadBitmap(down))
        all = FALSE;
    if (focus && !m_bitmapFocus.LoadBitmap(focus))
        all = FALSE;
    if (disabled && !m_bitmapDisabled.LoadBitmap(disabled))
        all = FALSE;
    return all;
}

void CBitmapButton::SizeToContent()
{
    BITMAP info = {};
    if (m_bitmap.GetBitmap(&info))
        SetWindowPos(nullptr, 0, 0, info.bmWidth, info.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CBitmap* bitmap = &m_bitmap;
    if ((item->itemState & ODS_SELECTED) && m_bitmapSel.m_hObject)
        bitmap = &m_bitmapSel;
    else if ((item->itemState & ODS_FOCUS) && m_bitmapFocus.m_hObject)
        bitmap = &m_bitmapFocus;
    else if ((item->itemState & ODS_DISABLED) && m_bitmapDisabled.m_hObject)
        bitmap = &m_bitmapDisabled;
    if (!bitmap->m_hObject)
        return;
    CDC* dc = CDC::FromHandle(item->hDC);
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(bitmap);
    const RECT& rect = item->rcItem;
    dc->BitBlt(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
}

BOOL CStatic::Create(LPCSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("STATIC", text, style, rect, parent, id);
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (OwnerDrawNotify(message, lParam, result,
                        [](void* self, LPDRAWITEMSTRUCT item) { static_cast<CStatic*>(self)->DrawItem(item); }, this))
        return TRUE;
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0, last = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    dialogs::InitCommonControlsOnce();
    return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE range = {};
    SendMessage(PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    dialogs::InitCommonControlsOnce();
    return CreateEx(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, CW_USEDEFAULT, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, parent->GetSafeHwnd(), nullptr);
}

static TOOLINFOA MakeToolInfo(CWnd* window, UINT_PTR id, LPCRECT rect, LPCSTR text, UINT flags = 0)
{
    TOOLINFOA tool = {};
    tool.cbSize = kToolInfoSize;
    tool.hwnd = window->GetSafeHwnd();
    tool.uId = id;
    tool.uFlags = flags;
    if (rect)
        tool.rect = *rect;
    else if (tool.hwnd)
        ::GetClientRect(tool.hwnd, &tool.rect);
    tool.hinst = AfxGetResourceHandle();
    tool.lpszText = const_cast<LPSTR>(text ? text : LPSTR_TEXTCALLBACKA);
    return tool;
}

BOOL CToolTipCtrl::AddTool(CWnd* window, LPCSTR text, LPCRECT rect, UINT_PTR id, UINT flags)
{
    TOOLINFOA tool = MakeToolInfo(window, id, rect, text, flags);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
}

BOOL CToolTipCtrl::AddTool(CWnd* window, UINT textId, LPCRECT rect, UINT_PTR id, UINT flags)
{
    TOOLINFOA tool = MakeToolInfo(window, id, rect, MAKEINTRESOURCEA(textId), flags);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool)));
}

void CToolTipCtrl::DelTool(CWnd* window, UINT_PTR id)
{
    TOOLINFOA tool = MakeToolInfo(window, id, nullptr, nullptr);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CToolTipCtrl::UpdateTipText(LPCSTR text, CWnd* window, UINT_PTR id)
{
    TOOLINFOA tool = MakeToolInfo(window, id, nullptr, text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

void CToolTipCtrl::SetToolRect(CWnd* window, UINT_PTR id, LPCRECT rect)
{
    TOOLINFOA tool = MakeToolInfo(window, id, rect, nullptr);
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
}
