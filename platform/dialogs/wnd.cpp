// platform/dialogs/wnd.cpp
#include "platform/dialogs/wnd.h"

#include "platform/dialogs/app.h"
#include "platform/dialogs/dialog.h"
#include "platform/dialogs/handle_map.h"
#include "platform/dialogs/internal.h"

using dialogs::EntryKind;
using dialogs::HandleMap;
using dialogs::MessageMap;
using dialogs::MessageMapEntry;

namespace {

using WindowMap = HandleMap<CWnd, HWND>;
using MenuMap = HandleMap<CMenu, HMENU>;

// The message that this thread's window procedure is handling, for Default() and reflection.
struct CurrentMessage
{
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
thread_local CurrentMessage t_current = {};

// Window creation on this thread that a CBT hook routes to its object before WM_NCCREATE.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_creationHook = nullptr;

// SetTimer / KillTimer asked for on a thread that does not own the window.
UINT TimerRequestMessage()
{
    static const UINT message = RegisterWindowMessageA("Vexmend.Dialogs.SetTimer");
    return message;
}

UINT TimerCancelMessage()
{
    static const UINT message = RegisterWindowMessageA("Vexmend.Dialogs.KillTimer");
    return message;
}

// A window whose object let go while another subclass sat on top of our window procedure: ours
// stays in the chain and passes every message on to the procedure it replaced, kept here. A
// window property goes with its window, so a reused handle value never finds a stale one.
const char kBuriedProcedure[] = "Vexmend.Dialogs.Super";

WNDPROC BuriedProcedure(HWND window)
{
    return reinterpret_cast<WNDPROC>(::GetPropA(window, kBuriedProcedure));
}

bool IsCtlColorMessage(UINT message) { return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC; }

// The style or extended style edit of ModifyStyle / ModifyStyleEx; FALSE when nothing changes.
BOOL ModifyWindowLong(HWND window, int index, DWORD remove, DWORD add, UINT flags)
{
    DWORD style = static_cast<DWORD>(::GetWindowLongA(window, index));
    DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongA(window, index, static_cast<LONG>(changed));
    if (flags)
        ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

}  // namespace

namespace dialogs {

const MessageMapEntry* FindEntry(const MessageMap* map, EntryKind kind, UINT message, UINT id)
{
    bool byId = kind == EntryKind::Command || kind == EntryKind::Notify;
    for (; map != nullptr; map = map->base ? map->base() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry && entry->kind != EntryKind::End; ++entry) {
            if (entry->kind == kind && entry->message == message &&
                (!byId || (id >= entry->idFirst && id <= entry->idLast)))
                return entry;
        }
    }
    return nullptr;
}

bool OnOwnThread(HWND window) { return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId(); }

HWND RootWindow(HWND window)
{
    if (!::IsWindow(window))
        return nullptr;
    // GetParent gives a child's parent, but a top-level window's owner: so only children climb.
    const HWND desktop = ::GetDesktopWindow();
    while (::GetWindowLongA(window, GWL_STYLE) & WS_CHILD) {
        const HWND parent = ::GetParent(window);
        if (!parent || parent == desktop)
            break;
        window = parent;
    }
    return window;
}

BOOL PreTranslateUpTo(MSG* msg, HWND stop, bool* stopReached)
{
    for (HWND window = msg->hwnd; window; window = ::GetParent(window)) {
        if (CWnd* object = CWnd::FromHandlePermanent(window); object && object->PreTranslateMessage(msg))
            return TRUE;
        if (window == stop) {
            if (stopReached)
                *stopReached = true;
            return FALSE;
        }
        if (!(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
            return FALSE;
    }
    return FALSE;
}

UINT CurrentCtlColorKind()
{
    return IsCtlColorMessage(t_current.message) ? t_current.message - WM_CTLCOLORMSGBOX : CTLCOLOR_STATIC;
}

}  // namespace dialogs

// --- CCmdTarget

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const MessageMap* CCmdTarget::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {{EntryKind::End, 0, 0, 0, nullptr}};
    static const MessageMap map = {nullptr, entries};
    return &map;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

// --- window procedure and creation hook

LRESULT CALLBACK DialogsWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* object = CWnd::FromHandlePermanent(window);
    if (!object) {
        if (WNDPROC buried = BuriedProcedure(window)) {
            if (message == WM_NCDESTROY)
                ::RemovePropA(window, kBuriedProcedure);
            return ::CallWindowProcA(buried, window, message, wParam, lParam);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
    if (message == TimerRequestMessage())
        return ::SetTimer(window, wParam, static_cast<UINT>(lParam), nullptr);
    if (message == TimerCancelMessage())
        return ::KillTimer(window, wParam);

    CurrentMessage saved = t_current;
    t_current = {window, message, wParam, lParam};
    LRESULT result = object->WindowProc(message, wParam, lParam);
    t_current = saved;
    // Windows tells only top-level windows of a colour change; controls that follow the system
    // colours hear of it from their top-level window.
    if (message == WM_SYSCOLORCHANGE && ::IsWindow(window) && !(::GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
        CWnd::FromHandle(window)->SendMessageToDescendants(message, wParam, lParam, TRUE);
    if (message == WM_NCDESTROY && object->m_hWnd == window) {
        object->ForgetWindow();
        object->PostNcDestroy();
    }
    return result;
}

LRESULT CALLBACK DialogsCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_creating) {
        HWND window = reinterpret_cast<HWND>(wParam);
        char className[16] = {};
        GetClassNameA(window, className, sizeof className);
        // The input method's helper windows may come first; they are not the window asked for.
        if (lstrcmpiA(className, "IME") != 0) {
            CWnd* object = t_creating;
            t_creating = nullptr;
            object->RouteWindow(window);
            object->PreSubclassWindow();
        }
    }
    return CallNextHookEx(t_creationHook, code, wParam, lParam);
}

namespace dialogs {

// Brackets a CreateWindowEx/CreateDialog call so that the first window it makes is routed to object.
CreationScope::CreationScope(CWnd* object) : m_previousObject(t_creating), m_previousHook(t_creationHook)
{
    t_creating = object;
    t_creationHook = SetWindowsHookExA(WH_CBT, DialogsCbtHook, nullptr, GetCurrentThreadId());
}

CreationScope::~CreationScope()
{
    if (t_creationHook)
        UnhookWindowsHookEx(t_creationHook);
    t_creationHook = static_cast<HHOOK>(m_previousHook);
    t_creating = m_previousObject;
}

}  // namespace dialogs

// --- CWnd

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const MessageMap* CWnd::GetThisMessageMap()
{
    static const MessageMapEntry entries[] = {{EntryKind::End, 0, 0, 0, nullptr}};
    static const MessageMap map = {&CCmdTarget::GetThisMessageMap, entries};
    return &map;
}

const MessageMap* CWnd::GetMessageMap() const { return GetThisMessageMap(); }

CWnd::~CWnd()
{
    if (!m_hWnd || m_temporary)
        return;
    if (::IsWindow(m_hWnd) && dialogs::OnOwnThread(m_hWnd))
        ::DestroyWindow(m_hWnd);  // routed: WM_NCDESTROY forgets the window
    if (m_hWnd)
        Detach();
}

HWND CWnd::GetSafeHwnd() const { return this ? m_hWnd : nullptr; }

CWnd* CWnd::FromHandle(HWND window)
{
    return WindowMap::Instance().Lookup(window, [](HWND h) {
        CWnd* wrapper = new CWnd;
        wrapper->m_hWnd = h;
        wrapper->m_temporary = true;
        return wrapper;
    });
}

CWnd* CWnd::FromHandlePermanent(HWND window)
{
    return window ? WindowMap::Instance().LookupPermanent(window) : nullptr;
}

BOOL CWnd::Attach(HWND window)
{
    if (!window || m_temporary || m_hWnd || FromHandlePermanent(window))
        return FALSE;
    m_hWnd = window;
    WindowMap::Instance().SetPermanent(window, this);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND window = m_hWnd;
    if (!window || m_temporary)
        return nullptr;
    if (m_pfnSuper) {
        // Still routed: give the window its own procedure back so it keeps working without us.
        // With another subclass on top ours cannot leave the chain; it passes messages on.
        if (::IsWindow(window)) {
            if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) == DialogsWindowProcedure)
                ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
            else
                ::SetPropA(window, kBuriedProcedure, reinterpret_cast<HANDLE>(m_pfnSuper));
        }
        m_pfnSuper = nullptr;
    }
    WindowMap::Instance().RemovePermanent(window, this);
    m_hWnd = nullptr;
    return window;
}

void CWnd::RouteWindow(HWND window)
{
    m_hWnd = window;
    WindowMap::Instance().SetPermanent(window, this);
    WNDPROC previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DialogsWindowProcedure)));
    m_pfnSuper = previous != DialogsWindowProcedure ? previous : nullptr;
}

