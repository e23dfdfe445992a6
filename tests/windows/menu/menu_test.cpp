// The owner-drawn menu with real menus: building from templates and toolbars, editing, finding,
// menu characters, and both looks measured and painted into memory DCs and read back.
//
// Run with --classic-theme it first names the classic theme in the registry, as Windows XP does
// for it, and checks that the menu then takes the classic colours.
#include "brimlet/skin/orvel_menu.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/menu/colours.h"
#include "tests/windows/menu/menu_probe.h"
#include "tests/windows/support/pixel_canvas.h"

namespace {

using menu_probe::ItemData;
using menu_probe::Measure;
using menu_probe::Paint;
using menu_probe::SlotPixel;
using test_support::PixelCanvas;

constexpr UINT kOpen = 100;
constexpr UINT kSaveAs = 101;
constexpr UINT kPrint = 102;
constexpr UINT kExit = 103;
constexpr UINT kOne = 110;
constexpr UINT kToolbar = 300;       // 16 x 15: red (100), blue (101), green (102) on the button face
constexpr UINT kLargeToolbar = 310;  // 20 x 18: yellow (120), cyan (121) on magenta
constexpr UINT kCoreToolbar = 311;   // toolbar 300's first two images, 12-byte header: 130, 131
constexpr UINT kV4Strip = 323;       // toolbar 300's picture with a V4 header
constexpr UINT kV5Strip = 324;       // and with a V5 header
constexpr UINT kCheck = 320;
constexpr UINT kCheckSelected = 321;
constexpr UINT kImage = 330;  // dark red on magenta
constexpr UINT kTemplate = 700;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kDarkRed = RGB(128, 0, 0);

// Every test uses command ids of its own: the shared image list lives as long as the program.
UINT NextCommand()
{
    static UINT next = 5000;
    return next++;
}

COLORREF Sys(int index) { return ::GetSysColor(index); }

menu::SystemColours SystemColours()
{
    menu::SystemColours colours;
    colours.face3d = Sys(COLOR_3DFACE);
    colours.menu = Sys(COLOR_MENU);
    colours.buttonFace = Sys(COLOR_BTNFACE);
    colours.window = Sys(COLOR_WINDOW);
    colours.highlight = Sys(COLOR_HIGHLIGHT);
    colours.grayText = Sys(COLOR_GRAYTEXT);
    colours.buttonShadow = Sys(COLOR_BTNSHADOW);
    return colours;
}

COLORREF ClassicBackground() { return menu::MenuBackground(SystemColours(), OrvelMenu::IsXpThemed() != FALSE); }
menu::XpColours XpColours() { return menu::XpPalette(SystemColours(), OrvelMenu::IsXpThemed() != FALSE); }

// Both draw modes at once, so the look does not depend on the theme; the defaults come back.
class Look
{
public:
    explicit Look(bool xp) { OrvelMenu::SetDrawModes(xp ? 1 : 0, xp ? 1 : 0); }
    ~Look() { OrvelMenu::SetDrawModes(1, 0); }
};

bool IsOwnerDrawn(HMENU menu, UINT position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

std::string EntryString(HMENU menu, UINT position)
{
    char text[256] = {};
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Width of a text in the menu font, as the menu measures it.
int MenuTextWidth(const std::wstring& text)
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = 340;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    HFONT font = ::CreateFontIndirectA(&metrics.lfMenuFont);
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    SIZE size = {};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);
    ::DeleteObject(font);
    return size.cx;
}

int MenuTextWidthAnsi(const std::string& text)
{
    return MenuTextWidth(std::wstring(text.begin(), text.end()));
}

// --- building

TEST(OrvelMenuBuild, CarriesItsRunTimeClassOverCMenu)
{
    OrvelMenu menu;
    EXPECT_STREQ(menu.GetRuntimeClass()->m_lpszClassName, "OrvelMenu");
    EXPECT_TRUE(menu.IsKindOf(RUNTIME_CLASS(CMenu)));
    EXPECT_TRUE(menu.IsKindOf(RUNTIME_CLASS(OrvelMenu)));
    CMenu plain;
    EXPECT_FALSE(plain.IsKindOf(RUNTIME_CLASS(OrvelMenu)));
}

TEST(OrvelMenuBuild, CommandZeroMakesAnOwnerDrawnSeparatorWhateverTheFlags)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const UINT command = NextCommand();
    ASSERT_TRUE(menu.AppendItem(L"Open", MF_STRING, command));
    ASSERT_TRUE(menu.AppendItem("ignored", MF_BYPOSITION | MF_CHECKED | MF_GRAYED, 0));
    ASSERT_TRUE(menu.AppendItem("ignored", MF_STRING | MF_GRAYED, 0));
    ASSERT_EQ(menu.Items().size(), 3u);
    EXPECT_EQ(menu.Items()[0]->flags, static_cast<UINT>(MF_OWNERDRAW));
    EXPECT_EQ(menu.Items()[0]->commandId, command);
    EXPECT_EQ(menu.Items()[1]->flags, 0x0D00u);
    EXPECT_EQ(menu.Items()[2]->flags, 0x0900u);
    for (UINT p = 0; p < 3; ++p) {
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]) << p;  // the record is the item data
        EXPECT_TRUE(IsOwnerDrawn(menu, p)) << p;
    }
    EXPECT_TRUE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_FALSE(::GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED);
}

TEST(OrvelMenuBuild, ATemplateGivesAPlainBarOverOwnerDrawnPopups)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.LoadMenuResource(kTemplate));
    EXPECT_TRUE(menu.IsLoadedFromTemplate());
    ASSERT_EQ(::GetMenuItemCount(menu), 2);  // Edit went to the bar, after File's nested end
    for (UINT p = 0; p < 2; ++p) {
        const UINT state = ::GetMenuState(menu, p, MF_BYPOSITION);
        EXPECT_TRUE(state & MF_POPUP) << p;
        EXPECT_FALSE(IsOwnerDrawn(menu, p)) << p;
        EXPECT_EQ(menu.Items()[p]->flags, 0x0410u) << p;
    }
    EXPECT_EQ(EntryString(menu, 0), "&File");
    EXPECT_EQ(EntryString(menu, 1), "&Edit");

    auto* file = static_cast<OrvelMenu*>(menu.GetSubMenuAt(0));
    ASSERT_TRUE(file && file->IsKindOf(RUNTIME_CLASS(OrvelMenu)));
    EXPECT_TRUE(OrvelMenu::IsRegisteredPopup(file));
    ASSERT_EQ(::GetMenuItemCount(*file), 4);
    for (UINT p = 0; p < 4; ++p)
        EXPECT_TRUE(IsOwnerDrawn(*file, p)) << p;
    auto* recent = static_cast<OrvelMenu*>(file->GetSubMenuAt(3));
    ASSERT_TRUE(recent && recent->IsKindOf(RUNTIME_CLASS(OrvelMenu)));
    ASSERT_EQ(::GetMenuItemCount(*recent), 2);
    EXPECT_EQ(::GetMenuItemID(*recent, 1), 111u);
    auto* edit = static_cast<OrvelMenu*>(menu.GetSubMenuAt(1));
    ASSERT_TRUE(edit);
    ASSERT_EQ(::GetMenuItemCount(*edit), 2);
    EXPECT_EQ(edit->Items()[1]->text, L"E&xit");

    // The shortcuts line up: each label reaches the widest label with a space added, and one
    // space less would not.
    const std::string open = file->Items()[0]->GetAnsiText();
    const std::string saveAs = file->Items()[1]->GetAnsiText();
    const int target = MenuTextWidthAnsi("&Save as ");
    for (const std::string& text : {open, saveAs}) {
        SCOPED_TRACE(text);
        const std::string label = text.substr(0, text.find('\t'));
        EXPECT_GE(MenuTextWidthAnsi(label), target);
        EXPECT_LT(MenuTextWidthAnsi(label.substr(0, label.size() - 1)), target);
    }
    EXPECT_EQ(open.substr(0, 6), "&Open ");
    EXPECT_EQ(open.substr(open.find('\t')), "\tCtrl+O");
    EXPECT_EQ(saveAs, "&Save as \tCtrl+Shift+S");

    const HMENU fileHandle = file->m_hMenu;
    EXPECT_TRUE(menu.DestroyWithItems());
    EXPECT_FALSE(OrvelMenu::IsRegisteredPopup(fileHandle));
    EXPECT_FALSE(::IsMenu(fileHandle));
    EXPECT_EQ(menu.m_hMenu, nullptr);
    EXPECT_TRUE(menu.Items().empty());
}

