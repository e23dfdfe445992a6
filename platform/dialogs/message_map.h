// platform/dialogs/message_map.h
// Message maps: a static table per class, chained to its base class's table. The entry macros
// below (one entry a line between BEGIN_MESSAGE_MAP and END_MESSAGE_MAP) each produce a small
// function that cracks wParam/lParam and calls the handler of the class that wrote the map.
#pragma once

#include <windows.h>

class CCmdTarget;

namespace dialogs {

enum class EntryKind : unsigned char {
    End,
    Message,         // a window message sent to this window
    Command,         // WM_COMMAND from a control or menu: notification code and id range
    Notify,          // WM_NOTIFY: notification code and id range
    Reflected,       // a message a parent reflected back to this control (WM_CTLCOLOR, WM_HSCROLL ...)
    ReflectedCommand,
    ReflectedNotify,
};

// Returns TRUE when it took the message; *result is what the window procedure returns.
using MessageThunk = bool (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result);

struct MessageMapEntry
{
    EntryKind kind;
    UINT message;   // for Command and Notify: the notification code
    UINT idFirst;
    UINT idLast;
    MessageThunk thunk;
};

struct MessageMap
{
    const MessageMap* (*base)();
    const MessageMapEntry* entries;
};

// The first entry of the chain, most derived class first, that matches.
const MessageMapEntry* FindEntry(const MessageMap* map, EntryKind kind, UINT message, UINT id);

}  // namespace dialogs

// WM_CTLCOLOR stands for the WM_CTLCOLORMSGBOX..WM_CTLCOLORSTATIC family in maps (the handler gets
// CTLCOLOR_MSGBOX..CTLCOLOR_STATIC); Win32 headers no longer define it.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

#define DECLARE_MESSAGE_MAP()                                   \
protected:                                                      \
    static const ::dialogs::MessageMap* GetThisMessageMap();    \
    const ::dialogs::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const ::dialogs::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const ::dialogs::MessageMap* theClass::GetThisMessageMap()                          \
    {                                                                                   \
        using ThisClass = theClass;                                                     \
        using TheBaseClass = baseClass;                                                 \
        static const ::dialogs::MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                               \
        {::dialogs::EntryKind::End, 0, 0, 0, nullptr}};                                 \
        static const ::dialogs::MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
        return &map;                                                                    \
    }

// Building blocks: SELF is the object as the class that wrote the map.
#define DIALOGS_SELF static_cast<ThisClass*>(target)
#define DIALOGS_THUNK(body)                                                                \
    [](CCmdTarget* target, WPARAM wParam, LPARAM lParam, LRESULT* result) -> bool {        \
        (void)target, (void)wParam, (void)lParam, (void)result;                            \
        body                                                                               \
    }
#define DIALOGS_MESSAGE(msg, body) {::dialogs::EntryKind::Message, msg, 0, 0, DIALOGS_THUNK(body)},
#define DIALOGS_VOID(msg, call) DIALOGS_MESSAGE(msg, DIALOGS_SELF->call; *result = 0; return true;)

// Plain handlers: LRESULT Handler(WPARAM, LPARAM).
#define ON_MESSAGE(msg, memberFxn) \
    DIALOGS_MESSAGE(msg, *result = (DIALOGS_SELF->*(memberFxn))(wParam, lParam); return true;)

// Window messages with cracked arguments; the handler names and signatures are fixed.
#define ON_WM_CREATE() \
    DIALOGS_MESSAGE(WM_CREATE, *result = DIALOGS_SELF->OnCreate(reinterpret_cast<LPCREATESTRUCTA>(lParam)); return true;)
#define ON_WM_DESTROY() DIALOGS_VOID(WM_DESTROY, OnDestroy())
#define ON_WM_NCDESTROY() DIALOGS_VOID(WM_NCDESTROY, OnNcDestroy())
#define ON_WM_CLOSE() DIALOGS_VOID(WM_CLOSE, OnClose())
#define ON_WM_PAINT() DIALOGS_VOID(WM_PAINT, OnPaint())
#define ON_WM_NCPAINT() DIALOGS_VOID(WM_NCPAINT, OnNcPaint())
#define ON_WM_ERASEBKGND() \
    DIALOGS_MESSAGE(WM_ERASEBKGND, *result = DIALOGS_SELF->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(wParam))); return true;)
#define ON_WM_TIMER() DIALOGS_VOID(WM_TIMER, OnTimer(static_cast<UINT_PTR>(wParam)))
#define ON_WM_SIZE() \
    DIALOGS_VOID(WM_SIZE, OnSize(static_cast<UINT>(wParam), static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_MOVE() \
    DIALOGS_VOID(WM_MOVE, OnMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))))
#define ON_WM_SHOWWINDOW() DIALOGS_VOID(WM_SHOWWINDOW, OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam)))
#define ON_WM_ENABLE() DIALOGS_VOID(WM_ENABLE, OnEnable(static_cast<BOOL>(wParam)))
#define ON_WM_ACTIVATE()                                                                              \
    DIALOGS_VOID(WM_ACTIVATE, OnActivate(LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), \
                                         static_cast<BOOL>(HIWORD(wParam))))
