// Message maps, reflection, the modal loop and its threads, data exchange, strings and files of
// the dialog class library, with real windows.
#include "platform/dialogs/dialogs.h"

#include <gtest/gtest.h>

#include "tests/windows/support/gdi_objects.h"

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kDrawnButton = 1001;
constexpr int kLabel = 1002;
constexpr int kEdit = 1003;
constexpr int kPlainButton = 1004;
constexpr UINT kProbeMessage = WM_APP + 1;

std::vector<std::string> g_calls;

// --- message maps on a plain window

class CBaseWindow : public CWnd
{
public:
    BOOL CreatePopup() { return CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, 0, 0, 100, 60, nullptr, nullptr); }

protected:
    DECLARE_MESSAGE_MAP()
    void OnTimer(UINT_PTR id) { g_calls.push_back("base timer " + std::to_string(id)); }
    void OnSize(UINT type, int cx, int cy) { g_calls.push_back("base size " + std::to_string(cx) + "x" + std::to_string(cy)); }
    LRESULT OnProbe(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
};

BEGIN_MESSAGE_MAP(CBaseWindow, CWnd)
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_MESSAGE(kProbeMessage, &CBaseWindow::OnProbe)
END_MESSAGE_MAP()

class CDerivedWindow : public CBaseWindow
{
public:
    int m_created = 0;

protected:
    DECLARE_MESSAGE_MAP()
    int OnCreate(LPCREATESTRUCTA cs)
    {
        ++m_created;
        return CBaseWindow::OnCreate(cs);
    }
    void OnTimer(UINT_PTR id)
    {
        g_calls.push_back("derived timer " + std::to_string(id));
        CBaseWindow::OnTimer(id);
    }
    void OnLButtonDown(UINT flags, CPoint point)
    {
        g_calls.push_back("click " + std::to_string(point.x) + "," + std::to_string(point.y));
    }
};

BEGIN_MESSAGE_MAP(CDerivedWindow, CBaseWindow)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

TEST(MessageMap, RoutesToTheMostDerivedEntryAndChainsToTheBase)
{
    g_calls.clear();
    CDerivedWindow window;
    ASSERT_TRUE(window.CreatePopup());
    EXPECT_EQ(window.m_created, 1) << "WM_CREATE reaches the object: it is routed from creation on";
    EXPECT_EQ(CWnd::FromHandlePermanent(window.m_hWnd), &window);
    ASSERT_FALSE(g_calls.empty()) << "creation sends WM_SIZE, which the base's entry takes";
    g_calls.clear();

    window.SendMessage(WM_TIMER, 7);
    window.SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(30, 20));
    window.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-3, 4));
    EXPECT_EQ(window.SendMessage(kProbeMessage, 40, 2), 42);
    // No entry anywhere: the window's own procedure answers (DefWindowProc gives the text).
    window.SendMessage(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
    CString text;
    window.GetWindowText(text);
    EXPECT_EQ(text, "renamed");

    std::vector<std::string> expected = {"derived timer 7", "base timer 7", "base size 30x20", "click -3,4"};
    EXPECT_EQ(g_calls, expected);

    HWND handle = window.m_hWnd;
    ASSERT_TRUE(window.DestroyWindow());
    EXPECT_EQ(window.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(handle), nullptr);
}

// Handlers get their arguments cracked from wParam and lParam.
class CCrackingWindow : public CBaseWindow
{
protected:
    DECLARE_MESSAGE_MAP()
    void Record(const std::string& text) { g_calls.push_back(text); }
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point)
    {
        Record("wheel " + std::to_string(flags) + " " + std::to_string(delta) + " " + std::to_string(point.x) + "," + std::to_string(point.y));
        return TRUE;
    }
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) { Record("key " + std::to_string(ch) + " " + std::to_string(repeat) + " " + std::to_string(flags)); }
    void OnContextMenu(CWnd* window, CPoint point) { Record(std::string("menu ") + (window == this ? "self " : "other ") + std::to_string(point.x)); }
    void OnSysCommand(UINT id, LPARAM lParam) { Record("syscommand " + std::to_string(id & 0xFFF0)); }
    void OnWindowPosChanging(WINDOWPOS* position) { Record("poschanging " + std::to_string(position->cx)); }
    BOOL OnEraseBkgnd(CDC* dc) { Record(std::string("erase ") + (dc && dc->m_hDC ? "dc" : "none")); return TRUE; }
    LRESULT OnNcHitTest(CPoint point) { Record("hittest " + std::to_string(point.y)); return HTCAPTION; }
    UINT OnGetDlgCode() { return DLGC_WANTALLKEYS; }
    void OnCommandRange(UINT id) { Record("command " + std::to_string(id)); }
};

BEGIN_MESSAGE_MAP(CCrackingWindow, CBaseWindow)
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_CONTEXTMENU()
    ON_WM_SYSCOMMAND()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_ERASEBKGND()
    ON_WM_NCHITTEST()
    ON_WM_GETDLGCODE()
    ON_COMMAND_RANGE(200, 210, &CCrackingWindow::OnCommandRange)
END_MESSAGE_MAP()

TEST(MessageMap, CracksTheArgumentsOfEachKindOfEntry)
{
    CCrackingWindow window;
    ASSERT_TRUE(window.CreatePopup());
    g_calls.clear();
    window.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), MAKELPARAM(12, 34));
    window.SendMessage(WM_KEYDOWN, 'A', MAKELPARAM(3, 0x1E));
    window.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.m_hWnd), MAKELPARAM(-5, 6));
    window.SendMessage(WM_SYSCOMMAND, 16 | 3, 0);
    window.SetWindowPos(nullptr, 0, 0, 91, 20, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HDC dc = GetDC(window.m_hWnd);
    window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
    ReleaseDC(window.m_hWnd, dc);
    EXPECT_EQ(window.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(1, 77)), HTCAPTION);
    EXPECT_EQ(window.SendMessage(WM_GETDLGCODE), DLGC_WANTALLKEYS);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(205, 0), 0);
    window.SendMessage(WM_COMMAND, MAKEWPARAM(205, 1), 0);  // the same command from an accelerator
    window.SendMessage(WM_COMMAND, MAKEWPARAM(211, 0), 0);  // outside the range: not handled
    std::vector<std::string> expected = {
        "wheel 4 -120 12,34", "key 65 3 30", "menu self -5", "syscommand 16", "poschanging 91",
        "erase dc", "hittest 77", "command 205", "command 205"};
    std::vector<std::string> seen;
    for (const std::string& call : g_calls)
        if (call.rfind("base size", 0) != 0)
            seen.push_back(call);
    EXPECT_EQ(seen, expected);
    window.DestroyWindow();
}