TEST(OrvelMenuBuild, AMissingTemplateLeavesTheMenuAsItWas)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.LoadMenuResource(kTemplate));
    const HMENU before = menu.m_hMenu;
    EXPECT_FALSE(menu.LoadMenuResource(799));
    EXPECT_EQ(menu.m_hMenu, before);
    EXPECT_EQ(::GetMenuItemCount(menu), 2);
}

TEST(OrvelMenuBuild, ToolbarImagesGoToTheSharedListOnePerCommand)
{
    Look classic(false);
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const UINT unknown = NextCommand();
    ASSERT_TRUE(menu.AppendItem("Save as", 0, kSaveAs, kToolbar));
    ASSERT_TRUE(menu.AppendItem("Other", 0, unknown, kToolbar));  // no button: the toolbar's first image
    const int saveSlot = menu.Items()[0]->sharedImageIndex;
    const int otherSlot = menu.Items()[1]->sharedImageIndex;
    ASSERT_GE(saveSlot, 0);
    ASSERT_GE(otherSlot, 0);
    EXPECT_EQ(OrvelMenu::SharedImageIndex(kSaveAs), saveSlot);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), saveSlot, 8, 7), kBlue);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), otherSlot, 8, 7), kRed);
    // The button face around the square is transparent, the border black.
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), otherSlot, 0, 0), kMagenta);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), otherSlot, 1, 1), RGB(0, 0, 0));
    // Classic look while binding: one slot, no variants.
    EXPECT_FALSE(OrvelMenu::HasShadedVariants(otherSlot));
}

TEST(OrvelMenuBuild, BindingACommandAgainReplacesItsSlotForEveryItem)
{
    Look classic(false);
    const UINT command = NextCommand();
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem("First", 0, command, kToolbar));
    ASSERT_TRUE(menu.AppendItem("Second", 0, command));  // takes the command's existing image
    const int slot = menu.Items()[0]->sharedImageIndex;
    ASSERT_GE(slot, 0);
    EXPECT_EQ(menu.Items()[1]->sharedImageIndex, slot);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot, 8, 7), kRed);

    CImageList list;
    ASSERT_TRUE(list.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
    menu.SetMaskColour(kMagenta);
    ASSERT_TRUE(menu.AddBitmapToList(&list, kImage));
    const int countBefore = OrvelMenu::SharedImages()->GetImageCount();
    menu.ModifyItemImage(static_cast<LPCSTR>(nullptr), command, &list, 0);
    EXPECT_EQ(OrvelMenu::SharedImageIndex(command), slot);
    EXPECT_EQ(OrvelMenu::SharedImages()->GetImageCount(), countBefore);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot, 8, 7), kDarkRed);
    for (const MenuItemData* record : menu.Items())
        EXPECT_EQ(record->sharedImageIndex, slot);
}

TEST(OrvelMenuBuild, TheXpLookKeepsAFadedAndAShadowVariantBesideEachImage)
{
    Look xp(true);
    const UINT command = NextCommand();
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const int idsBefore = OrvelMenu::SharedImages()->m_hImageList ? OrvelMenu::SharedImages()->GetImageCount() : 0;
    ASSERT_TRUE(menu.AppendItem("Open", 0, command, kToolbar));
    const int slot = menu.Items()[0]->sharedImageIndex;
    EXPECT_EQ(slot, idsBefore);
    EXPECT_TRUE(OrvelMenu::HasShadedVariants(slot));
    EXPECT_FALSE(OrvelMenu::HasShadedVariants(slot + 1));
    EXPECT_EQ(OrvelMenu::SharedImages()->GetImageCount(), idsBefore + 3);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot, 8, 7), kRed);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot + 1, 8, 7), RGB(255, 76, 76));  // faded
    const COLORREF shadow = menu::ShadowColour(SystemColours(), OrvelMenu::IsXpThemed() != FALSE);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot + 2, 8, 7), shadow);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot + 2, 1, 1), shadow);  // the border too
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), slot + 2, 0, 0), kMagenta);  // not the background
}

TEST(OrvelMenuBuild, AToolbarLoadsImagesForTheCommandsItHasAndGrowsTheImageSize)
{
    Look classic(false);
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem("Yellow", 0, 120));
    ASSERT_TRUE(menu.AppendItem("Cyan", 0, 121));
    menu.SetMaskColour(kMagenta);
    EXPECT_FALSE(menu.LoadToolbarImages(999u));
    EXPECT_EQ(menu.IconWidth(), 16);
    ASSERT_TRUE(menu.LoadToolbarImages(kLargeToolbar));
    EXPECT_EQ(menu.IconWidth(), 20);
    EXPECT_EQ(menu.IconHeight(), 18);
    ASSERT_GE(menu.Items()[1]->sharedImageIndex, 0);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), menu.Items()[1]->sharedImageIndex, 10, 9), RGB(0, 255, 255));
    const UINT ids[] = {kLargeToolbar, 998};
    EXPECT_FALSE(menu.LoadToolbarImages(ids, 2));  // one of them does not load
}

TEST(OrvelMenuBuild, TheImageSizeReachesEveryPopupOfTheTree)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.LoadMenuResource(kTemplate));
    menu.SetIconSize(24, 20);
    auto* file = static_cast<OrvelMenu*>(menu.GetSubMenuAt(0));
    auto* edit = static_cast<OrvelMenu*>(menu.GetSubMenuAt(1));
    ASSERT_TRUE(file && edit);
    auto* recent = static_cast<OrvelMenu*>(file->GetSubMenuAt(3));
    ASSERT_TRUE(recent);
    OrvelMenu* later = menu.AppendPopup(L"Later");  // made after the size was set
    ASSERT_TRUE(later);
    for (OrvelMenu* popup : {file, edit, recent, later}) {
        EXPECT_EQ(popup->IconWidth(), 24);
        EXPECT_EQ(popup->IconHeight(), 20);
    }
}