#define ON_WM_SETFOCUS() DIALOGS_VOID(WM_SETFOCUS, OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_KILLFOCUS() DIALOGS_VOID(WM_KILLFOCUS, OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))))
#define ON_WM_CANCELMODE() DIALOGS_VOID(WM_CANCELMODE, OnCancelMode())
#define ON_WM_CAPTURECHANGED() DIALOGS_VOID(WM_CAPTURECHANGED, OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_SYSCOLORCHANGE() DIALOGS_VOID(WM_SYSCOLORCHANGE, OnSysColorChange())
#define ON_WM_SYSCOMMAND() DIALOGS_VOID(WM_SYSCOMMAND, OnSysCommand(static_cast<UINT>(wParam), lParam))
#define ON_WM_QUERYDRAGICON() \
    DIALOGS_MESSAGE(WM_QUERYDRAGICON, *result = reinterpret_cast<LRESULT>(DIALOGS_SELF->OnQueryDragIcon()); return true;)
#define ON_WM_CTLCOLOR()                                                                            \
    DIALOGS_MESSAGE(WM_CTLCOLOR,                                                                    \
        *result = reinterpret_cast<LRESULT>(DIALOGS_SELF->OnCtlColor(                               \
            CDC::FromHandle(reinterpret_cast<HDC>(wParam)), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), \
            ::dialogs::CurrentCtlColorKind()));                                                     \
        return true;)
#define ON_WM_DRAWITEM() \
    DIALOGS_VOID(WM_DRAWITEM, OnDrawItem(static_cast<int>(wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)))
#define ON_WM_MEASUREITEM() \
    DIALOGS_VOID(WM_MEASUREITEM, OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam)))
#define ON_WM_INITMENUPOPUP()                                                                        \
    DIALOGS_VOID(WM_INITMENUPOPUP, OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(wParam)), \
                                                   LOWORD(lParam), static_cast<BOOL>(HIWORD(lParam))))
#define ON_WM_MENUCHAR()                                                                              \
    DIALOGS_MESSAGE(WM_MENUCHAR, *result = DIALOGS_SELF->OnMenuChar(LOWORD(wParam), HIWORD(wParam),   \
                                    CMenu::FromHandle(reinterpret_cast<HMENU>(lParam))); return true;)
#define ON_WM_HSCROLL()                                                                               \
    DIALOGS_VOID(WM_HSCROLL, OnHScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),           \
                                       CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_VSCROLL()                                                                               \
    DIALOGS_VOID(WM_VSCROLL, OnVScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),           \
                                       CWnd::FromHandle(reinterpret_cast<HWND>(lParam))))
#define ON_WM_SETCURSOR()                                                                             \
    DIALOGS_MESSAGE(WM_SETCURSOR, *result = DIALOGS_SELF->OnSetCursor(                                \
        CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), LOWORD(lParam), HIWORD(lParam)); return true;)
#define ON_WM_NCHITTEST() \
    DIALOGS_MESSAGE(WM_NCHITTEST, *result = DIALOGS_SELF->OnNcHitTest(CPoint(lParam)); return true;)
#define ON_WM_GETDLGCODE() DIALOGS_MESSAGE(WM_GETDLGCODE, *result = DIALOGS_SELF->OnGetDlgCode(); return true;)
#define ON_WM_DEVICECHANGE() \
    DIALOGS_MESSAGE(WM_DEVICECHANGE, *result = DIALOGS_SELF->OnDeviceChange(static_cast<UINT>(wParam), static_cast<DWORD_PTR>(lParam)); return true;)
#define ON_WM_KEYDOWN() \
    DIALOGS_VOID(WM_KEYDOWN, OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_KEYUP() DIALOGS_VOID(WM_KEYUP, OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_CHAR() DIALOGS_VOID(WM_CHAR, OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define DIALOGS_MOUSE(msg, name) DIALOGS_VOID(msg, name(static_cast<UINT>(wParam), CPoint(lParam)))
#define ON_WM_MOUSEMOVE() DIALOGS_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() DIALOGS_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() DIALOGS_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() DIALOGS_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() DIALOGS_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() DIALOGS_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_NCLBUTTONDOWN() \
    DIALOGS_VOID(WM_NCLBUTTONDOWN, OnNcLButtonDown(static_cast<UINT>(wParam), CPoint(lParam)))

#define ON_WM_RBUTTONDBLCLK() DIALOGS_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() DIALOGS_MOUSE(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() DIALOGS_MOUSE(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MOUSEWHEEL()                                                                            \
    DIALOGS_MESSAGE(WM_MOUSEWHEEL, *result = DIALOGS_SELF->OnMouseWheel(LOWORD(wParam),                \
        static_cast<short>(HIWORD(wParam)), CPoint(lParam)); return true;)
#define ON_WM_NCMOUSEMOVE() \
    DIALOGS_VOID(WM_NCMOUSEMOVE, OnNcMouseMove(static_cast<UINT>(wParam), CPoint(lParam)))
#define ON_WM_CONTEXTMENU() \
    DIALOGS_VOID(WM_CONTEXTMENU, OnContextMenu(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)), CPoint(lParam)))
#define ON_WM_SYSKEYDOWN() \
    DIALOGS_VOID(WM_SYSKEYDOWN, OnSysKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)))