TEST(MessageMap, TemporaryWrappersForWindowsNoObjectHolds)
{
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    CWnd* first = CWnd::FromHandle(plain);
    EXPECT_EQ(first, CWnd::FromHandle(plain));
    EXPECT_EQ(first->m_hWnd, plain);
    EXPECT_EQ(CWnd::FromHandlePermanent(plain), nullptr);
    EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
    CWnd* volatile none = nullptr;  // as a caller holding a NULL control pointer would
    EXPECT_EQ(none->GetSafeHwnd(), nullptr);
    DestroyWindow(plain);
}

// A temporary wrapper owns nothing: every call that would change what it holds or release the
// handle is refused, so later FromHandle calls still answer the right handle.
TEST(Ownership, TemporaryWrappersRefuseToChangeOrReleaseTheirHandle)
{
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    CWnd* window = CWnd::FromHandle(plain);
    EXPECT_FALSE(window->Attach(other));
    EXPECT_EQ(window->Detach(), nullptr);
    EXPECT_FALSE(window->DestroyWindow());
    EXPECT_TRUE(IsWindow(plain));
    EXPECT_EQ(CWnd::FromHandle(plain)->m_hWnd, plain);

    HBRUSH brushHandle = CreateSolidBrush(RGB(1, 2, 3));
    HBRUSH otherBrush = CreateSolidBrush(RGB(4, 5, 6));
    CBrush* brush = CBrush::FromHandle(brushHandle);
    EXPECT_FALSE(brush->DeleteObject());
    EXPECT_FALSE(brush->Attach(otherBrush));
    EXPECT_FALSE(brush->CreateSolidBrush(RGB(7, 8, 9)));
    EXPECT_FALSE(brush->CreateStockObject(BLACK_BRUSH));
    EXPECT_EQ(brush->Detach(), nullptr);
    EXPECT_EQ(GetObjectType(brushHandle), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(CBrush::FromHandle(brushHandle)->m_hObject, brushHandle);
    EXPECT_EQ(CGdiObject::FromHandle(brushHandle)->m_hObject, brushHandle);

    HDC dcHandle = CreateCompatibleDC(nullptr);
    HDC otherDc = CreateCompatibleDC(nullptr);
    CDC* dc = CDC::FromHandle(dcHandle);
    EXPECT_FALSE(dc->DeleteDC());
    EXPECT_FALSE(dc->Attach(otherDc));
    EXPECT_FALSE(dc->CreateCompatibleDC(nullptr));
    EXPECT_EQ(dc->Detach(), nullptr);
    EXPECT_EQ(GetObjectType(dcHandle), static_cast<DWORD>(OBJ_MEMDC));
    EXPECT_EQ(CDC::FromHandle(dcHandle)->m_hDC, dcHandle);

    HMENU menuHandle = CreatePopupMenu();
    CMenu* menu = CMenu::FromHandle(menuHandle);
    EXPECT_FALSE(menu->DestroyMenu());
    EXPECT_EQ(menu->Detach(), nullptr);
    EXPECT_TRUE(IsMenu(menuHandle));
    EXPECT_EQ(CMenu::FromHandle(menuHandle)->m_hMenu, menuHandle);

    DestroyMenu(menuHandle);
    DeleteDC(dcHandle);
    DeleteDC(otherDc);
    DeleteObject(brushHandle);
    DeleteObject(otherBrush);
    DestroyWindow(plain);
    DestroyWindow(other);
}

// Attach makes the object the owner for every kind of handle: FromHandle answers it, Detach hands
// the handle back, and the object's end releases what it still owns.
TEST(Ownership, AttachedHandlesAreOwnedAlikeByWindowsMenusGdiObjectsAndDCs)
{
    HWND window = CreateWindowExA(0, "STATIC", "owned", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HDC dc = CreateCompatibleDC(nullptr);
    {
        CWnd ownerWindow;
        CMenu ownerMenu;
        CBrush ownerBrush;
        CDC ownerDc;
        ASSERT_TRUE(ownerWindow.Attach(window));
        ASSERT_TRUE(ownerMenu.Attach(menu));
        ASSERT_TRUE(ownerBrush.Attach(brush));
        ASSERT_TRUE(ownerDc.Attach(dc));
        EXPECT_EQ(CWnd::FromHandle(window), &ownerWindow);
        EXPECT_EQ(CMenu::FromHandle(menu), &ownerMenu);
        EXPECT_EQ(CBrush::FromHandle(brush), &ownerBrush);
        EXPECT_EQ(CDC::FromHandle(dc), &ownerDc);
        CWnd second;
        EXPECT_FALSE(second.Attach(window)) << "one owner per handle";
        CMenu secondMenu;
        EXPECT_FALSE(secondMenu.Attach(menu));
    }
    EXPECT_FALSE(IsWindow(window)) << "an attached window goes with its object, as a menu, a brush and a DC do";
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(GetObjectType(brush), 0u);
    EXPECT_EQ(GetObjectType(dc), 0u);

    HWND kept = CreateWindowExA(0, "STATIC", "kept", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HDC keptDc = CreateCompatibleDC(nullptr);
    {
        CWnd ownerWindow;
        CDC ownerDc;
        ASSERT_TRUE(ownerWindow.Attach(kept));
        ASSERT_TRUE(ownerDc.Attach(keptDc));
        EXPECT_EQ(ownerWindow.Detach(), kept);
        EXPECT_EQ(ownerDc.Detach(), keptDc);
        EXPECT_NE(CDC::FromHandle(keptDc), &ownerDc);
    }
    EXPECT_TRUE(IsWindow(kept)) << "a detached handle is the caller's again";
    EXPECT_EQ(GetObjectType(keptDc), static_cast<DWORD>(OBJ_MEMDC));
    DestroyWindow(kept);
    DeleteDC(keptDc);
}

// Another subclass on top of ours: a Detach cannot take our procedure out of the chain.
class CProbeCountingButton : public CButton
{
public:
    int m_probes = 0;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT OnProbe(WPARAM, LPARAM)
    {
        ++m_probes;
        return 5;
    }
};

BEGIN_MESSAGE_MAP(CProbeCountingButton, CButton)
    ON_MESSAGE(kProbeMessage, &CProbeCountingButton::OnProbe)
END_MESSAGE_MAP()

WNDPROC g_belowTopSubclass = nullptr;
int g_topSubclassMessages = 0;

LRESULT CALLBACK TopSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++g_topSubclassMessages;
    return CallWindowProcA(g_belowTopSubclass, window, message, wParam, lParam);
}

TEST(Subclassing, DetachUnderAnotherSubclassLeavesTheControlWorking)
{
    HWND check = CreateWindowExA(0, "BUTTON", "check", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 60, 20, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(check, nullptr);
    auto checked = [&] { return SendMessageA(check, BM_GETCHECK, 0, 0); };
    {
        CProbeCountingButton first;
        ASSERT_TRUE(first.SubclassWindow(check));
        g_belowTopSubclass = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TopSubclass)));
        EXPECT_EQ(first.Detach(), check);
    }
    g_topSubclassMessages = 0;
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(checked(), BST_CHECKED) << "the button's own procedure still gets its messages";
    EXPECT_GE(g_topSubclassMessages, 2);

    // A new object takes our procedure's place in the chain again: each message once, no loop.
    CProbeCountingButton second;
    ASSERT_TRUE(second.SubclassWindow(check));
    EXPECT_EQ(SendMessageA(check, kProbeMessage, 0, 0), 5);
    EXPECT_EQ(second.m_probes, 1);
    SendMessageA(check, BM_SETCHECK, BST_UNCHECKED, 0);
    EXPECT_EQ(checked(), BST_UNCHECKED);
    EXPECT_EQ(second.Detach(), check);

    // The subclass on top goes away: ours is on top again and still passes messages on.
    SetWindowLongPtrA(check, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_belowTopSubclass));
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(checked(), BST_CHECKED);
    EXPECT_EQ(SendMessageA(check, kProbeMessage, 0, 0), 0) << "no object answers for the window";
    EXPECT_TRUE(DestroyWindow(check));
}

