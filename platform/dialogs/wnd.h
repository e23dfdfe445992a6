// platform/dialogs/wnd.h
// CCmdTarget (the owner of a message map), CWnd and CMenu.
//
// Routing: every window that a CWnd holds (created with CreateEx, a dialog, or subclassed) runs
// through one window procedure that finds the object in the process-wide handle map and calls its
// WindowProc. WindowProc -> OnWndMsg looks the message up in the class's map chain; what no entry
// takes goes to DefWindowProc (the window's original procedure). WM_COMMAND, WM_NOTIFY,
// WM_CTLCOLOR*, WM_DRAWITEM, WM_MEASUREITEM and WM_H/VSCROLL from a child are first offered to the
// child object (OnChildNotify: its reflected entries, and DrawItem for buttons and statics). An
// owner-drawn menu item's WM_DRAWITEM and WM_MEASUREITEM go to DrawItem and MeasureItem of the
// CMenu that holds the menu, when no handler of the window takes them.
//
// WM_SYSCOLORCHANGE, which Windows sends to top-level windows only, is passed on by a routed
// top-level window to all its descendants after its own handling.
//
// Threads: the handle map is shared and locked, so any thread may use any CWnd; a window's
// messages are handled on the thread that created it. SetTimer and KillTimer called on another
// thread are passed to the window's own thread (Win32 only allows them there); for a window the
// library does not route (a FromHandle wrapper, Attach) they fail there.
#pragma once

#include <windows.h>

#include "platform/dialogs/cstring.h"
#include "platform/dialogs/gdi.h"
#include "platform/dialogs/geometry.h"
#include "platform/dialogs/message_map.h"
#include "platform/dialogs/object.h"

class CMenu;
class CDataExchange;

class CCmdTarget : public CObject
{
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget() = default;

protected:
    static const ::dialogs::MessageMap* GetThisMessageMap();
    virtual const ::dialogs::MessageMap* GetMessageMap() const;
    friend class CWnd;
};

class CWnd : public CCmdTarget
{
    DECLARE_DYNAMIC(CWnd)
public:
    CWnd() = default;
    // Destroys the window it owns (routed or attached) on the window's own thread; from another
    // thread it only lets the window go.
    ~CWnd() override;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const;
    bool operator==(const CWnd& other) const { return m_hWnd == other.m_hWnd; }
    bool operator!=(const CWnd& other) const { return m_hWnd != other.m_hWnd; }