TEST(OrvelMenuBuild, AToolbarsLargerImagesSizeThePopupsThatMeasureAndPaint)
{
    Look classic(false);
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreateMenu());
    OrvelMenu* colours = menu.AppendPopup(L"Colours");
    ASSERT_TRUE(colours);
    ASSERT_TRUE(colours->AppendItem(L"Yellow", 0, 120));
    menu.SetMaskColour(kMagenta);
    ASSERT_TRUE(menu.LoadToolbarImages(kLargeToolbar));
    EXPECT_EQ(colours->IconWidth(), 20);
    EXPECT_EQ(colours->IconHeight(), 18);
    ASSERT_GE(colours->Items()[0]->sharedImageIndex, 0);

    const int menuBar = ::GetSystemMetrics(SM_CYMENU);
    const MEASUREITEMSTRUCT measured = Measure(*colours, 0);
    EXPECT_EQ(measured.itemHeight, static_cast<UINT>(std::max(menuBar, 18 + 4)));
    // Selected, the highlight leaves the image cell out: it starts at the image width + 5.
    const RECT item = {0, 0, 120, static_cast<LONG>(measured.itemHeight)};
    PixelCanvas canvas(120, item.bottom);
    Paint(*colours, 0, canvas, item, ODS_SELECTED);
    EXPECT_NE(canvas.At(24, 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(canvas.At(25, 1), Sys(COLOR_HIGHLIGHT));
    // The text from the image width + 9 on.
    EXPECT_EQ(canvas.Count(Sys(COLOR_HIGHLIGHTTEXT), {25, 0, 20 + 9, item.bottom}), 0);
    EXPECT_GT(canvas.Count(Sys(COLOR_HIGHLIGHTTEXT), {20 + 9, 0, 120, item.bottom}), 0);
}

TEST(OrvelMenuBuild, SixteenColourBitmapsWithOtherHeadersLoadAsTheyAre)
{
    Look classic(false);
    const HMODULE program = ::GetModuleHandleA(nullptr);
    for (UINT id : {kCoreToolbar, kV4Strip, kV5Strip}) {
        SCOPED_TRACE(id);
        HBITMAP bitmap = AfxLoadSysColorBitmap(program, ::FindResourceA(program, MAKEINTRESOURCEA(id), RT_BITMAP));
        ASSERT_TRUE(bitmap);
        PixelCanvas canvas(32, 15);
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::BitBlt(canvas.dc(), 0, 0, 32, 15, dc, 0, 0, SRCCOPY);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        ::DeleteObject(bitmap);
        EXPECT_EQ(canvas.At(8, 7), kRed);
        EXPECT_EQ(canvas.At(16 + 8, 7), kBlue);
        EXPECT_EQ(canvas.At(0, 0), RGB(0xC0, 0xC0, 0xC0));  // its own face colour

        OrvelMenu menu;
        menu.SetMaskColour(RGB(0xC0, 0xC0, 0xC0));
        CImageList list;
        ASSERT_TRUE(list.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
        ASSERT_TRUE(menu.AddBitmapToList(&list, id));
        EXPECT_EQ(SlotPixel(&list, 0, 8, 7), kRed);
        EXPECT_EQ(SlotPixel(&list, 0, 0, 0), kMagenta);  // transparent
        EXPECT_EQ(SlotPixel(&list, 1, 8, 7), kBlue);
    }
    // A toolbar whose picture has the core header: its images reach the commands.
    CToolBar toolbar;
    ASSERT_TRUE(toolbar.Create(CWnd::GetDesktopWindow(), WS_CHILD | CBRS_TOP));
    EXPECT_TRUE(toolbar.LoadToolBar(kCoreToolbar));
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    const UINT blue = 131;
    ASSERT_TRUE(menu.AppendItem(L"Blue", 0, blue));
    menu.SetMaskColour(RGB(0xC0, 0xC0, 0xC0));
    ASSERT_TRUE(menu.LoadToolbarImages(kCoreToolbar));
    ASSERT_GE(menu.Items()[0]->sharedImageIndex, 0);
    EXPECT_EQ(SlotPixel(OrvelMenu::SharedImages(), menu.Items()[0]->sharedImageIndex, 8, 7), kBlue);
}

TEST(OrvelMenuBuild, ALiveToolbarGivesTheCommandsOwnImages)
{
    CToolBar toolbar;
    ASSERT_TRUE(toolbar.Create(CWnd::GetDesktopWindow(), WS_CHILD | CBRS_TOP));
    ASSERT_TRUE(toolbar.LoadToolBar(kToolbar));
    ASSERT_EQ(toolbar.GetCount(), 4);
    EXPECT_EQ(toolbar.GetItemID(1), 0u);
    EXPECT_EQ(toolbar.CommandToIndex(kPrint), 3);

    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem("Save as", 0, kSaveAs));
    ASSERT_TRUE(menu.AppendItem("Print", 0, kPrint));
    EXPECT_EQ(menu.TakeImagesFromToolbar(&toolbar, kToolbar), 4);
    ASSERT_EQ(menu.Items().size(), 2u);  // the commands' own records, none added
    const MenuItemData* print = menu.Items()[1];
    EXPECT_EQ(print->imageSource, static_cast<int>(kToolbar));
    EXPECT_EQ(print->ownImageIndex, 2);
    ASSERT_TRUE(print->ownImages);
    EXPECT_EQ(SlotPixel(print->ownImages, print->ownImageIndex, 8, 7), RGB(0, 255, 0));
    EXPECT_EQ(ItemData(menu, 1), print);
}

TEST(OrvelMenuBuild, SystemColourBitmapsTakeTheButtonColours)
{
    HRSRC resource = ::FindResourceA(nullptr, MAKEINTRESOURCEA(kToolbar), RT_BITMAP);
    ASSERT_TRUE(resource);
    HBITMAP bitmap = AfxLoadSysColorBitmap(::GetModuleHandleA(nullptr), resource);
    ASSERT_TRUE(bitmap);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    EXPECT_EQ(::GetPixel(dc, 0, 0), Sys(COLOR_BTNFACE));  // was 0xC0C0C0
    EXPECT_EQ(::GetPixel(dc, 1, 1), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(dc, 8, 7), kRed);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(bitmap);
    EXPECT_EQ(AfxLoadSysColorBitmap(::GetModuleHandleA(nullptr), nullptr), nullptr);
}

// --- editing and finding

// A popup with the given texts, command ids from base on.
void Fill(OrvelMenu& menu, std::initializer_list<const wchar_t*> texts, UINT base)
{
    ASSERT_TRUE(menu.CreatePopupMenu());
    for (const wchar_t* text : texts)
        ASSERT_TRUE(menu.AppendItem(text, 0, base++));
}

std::wstring Texts(const OrvelMenu& menu)
{
    std::wstring joined;
    for (const MenuItemData* record : menu.Items())
        joined += record->text + L"|";
    return joined;
}

TEST(OrvelMenuEdit, RemovalByTextTakesTheItemAndTheOnesBeforeIt)
{
    OrvelMenu menu;
    Fill(menu, {L"A", L"B", L"C", L"D", L"E"}, NextCommand());
    NextCommand(), NextCommand(), NextCommand(), NextCommand();
    EXPECT_EQ(menu.RemoveItemByText("Z", 3), -1);
    EXPECT_EQ(::GetMenuItemCount(menu), 5);
    EXPECT_EQ(menu.RemoveItemByText(L"D", 3), 3);
    EXPECT_EQ(Texts(menu), L"A|E|");
    EXPECT_EQ(::GetMenuItemCount(menu), 2);
    EXPECT_EQ(menu.DeleteItemByText("A", 3), 0);  // nothing before the first item
    EXPECT_EQ(Texts(menu), L"E|");
    EXPECT_EQ(ItemData(menu, 0), menu.Items()[0]);
}

TEST(OrvelMenuEdit, RemovingOneOfTwoItemsOfACommandFreesThatItemsRecord)
{
    const UINT command = NextCommand();
    OrvelMenu menu;
    Fill(menu, {L"First", L"Second", L"Third"}, command);
    NextCommand(), NextCommand();
    // A second item of the first command.
    ASSERT_TRUE(menu.InsertItem(2, L"Again", MF_BYPOSITION, command));
    ASSERT_EQ(Texts(menu), L"First|Second|Again|Third|");
    ASSERT_TRUE(menu.RemoveItem(2, MF_BYPOSITION));
    EXPECT_EQ(Texts(menu), L"First|Second|Third|");
    for (UINT p = 0; p < 3; ++p)
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]) << p;
    // By command: the first occurrence.
    ASSERT_TRUE(menu.InsertItem(3, L"Last", MF_BYPOSITION, command));
    ASSERT_TRUE(menu.DeleteItem(command, MF_BYCOMMAND));
    EXPECT_EQ(Texts(menu), L"Second|Third|Last|");
    for (UINT p = 0; p < 3; ++p)
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]) << p;
}