// WM_NOTIFY: reflected to the sending control first, then the parent's entry of its id.
class CNotifyingChild : public CWnd
{
public:
    int m_reflected = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnClick(NMHDR* header, LRESULT* result)
    {
        ++m_reflected;
        *result = 7;
    }
};

BEGIN_MESSAGE_MAP(CNotifyingChild, CWnd)
    ON_NOTIFY_REFLECT(NM_CLICK, &CNotifyingChild::OnClick)
END_MESSAGE_MAP()

class CNotifiedParent : public CBaseWindow
{
public:
    int m_rightClicks = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnRightClick(NMHDR* header, LRESULT* result)
    {
        ++m_rightClicks;
        *result = static_cast<LRESULT>(header->idFrom);
    }
};

BEGIN_MESSAGE_MAP(CNotifiedParent, CBaseWindow)
    ON_NOTIFY(NM_RCLICK, 42, &CNotifiedParent::OnRightClick)
END_MESSAGE_MAP()

TEST(MessageMap, NotificationsGoToTheControlThenToTheParentsEntry)
{
    CNotifiedParent parent;
    ASSERT_TRUE(parent.CreatePopup());
    CNotifyingChild child;
    ASSERT_TRUE(child.CreateEx(0, AfxRegisterWndClass(0), "", WS_CHILD, CRect(0, 0, 10, 10), &parent, 42));
    NMHDR header = {child.m_hWnd, 42, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)), 7);
    EXPECT_EQ(child.m_reflected, 1);
    header.code = static_cast<UINT>(NM_RCLICK);
    EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 42, reinterpret_cast<LPARAM>(&header)), 42);
    EXPECT_EQ(parent.m_rightClicks, 1);
    EXPECT_EQ(child.m_reflected, 1);
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr) << "the child went with its parent";
}

TEST(Controls, ToolTipTakesAndDropsATool)
{
    CBaseWindow owner;
    ASSERT_TRUE(owner.CreatePopup());
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner, TTS_ALWAYSTIP));
    EXPECT_EQ(tip.GetToolCount(), 0);
    EXPECT_TRUE(tip.AddTool(&owner, "a tip", nullptr, 1));
    EXPECT_EQ(tip.GetToolCount(), 1);
    tip.UpdateTipText("another tip", &owner, 1);
    tip.DelTool(&owner, 1);
    EXPECT_EQ(tip.GetToolCount(), 0);
    owner.DestroyWindow();
    EXPECT_EQ(tip.m_hWnd, nullptr) << "an owned popup goes with its owner";
}

TEST(Controls, ToolTipToolsTakeTheFlagsTheCallerGives)
{
    CBaseWindow owner;
    ASSERT_TRUE(owner.CreatePopup());
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(&owner));
    auto flagsOf = [&](UINT_PTR id) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = owner.m_hWnd;
        tool.uId = id;
        EXPECT_TRUE(tip.SendMessage(TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&tool))) << "tool " << id;
        return tool.uFlags;
    };
    ASSERT_TRUE(tip.AddTool(&owner, "relayed by its window", nullptr, 1));
    EXPECT_EQ(flagsOf(1) & TTF_SUBCLASS, 0u);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner.m_hWnd, GWLP_WNDPROC)), DialogsWindowProcedure)
        << "the tooltip left the window's procedure alone";
    ASSERT_TRUE(tip.AddTool(&owner, "watched by the tooltip", nullptr, 2, TTF_SUBCLASS | TTF_CENTERTIP));
    EXPECT_EQ(flagsOf(2) & (TTF_SUBCLASS | TTF_CENTERTIP), static_cast<UINT>(TTF_SUBCLASS | TTF_CENTERTIP));
    owner.DestroyWindow();
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) { EndMenu(); }

class CMeasuredMenu : public CMenu
{
public:
    int m_measured = 0;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override
    {
        ++m_measured;
        item->itemWidth = 77;
        item->itemHeight = 21;
    }
};