    // The object that holds the window, or a non-owning wrapper kept for the rest of the run.
    static CWnd* FromHandle(HWND window);
    static CWnd* FromHandlePermanent(HWND window);
    // Binds the object to a window without routing its messages; the object owns it from then on.
    // FALSE for a temporary wrapper, an object that holds a window, or a window another holds.
    BOOL Attach(HWND window);
    // NULL (and nothing changes) for a temporary wrapper.
    HWND Detach();
    // Routes the window's messages through this object; DefWindowProc then calls the original
    // window procedure. PreSubclassWindow runs just before.
    BOOL SubclassWindow(HWND window);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    HWND UnsubclassWindow();

    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, HMENU idOrMenu, LPVOID param = nullptr);
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id, LPVOID param = nullptr);
    virtual BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id, LPVOID param = nullptr);
    // FALSE for a temporary wrapper: it does not own the window.
    virtual BOOL DestroyWindow();

    virtual BOOL PreTranslateMessage(MSG* msg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The current message of this thread's window procedure, to the default handling.
    LRESULT Default();
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A parent offers a child's message back to the child; TRUE when the child took it.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    BOOL SendChildNotifyLastMsg(LRESULT* result = nullptr);
    static BOOL ReflectLastMsg(HWND child, LRESULT* result = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs) { return TRUE; }
    virtual void PreSubclassWindow() {}
    // After WM_NCDESTROY, when the object no longer holds a window.
    virtual void PostNcDestroy() {}
    virtual void DoDataExchange(CDataExchange* dx) {}
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // Command user-interface updates: the library has no update handlers, so there is nothing to do.
    void UpdateDialogControls(CCmdTarget* target, BOOL disableIfNoHandler) {}

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, BOOL deep = TRUE);

    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC timerProc = nullptr);
    BOOL KillTimer(UINT_PTR id);

    void SetWindowText(LPCSTR text) { ::SetWindowTextA(m_hWnd, text); }
    int GetWindowText(LPSTR text, int maxCount) const { return ::GetWindowTextA(m_hWnd, text, maxCount); }
    void GetWindowText(CString& text) const;
    int GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
    void SetFont(CFont* font, BOOL redraw = TRUE);
    CFont* GetFont() const;
    void SetIcon(HICON icon, BOOL bigIcon) { SendMessage(WM_SETICON, bigIcon, reinterpret_cast<LPARAM>(icon)); }

    CWnd* GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    int SetDlgCtrlID(int id) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, id)); }
    void SetDlgItemText(int id, LPCSTR text) { ::SetDlgItemTextA(m_hWnd, id, text); }
    int GetDlgItemText(int id, CString& text) const;
    void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE) { ::SetDlgItemInt(m_hWnd, id, value, isSigned); }
    UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const { return ::GetDlgItemInt(m_hWnd, id, translated, isSigned); }
    void CheckDlgButton(int id, UINT check) { ::CheckDlgButton(m_hWnd, id, check); }
    UINT IsDlgButtonChecked(int id) const { return ::IsDlgButtonChecked(m_hWnd, id); }
    void CheckRadioButton(int first, int last, int check) { ::CheckRadioButton(m_hWnd, first, last, check); }
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendDlgItemMessageA(m_hWnd, id, message, wParam, lParam);
    }
    CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
    CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
    void GotoDlgCtrl(CWnd* control);

    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    CWnd* SetParent(CWnd* parent) { return FromHandle(::SetParent(m_hWnd, parent->GetSafeHwnd())); }
    CWnd* GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT command) const { return FromHandle(::GetWindow(m_hWnd, command)); }
    CWnd* GetTopWindow() const { return FromHandle(::GetTopWindow(m_hWnd)); }
    CWnd* ChildWindowFromPoint(POINT point) const { return FromHandle(::ChildWindowFromPoint(m_hWnd, point)); }
    BOOL IsChild(const CWnd* window) const { return ::IsChild(m_hWnd, window->GetSafeHwnd()); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
    static CWnd* GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
    CWnd* SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
    static CWnd* GetCapture() { return FromHandle(::GetCapture()); }
    CWnd* SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
    static CWnd* GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
    static CWnd* FindWindow(LPCSTR className, LPCSTR windowName) { return FromHandle(::FindWindowA(className, windowName)); }
    static CWnd* WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    void BringWindowToTop() { ::BringWindowToTop(m_hWnd); }

    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    BOOL IsZoomed() const { return ::IsZoomed(m_hWnd); }
    BOOL EnableWindow(BOOL enable = TRUE) { return ::EnableWindow(m_hWnd, enable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE) { ::MoveWindow(m_hWnd, x, y, width, height, repaint); }
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE) { MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, repaint); }
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    void CenterWindow(CWnd* alternateOwner = nullptr);
    BOOL SetWindowRgn(HRGN region, BOOL redraw) { return ::SetWindowRgn(m_hWnd, region, redraw); }
    int GetWindowRgn(HRGN region) const { return ::GetWindowRgn(m_hWnd, region); }

    void GetClientRect(LPRECT rect) const { ::GetClientRect(m_hWnd, rect); }
    void GetWindowRect(LPRECT rect) const { ::GetWindowRect(m_hWnd, rect); }
    void ClientToScreen(LPPOINT point) const { ::ClientToScreen(m_hWnd, point); }
    void ClientToScreen(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const { ::ScreenToClient(m_hWnd, point); }
    void ScreenToClient(LPRECT rect) const;
    void MapWindowPoints(CWnd* to, LPPOINT points, UINT count) const { ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), points, count); }
    void MapWindowPoints(CWnd* to, LPRECT rect) const { ::MapWindowPoints(m_hWnd, to->GetSafeHwnd(), reinterpret_cast<LPPOINT>(rect), 2); }

    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
    DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyle(m_hWnd, remove, add, flags); }
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0) { return ModifyStyleEx(m_hWnd, remove, add, flags); }
    static BOOL ModifyStyle(HWND window, DWORD remove, DWORD add, UINT flags);
    static BOOL ModifyStyleEx(HWND window, DWORD remove, DWORD add, UINT flags);

    void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, rect, erase); }
    void InvalidateRgn(CRgn* region, BOOL erase = TRUE) { ::InvalidateRgn(m_hWnd, region ? static_cast<HRGN>(*region) : nullptr, erase); }
    void ValidateRect(LPCRECT rect) { ::ValidateRect(m_hWnd, rect); }
    void UpdateWindow() { ::UpdateWindow(m_hWnd); }
    BOOL RedrawWindow(LPCRECT update = nullptr, CRgn* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL redraw = TRUE) { SendMessage(WM_SETREDRAW, redraw); }
    CDC* GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
    CDC* GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
    int ReleaseDC(CDC* dc) { return ::ReleaseDC(m_hWnd, dc->GetSafeHdc()); }

    CMenu* GetMenu() const;
    CMenu* GetSystemMenu(BOOL revert) const;
    BOOL SetMenu(CMenu* menu);
    void DrawMenuBar() { ::DrawMenuBar(m_hWnd); }

    int MessageBox(LPCSTR text, LPCSTR caption = nullptr, UINT type = MB_OK);