bool CWnd::IsRouted(HWND window)
{
    CWnd* object = FromHandlePermanent(window);
    return object && object->m_pfnSuper;
}

void CWnd::ForgetWindow()
{
    WindowMap::Instance().RemovePermanent(m_hWnd, this);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

BOOL CWnd::SubclassWindow(HWND window)
{
    if (!window || !::IsWindow(window) || m_hWnd || m_temporary || FromHandlePermanent(window))
        return FALSE;
    if (WNDPROC buried = BuriedProcedure(window)) {
        // Our procedure is still in the window's chain: the object takes that place again.
        ::RemovePropA(window, kBuriedProcedure);
        m_hWnd = window;
        WindowMap::Instance().SetPermanent(window, this);
        PreSubclassWindow();
        m_pfnSuper = buried;
        return TRUE;
    }
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(window, GWLP_WNDPROC)) == DialogsWindowProcedure)
        return FALSE;
    m_hWnd = window;
    WindowMap::Instance().SetPermanent(window, this);
    PreSubclassWindow();
    RouteWindow(window);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, id)) : FALSE;
}

HWND CWnd::UnsubclassWindow() { return Detach(); }

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, LPVOID param)
{
    if (m_hWnd)
        return FALSE;
    CREATESTRUCTA cs = {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = idOrMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND window;
    {
        dialogs::CreationScope scope(this);
        window = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                                   cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (!window)
        return FALSE;
    if (m_hWnd != window)
        return SubclassWindow(window);
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                    CWnd* parent, UINT id, LPVOID param)
{
    return CreateEx(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), param);
}

BOOL CWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect, CWnd* parent,
                  UINT id, LPVOID param)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent, id, param);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd || m_temporary)
        return FALSE;
    HWND window = m_hWnd;
    bool routed = m_pfnSuper != nullptr;
    BOOL destroyed = ::DestroyWindow(window);
    if (destroyed && !routed && m_hWnd == window)
        Detach();
    return destroyed;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    *result = 0;
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY)
        return OnNotify(wParam, lParam, result);

    UINT key = IsCtlColorMessage(message) ? WM_CTLCOLOR : message;
    if (const MessageMapEntry* entry = dialogs::FindEntry(GetMessageMap(), EntryKind::Message, key, 0))
        return entry->thunk(this, wParam, lParam, result);

    // A window prints (WM_PRINT, PrintWindow) what it paints: its WM_PAINT handler draws into the
    // DC of the print, which CPaintDC hands it.
    if (message == WM_PRINTCLIENT && wParam) {
        if (const MessageMapEntry* paint = dialogs::FindEntry(GetMessageMap(), EntryKind::Message, WM_PAINT, 0)) {
            dialogs::PrintScope print(m_hWnd, reinterpret_cast<HDC>(wParam));
            return paint->thunk(this, 0, 0, result);
        }
    }

    // No handler: the child still gets its reflected message before the default processing.
    return ReflectToControl(message, wParam, lParam, result);
}