TEST(Menus, OwnerDrawnItemsAreMeasuredByTheirMenuObject)
{
    CBaseWindow owner;
    ASSERT_TRUE(owner.CreatePopup());
    CMeasuredMenu menu, other;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(other.CreatePopupMenu());
    const ULONG_PTR record = 0x1234;
    ASSERT_TRUE(other.AppendMenu(MF_OWNERDRAW, 300, reinterpret_cast<LPCSTR>(record + 1)));
    ASSERT_TRUE(menu.AppendMenu(MF_OWNERDRAW, 300, reinterpret_cast<LPCSTR>(record)));
    CMenu submenu;
    ASSERT_TRUE(submenu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendMenu(MF_OWNERDRAW | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.m_hMenu),
                                reinterpret_cast<LPCSTR>(record + 2)));

    MEASUREITEMSTRUCT item = {ODT_MENU, 0, 300, 0, 0, record};
    EXPECT_TRUE(owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(menu.m_measured, 1);
    EXPECT_EQ(other.m_measured, 0) << "the item with the same id but other data is another menu's";
    EXPECT_EQ(item.itemWidth, 77u);
    EXPECT_EQ(item.itemHeight, 21u);

    MEASUREITEMSTRUCT popupItem = {ODT_MENU, 0, static_cast<UINT>(reinterpret_cast<UINT_PTR>(submenu.m_hMenu)), 0, 0, record + 2};
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&popupItem));
    EXPECT_EQ(menu.m_measured, 2) << "an item that opens a submenu";

    // As the system measures the items of a menu it opens (the timer closes it again).
    owner.ShowWindow(SW_SHOWNOACTIVATE);
    menu.m_measured = 0;
    ::SetTimer(owner.m_hWnd, 9, 100, CloseMenu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, 10, 10, &owner);
    ::KillTimer(owner.m_hWnd, 9);
    EXPECT_GE(menu.m_measured, 2) << "both items, when the menu opened";

    MEASUREITEMSTRUCT unknown = {ODT_MENU, 0, 301, 0, 0, record};
    int measured = menu.m_measured;
    owner.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&unknown));
    EXPECT_EQ(menu.m_measured, measured) << "no menu object holds this item";
    EXPECT_EQ(other.m_measured, 0);
    owner.DestroyWindow();
}

// --- a dialog with reflected notifications

class CReflectingButton : public CButton
{
public:
    int m_clicks = 0;
    int m_draws = 0;
    UINT m_lastDrawState = 0;
    int m_preTranslatedKeys = 0;
    HBRUSH m_brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));

    void DrawItem(LPDRAWITEMSTRUCT item) override
    {
        ++m_draws;
        m_lastDrawState = item->itemState;
        FillRect(item->hDC, &item->rcItem, m_brush);
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            ++m_preTranslatedKeys;
        return CButton::PreTranslateMessage(msg);
    }

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnClicked()
    {
        ++m_clicks;
        return FALSE;  // the parent sees BN_CLICKED as well
    }
    HBRUSH CtlColor(CDC* dc, UINT kind) { return m_brush; }
};

BEGIN_MESSAGE_MAP(CReflectingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CReflectingButton::OnClicked)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CSwallowingStatic : public CStatic
{
public:
    int m_clicks = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnClicked() { ++m_clicks; }
};

BEGIN_MESSAGE_MAP(CSwallowingStatic, CStatic)
    ON_CONTROL_REFLECT(STN_CLICKED, &CSwallowingStatic::OnClicked)
END_MESSAGE_MAP()

using DialogStep = void (*)(class CRoutingDialog&);

class CRoutingDialog : public CDialog
{
public:
    CRoutingDialog() : CDialog(100) {}

    CReflectingButton m_drawn;
    CSwallowingStatic m_label;
    CString m_editText = "typed";
    int m_parentClicks = 0;
    int m_parentLabelClicks = 0;
    int m_plainClicks = 0;
    UINT m_lastColorKind = 0xFFFF;
    int m_okCalls = 0;
    DialogStep m_step = nullptr;  // runs once the modal loop is going
    bool m_preTranslateSawKey = false;

    void DoDataExchange(CDataExchange* dx) override
    {
        CDialog::DoDataExchange(dx);
        DDX_Control(dx, kDrawnButton, m_drawn);
        DDX_Control(dx, kLabel, m_label);
        DDX_Text(dx, kEdit, m_editText);
    }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        SetTimer(1, 10);
        return TRUE;
    }
    void OnOK() override
    {
        ++m_okCalls;
        CDialog::OnOK();
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            m_preTranslateSawKey = true;
        return CDialog::PreTranslateMessage(msg);
    }

protected:
    DECLARE_MESSAGE_MAP()
    void OnDrawnClicked() { ++m_parentClicks; }
    void OnLabelClicked() { ++m_parentLabelClicks; }
    void OnPlainClicked() { ++m_plainClicks; }
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind)
    {
        m_lastColorKind = kind;
        return CDialog::OnCtlColor(dc, control, kind);
    }
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        if (m_step)
            m_step(*this);
    }
};

BEGIN_MESSAGE_MAP(CRoutingDialog, CDialog)
    ON_BN_CLICKED(kDrawnButton, &CRoutingDialog::OnDrawnClicked)
    ON_STN_CLICKED(kLabel, &CRoutingDialog::OnLabelClicked)
    ON_BN_CLICKED(kPlainButton, &CRoutingDialog::OnPlainClicked)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
END_MESSAGE_MAP()

TEST(Dialog, ReflectsNotificationsToItsControlsAndRoutesTheRest)
{
    CRoutingDialog dialog;
    dialog.m_step = [](CRoutingDialog& d) {
        // Reflected with _EX: the control and then the parent.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kDrawnButton, BN_CLICKED), reinterpret_cast<LPARAM>(d.m_drawn.m_hWnd));
        // Reflected without _EX: the control alone.
        d.SendMessage(WM_COMMAND, MAKEWPARAM(kLabel, STN_CLICKED), reinterpret_cast<LPARAM>(d.m_label.m_hWnd));
        // A control no object holds: the parent's entry.
        d.SendDlgItemMessage(kPlainButton, BM_CLICK);
        // The control's reflected colour wins over the parent's default.
        HDC dc = GetDC(d.m_drawn.m_hWnd);
        LRESULT brush = d.SendMessage(WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(d.m_drawn.m_hWnd));
        ReleaseDC(d.m_drawn.m_hWnd, dc);
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), d.m_drawn.m_brush);
        EXPECT_EQ(d.m_lastColorKind, static_cast<UINT>(CTLCOLOR_BTN));
        d.m_drawn.RedrawWindow();
        d.EndDialog(77);
    };
    EXPECT_EQ(dialog.DoModal(), 77);
    EXPECT_EQ(dialog.m_drawn.m_clicks, 1);
    EXPECT_EQ(dialog.m_parentClicks, 1);
    EXPECT_EQ(dialog.m_label.m_clicks, 1);
    EXPECT_EQ(dialog.m_parentLabelClicks, 0);
    EXPECT_EQ(dialog.m_plainClicks, 1);
    EXPECT_GE(dialog.m_drawn.m_draws, 1) << "WM_DRAWITEM comes back to the button as DrawItem";
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_EQ(dialog.m_drawn.m_hWnd, nullptr) << "the controls forget their windows with the dialog";
    EXPECT_EQ(dialog.m_okCalls, 0);
}

class CColourFollowingStatic : public CStatic
{
public:
    int m_colourChanges = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnSysColorChange()
    {
        ++m_colourChanges;
        CStatic::OnSysColorChange();
    }
};