TEST(OrvelMenuEdit, PositionsPastTheRecordsAreRefused)
{
    OrvelMenu menu;
    Fill(menu, {L"A", L"B"}, NextCommand());
    NextCommand();
    CString text;
    EXPECT_FALSE(menu.SetItemText(2, "C", MF_BYPOSITION));
    EXPECT_FALSE(menu.GetItemText(7, text, MF_BYPOSITION));
    EXPECT_FALSE(menu.RemoveItem(5, MF_BYPOSITION));
    EXPECT_FALSE(menu.DeleteItem(0xFFFFFFFF, MF_BYPOSITION));
    EXPECT_EQ(Texts(menu), L"A|B|");
    // A plain item added behind the menu's back has no record: removing it frees none.
    ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, 42, "Plain"));
    ASSERT_TRUE(menu.RemoveItem(2, MF_BYPOSITION));
    EXPECT_EQ(Texts(menu), L"A|B|");
    EXPECT_TRUE(menu.SetItemText(1, L"b", MF_BYPOSITION));
    EXPECT_TRUE(menu.GetItemText(1, text, MF_BYPOSITION));
    EXPECT_STREQ(text, "b");
}

TEST(OrvelMenuEdit, ModifyingACommandGivesEachOccurrenceItsOwnRecord)
{
    const UINT command = NextCommand();
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"Top", 0, command));
    OrvelMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_TRUE(sub);
    ASSERT_TRUE(sub->AppendItem(L"Inner", 0, command));
    ASSERT_TRUE(menu.ModifyItem(L"Both", command));
    EXPECT_EQ(menu.Items()[0]->text, L"Both");
    EXPECT_EQ(sub->Items()[0]->text, L"Both");
    EXPECT_EQ(ItemData(menu, 0), menu.Items()[0]);
    EXPECT_EQ(ItemData(*sub, 0), sub->Items()[0]);
    // Removing the inner one leaves the outer one's record alone.
    ASSERT_TRUE(sub->DeleteItem(0, MF_BYPOSITION));
    EXPECT_EQ(ItemData(menu, 0)->text, L"Both");
    // A command that is nowhere: a failed call, and no record that no item would show.
    const size_t before = menu.Items().size();
    EXPECT_FALSE(menu.ModifyItem(L"Nowhere", NextCommand()));
    EXPECT_EQ(menu.Items().size(), before);
}

// Each item shows the record at its own position, and there is no record more.
void ExpectInStep(OrvelMenu& menu)
{
    ASSERT_EQ(menu.Items().size(), static_cast<size_t>(::GetMenuItemCount(menu)));
    for (UINT p = 0; p < menu.Items().size(); ++p)
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]) << p;
}

TEST(OrvelMenuEdit, RecordsStayInStepWithTheItems)
{
    OrvelMenu menu;
    const UINT first = NextCommand();
    const UINT last = NextCommand();
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"First", 0, first));
    ASSERT_TRUE(menu.AppendItem(L"Line", 0, 0));  // a separator with a text
    ASSERT_TRUE(menu.AppendItem(L"Last", 0, last));
    ExpectInStep(menu);

    // A command in no menu changes nothing: positions past the items stay refused.
    EXPECT_FALSE(menu.ModifyItem(L"Orphan", NextCommand()));
    ExpectInStep(menu);
    CString text;
    EXPECT_FALSE(menu.GetItemText(3, text, MF_BYPOSITION));
    EXPECT_FALSE(menu.SetItemText(3, L"Changed", MF_BYPOSITION));
    EXPECT_EQ(menu.RemoveItemByText(L"Orphan"), -1);
    EXPECT_EQ(::GetMenuItemCount(menu), 3);

    // Deleting the separator takes its record too, text or not.
    ASSERT_TRUE(menu.DeleteItem(1, MF_BYPOSITION));
    ExpectInStep(menu);
    EXPECT_EQ(Texts(menu), L"First|Last|");
    ASSERT_TRUE(menu.GetItemText(1, text, MF_BYPOSITION));
    EXPECT_STREQ(text, "Last");
    ASSERT_TRUE(menu.SetItemText(1, L"Final", MF_BYPOSITION));
    EXPECT_EQ(ItemData(menu, 1)->text, L"Final");  // the item shown there changed
    EXPECT_EQ(menu.RemoveItemByText(L"Line"), -1);
    EXPECT_EQ(menu.DeleteItemByText(L"Final"), 1);
    EXPECT_EQ(Texts(menu), L"First|");
    ExpectInStep(menu);
}

TEST(OrvelMenuEdit, ModifyingItemsOfOtherCodeKeepsEveryMenusRecordsInStep)
{
    // Items put in behind the menu's back: in a popup that is no OrvelMenu, right after the
    // records (the record can stand at its position) and one further on (it cannot).
    const UINT foreign = NextCommand();
    const UINT adjacent = NextCommand();
    const UINT beyond = NextCommand();
    OrvelMenu menu;
    Fill(menu, {L"A", L"B"}, NextCommand());
    NextCommand();
    HMENU plain = ::CreatePopupMenu();
    ASSERT_TRUE(::AppendMenuA(plain, MF_STRING, foreign, "Foreign"));
    ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, adjacent, "Adjacent"));
    ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, beyond, "Beyond"));
    ASSERT_TRUE(::AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(plain), "Plain"));

    EXPECT_FALSE(menu.ModifyItem(L"Changed", foreign));
    EXPECT_FALSE(IsOwnerDrawn(plain, 0)) << "a popup of other code is left as it is";
    EXPECT_FALSE(menu.ModifyItem(L"Changed", beyond));
    EXPECT_FALSE(IsOwnerDrawn(menu, 3));
    ASSERT_EQ(menu.Items().size(), 2u) << "no record stands at another item's position";

    EXPECT_TRUE(menu.ModifyItem(L"Adopted", adjacent));
    ASSERT_EQ(menu.Items().size(), 3u);
    for (UINT p = 0; p < 3; ++p)
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]) << p;
    EXPECT_EQ(menu.Items()[2]->text, L"Adopted");
    EXPECT_EQ(Texts(menu), L"A|B|Adopted|");
}

