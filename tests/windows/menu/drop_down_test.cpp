// The image button's drop-down menu with a real window: the menu opens under the button, the
// button looks pressed while it is open, the owner is told just before (and may change the menu
// or delete the button then), a choice by key or by menu character reaches the target, a
// dismissed menu posts nothing, menus that cannot be loaded or opened leave the button without
// one, and images of another size size the whole menu.
#include "brimlet/skin/image_button.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <vector>

#include "tests/windows/menu/menu_probe.h"
#include "tests/windows/support/open_menu.h"
#include "tests/windows/support/pixel_canvas.h"

namespace {

using test_support::PixelCanvas;

constexpr UINT kTemplate = 700;         // File (Open 100, Save as 101, separator, Recent), Edit
constexpr UINT kNoPopupTemplate = 701;  // a plain command at the first position
constexpr UINT kColoursTemplate = 702;  // Colours (Yellow 120, Cyan 121, More (Deep 122))
constexpr UINT kToolbar = 300;          // 16 x 15: red (100), blue (101), green (102)
constexpr UINT kLargeToolbar = 310;     // 20 x 18: yellow (120), cyan (121) on magenta
constexpr UINT kBlackMark = 320;  // black square on magenta: the hover and pressed image
constexpr UINT kBlueMark = 321;   // blue square on magenta: the normal image
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr int kButtonId = 1001;
constexpr UINT kNotify = WM_APP + 7;

class CTestButton : public CImageButton
{
public:
    BOOL MenuShown() const { return m_menuShown; }
    OrvelMenu& DropDown() { return m_dropDownMenu; }
    HWND Target() const { return m_menuTarget; }

    // The button's face for the item state, painted through DrawItem.
    COLORREF FaceAt(UINT state, int x, int y)
    {
        PixelCanvas canvas(40, 30, RGB(9, 9, 9));
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kButtonId;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hwndItem = m_hWnd;
        item.hDC = canvas.dc();
        GetClientRect(&item.rcItem);
        DrawItem(&item);
        return canvas.At(x, y);
    }
};

// The owner and target: it counts the commands and notices it gets.
class COwner : public CWnd
{
public:
    BOOL CreateOwner()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "drop-down owner", WS_POPUP | WS_VISIBLE, 40, 40, 200, 120,
                        nullptr, nullptr);
    }
    std::vector<UINT> m_commands;
    std::vector<std::pair<WPARAM, LPARAM>> m_notices;
    std::function<void()> m_onNotice;  // what the owner does when it is told

protected:
    DECLARE_MESSAGE_MAP()
    void OnMenuCommand(UINT id) { m_commands.push_back(id); }
    LRESULT OnNotice(WPARAM wParam, LPARAM lParam)
    {
        m_notices.emplace_back(wParam, lParam);
        if (m_onNotice)
            m_onNotice();
        return 0;
    }
};

BEGIN_MESSAGE_MAP(COwner, CWnd)
    ON_COMMAND_RANGE(100, 199, &COwner::OnMenuCommand)  // the menus' commands, not the button's click
    ON_MESSAGE(kNotify, &COwner::OnNotice)
END_MESSAGE_MAP()

// What to do once the menu is open; the click runs it from a timer of the menu's own loop.
std::function<void(HWND)> g_whileOpen;
bool g_sawMenu = false;

void CALLBACK WhileOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menu = test_support::OpenMenuWindow();
    if (!menu)
        return;
    ::KillTimer(nullptr, id);
    g_sawMenu = true;
    g_whileOpen(menu);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    ::EndMenu();
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// Clicks the button; while the menu is open, whileOpen runs (and must close it).
bool ClickWithMenu(CTestButton& button, std::function<void(HWND)> whileOpen)
{
    g_whileOpen = std::move(whileOpen);
    g_sawMenu = false;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, WhileOpen);
    // A safety net: a menu that stays open is closed after a few seconds.
    const UINT_PTR net = ::SetTimer(nullptr, 0, 5000, CloseMenu);
    button.SendMessage(BM_CLICK);
    ::KillTimer(nullptr, timer);
    ::KillTimer(nullptr, net);
    Pump();
    return g_sawMenu;
}

class DropDownMenu : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_owner.CreateOwner());
        const RECT rect = {20, 10, 60, 40};
        ASSERT_TRUE(m_button.Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rect, &m_owner, kButtonId));
        ASSERT_EQ(m_button.SetBitmapPair(kBlackMark, kMagenta, kBlueMark, kMagenta), 0u);
        m_button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
        m_owner.UpdateWindow();
    }
    void TearDown() override
    {
        m_button.DestroyWindow();
        m_owner.DestroyWindow();
        OrvelMenu::SetDrawModes(1, 0);
    }

    COwner m_owner;
    CTestButton m_button;
};