BEGIN_MESSAGE_MAP(CColourFollowingStatic, CStatic)
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

TEST(Dialog, PassesASystemColourChangeOnToItsControls)
{
    CDialog dialog(100);
    ASSERT_TRUE(dialog.Create(100u));
    CColourFollowingStatic label;
    ASSERT_TRUE(label.SubclassDlgItem(kLabel, &dialog));
    dialog.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(label.m_colourChanges, 1) << "Windows itself tells top-level windows only";
    label.SendMessage(WM_SYSCOLORCHANGE);
    EXPECT_EQ(label.m_colourChanges, 2) << "a control does not pass it on again";
    dialog.DestroyWindow();
}

TEST(Dialog, EnterAndEscapeGoThroughPreTranslateMessageToOnOKAndOnCancel)
{
    struct Case
    {
        WPARAM key;
        INT_PTR result;
        int okCalls;
    };
    for (Case c : {Case{VK_RETURN, IDOK, 1}, Case{VK_ESCAPE, IDCANCEL, 0}}) {
        CRoutingDialog dialog;
        static WPARAM key;
        key = c.key;
        dialog.m_editText = "before";
        dialog.m_step = [](CRoutingDialog& d) {
            d.GetDlgItem(kEdit)->SetWindowText("after");
            d.m_drawn.SetFocus();
            HWND focus = ::GetFocus();
            ::PostMessageA(focus, WM_KEYDOWN, key, 1);
            ::PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
        };
        EXPECT_EQ(dialog.DoModal(), c.result) << "key " << c.key;
        EXPECT_EQ(dialog.m_okCalls, c.okCalls);
        EXPECT_TRUE(dialog.m_preTranslateSawKey);
        EXPECT_GE(dialog.m_drawn.m_preTranslatedKeys, 1) << "the focused control's PreTranslateMessage comes first";
        // OnOK saves the data; cancelling leaves it as it was.
        EXPECT_EQ(dialog.m_editText, c.result == IDOK ? "after" : "before");
    }
}

TEST(Dialog, AModelessDialogGoesWithItsObject)
{
    HWND window = nullptr;
    {
        CRoutingDialog dialog;
        ASSERT_TRUE(dialog.Create(100u));
        window = dialog.m_hWnd;
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(CWnd::FromHandlePermanent(window), nullptr);
}

// A visible template whose OnInitDialog may end the dialog at once.
class CVisibleDialog : public CDialog
{
public:
    explicit CVisibleDialog(bool endAtOnce) : CDialog(101), m_endAtOnce(endAtOnce) {}
    bool m_endAtOnce;
    int m_shown = 0;    // WM_SHOWWINDOW with TRUE, or a position change that showed the window
    int m_painted = 0;  // WM_PAINT, WM_NCPAINT or WM_ERASEBKGND
    bool m_visibleInLoop = false;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (m_endAtOnce)
            EndDialog(IDCANCEL);
        else
            SetTimer(1, 10);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if ((message == WM_SHOWWINDOW && wParam) ||
            (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW)))
            ++m_shown;
        if (message == WM_PAINT || message == WM_NCPAINT || message == WM_ERASEBKGND)
            ++m_painted;
        if (message == WM_TIMER) {
            KillTimer(1);
            m_visibleInLoop = IsWindowVisible() != FALSE;
            EndDialog(IDOK);
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }
};

TEST(Dialog, AVisibleTemplateThatEndsItselfInOnInitDialogIsNeverShown)
{
    CVisibleDialog ended(true);
    EXPECT_EQ(ended.DoModal(), IDCANCEL);
    EXPECT_EQ(ended.m_shown, 0);
    EXPECT_EQ(ended.m_painted, 0);

    CVisibleDialog shown(false);
    EXPECT_EQ(shown.DoModal(), IDOK);
    EXPECT_TRUE(shown.m_visibleInLoop) << "a dialog that goes on is shown as its template asks";
    EXPECT_GE(shown.m_shown, 1);

    // Modeless, the template decides alone.
    CVisibleDialog modeless(false);
    ASSERT_TRUE(modeless.Create(101u));
    EXPECT_TRUE(modeless.IsWindowVisible());
    modeless.DestroyWindow();
}

TEST(Dialog, DoModalFailsCleanlyWithoutItsTemplate)
{
    CDialog missing(999);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_EQ(missing.m_hWnd, nullptr);
}

// --- threads

class CMainWindow : public CWnd
{
public:
    std::atomic<UINT_PTR> m_timerId{0};
    std::atomic<DWORD> m_timerThread{0};

protected:
    DECLARE_MESSAGE_MAP()
    void OnTimer(UINT_PTR id)
    {
        KillTimer(id);
        m_timerThread = GetCurrentThreadId();
        m_timerId = id;
    }
};

BEGIN_MESSAGE_MAP(CMainWindow, CWnd)
    ON_WM_TIMER()
END_MESSAGE_MAP()

struct WorkerRun
{
    CMainWindow* main;
    HANDLE done;
    INT_PTR result = 0;
    BOOL mainEnabledDuringBox = FALSE;
    HWND boxOwner = reinterpret_cast<HWND>(1);
    DWORD dialogThread = 0;
};

// Pumps this thread's messages until the condition holds (bounded).
template <typename Condition>
bool PumpUntilTrue(Condition condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

// Pumps this thread's messages until the event is set (bounded).
bool PumpUntil(HANDLE event, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        DWORD waited = MsgWaitForMultipleObjects(1, &event, FALSE, 50, QS_ALLINPUT);
        if (waited == WAIT_OBJECT_0)
            return true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return false;
}

TEST(Threads, DoModalRunsOnAWorkerThreadBesideTheMainWindow)
{
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    CMainWindow main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr));
    app->m_pMainWnd = &main;

    WorkerRun run{&main, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    CWinThread* worker = AfxBeginThread(
        [](LPVOID argument) -> UINT {
            auto* r = static_cast<WorkerRun*>(argument);
            static WorkerRun* current;
            current = r;
            CRoutingDialog box;  // no parent, and the main window is another thread's
            box.m_step = [](CRoutingDialog& d) {
                current->mainEnabledDuringBox = current->main->IsWindowEnabled();
                current->boxOwner = ::GetWindow(d.m_hWnd, GW_OWNER);
                current->dialogThread = GetCurrentThreadId();
                d.EndDialog(IDCANCEL);
            };
            r->result = box.DoModal();
            // The timer belongs to the main thread's window: it is set there.
            r->main->SetTimer(0x999, 20);
            SetEvent(r->done);
            return 0;
        },
        &run, THREAD_PRIORITY_TIME_CRITICAL);
    ASSERT_NE(worker, nullptr);
    DWORD workerId = worker->m_nThreadID;

    ASSERT_TRUE(PumpUntil(run.done, 20000));
    EXPECT_EQ(run.result, IDCANCEL);
    EXPECT_EQ(run.dialogThread, workerId);
    EXPECT_TRUE(run.mainEnabledDuringBox) << "the main thread's window is not tied to the worker's box";
    EXPECT_EQ(run.boxOwner, nullptr);
    EXPECT_TRUE(main.IsWindowEnabled());

    EXPECT_TRUE(PumpUntilTrue([&] { return main.m_timerId != 0; }, 10000));
    EXPECT_EQ(main.m_timerId, 0x999u);
    EXPECT_EQ(main.m_timerThread, GetCurrentThreadId());
    CloseHandle(run.done);
    app->m_pMainWnd = nullptr;
    main.DestroyWindow();
}