BOOL CWnd::ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        HWND control = reinterpret_cast<HWND>(lParam);
        return control != m_hWnd && ReflectLastMsg(control, result);
    }
    case WM_HSCROLL:
    case WM_VSCROLL:
        return lParam && ReflectLastMsg(reinterpret_cast<HWND>(lParam), result);
    case WM_DRAWITEM: {
        auto item = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam);
        if (item->CtlType == ODT_MENU) {
            if (CMenu* menu = CMenu::FromHandlePermanent(reinterpret_cast<HMENU>(item->hwndItem))) {
                menu->DrawItem(item);
                *result = TRUE;
                return TRUE;
            }
            return FALSE;
        }
        return ReflectLastMsg(item->hwndItem, result);
    }
    case WM_MEASUREITEM: {
        auto item = reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam);
        if (item->CtlType == ODT_MENU) {
            if (CMenu* menu = CMenu::FromOwnerDrawnItem(item->itemID, item->itemData)) {
                menu->MeasureItem(item);
                *result = TRUE;
                return TRUE;
            }
            return FALSE;
        }
        return ReflectLastMsg(::GetDlgItem(m_hWnd, item->CtlID), result);
    }
    default:
        return FALSE;
    }
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() { return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam); }

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    HWND control = reinterpret_cast<HWND>(lParam);
    UINT id = LOWORD(wParam);
    UINT code = HIWORD(wParam);
    LRESULT result = 0;
    if (control && control != m_hWnd && ReflectLastMsg(control, &result))
        return TRUE;
    if (!control && code == 1)
        code = 0;  // an accelerator is the same command as the menu item
    if (const MessageMapEntry* entry = dialogs::FindEntry(GetMessageMap(), EntryKind::Command, code, id)) {
        entry->thunk(this, wParam, lParam, &result);
        return TRUE;
    }
    return FALSE;
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    auto header = reinterpret_cast<NMHDR*>(lParam);
    if (!header)
        return FALSE;
    if (header->hwndFrom && header->hwndFrom != m_hWnd && ReflectLastMsg(header->hwndFrom, result))
        return TRUE;
    if (const MessageMapEntry* entry = dialogs::FindEntry(GetMessageMap(), EntryKind::Notify, header->code,
                                                          static_cast<UINT>(header->idFrom)))
        return entry->thunk(this, wParam, lParam, result);
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    return ReflectChildNotify(message, wParam, lParam, result);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    LRESULT ignored = 0;
    if (!result)
        result = &ignored;
    const MessageMap* map = GetMessageMap();
    const MessageMapEntry* entry = nullptr;
    if (message == WM_COMMAND)
        entry = dialogs::FindEntry(map, EntryKind::ReflectedCommand, HIWORD(wParam), 0);
    else if (message == WM_NOTIFY)
        entry = dialogs::FindEntry(map, EntryKind::ReflectedNotify, reinterpret_cast<NMHDR*>(lParam)->code, 0);
    else
        entry = dialogs::FindEntry(map, EntryKind::Reflected, IsCtlColorMessage(message) ? WM_CTLCOLOR : message, 0);
    return entry && entry->thunk(this, wParam, lParam, result);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* result)
{
    LRESULT ignored = 0;
    return OnChildNotify(t_current.message, t_current.wParam, t_current.lParam, result ? result : &ignored);
}