TEST(OrvelMenuEdit, InsertingByCommandGoesBeforeItInItsOwnMenu)
{
    const UINT command = NextCommand();
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"Top", 0, NextCommand()));
    OrvelMenu* sub = menu.AppendPopup(L"Sub");
    ASSERT_TRUE(sub);
    ASSERT_TRUE(sub->AppendItem(L"Target", 0, command));
    ASSERT_TRUE(menu.InsertItem(command, L"Before", MF_BYCOMMAND, NextCommand()));
    EXPECT_EQ(Texts(*sub), L"Before|Target|");
    EXPECT_EQ(ItemData(*sub, 0), sub->Items()[0]);
    EXPECT_FALSE(menu.InsertItem(NextCommand(), L"Nowhere", MF_BYCOMMAND, 1));
    EXPECT_TRUE(menu.InsertItem(static_cast<UINT>(-1), L"End", MF_BYPOSITION, NextCommand()));
    EXPECT_EQ(Texts(menu), L"Top|Sub|End|");
}

TEST(OrvelMenuEdit, DeletingAPopupDeletesItsMenuAndObject)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    OrvelMenu* sub = menu.AppendPopup("Sub");
    ASSERT_TRUE(sub);
    ASSERT_TRUE(sub->AppendItem("Inner", 0, NextCommand()));
    const HMENU handle = sub->m_hMenu;
    EXPECT_TRUE(OrvelMenu::IsRegisteredPopup(handle));
    ASSERT_EQ(menu.SubMenus().size(), 1u);
    ASSERT_TRUE(menu.DeleteItem(0, MF_BYPOSITION));
    EXPECT_FALSE(OrvelMenu::IsRegisteredPopup(handle));
    EXPECT_TRUE(menu.SubMenus().empty());
    EXPECT_TRUE(menu.Items().empty());
    EXPECT_FALSE(::IsMenu(handle));
}

TEST(OrvelMenuEdit, FindsCommandsTextsAndPopups)
{
    const UINT command = NextCommand();
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"Top", 0, NextCommand()));
    OrvelMenu* sub = menu.AppendPopup(L"&Sub");
    ASSERT_TRUE(sub);
    ASSERT_TRUE(sub->AppendItem(L"Filler", 0, NextCommand()));
    ASSERT_TRUE(sub->AppendItem(L"Deep", 0, command));
    int position = -1;
    EXPECT_EQ(menu.FindMenuContaining(command, position), sub);
    EXPECT_EQ(position, 1);
    EXPECT_EQ(menu.FindMenuContaining(NextCommand(), position), nullptr);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(menu.FindItem(command), sub->Items()[1]);
    EXPECT_EQ(menu.FindItemByText("Deep"), sub->Items()[1]);
    EXPECT_EQ(menu.FindItemByText(L"deep"), nullptr);
    EXPECT_EQ(menu.GetSubMenuByText("&Sub"), sub);
    EXPECT_EQ(menu.FindItemIndexByText(L"&Sub"), 1);
    EXPECT_EQ(menu.GetSubMenuAt(0), nullptr);
    EXPECT_EQ(menu.GetSubMenuAt(1), sub);
    // Any menu, by the entry's own string.
    CMenu plain;
    ASSERT_TRUE(plain.CreateMenu());
    HMENU popup = ::CreatePopupMenu();
    ASSERT_TRUE(::AppendMenuA(plain, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "&View"));
    EXPECT_EQ(OrvelMenu::FindPopupByTitle(&plain, "&View")->m_hMenu, popup);
    EXPECT_EQ(OrvelMenu::FindPopupByTitle(&plain, "View"), nullptr);
}

TEST(OrvelMenuEdit, MenuCharactersExecuteTheFirstItemWithThatMnemonic)
{
    OrvelMenu menu;
    Fill(menu, {L"&Open", L"Sa&ve", L"&Save as", L"&Print"}, NextCommand());
    NextCommand(), NextCommand(), NextCommand();
    EXPECT_EQ(OrvelMenu::HandleMenuChar('s', MF_POPUP, &menu), 0x20002);
    EXPECT_EQ(OrvelMenu::HandleMenuChar('S', MF_POPUP, &menu), 0x20002);
    EXPECT_EQ(OrvelMenu::HandleMenuChar('v', MF_POPUP, &menu), 0x20001);
    EXPECT_EQ(OrvelMenu::HandleMenuChar('x', MF_POPUP, &menu), 0);
    EXPECT_EQ(OrvelMenu::HandleMenuChar('s', 0, &menu), 0);
    EXPECT_EQ(OrvelMenu::HandleMenuChar('s', MF_POPUP, nullptr), 0);
    // An item added behind the menu's back is adopted first.
    ASSERT_TRUE(::AppendMenuA(menu, MF_STRING, 77, "&Zoom"));
    EXPECT_EQ(OrvelMenu::HandleMenuChar('z', MF_POPUP, &menu), 0x20004);
    EXPECT_TRUE(IsOwnerDrawn(menu, 4));
    EXPECT_EQ(Texts(menu), L"&Open|Sa&ve|&Save as|&Print|&Zoom|");
}