// SetTimer / KillTimer from another thread: only a window the library routes can take the request.
TEST(Threads, TimersFromAnotherThreadFailForWindowsTheLibraryDoesNotRoute)
{
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND attached = CreateWindowExA(0, "STATIC", "attached", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(attached, nullptr);
    CWnd binding;
    ASSERT_TRUE(binding.Attach(attached));
    CMainWindow routed;
    ASSERT_TRUE(routed.CreateEx(0, AfxRegisterWndClass(0), "routed", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));

    struct Run
    {
        CWnd* wrapper;
        CWnd* binding;
        CWnd* routed;
        HANDLE done;
        UINT_PTR wrapperSet = 1, bindingSet = 1, routedSet = 0;
        BOOL wrapperKilled = TRUE, bindingKilled = TRUE, routedKilled = FALSE;
    };
    static Run run;
    run = Run{CWnd::FromHandle(plain), &binding, &routed, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    ASSERT_NE(AfxBeginThread(
                  [](LPVOID) -> UINT {
                      run.wrapperSet = run.wrapper->SetTimer(0x51, 10);
                      run.wrapperKilled = run.wrapper->KillTimer(0x51);
                      run.bindingSet = run.binding->SetTimer(0x52, 10);
                      run.bindingKilled = run.binding->KillTimer(0x52);
                      run.routedSet = run.routed->SetTimer(0x53, 10000);
                      run.routedKilled = run.routed->KillTimer(0x53);
                      SetEvent(run.done);
                      return 0;
                  },
                  nullptr),
              nullptr);
    ASSERT_TRUE(PumpUntil(run.done, 20000));
    EXPECT_EQ(run.wrapperSet, 0u) << "a temporary wrapper's window never sees the request";
    EXPECT_FALSE(run.wrapperKilled);
    EXPECT_EQ(run.bindingSet, 0u) << "an attached window is not routed";
    EXPECT_FALSE(run.bindingKilled);
    EXPECT_EQ(run.routedSet, 0x53u);
    EXPECT_TRUE(run.routedKilled);
    CloseHandle(run.done);
    routed.DestroyWindow();
    binding.Detach();
    DestroyWindow(attached);
    DestroyWindow(plain);
}

TEST(Threads, ParentlessDoModalOnTheMainThreadIsModalToTheMainWindow)
{
    CMainWindow main;
    ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr));
    AfxGetApp()->m_pMainWnd = &main;
    static HWND owner;
    static BOOL mainEnabled;
    static CMainWindow* mainWindow;
    owner = nullptr;
    mainEnabled = TRUE;
    mainWindow = &main;
    CRoutingDialog about;
    about.m_step = [](CRoutingDialog& d) {
        owner = ::GetWindow(d.m_hWnd, GW_OWNER);
        mainEnabled = mainWindow->IsWindowEnabled();
        d.EndDialog(IDOK);
    };
    EXPECT_EQ(about.DoModal(), IDOK);
    EXPECT_EQ(owner, main.m_hWnd);
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(main.IsWindowEnabled()) << "the owner is enabled again when the dialog ends";
    AfxGetApp()->m_pMainWnd = nullptr;
    main.DestroyWindow();
}

TEST(Threads, EndDialogFromAnotherThreadEndsTheModalLoop)
{
    CRoutingDialog dialog;
    static CRoutingDialog* target;
    target = &dialog;
    dialog.m_step = [](CRoutingDialog&) {
        AfxBeginThread([](LPVOID) -> UINT {
            target->EndDialog(5);
            return 0;
        }, nullptr);
    };
    EXPECT_EQ(dialog.DoModal(), 5);
}

TEST(Application, ControlContainerMakesTheRichTextBoxAvailableToTemplates)
{
    WNDCLASSA info;
    AfxEnableControlContainer();
    EXPECT_TRUE(GetClassInfoA(nullptr, "RichEdit20A", &info)) << "the licence dialog's text box";
    AfxEnableControlContainer();  // again: nothing more happens
    EXPECT_STREQ(AfxGetAppName(), "dialogs_test") << "message boxes are captioned with the program's name";
}

// --- run-time classes, strings, files, GDI ownership

class CProbeButton : public CButton
{
    DECLARE_DYNAMIC(CProbeButton)
};
IMPLEMENT_DYNAMIC(CProbeButton, CButton)

TEST(RuntimeClass, IsKindOfFollowsTheBaseChain)
{
    CProbeButton button;
    EXPECT_STREQ(button.GetRuntimeClass()->m_lpszClassName, "CProbeButton");
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CButton)));
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(button.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(button.IsKindOf(RUNTIME_CLASS(CStatic)));
    CWnd* asWindow = &button;
    EXPECT_EQ(asWindow->GetRuntimeClass(), RUNTIME_CLASS(CProbeButton));
}

TEST(String, FormatsLoadsAndLendsItsBuffer)
{
    CString text;
    text.Format("[%C:] %dMB", 'F', 1953125 >> 11);
    EXPECT_EQ(text, "[F:] 953MB");
    text.Format("%s", std::string(5000, 'x').c_str());
    EXPECT_EQ(text.GetLength(), 5000);

    CString loaded;
    EXPECT_TRUE(loaded.LoadString(2));
    EXPECT_EQ(loaded, "A string of the test program");
    EXPECT_FALSE(loaded.LoadString(4242));
    EXPECT_TRUE(loaded.IsEmpty());

    CString buffer;
    lstrcpyA(buffer.GetBuffer(64), "abc");
    buffer.ReleaseBuffer();
    EXPECT_EQ(buffer.GetLength(), 3);
    buffer.GetBuffer(10)[1] = 'X';
    buffer.ReleaseBuffer(2);
    EXPECT_EQ(buffer, "aX");

    CString path = "  C:\\Temp\\Boot.r  ";
    path.TrimRight();
    EXPECT_EQ(path.Right(2), ".r");
    EXPECT_EQ(path.Mid(path.ReverseFind('\\') + 1), "Boot.r");
    EXPECT_TRUE(CString("ABC") < CString("ABD"));
    EXPECT_EQ(CString("abc").CompareNoCase("ABC"), 0);
    EXPECT_EQ(CString("a") + "b" + 'c', "abc");
}