BOOL CWnd::ReflectLastMsg(HWND child, LRESULT* result)
{
    CWnd* object = FromHandlePermanent(child);
    return object ? object->SendChildNotifyLastMsg(result) : FALSE;
}

HBRUSH CWnd::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    LRESULT result = 0;
    if (ReflectToControl(WM_CTLCOLORMSGBOX + kind, 0, reinterpret_cast<LPARAM>(control->GetSafeHwnd()), &result))
        return reinterpret_cast<HBRUSH>(result);
    return reinterpret_cast<HBRUSH>(Default());
}

void CWnd::OnDrawItem(int id, LPDRAWITEMSTRUCT item)
{
    LRESULT result = 0;
    if (!ReflectToControl(WM_DRAWITEM, id, reinterpret_cast<LPARAM>(item), &result))
        Default();
}

void CWnd::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item)
{
    LRESULT result = 0;
    if (!ReflectToControl(WM_MEASUREITEM, id, reinterpret_cast<LPARAM>(item), &result))
        Default();
}

void CWnd::OnHScroll(UINT code, UINT position, CWnd* scrollBar)
{
    LRESULT result = 0;
    LPARAM control = reinterpret_cast<LPARAM>(scrollBar->GetSafeHwnd());
    if (!ReflectToControl(WM_HSCROLL, MAKEWPARAM(code, position), control, &result))
        Default();
}