TEST(OrvelMenuEdit, AdoptingAPlainMenuMakesEveryItemOwnerDrawnAndKeepsItsState)
{
    HMENU plain = ::CreatePopupMenu();
    HMENU inner = ::CreatePopupMenu();
    ASSERT_TRUE(::AppendMenuA(plain, MF_STRING, 1, "&Alpha"));
    ASSERT_TRUE(::AppendMenuA(plain, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(::AppendMenuA(plain, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "Inner"));
    ASSERT_TRUE(::AppendMenuA(plain, MF_STRING | MF_CHECKED, 2, "Beta"));
    OrvelMenu menu;
    ASSERT_TRUE(menu.Attach(plain));
    menu.RebuildItemList();
    ASSERT_EQ(menu.Items().size(), 4u);
    EXPECT_EQ(Texts(menu), L"&Alpha||Inner|Beta|");
    for (UINT p = 0; p < 4; ++p) {
        SCOPED_TRACE(p);
        EXPECT_TRUE(IsOwnerDrawn(menu, p));
        EXPECT_EQ(ItemData(menu, p), menu.Items()[p]);
    }
    EXPECT_TRUE(::GetMenuState(menu, 3, MF_BYPOSITION) & MF_CHECKED);
    EXPECT_TRUE(menu.Items()[1]->flags & MF_SEPARATOR);
    EXPECT_EQ(menu.Items()[2]->commandId, reinterpret_cast<UINT_PTR>(inner));
    // Again: the same records, and owner-drawn items keep their texts.
    const std::vector<MenuItemData*> records = menu.Items();
    OrvelMenu::RebuildMenu(&menu);
    EXPECT_EQ(menu.Items(), records);
    EXPECT_EQ(Texts(menu), L"&Alpha||Inner|Beta|");
    OrvelMenu::RebuildMenu(nullptr);
}

// --- measuring

TEST(OrvelMenuMeasure, SeparatorsAreHalfAnItemAndItemsLeaveRoomForTheImage)
{
    OrvelMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    ASSERT_TRUE(menu.AppendItem(L"&Open\tCtrl+O", 0, NextCommand()));
    ASSERT_TRUE(menu.AppendItem(L"", 0, 0));
    const int menuBar = ::GetSystemMetrics(SM_CYMENU);
    const int text = MenuTextWidth(L"&Open\tCtrl+O");
    ASSERT_GT(text, 0);
    {
        Look xp(true);
        const MEASUREITEMSTRUCT item = Measure(menu, 0);
        EXPECT_EQ(item.itemWidth, static_cast<UINT>(text + 16 + 7 + 8));
        EXPECT_EQ(item.itemHeight, static_cast<UINT>(std::max(menuBar, 22)));
        const MEASUREITEMSTRUCT separator = Measure(menu, 1);
        EXPECT_EQ(separator.itemWidth, 0u);
        EXPECT_EQ(separator.itemHeight, static_cast<UINT>(std::max(menuBar / 2, 11)));
    }
    Look classic(false);
    const MEASUREITEMSTRUCT item = Measure(menu, 0);
    EXPECT_EQ(item.itemWidth, static_cast<UINT>(text + 33));
    EXPECT_EQ(item.itemHeight, static_cast<UINT>(std::max(menuBar, 19)));
    EXPECT_EQ(Measure(menu, 1).itemHeight, static_cast<UINT>(std::max(menuBar / 2, 9)));
}

// --- painting, classic look

constexpr RECT kItem = {0, 0, 120, 19};
constexpr RECT kXpItem = {0, 0, 120, 22};

class ClassicPaint : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_command = NextCommand();
        m_imaged = NextCommand();
        ASSERT_TRUE(m_menu.AppendItem(L"&Plain\tCtrl+P", 0, m_command));
        ASSERT_TRUE(m_menu.AppendItem(L"", 0, 0));
        ASSERT_TRUE(m_menu.AppendItem(L"&Imaged", 0, m_imaged, kToolbar));  // red square
    }
    COLORREF Bg() const { return ClassicBackground(); }

    OrvelMenu m_menu;
    UINT m_command = 0;
    UINT m_imaged = 0;
    Look m_look{false};
    PixelCanvas m_canvas{120, 19};
};

TEST_F(ClassicPaint, APlainItemOnTheMenuColourWithItsTextAfterTheImageSpace)
{
    Paint(m_menu, 0, m_canvas, kItem, 0);
    EXPECT_EQ(m_canvas.At(2, 2), Bg());
    EXPECT_EQ(m_canvas.At(119, 18), Bg());
    const RECT text = m_canvas.Find([](COLORREF c) { return c == Sys(COLOR_MENUTEXT); });
    ASSERT_LT(text.left, text.right) << "no text painted";
    EXPECT_GE(text.left, 25);
    EXPECT_LE(text.right, 120);
}