#define ON_WM_WINDOWPOSCHANGING() \
    DIALOGS_VOID(WM_WINDOWPOSCHANGING, OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
    DIALOGS_VOID(WM_WINDOWPOSCHANGED, OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam)))
#define ON_WM_GETMINMAXINFO() \
    DIALOGS_VOID(WM_GETMINMAXINFO, OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam)))
#define ON_WM_ACTIVATEAPP() \
    DIALOGS_VOID(WM_ACTIVATEAPP, OnActivateApp(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam)))
#define ON_WM_MENUSELECT() \
    DIALOGS_VOID(WM_MENUSELECT, OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam)))
#define ON_WM_SETTINGCHANGE() \
    DIALOGS_VOID(WM_SETTINGCHANGE, OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam)))

// Commands and control notifications sent to the parent: void Handler().
#define ON_CONTROL(code, id, memberFxn)                                                   \
    {::dialogs::EntryKind::Command, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     DIALOGS_THUNK((DIALOGS_SELF->*(memberFxn))(); *result = 0; return true;)},
#define ON_COMMAND(id, memberFxn) ON_CONTROL(0, id, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
// void Handler(UINT id) for a range of command ids.
#define ON_COMMAND_RANGE(idFirst, idLast, memberFxn)                                      \
    {::dialogs::EntryKind::Command, 0, static_cast<UINT>(idFirst), static_cast<UINT>(idLast), \
     DIALOGS_THUNK((DIALOGS_SELF->*(memberFxn))(LOWORD(wParam)); *result = 0; return true;)},
// void Handler(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFxn)                                                    \
    {::dialogs::EntryKind::Notify, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     DIALOGS_THUNK(*result = 0; (DIALOGS_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), result); return true;)},

// Reflected to the control itself. A control's entry takes the message before the parent sees it.
// HBRUSH CtlColor(CDC*, UINT kind): a NULL brush leaves the message to the parent.
#define ON_WM_CTLCOLOR_REFLECT()                                                                  \
    {::dialogs::EntryKind::Reflected, WM_CTLCOLOR, 0, 0, DIALOGS_THUNK(                           \
        HBRUSH brush = DIALOGS_SELF->CtlColor(CDC::FromHandle(reinterpret_cast<HDC>(wParam)),     \
                                              ::dialogs::CurrentCtlColorKind());                  \
        *result = reinterpret_cast<LRESULT>(brush); return brush != nullptr;)},
// void HScroll(UINT code, UINT position) / VScroll.
#define ON_WM_HSCROLL_REFLECT() \
    {::dialogs::EntryKind::Reflected, WM_HSCROLL, 0, 0, DIALOGS_THUNK(DIALOGS_SELF->HScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam))); *result = 0; return true;)},
#define ON_WM_VSCROLL_REFLECT() \
    {::dialogs::EntryKind::Reflected, WM_VSCROLL, 0, 0, DIALOGS_THUNK(DIALOGS_SELF->VScroll(LOWORD(wParam), static_cast<short>(HIWORD(wParam))); *result = 0; return true;)},
// void Handler(): the parent does not see the notification.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    {::dialogs::EntryKind::ReflectedCommand, static_cast<UINT>(code), 0, 0, DIALOGS_THUNK((DIALOGS_SELF->*(memberFxn))(); *result = 0; return true;)},
// BOOL Handler(): FALSE lets the parent handle the notification as well.
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    {::dialogs::EntryKind::ReflectedCommand, static_cast<UINT>(code), 0, 0, DIALOGS_THUNK(*result = 0; return (DIALOGS_SELF->*(memberFxn))() != FALSE;)},
#define ON_BN_CLICKED_REFLECT(memberFxn) ON_CONTROL_REFLECT(BN_CLICKED, memberFxn)
#define ON_EN_UPDATE_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_UPDATE, memberFxn)
#define ON_EN_KILLFOCUS_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_KILLFOCUS, memberFxn)
#define ON_EN_CHANGE_REFLECT(memberFxn) ON_CONTROL_REFLECT(EN_CHANGE, memberFxn)
// void Handler(NMHDR*, LRESULT*).
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    {::dialogs::EntryKind::ReflectedNotify, static_cast<UINT>(code), 0, 0, DIALOGS_THUNK(*result = 0; (DIALOGS_SELF->*(memberFxn))(reinterpret_cast<NMHDR*>(lParam), result); return true;)},

namespace dialogs {
// The CTLCOLOR_* kind of the WM_CTLCOLOR* message being handled on this thread.
UINT CurrentCtlColorKind();
}