// Big5 and GBK both read B3 5C as one character whose trail byte has the backslash's value. The
// suite runs on a Chinese system (DIALOGS_TEST_CODE_PAGE names the code page it must have); on a
// single-byte code page these bytes are two characters, so it has nothing to check there.
struct DoubleByteString : testing::Test
{
    void SetUp() override
    {
        const char* wanted = std::getenv("DIALOGS_TEST_CODE_PAGE");
        if (wanted)
            ASSERT_EQ(GetACP(), static_cast<UINT>(std::atoi(wanted))) << "the system's code page";
        else if (!IsDBCSLeadByte(0xB3))
            GTEST_SKIP() << "a single-byte code page";
    }
};

TEST_F(DoubleByteString, SearchesStepOverTheTrailBytesOfPathsAndTitles)
{
    // Bytes: C : \ B3 5C \ a B3 5C, the second backslash at index 5.
    const CString path = "C:\\\xB3\x5C\\a\xB3\x5C";
    EXPECT_EQ(path.ReverseFind('\\'), 5);
    EXPECT_EQ(path.Find('\\', 3), 5);
    EXPECT_EQ(path.Find('\x5C', 4), 5) << "a start inside a character begins at the next one";
    EXPECT_EQ(path.Find("\\a"), 5);
    EXPECT_EQ(path.Find("\x5C\\"), -1);
    EXPECT_EQ(path.FindOneOf("/\\"), 2);
    EXPECT_EQ(path.FindOneOf("\x5C" "a"), 2);
    EXPECT_EQ(CString("a\xB3\x5C").FindOneOf("\xB3\x5C"), 1) << "a double-byte character of the set";

    // The window title of Brimlet's repair dialog: after the last backslash, before the last dot.
    const CString program = "D:\\\xB3\x5C\\\xB3\x5C.exe";
    CString file = program.Mid(program.ReverseFind('\\') + 1);
    EXPECT_EQ(file.Left(file.ReverseFind('.')), "\xB3\x5C");

    CString replaced = path;
    EXPECT_EQ(replaced.Replace('\\', '/'), 2);
    EXPECT_EQ(replaced, "C:/\xB3\x5C/a\xB3\x5C");
    replaced = path;
    EXPECT_EQ(replaced.Replace("\\", "//"), 2);
    EXPECT_EQ(replaced, "C://\xB3\x5C//a\xB3\x5C");
    replaced = path;
    EXPECT_EQ(replaced.Remove('\\'), 2);
    EXPECT_EQ(replaced, "C:\xB3\x5C" "a\xB3\x5C");

    CString folder = "C:\\\xB3\x5C";
    EXPECT_EQ(folder.TrimRight('\\'), "C:\\\xB3\x5C") << "no backslash ends the folder's name";
    EXPECT_EQ(folder.TrimRight("\\/"), "C:\\\xB3\x5C");
    folder += "\\\\";
    EXPECT_EQ(folder.TrimRight('\\'), "C:\\\xB3\x5C");
    CString reversed = "ab\xB3\x5C";
    EXPECT_EQ(reversed.MakeReverse(), "\xB3\x5C" "ba");
}