TEST_F(ClassicPaint, SelectedWithoutImageLightsTheWholeItem)
{
    Paint(m_menu, 0, m_canvas, kItem, ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(1, 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(m_canvas.At(118, 17), Sys(COLOR_HIGHLIGHT));
    EXPECT_GT(m_canvas.Count(Sys(COLOR_HIGHLIGHTTEXT), {25, 0, 120, 19}), 0);
}

TEST_F(ClassicPaint, SelectedWithAnImageLeavesTheImageCellUnlitAndRaised)
{
    Paint(m_menu, 2, m_canvas, kItem, ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(22, 1), Sys(COLOR_HIGHLIGHT));  // from iconWidth + 5 on
    EXPECT_NE(m_canvas.At(20, 1), Sys(COLOR_HIGHLIGHT));
    EXPECT_EQ(m_canvas.At(2 + 8, 2 + 7), kRed);  // the image at (2, 2)
    if (OrvelMenu::HasModernShell()) {
        EXPECT_EQ(m_canvas.At(0, 0), Sys(COLOR_BTNHIGHLIGHT));  // raised frame (0, 0, 20, 19)
        EXPECT_EQ(m_canvas.At(19, 18), Sys(COLOR_BTNSHADOW));
    }
}

TEST_F(ClassicPaint, ACheckedImageSitsInASunkenLighterCell)
{
    Paint(m_menu, 2, m_canvas, kItem, ODS_CHECKED);
    EXPECT_EQ(m_canvas.At(2 + 8, 2 + 7), kRed);
    EXPECT_EQ(m_canvas.At(2, 2), menu::BlendTowardWhite(Bg(), 0.6));  // the image's transparent corner
    if (OrvelMenu::HasModernShell()) {
        EXPECT_EQ(m_canvas.At(0, 0), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(m_canvas.At(19, 18), Sys(COLOR_BTNHIGHLIGHT));
    }
}

TEST_F(ClassicPaint, ACheckedItemWithoutImageShowsTheDrawnCheck)
{
    Paint(m_menu, 0, m_canvas, kItem, ODS_CHECKED);
    // Box (1, 2, 17, 17), glyph at (5, 6): seven strokes, each three pixels, end pixel left out.
    const COLORREF ink = Sys(COLOR_MENUTEXT);
    const int strokes[7][2] = {{2, 5}, {3, 6}, {4, 7}, {3, 6}, {2, 5}, {1, 4}, {0, 3}};
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_canvas.At(5 + i, 6 + strokes[i][0]), ink);
        EXPECT_EQ(m_canvas.At(5 + i, 6 + strokes[i][1] - 1), ink);
        EXPECT_NE(m_canvas.At(5 + i, 6 + strokes[i][1]), ink);
    }
    EXPECT_EQ(m_canvas.Count(ink, {1, 2, 17, 17}), 21);
    EXPECT_EQ(m_canvas.At(14, 14), menu::BlendTowardWhite(Bg(), 0.6));  // not selected: lighter
}

TEST_F(ClassicPaint, ARadioItemShowsABullet)
{
    CBitmap bullet;
    ASSERT_TRUE(bullet.CreateBitmap(8, 8, 1, 1, nullptr));
    ASSERT_TRUE(::SetMenuItemBitmaps(m_menu, m_command, MF_BYCOMMAND, nullptr, bullet));
    Paint(m_menu, 0, m_canvas, kItem, ODS_CHECKED | ODS_SELECTED);
    const COLORREF ink = Sys(COLOR_MENUTEXT);
    EXPECT_EQ(m_canvas.At(8, 8), ink);  // the bullet (6, 6, 12, 12)
    EXPECT_NE(m_canvas.At(5, 8), ink);  // where the check's first stroke would be
    EXPECT_EQ(m_canvas.At(14, 14), Bg());  // selected: not lighter
}

TEST_F(ClassicPaint, AGreyedItemIsEtchedAndAGreyedSelectedOneInTheMenuColour)
{
    Paint(m_menu, 0, m_canvas, kItem, ODS_GRAYED);
    const RECT text = {25, 0, 120, 19};
    EXPECT_GT(m_canvas.Count(Sys(COLOR_GRAYTEXT), text), 0);
    EXPECT_GT(m_canvas.Count(Sys(COLOR_BTNHIGHLIGHT), text), 0);
    EXPECT_EQ(m_canvas.Count(Sys(COLOR_MENUTEXT), text), 0);

    m_canvas.Fill(RGB(1, 2, 3));
    Paint(m_menu, 0, m_canvas, kItem, ODS_GRAYED | ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(1, 1), Sys(COLOR_HIGHLIGHT));  // shown selected in the classic look
    EXPECT_GT(m_canvas.Count(Bg(), text), 0);
    EXPECT_EQ(m_canvas.Count(Sys(COLOR_GRAYTEXT), text), 0);
}

TEST_F(ClassicPaint, ASeparatorIsAnEtchedLineAtHalfHeight)
{
    Paint(m_menu, 1, m_canvas, kItem, 0);
    for (int x : {0, 60, 119}) {
        EXPECT_EQ(m_canvas.At(x, 9), Sys(COLOR_BTNSHADOW)) << x;
        EXPECT_EQ(m_canvas.At(x, 10), Sys(COLOR_BTNHIGHLIGHT)) << x;
        EXPECT_EQ(m_canvas.At(x, 5), Bg()) << x;
    }
}

TEST_F(ClassicPaint, ADisabledImageIsEmbossedWithEitherGreying)
{
    for (bool dib : {false, true}) {
        SCOPED_TRACE(dib ? "DIB" : "masks");
        if (dib)
            m_menu.SetDibGreying();
        else
            m_menu.ClearDibGreying();
        EXPECT_EQ(m_menu.UsesDibGreying(), dib);
        m_canvas.Fill(RGB(1, 2, 3));
        Paint(m_menu, 2, m_canvas, kItem, ODS_GRAYED);
        const RECT image = {2, 2, 19, 18};
        EXPECT_EQ(m_canvas.Count(kRed, image), 0);
        // The square's border and inside are dark: shadow at (2, 2) on, highlight one pixel
        // further down and right, the background around them.
        EXPECT_EQ(m_canvas.At(2 + 1, 2 + 1), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(m_canvas.At(2 + 8, 2 + 7), Sys(COLOR_BTNSHADOW));
        EXPECT_EQ(m_canvas.At(2 + 15, 2 + 14), Sys(COLOR_BTNHIGHLIGHT));
        EXPECT_EQ(m_canvas.At(2, 2), Bg());
    }
}

TEST_F(ClassicPaint, CheckMarkBitmapsReplaceTheDrawnCheck)
{
    m_menu.SetMaskColour(kMagenta);
    m_menu.SetCheckMarkBitmaps(0, kCheckSelected);  // ignored: an id below 1
    EXPECT_EQ(m_menu.CheckImages(), nullptr);
    m_menu.SetCheckMarkBitmaps(kCheck, kCheckSelected);
    ASSERT_TRUE(m_menu.CheckImages());
    EXPECT_EQ(m_menu.CheckImages()->GetImageCount(), 2);
    Paint(m_menu, 0, m_canvas, kItem, ODS_CHECKED);
    EXPECT_EQ(m_canvas.At(2 + 6, 2 + 6), RGB(0, 0, 0));
    m_canvas.Fill(RGB(1, 2, 3));
    Paint(m_menu, 0, m_canvas, kItem, ODS_CHECKED | ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(2 + 6, 2 + 6), kBlue);
    // A submenu shares the list, also after it is built again.
    OrvelMenu* sub = m_menu.AppendPopup(L"Sub");
    ASSERT_TRUE(sub);
    ASSERT_TRUE(sub->AppendItem(L"Inner", 0, NextCommand()));
    m_menu.SetCheckMarkBitmaps(kCheckSelected, kCheck);
    m_canvas.Fill(RGB(1, 2, 3));
    Paint(*sub, 0, m_canvas, kItem, ODS_CHECKED);
    EXPECT_EQ(m_canvas.At(2 + 6, 2 + 6), kBlue);
    // A bitmap that does not load: no check image at all, and the submenu keeps a valid (empty)
    // list.
    m_menu.SetCheckMarkBitmaps(kCheck, 999);
    EXPECT_EQ(sub->CheckImages(), m_menu.CheckImages());
    ASSERT_TRUE(m_menu.CheckImages());
    EXPECT_EQ(m_menu.CheckImages()->m_hImageList, nullptr);
}

TEST_F(ClassicPaint, ColouredItemsShowTheirRectangle)
{
    const UINT command = NextCommand();
    ASSERT_TRUE(m_menu.AppendItem(L"Colour", 0, command));
    m_menu.ModifyItemColour(static_cast<LPCWSTR>(nullptr), command, RGB(0, 128, 0), RGB(0, 0, 128));
    Paint(m_menu, 3, m_canvas, kItem, 0);
    EXPECT_EQ(m_canvas.At(2 + 8, 2 + 7), RGB(0, 128, 0));
    EXPECT_EQ(m_canvas.At(2, 2), RGB(0, 0, 128));
    const SIZE small = {6, 5};
    m_menu.ModifyItemColour(static_cast<LPCWSTR>(nullptr), command, RGB(0, 128, 0), RGB(0, 0, 128), HS_CROSS, &small);
    m_canvas.Fill(RGB(1, 2, 3));
    Paint(m_menu, 3, m_canvas, kItem, 0);
    EXPECT_EQ(m_canvas.At(2 + 5, 2 + 5), RGB(0, 0, 128));  // the rectangle (5, 5, 11, 10) in the cell
    EXPECT_NE(m_canvas.At(2 + 1, 2 + 1), RGB(0, 0, 128));
}

// --- painting, XP look

class XpPaint : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_menu.CreatePopupMenu());
        m_command = NextCommand();
        m_imaged = NextCommand();
        ASSERT_TRUE(m_menu.AppendItem(L"&Plain\tCtrl+P", 0, m_command));
        ASSERT_TRUE(m_menu.AppendItem(L"", 0, 0));
        ASSERT_TRUE(m_menu.AppendItem(L"&Imaged", 0, m_imaged, kToolbar));  // bound in the XP look
    }

    Look m_look{true};
    OrvelMenu m_menu;
    UINT m_command = 0;
    UINT m_imaged = 0;
    PixelCanvas m_canvas{120, 22};
};

TEST_F(XpPaint, AnImageColumnBesideTheWindowColouredItem)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 0, m_canvas, kXpItem, 0);
    EXPECT_EQ(m_canvas.At(5, 5), colours.column);
    EXPECT_EQ(m_canvas.At(22, 5), colours.column);
    EXPECT_EQ(m_canvas.At(23, 5), colours.window);
    const RECT text = m_canvas.Find([](COLORREF c) { return c == Sys(COLOR_MENUTEXT); });
    ASSERT_LT(text.left, text.right);
    EXPECT_GE(text.left, 31);
}

TEST_F(XpPaint, SelectedIsPaleWithAFrame)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 0, m_canvas, kXpItem, ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(0, 0), colours.highlight);
    EXPECT_EQ(m_canvas.At(119, 21), colours.highlight);
    EXPECT_EQ(m_canvas.At(5, 5), colours.light);
    EXPECT_EQ(m_canvas.At(60, 1), colours.light);
}

TEST_F(XpPaint, AGreyedItemIsNeverShownSelected)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 0, m_canvas, kXpItem, ODS_GRAYED | ODS_SELECTED);
    EXPECT_EQ(m_canvas.At(0, 0), colours.column);
    EXPECT_EQ(m_canvas.At(60, 0), colours.window);
    EXPECT_EQ(m_canvas.At(119, 21), colours.window);
    EXPECT_EQ(m_canvas.At(5, 5), colours.column);
    EXPECT_EQ(m_canvas.At(60, 1), colours.window);
    EXPECT_GT(m_canvas.Count(colours.grayText, {31, 0, 120, 22}), 0);
    EXPECT_EQ(m_canvas.Count(Sys(COLOR_MENUTEXT), {31, 0, 120, 22}), 0);
}