protected:
    // Default handlers: each gives the message its default processing. A class that lists the
    // message in its map declares its own handler of the same name and signature.
    int OnCreate(LPCREATESTRUCTA cs) { return static_cast<int>(Default()); }
    void OnDestroy() { Default(); }
    void OnNcDestroy() { Default(); }
    void OnClose() { Default(); }
    void OnPaint() { Default(); }
    void OnNcPaint() { Default(); }
    BOOL OnEraseBkgnd(CDC* dc) { return static_cast<BOOL>(Default()); }
    void OnTimer(UINT_PTR id) { Default(); }
    void OnSize(UINT type, int cx, int cy) { Default(); }
    void OnMove(int x, int y) { Default(); }
    void OnShowWindow(BOOL show, UINT status) { Default(); }
    void OnEnable(BOOL enable) { Default(); }
    void OnActivate(UINT state, CWnd* other, BOOL minimized) { Default(); }
    void OnSetFocus(CWnd* old) { Default(); }
    void OnKillFocus(CWnd* next) { Default(); }
    void OnCancelMode() { Default(); }
    void OnCaptureChanged(CWnd* window) { Default(); }
    void OnSysColorChange() { Default(); }
    void OnSysCommand(UINT id, LPARAM lParam) { Default(); }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
    // Offers the message to the control first (reflection), then the default processing.
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnDrawItem(int id, LPDRAWITEMSTRUCT item);
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item);
    void OnHScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnInitMenuPopup(CMenu* popup, UINT index, BOOL systemMenu) { Default(); }
    LRESULT OnMenuChar(UINT ch, UINT flags, CMenu* menu) { return Default(); }
    BOOL OnSetCursor(CWnd* window, UINT hitTest, UINT message) { return static_cast<BOOL>(Default()); }
    LRESULT OnNcHitTest(CPoint point) { return Default(); }
    UINT OnGetDlgCode() { return static_cast<UINT>(Default()); }
    BOOL OnDeviceChange(UINT event, DWORD_PTR data) { return static_cast<BOOL>(Default()); }
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) { Default(); }
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) { Default(); }
    void OnChar(UINT ch, UINT repeat, UINT flags) { Default(); }
    void OnMouseMove(UINT flags, CPoint point) { Default(); }
    void OnLButtonDown(UINT flags, CPoint point) { Default(); }
    void OnLButtonUp(UINT flags, CPoint point) { Default(); }
    void OnLButtonDblClk(UINT flags, CPoint point) { Default(); }
    void OnRButtonDown(UINT flags, CPoint point) { Default(); }
    void OnRButtonUp(UINT flags, CPoint point) { Default(); }
    void OnNcLButtonDown(UINT hitTest, CPoint point) { Default(); }
    void OnRButtonDblClk(UINT flags, CPoint point) { Default(); }
    void OnMButtonDown(UINT flags, CPoint point) { Default(); }
    void OnMButtonUp(UINT flags, CPoint point) { Default(); }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point) { return static_cast<BOOL>(Default()); }
    void OnNcMouseMove(UINT hitTest, CPoint point) { Default(); }
    void OnContextMenu(CWnd* window, CPoint point) { Default(); }
    void OnSysKeyDown(UINT ch, UINT repeat, UINT flags) { Default(); }
    void OnWindowPosChanging(WINDOWPOS* position) { Default(); }
    void OnWindowPosChanged(WINDOWPOS* position) { Default(); }
    void OnGetMinMaxInfo(MINMAXINFO* info) { Default(); }
    void OnActivateApp(BOOL active, DWORD threadId) { Default(); }
    void OnMenuSelect(UINT item, UINT flags, HMENU menu) { Default(); }
    void OnSettingChange(UINT flags, LPCSTR section) { Default(); }

    static const ::dialogs::MessageMap* GetThisMessageMap();
    const ::dialogs::MessageMap* GetMessageMap() const override;

    WNDPROC m_pfnSuper = nullptr;  // the window's own procedure while we route it
    bool m_temporary = false;      // a FromHandle wrapper: owns nothing, changes nothing

    // Reflected entries of this object's map (the part of OnChildNotify every control shares).
    BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    void RouteWindow(HWND window);  // map + window procedure, as subclassing and creation do

    // The control that a WM_CTLCOLOR*, WM_H/VSCROLL, WM_DRAWITEM or WM_MEASUREITEM is about gets the
    // current message first (an owner-drawn menu of ours its DrawItem); TRUE when it took it.
    BOOL ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