void CWnd::OnVScroll(UINT code, UINT position, CWnd* scrollBar)
{
    LRESULT result = 0;
    LPARAM control = reinterpret_cast<LPARAM>(scrollBar->GetSafeHwnd());
    if (!ReflectToControl(WM_VSCROLL, MAKEWPARAM(code, position), control, &result))
        Default();
}

BOOL CWnd::UpdateData(BOOL saveAndValidate)
{
    CDataExchange exchange(this, saveAndValidate);
    DoDataExchange(&exchange);
    return !exchange.m_bFailed;
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL deep)
{
    for (HWND child = ::GetTopWindow(m_hWnd); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        if (deep && ::GetTopWindow(child))
            CWnd::FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, deep);
    }
}

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc)
{
    if (m_hWnd && !dialogs::OnOwnThread(m_hWnd) && !timerProc) {
        if (!IsRouted(m_hWnd))
            return 0;
        return ::PostMessageA(m_hWnd, TimerRequestMessage(), id, elapse) ? id : 0;
    }
    return ::SetTimer(m_hWnd, id, elapse, timerProc);
}

BOOL CWnd::KillTimer(UINT_PTR id)
{
    if (m_hWnd && !dialogs::OnOwnThread(m_hWnd))
        return IsRouted(m_hWnd) && ::PostMessageA(m_hWnd, TimerCancelMessage(), id, 0);
    return ::KillTimer(m_hWnd, id);
}

void CWnd::GetWindowText(CString& text) const
{
    int length = ::GetWindowTextLengthA(m_hWnd);
    ::GetWindowTextA(m_hWnd, text.GetBuffer(length + 1), length + 1);
    text.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int id, CString& text) const
{
    HWND item = ::GetDlgItem(m_hWnd, id);
    text.Empty();
    if (item)
        FromHandle(item)->GetWindowText(text);
    return text.GetLength();
}

void CWnd::SetFont(CFont* font, BOOL redraw)
{
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->m_hObject : nullptr), redraw);
}

CFont* CWnd::GetFont() const { return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT))); }

CWnd* CWnd::GetTopLevelParent() const { return FromHandle(dialogs::RootWindow(m_hWnd)); }

CWnd* CWnd::GetNextDlgTabItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, control->GetSafeHwnd(), previous));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* control, BOOL previous) const
{
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, control->GetSafeHwnd(), previous));
}

void CWnd::GotoDlgCtrl(CWnd* control)
{
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control->GetSafeHwnd()), TRUE);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter ? insertAfter->m_hWnd : nullptr, x, y, width, height, flags);
}

void CWnd::CenterWindow(CWnd* alternateOwner)
{
    RECT area;
    HWND around = alternateOwner ? alternateOwner->m_hWnd
                  : (GetStyle() & WS_CHILD) ? ::GetParent(m_hWnd)
                                            : ::GetWindow(m_hWnd, GW_OWNER);
    if (GetStyle() & WS_CHILD) {
        ::GetClientRect(around, &area);
    } else if (around && ::IsWindowVisible(around) && !::IsIconic(around)) {
        ::GetWindowRect(around, &area);
    } else {
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    }
    RECT own;
    ::GetWindowRect(m_hWnd, &own);
    int width = own.right - own.left;
    int height = own.bottom - own.top;
    ::SetWindowPos(m_hWnd, nullptr, (area.left + area.right - width) / 2, (area.top + area.bottom - height) / 2,
                   0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWnd::ClientToScreen(LPRECT rect) const
{
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect));
    ::ClientToScreen(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}

void CWnd::ScreenToClient(LPRECT rect) const
{
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect));
    ::ScreenToClient(m_hWnd, reinterpret_cast<LPPOINT>(rect) + 1);
}