TEST_F(XpPaint, ASeparatorStartsSevenPixelsRightOfTheColumn)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 1, m_canvas, kXpItem, 0);
    EXPECT_EQ(m_canvas.At(5, 11), colours.column);
    EXPECT_EQ(m_canvas.At(29, 11), colours.window);
    EXPECT_EQ(m_canvas.At(30, 11), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m_canvas.At(119, 11), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m_canvas.At(30, 12), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(m_canvas.At(60, 5), colours.window);
}

TEST_F(XpPaint, ACheckedItemWithoutImageShowsAFramedCheckBox)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 0, m_canvas, kXpItem, ODS_CHECKED);
    // Box (4, 3, 20, 19), glyph at (9, 7).
    EXPECT_EQ(m_canvas.At(4, 3), colours.highlight);
    EXPECT_EQ(m_canvas.At(19, 18), colours.highlight);
    EXPECT_EQ(m_canvas.At(6, 16), colours.checkedCell);
    EXPECT_EQ(m_canvas.At(9, 9), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(m_canvas.At(15, 7), Sys(COLOR_MENUTEXT));
    EXPECT_EQ(m_canvas.Count(Sys(COLOR_MENUTEXT), {4, 3, 20, 19}), 21);
}

TEST_F(XpPaint, ImagesAreFadedAtRestAndRaisedWithAShadowWhenSelected)
{
    const COLORREF shadow = menu::ShadowColour(SystemColours(), OrvelMenu::IsXpThemed() != FALSE);
    Paint(m_menu, 2, m_canvas, kXpItem, 0);
    // At rest: the faded variant at (4, 4).
    EXPECT_EQ(m_canvas.At(4 + 8, 4 + 7), RGB(255, 76, 76));
    EXPECT_EQ(m_canvas.Count(kRed, {0, 0, 23, 22}), 0);

    m_canvas.Fill(RGB(1, 2, 3));
    Paint(m_menu, 2, m_canvas, kXpItem, ODS_SELECTED);
    // The image at (3, 3) over its shadow at (5, 5).
    EXPECT_EQ(m_canvas.At(3 + 8, 3 + 7), kRed);
    EXPECT_EQ(m_canvas.At(3 + 1, 3 + 1), RGB(0, 0, 0));
    EXPECT_EQ(m_canvas.At(5 + 14, 5 + 13), shadow);
    EXPECT_EQ(m_canvas.At(2, 2), XpColours().light);
}

TEST_F(XpPaint, ACheckedImageIsFramedAndMovedUpAndLeft)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 2, m_canvas, kXpItem, ODS_CHECKED);
    EXPECT_EQ(m_canvas.At(1, 1), colours.highlight);  // the cell (1, 1, 22, 21) framed
    EXPECT_EQ(m_canvas.At(21, 20), colours.highlight);
    EXPECT_EQ(m_canvas.At(2, 2), colours.checkedCell);
    EXPECT_EQ(m_canvas.At(3 + 1, 3 + 1), RGB(0, 0, 0));  // the image at (3, 3), not the faded one
    EXPECT_EQ(m_canvas.At(3 + 8, 3 + 7), kRed);
}

TEST_F(XpPaint, ADisabledImageIsGreyedOnTheColumn)
{
    const menu::XpColours colours = XpColours();
    Paint(m_menu, 2, m_canvas, kXpItem, ODS_GRAYED);
    EXPECT_EQ(m_canvas.Count(kRed, {0, 0, 23, 22}), 0);
    EXPECT_EQ(m_canvas.At(4 + 8, 4 + 7), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(m_canvas.At(4, 4), colours.column);
}

TEST_F(XpPaint, OwnImagesFromAListCarryTheirVariants)
{
    CImageList list;
    ASSERT_TRUE(list.Create(16, 15, ILC_COLORDDB | ILC_MASK, 1, 1));
    m_menu.SetMaskColour(kMagenta);
    ASSERT_TRUE(m_menu.AddBitmapToList(&list, kImage));
    EXPECT_EQ(list.GetImageCount(), 3);  // the image, faded, shadow
    ASSERT_TRUE(m_menu.AppendItemWithImage(L"Own", 0, NextCommand(), &list, 0));
    const MenuItemData* own = m_menu.Items()[3];
    EXPECT_EQ(own->imageSource, 0);
    EXPECT_EQ(own->ownImageIndex, 0);
    ASSERT_TRUE(own->ownImages);
    EXPECT_EQ(own->ownImages->GetImageCount(), 3);
    Paint(m_menu, 3, m_canvas, kXpItem, 0);
    EXPECT_EQ(m_canvas.At(4 + 8, 4 + 7), menu::FadedPixel(kDarkRed, 0));
}

// The version code from the version record alone, as the menu's table gives it.
int ExpectedVersionCode(const OSVERSIONINFOA& version)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 0;
    case VER_PLATFORM_WIN32_WINDOWS:
        if (version.dwMajorVersion != 4)
            return 2;
        return version.dwMinorVersion == 10 ? 3 : version.dwMinorVersion == 90 ? 4 : 2;
    default:
        if (version.dwMajorVersion == 4)
            return 5;
        if (version.dwMajorVersion == 5 && version.dwMinorVersion == 0)
            return 6;
        if (version.dwMajorVersion == 5 && version.dwMinorVersion == 1)
            return 7;
        return 1;
    }
}

// Run under each Windows version the tests give the program (XP, 2000, 98, 7).
TEST(OrvelMenuLook, TheVersionAndTheThemeChooseTheColours)
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(::GetVersionExA(&version));
    const int code = ExpectedVersionCode(version);
    EXPECT_EQ(OrvelMenu::WinVersionCode(), code)
        << version.dwPlatformId << " " << version.dwMajorVersion << "." << version.dwMinorVersion;
    EXPECT_EQ(OrvelMenu::IsXpThemed(), code == 7 && !OrvelMenu::IsClassicTheme());
    EXPECT_EQ(OrvelMenu::HasModernShell(), code > 1);
    // The defaults: the XP look on a themed XP, the classic one elsewhere.
    EXPECT_EQ(OrvelMenu::UsesXpStyle(), OrvelMenu::IsXpThemed());
    EXPECT_EQ(OrvelMenu::CurrentDrawMode(), OrvelMenu::IsXpThemed() ? 1 : 0);
}

}  // namespace

// --classic-theme: the registry names the classic theme before the menu first asks.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    bool classic = false;
    for (int i = 1; i < argc; ++i)
        classic = classic || std::strcmp(argv[i], "--classic-theme") == 0;
    HKEY key = nullptr;
    if (classic) {
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
            return 2;
        const char value[] = "C:\\WINDOWS\\Resources\\Themes\\WINDOWS CLASSIC.THEME";
        ::RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), sizeof value);
        if (!OrvelMenu::IsClassicTheme())
            return 3;
    }
    const int result = RUN_ALL_TESTS();
    if (key) {
        ::RegDeleteValueA(key, nullptr);
        ::RegCloseKey(key);
    }
    return result;
}