private:
    friend LRESULT CALLBACK DialogsWindowProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK DialogsCbtHook(int, WPARAM, LPARAM);
    void ForgetWindow();  // after WM_NCDESTROY
    // Only our window procedure understands the timer requests of another thread.
    static bool IsRouted(HWND window);
};

namespace dialogs {
// Brackets one CreateWindowEx / CreateDialog call on this thread: the first window it creates is
// routed to the object from its very first message on.
class CreationScope
{
public:
    explicit CreationScope(CWnd* object);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* m_previousObject;
    void* m_previousHook;
};
}  // namespace dialogs

// The window procedure of every window that a CWnd routes (windows of classes registered with
// AfxRegisterWndClass start out with DefWindowProc and are routed at creation).
LRESULT CALLBACK DialogsWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const;
    static CMenu* FromHandle(HMENU menu);
    static CMenu* FromHandlePermanent(HMENU menu);
    // The object owns the menu from then on; FALSE for a temporary wrapper or a menu already held.
    BOOL Attach(HMENU menu);
    // A temporary wrapper refuses these two: NULL and FALSE.
    HMENU Detach();
    BOOL DestroyMenu();
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL LoadMenu(UINT id);

    BOOL AppendMenu(UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::AppendMenuA(m_hMenu, flags, id, text); }
    BOOL InsertMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::InsertMenuA(m_hMenu, position, flags, id, text); }
    BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR id = 0, LPCSTR text = nullptr) { return ::ModifyMenuA(m_hMenu, position, flags, id, text); }
    BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
    BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
    UINT EnableMenuItem(UINT id, UINT enable) { return ::EnableMenuItem(m_hMenu, id, enable); }
    UINT CheckMenuItem(UINT id, UINT check) { return ::CheckMenuItem(m_hMenu, id, check); }
    BOOL CheckMenuRadioItem(UINT first, UINT last, UINT item, UINT flags) { return ::CheckMenuRadioItem(m_hMenu, first, last, item, flags); }
    BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE) { return ::SetMenuDefaultItem(m_hMenu, item, byPosition); }
    UINT GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
    UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
    int GetMenuString(UINT id, LPSTR text, int maxCount, UINT flags) const { return ::GetMenuStringA(m_hMenu, id, text, maxCount, flags); }
    int GetMenuString(UINT id, CString& text, UINT flags) const;
    BOOL GetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE) const { return ::GetMenuItemInfoA(m_hMenu, item, byPosition, info); }
    BOOL SetMenuItemInfo(UINT item, LPMENUITEMINFOA info, BOOL byPosition = FALSE) { return ::SetMenuItemInfoA(m_hMenu, item, byPosition, info); }
    CMenu* GetSubMenu(int position) const { return FromHandle(::GetSubMenu(m_hMenu, position)); }
    // The permanent menu object holding the owner-drawn item that a WM_MEASUREITEM is about (the
    // message names no menu: the item is found by its id, or submenu, and its item data).
    static CMenu* FromOwnerDrawnItem(UINT itemId, ULONG_PTR itemData);
    BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* window, LPCRECT rect = nullptr)
    {
        return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, window->GetSafeHwnd(), rect);
    }

    // Owner-drawn items of an attached menu: the owner window's WM_DRAWITEM and WM_MEASUREITEM
    // for ODT_MENU reach these when no handler of the window takes them.
    virtual void DrawItem(LPDRAWITEMSTRUCT item) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT item) {}

private:
    bool m_temporary = false;  // a FromHandle wrapper: owns nothing, changes nothing
};