BOOL CWnd::ModifyStyle(HWND window, DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(window, GWL_STYLE, remove, add, flags);
}

BOOL CWnd::ModifyStyleEx(HWND window, DWORD remove, DWORD add, UINT flags)
{
    return ModifyWindowLong(window, GWL_EXSTYLE, remove, add, flags);
}

BOOL CWnd::RedrawWindow(LPCRECT update, CRgn* region, UINT flags)
{
    return ::RedrawWindow(m_hWnd, update, region ? static_cast<HRGN>(*region) : nullptr, flags);
}

CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
CMenu* CWnd::GetSystemMenu(BOOL revert) const { return CMenu::FromHandle(::GetSystemMenu(m_hWnd, revert)); }
BOOL CWnd::SetMenu(CMenu* menu) { return ::SetMenu(m_hWnd, menu->GetSafeHmenu()); }

int CWnd::MessageBox(LPCSTR text, LPCSTR caption, UINT type)
{
    return ::MessageBoxA(m_hWnd, text, caption ? caption : AfxGetAppName(), type);
}

// --- CMenu

IMPLEMENT_DYNAMIC(CMenu, CObject)

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const { return this ? m_hMenu : nullptr; }

CMenu* CMenu::FromHandle(HMENU menu)
{
    return MenuMap::Instance().Lookup(menu, [](HMENU h) {
        CMenu* wrapper = new CMenu;
        wrapper->m_hMenu = h;
        wrapper->m_temporary = true;
        return wrapper;
    });
}

CMenu* CMenu::FromHandlePermanent(HMENU menu) { return menu ? MenuMap::Instance().LookupPermanent(menu) : nullptr; }

BOOL CMenu::Attach(HMENU menu)
{
    if (!menu || m_temporary || m_hMenu || FromHandlePermanent(menu))
        return FALSE;
    m_hMenu = menu;
    MenuMap::Instance().SetPermanent(menu, this);
    return TRUE;
}

HMENU CMenu::Detach()
{
    if (m_temporary)
        return nullptr;
    HMENU menu = m_hMenu;
    if (menu)
        MenuMap::Instance().RemovePermanent(menu, this);
    m_hMenu = nullptr;
    return menu;
}

BOOL CMenu::DestroyMenu()
{
    if (m_temporary)
        return FALSE;
    HMENU menu = Detach();
    return menu ? ::DestroyMenu(menu) : FALSE;
}

CMenu* CMenu::FromOwnerDrawnItem(UINT itemId, ULONG_PTR itemData)
{
    return MenuMap::Instance().FindPermanent([&](HMENU menu) {
        int count = ::GetMenuItemCount(menu);
        for (int position = 0; position < count; ++position) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_DATA;
            if (!::GetMenuItemInfoA(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW) ||
                info.dwItemData != itemData)
                continue;
            // An item that opens a submenu is measured under the submenu's handle.
            if (info.wID == itemId || (info.hSubMenu && static_cast<UINT>(reinterpret_cast<UINT_PTR>(info.hSubMenu)) == itemId))
                return true;
        }
        return false;
    });
}

BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id))); }

int CMenu::GetMenuString(UINT id, CString& text, UINT flags) const
{
    int length = ::GetMenuStringA(m_hMenu, id, nullptr, 0, flags);
    ::GetMenuStringA(m_hMenu, id, text.GetBuffer(length + 1), length + 1, flags);
    text.ReleaseBuffer();
    return text.GetLength();
}

namespace dialogs {

namespace {
struct PrintState {
    HWND window = nullptr;
    HDC dc = nullptr;
};
thread_local PrintState t_print;
}  // namespace

HDC PrintingDC(HWND window) { return window && t_print.window == window ? t_print.dc : nullptr; }

PrintScope::PrintScope(HWND window, HDC dc) : m_previousWindow(t_print.window), m_previousDC(t_print.dc)
{
    t_print = {window, dc};
}

PrintScope::~PrintScope() { t_print = {m_previousWindow, m_previousDC}; }

}  // namespace dialogs