TEST_F(DropDownMenu, OpensUnderTheButtonPressedAndItsChoiceReachesTheTarget)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE, kToolbar, {16, 15}, RGB(192, 192, 192),
                                          FALSE), 0u);
    EXPECT_EQ(m_button.Target(), m_owner.m_hWnd);
    EXPECT_TRUE(OrvelMenu::UsesXpStyle());
    EXPECT_EQ(m_button.SetMenuNotify(m_owner.m_hWnd, kNotify, 1234), 0u);
    EXPECT_EQ(m_button.FaceAt(0, 8, 8), RGB(0, 0, 255));  // closed: the normal image

    RECT buttonRect;
    m_button.GetWindowRect(&buttonRect);
    RECT menuRect = {};
    BOOL shownWhileOpen = FALSE;
    COLORREF faceWhileOpen = 0;
    size_t noticesWhileOpen = 0;
    ASSERT_TRUE(ClickWithMenu(m_button, [&](HWND menu) {
        ::GetWindowRect(menu, &menuRect);
        shownWhileOpen = m_button.MenuShown();
        faceWhileOpen = m_button.FaceAt(0, 8, 8);
        noticesWhileOpen = m_owner.m_notices.size();
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);  // Open
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    }));
    EXPECT_EQ(menuRect.left, buttonRect.left);
    EXPECT_EQ(menuRect.top, buttonRect.bottom);
    EXPECT_TRUE(shownWhileOpen);
    EXPECT_EQ(faceWhileOpen, RGB(0, 0, 0));  // pressed while open: the hover image
    EXPECT_EQ(noticesWhileOpen, 1u);         // told before it opened
    ASSERT_EQ(m_owner.m_notices.size(), 1u);
    EXPECT_EQ(m_owner.m_notices[0].first, reinterpret_cast<WPARAM>(m_button.DropDown().GetSubMenuAt(0)));
    EXPECT_EQ(m_owner.m_notices[0].second, 1234);
    EXPECT_FALSE(m_button.MenuShown());
    EXPECT_EQ(m_button.FaceAt(0, 8, 8), RGB(0, 0, 255));
    EXPECT_EQ(m_owner.m_commands, (std::vector<UINT>{100}));
    // The toolbar's images were bound: Save as shows the blue button's image.
    auto* file = static_cast<OrvelMenu*>(m_button.DropDown().GetSubMenuAt(0));
    ASSERT_TRUE(file);
    const int slot = file->Items()[1]->sharedImageIndex;
    ASSERT_GE(slot, 0);
    EXPECT_EQ(menu_probe::SlotPixel(OrvelMenu::SharedImages(), slot, 8, 7), RGB(0, 0, 255));
}

TEST_F(DropDownMenu, AMenuTheOwnerAttachesWhenToldIsTheOneThatOpens)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    m_button.SetMenuNotify(m_owner.m_hWnd, kNotify, 0);
    // The File popup told of is deleted before the menu opens. Other allocations come in between,
    // as in any program, so that its freed memory does not happen to hold the new popup.
    std::vector<std::unique_ptr<std::uint8_t[]>> others;
    m_owner.m_onNotice = [&] {
        m_button.AttachDropDownMenu(0, m_owner.m_hWnd, TRUE, 0, {16, 15}, 0, FALSE);
        for (int i = 0; i < 1024; ++i) {
            others.emplace_back(new std::uint8_t[sizeof(OrvelMenu)]);
            std::memset(others.back().get(), 0xA5, sizeof(OrvelMenu));
        }
        ASSERT_EQ(m_button.AttachDropDownMenu(kColoursTemplate, m_owner.m_hWnd, TRUE, 0, {16, 15},
                                              RGB(192, 192, 192), FALSE), 0u);
    };
    ASSERT_TRUE(ClickWithMenu(m_button, [](HWND menu) {
        ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);  // Yellow
        ::PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
    })) << "the menu attached when told did not open";
    EXPECT_EQ(m_owner.m_notices.size(), 1u);
    EXPECT_EQ(m_owner.m_commands, (std::vector<UINT>{120}));
    EXPECT_FALSE(m_button.MenuShown());

    // An owner that takes the menu away: nothing opens, and the button is not left pressed.
    m_owner.m_onNotice = [this] { m_button.AttachDropDownMenu(0, m_owner.m_hWnd, TRUE, 0, {16, 15}, 0, FALSE); };
    m_owner.m_commands.clear();
    EXPECT_FALSE(ClickWithMenu(m_button, [](HWND) { ::EndMenu(); }));
    EXPECT_TRUE(m_owner.m_commands.empty());
    EXPECT_FALSE(m_button.MenuShown());
}