TEST(Windows, TheTopLevelParentClimbsParentsButNotOwners)
{
    const auto make = [](DWORD style, HWND parent) {
        return ::CreateWindowExA(0, "STATIC", "", style, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr);
    };
    const HWND top = make(WS_POPUP, nullptr);
    const HWND child = make(WS_CHILD, top);
    const HWND grandchild = make(WS_CHILD, child);
    const HWND owned = make(WS_POPUP, top);  // a popup's "parent" is its owner
    const HWND ownedChild = make(WS_CHILD, owned);
    const HWND messageOnly = make(0, HWND_MESSAGE);
    ASSERT_TRUE(top && child && grandchild && owned && ownedChild && messageOnly);
    struct Case {
        const char* what;
        HWND window;
        HWND root;
    } cases[] = {
        {"a top-level window", top, top},
        {"a child", child, top},
        {"a grandchild", grandchild, top},
        {"an owned popup", owned, owned},
        {"a child of an owned popup", ownedChild, owned},
        {"a message-only window", messageOnly, messageOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(CWnd::FromHandle(c.window)->GetTopLevelParent()->GetSafeHwnd(), c.root);
        EXPECT_EQ(c.root, ::GetAncestor(c.window, GA_ROOT)) << "the system's own answer where it has one";
    }
    ::DestroyWindow(messageOnly);
    ::DestroyWindow(owned);
    ::DestroyWindow(top);
    CWnd none;
    EXPECT_EQ(none.GetTopLevelParent(), nullptr);
}

TEST(File, ReadsWritesAndReportsStatus)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    CString name = CString(folder) + "dialogs_file_test.bin";
    CFile::Remove(name);
    CFileStatus status;
    EXPECT_FALSE(CFile::GetStatus(name, status));

    CFile file;
    ASSERT_TRUE(file.Open(name, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive));
    EXPECT_TRUE(file.Write("0123456789", 10));
    file.Close();
    ASSERT_TRUE(CFile::GetStatus(name, status));
    EXPECT_EQ(status.m_size, 10u);
    EXPECT_FALSE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);
    ASSERT_TRUE(CFile::GetStatus(folder, status));
    EXPECT_TRUE(status.m_attribute & FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(file.Open(name, CFile::modeRead));
    char read[16] = {};
    EXPECT_EQ(file.Seek(4, CFile::begin), 4u);
    EXPECT_EQ(file.Read(read, sizeof read), 6u);
    EXPECT_STREQ(read, "456789");
    EXPECT_EQ(file.Read(read, sizeof read), 0u);
    file.Close();
    EXPECT_TRUE(CFile::Remove(name));

    BYTE block[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    CMemFile memory(block, sizeof block);
    EXPECT_EQ(memory.GetLength(), 8u);
    BYTE out[5] = {};
    EXPECT_EQ(memory.Read(out, 5), 5u);
    EXPECT_EQ(out[4], 5);
    EXPECT_EQ(memory.Read(out, 5), 3u);
    EXPECT_EQ(memory.Seek(1, CFile::end), static_cast<ULONGLONG>(-1)) << "a fixed block does not grow";
    EXPECT_FALSE(memory.Write(out, 1)) << "no room after the end";
    memory.SeekToBegin();
    EXPECT_TRUE(memory.Write("\x09", 1));
    EXPECT_EQ(block[0], 9);
}

TEST(File, StatusByNameIsFoundForFilesFoldersAndRootsAndNotThroughWildcards)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const CString folder = CString(temp) + "dialogs_status_test";
    const CString file = folder + "\\data.bin";
    CreateDirectoryA(folder, nullptr);
    CFile writer;
    ASSERT_TRUE(writer.Open(file, CFile::modeCreate | CFile::modeWrite));
    ASSERT_TRUE(writer.Write("abc", 3));
    writer.Close();
    char root[] = "C:\\";

    struct Case {
        const char* what;
        CString name;
        bool found;
        bool directory;
    } cases[] = {
        {"a file", file, true, false},
        {"a folder", folder, true, true},
        {"a folder with a separator after it", folder + "\\", true, true},
        {"a drive's root", root, true, true},
        {"a file with a separator after it", file + "\\", false, false},
        {"a name with *", folder + "\\data.*", false, false},
        {"a name with ?", folder + "\\dat?.bin", false, false},
        {"a name with <", folder + "\\data<", false, false},
        {"a missing file", folder + "\\none.bin", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CFileStatus status;
        ASSERT_EQ(CFile::GetStatus(c.name, status) != FALSE, c.found);
        if (!c.found)
            continue;
        EXPECT_EQ((status.m_attribute & FILE_ATTRIBUTE_DIRECTORY) != 0, c.directory);
        char full[MAX_PATH];
        GetFullPathNameA(c.name, MAX_PATH, full, nullptr);
        EXPECT_STREQ(status.m_szFullName, full);
        if (!c.directory) {
            EXPECT_EQ(status.m_size, 3u);
            EXPECT_GT(status.m_mtime.GetTime(), 0) << "the file's times come with it";
        }
    }
    EXPECT_TRUE(CFile::Remove(file));
    RemoveDirectoryA(folder);
}

TEST(Gdi, ObjectsFreeTheirHandles)
{
    DWORD before = test_support::CountGdiObjects();
    ASSERT_GT(before, 0u) << "GDI objects cannot be counted here";
    for (int i = 0; i < 200; ++i) {
        CBitmap bitmap;
        CDC screen;
        screen.Attach(::GetDC(nullptr));
        bitmap.CreateCompatibleBitmap(&screen, 8, 8);
        ::ReleaseDC(nullptr, screen.Detach());
        CBrush brush(RGB(1, 2, 3));
        CPen pen(PS_SOLID, 1, RGB(4, 5, 6));
        CRgn region;
        region.CreateRectRgn(0, 0, 4, 4);
        CFont font;
        LOGFONTA logFont = {};
        logFont.lfHeight = 16;
        lstrcpyA(logFont.lfFaceName, "Arial");
        font.CreateFontIndirect(&logFont);
        CDC memory;
        memory.CreateCompatibleDC(nullptr);
        CBitmap* old = memory.SelectObject(&bitmap);
        memory.FillSolidRect(0, 0, 8, 8, RGB(10, 20, 30));
        EXPECT_EQ(memory.GetPixel(3, 3), RGB(10, 20, 30));
        memory.SelectObject(old);
        CImageList images;
        images.Create(8, 8, ILC_COLOR32 | ILC_MASK, 0, 1);
        images.Add(&bitmap, RGB(255, 0, 255));
    }
    DWORD after = test_support::CountGdiObjects();
    EXPECT_LE(after, before + 4) << before << " -> " << after;
}

TEST(Gdi, SharedHandlesAreHeldWithoutOwnership)
{
    CBrush system;
    ASSERT_TRUE(system.CreateSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(static_cast<HBRUSH>(system), ::GetSysColorBrush(COLOR_WINDOW));
    EXPECT_FALSE(system.DeleteObject()) << "a system colour brush is not the wrapper's to delete";
    EXPECT_EQ(system.m_hObject, nullptr);

    CGdiObject stock;
    ASSERT_TRUE(stock.CreateStockObject(BLACK_BRUSH));
    EXPECT_FALSE(stock.DeleteObject()) << "a stock object is not the wrapper's to delete";

    CBrush own(RGB(7, 8, 9));
    HGDIOBJ handle = own.m_hObject;
    EXPECT_TRUE(own.DeleteObject());
    EXPECT_EQ(GetObjectType(handle), 0u);
}

// A window that paints only in WM_PAINT, through CPaintDC: a red field with a blue band.
class CPaintingWindow : public CBaseWindow
{
public:
    int m_paints = 0;

protected:
    DECLARE_MESSAGE_MAP()
    void OnPaint()
    {
        ++m_paints;
        CPaintDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(255, 0, 0));
        dc.FillSolidRect(0, 0, client.Width(), 5, RGB(0, 0, 255));
    }
};

BEGIN_MESSAGE_MAP(CPaintingWindow, CBaseWindow)
    ON_WM_PAINT()
END_MESSAGE_MAP()

TEST(Printing, AWindowPrintsWhatItsPaintHandlerDraws)
{
    CPaintingWindow window;
    ASSERT_TRUE(window.CreatePopup());
    window.ShowWindow(SW_SHOWNOACTIVATE);
    window.UpdateWindow();
    const int shown = window.m_paints;
    CClientDC screen(&window);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 100, 60));
    CBitmap* old = memory.SelectObject(&bitmap);
    memory.FillSolidRect(0, 0, 100, 60, RGB(0, 255, 0));

    window.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.GetSafeHdc()), PRF_CLIENT);
    EXPECT_EQ(window.m_paints, shown + 1);
    EXPECT_EQ(CDC::FromHandle(memory.GetSafeHdc()), &memory) << "the DC lent to the print keeps its owner";
    EXPECT_EQ(memory.GetPixel(50, 2), RGB(0, 0, 255));
    EXPECT_EQ(memory.GetPixel(50, 40), RGB(255, 0, 0));

    // The print leaves the window's own painting alone: a later WM_PAINT paints the screen again.
    window.Invalidate(FALSE);
    window.UpdateWindow();
    EXPECT_EQ(window.m_paints, shown + 2);
    memory.SelectObject(old);
}

}  // namespace

// The tests run inside the application object, as the programs do.
class CTestApp : public CWinApp
{
};
CTestApp theApp;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