TEST_F(DropDownMenu, AButtonWhoseWindowTheOwnerDestroysWhenToldRepaintsNothing)
{
    // Another window of the program, painted and left without an update region: a repaint of a
    // null window would reach it too (the whole desktop).
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "elsewhere", WS_POPUP | WS_VISIBLE, 400, 300, 60, 40,
                               nullptr, nullptr));
    other.UpdateWindow();
    ASSERT_FALSE(::GetUpdateRect(other.m_hWnd, nullptr, FALSE));
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    m_button.SetMenuNotify(m_owner.m_hWnd, kNotify, 0);
    m_owner.m_onNotice = [this] { m_button.DestroyWindow(); };
    m_button.SendMessage(BM_CLICK);  // nothing pumped until the check
    EXPECT_EQ(m_owner.m_notices.size(), 1u);
    EXPECT_EQ(m_button.m_hWnd, nullptr);
    EXPECT_FALSE(m_button.MenuShown());
    EXPECT_FALSE(::GetUpdateRect(other.m_hWnd, nullptr, FALSE)) << "another window was invalidated";
    EXPECT_TRUE(m_owner.m_commands.empty());
    other.DestroyWindow();
    Pump();
}

// A button in storage of its own, so that what is written to it after it is gone shows.
TEST_F(DropDownMenu, AButtonTheOwnerDeletesWhenToldIsNotTouchedAgain)
{
    constexpr unsigned char kGone = 0xA5;
    alignas(CTestButton) unsigned char storage[sizeof(CTestButton)];
    auto* button = new (storage) CTestButton;
    const RECT rect = {80, 10, 120, 40};
    ASSERT_TRUE(button->Create("", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, rect, &m_owner, kButtonId + 1));
    ASSERT_EQ(button->AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    button->SetMenuNotify(m_owner.m_hWnd, kNotify, 0);
    const HWND window = button->m_hWnd;
    m_owner.m_onNotice = [&] {
        button->~CTestButton();
        std::memset(storage, kGone, sizeof storage);
    };
    EXPECT_FALSE(ClickWithMenu(*button, [](HWND) { ::EndMenu(); })) << "no menu opens for a deleted button";
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(m_owner.m_notices.size(), 1u);
    EXPECT_TRUE(m_owner.m_commands.empty());
    EXPECT_EQ(std::count(std::begin(storage), std::end(storage), kGone), static_cast<std::ptrdiff_t>(sizeof storage))
        << "written to after it was deleted";
}

TEST_F(DropDownMenu, ImagesOfAnotherSizeSizeEveryPopupAndItsItemsAgree)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kColoursTemplate, m_owner.m_hWnd, TRUE, kLargeToolbar, {20, 18},
                                          RGB(255, 0, 255), FALSE), 0u);
    OrvelMenu& root = m_button.DropDown();
    auto* colours = static_cast<OrvelMenu*>(root.GetSubMenuAt(0));
    ASSERT_TRUE(colours);
    auto* more = static_cast<OrvelMenu*>(colours->GetSubMenuAt(2));
    ASSERT_TRUE(more);
    for (OrvelMenu* popup : {colours, more}) {
        EXPECT_EQ(popup->IconWidth(), 20);
        EXPECT_EQ(popup->IconHeight(), 18);
    }

    // The button measures the More entry through its menu, the system the commands through
    // their popup: both give the height of the larger image.
    const int menuBar = ::GetSystemMetrics(SM_CYMENU);
    ASSERT_LT(menuBar, 18 + 7) << "a menu bar this high hides the image height";
    MEASUREITEMSTRUCT entry = {};
    entry.CtlType = ODT_MENU;
    entry.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(more->m_hMenu));
    entry.itemData = reinterpret_cast<ULONG_PTR>(colours->Items()[2]);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&entry));
    MEASUREITEMSTRUCT yellow = {};
    yellow.CtlType = ODT_MENU;
    yellow.itemID = 120;
    yellow.itemData = reinterpret_cast<ULONG_PTR>(colours->Items()[0]);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&yellow));
    EXPECT_EQ(entry.itemHeight, 18u + 7);
    EXPECT_EQ(yellow.itemHeight, 18u + 7);

    // Painted in the XP look, the image column is the image width + 7 and the image sits in it.
    const RECT item = {0, 0, 140, static_cast<LONG>(yellow.itemHeight)};
    PixelCanvas canvas(140, item.bottom);
    menu_probe::Paint(*colours, 0, canvas, item, ODS_SELECTED);
    EXPECT_EQ(canvas.At(3 + 8, 3 + 7), RGB(255, 255, 0));  // selected and raised: the image at (3, 3)
    canvas.Fill(RGB(1, 2, 3));
    menu_probe::Paint(*colours, 0, canvas, item, 0);
    const COLORREF column = canvas.At(1, 12);
    EXPECT_EQ(canvas.At(26, 12), column);
    EXPECT_NE(canvas.At(27, 12), column);
    const RECT text = canvas.Find([](COLORREF c) { return c == ::GetSysColor(COLOR_MENUTEXT); });
    ASSERT_LT(text.left, text.right) << "no text painted";
    EXPECT_GE(text.left, 27 + 8);
}

TEST_F(DropDownMenu, AMenuCharacterChoosesThroughTheButton)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, FALSE), 0u);
    EXPECT_FALSE(OrvelMenu::UsesXpStyle());
    ASSERT_TRUE(ClickWithMenu(m_button, [](HWND menu) { ::PostMessageA(menu, WM_CHAR, 's', 0); }));
    EXPECT_EQ(m_owner.m_commands, (std::vector<UINT>{101}));  // &Save as
}

TEST_F(DropDownMenu, ADismissedMenuPostsNothing)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    ASSERT_TRUE(ClickWithMenu(m_button, [](HWND menu) { ::PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0); }));
    EXPECT_TRUE(m_owner.m_commands.empty());
    EXPECT_FALSE(m_button.MenuShown());
}

TEST_F(DropDownMenu, MenusThatDoNotLoadLeaveTheButtonWithoutOne)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    ASSERT_TRUE(m_button.DropDown().m_hMenu);
    EXPECT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE, 999), 1u);  // no such toolbar
    EXPECT_EQ(m_button.DropDown().m_hMenu, nullptr);
    EXPECT_EQ(m_button.Target(), nullptr);
    EXPECT_EQ(m_button.AttachDropDownMenu(799, m_owner.m_hWnd, TRUE), 1u);  // no such template
    EXPECT_EQ(m_button.DropDown().m_hMenu, nullptr);

    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    const HMENU held = m_button.DropDown().m_hMenu;
    EXPECT_EQ(m_button.AttachDropDownMenu(0, m_owner.m_hWnd, TRUE), 0u);  // removes it
    EXPECT_EQ(m_button.DropDown().m_hMenu, nullptr);
    EXPECT_FALSE(::IsMenu(held));
    m_button.SetMenuNotify(m_owner.m_hWnd, kNotify, 1);
    EXPECT_FALSE(ClickWithMenu(m_button, [](HWND) { ::EndMenu(); }));  // a plain click now
    EXPECT_TRUE(m_owner.m_notices.empty());
}

TEST_F(DropDownMenu, ATemplateWithoutAPopupFirstOpensNothing)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kNoPopupTemplate, m_owner.m_hWnd, TRUE), 0u);
    m_button.SetMenuNotify(m_owner.m_hWnd, kNotify, 1);
    EXPECT_FALSE(ClickWithMenu(m_button, [](HWND) { ::EndMenu(); }));
    EXPECT_TRUE(m_owner.m_notices.empty());
    EXPECT_TRUE(m_owner.m_commands.empty());
    EXPECT_FALSE(m_button.MenuShown());
}

TEST_F(DropDownMenu, TheButtonRoutesMeasuringOfItsPopupsItems)
{
    ASSERT_EQ(m_button.AttachDropDownMenu(kTemplate, m_owner.m_hWnd, TRUE), 0u);
    auto* file = static_cast<OrvelMenu*>(m_button.DropDown().GetSubMenuAt(0));
    ASSERT_TRUE(file);
    // The Recent entry opens a registered popup: its id is that popup's handle.
    MEASUREITEMSTRUCT popupEntry = {};
    popupEntry.CtlType = ODT_MENU;
    popupEntry.itemID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(::GetSubMenu(*file, 3)));
    popupEntry.itemData = reinterpret_cast<ULONG_PTR>(file->Items()[3]);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&popupEntry));
    EXPECT_GT(popupEntry.itemWidth, 16u + 7 + 8);
    EXPECT_GE(popupEntry.itemHeight, 22u);
    // A command: measured by the menu that holds it.
    MEASUREITEMSTRUCT command = {};
    command.CtlType = ODT_MENU;
    command.itemID = 100;
    command.itemData = reinterpret_cast<ULONG_PTR>(file->Items()[0]);
    m_button.SendMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&command));
    EXPECT_GT(command.itemWidth, 16u + 7 + 8);
    // WM_MENUCHAR for one of its popups, and for a menu that is not one.
    EXPECT_EQ(m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(file->m_hMenu)),
              0x20000);
    CMenu other;
    ASSERT_TRUE(other.CreatePopupMenu());
    EXPECT_EQ(m_button.SendMessage(WM_MENUCHAR, MAKEWPARAM('o', MF_POPUP), reinterpret_cast<LPARAM>(other.m_hMenu)),
              0);
}

}  // namespace
