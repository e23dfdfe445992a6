// brimlet/skin/orvel_menu.cpp
// Building, editing and finding items, images, and the class-wide state of OrvelMenu.
#include "brimlet/skin/orvel_menu.h"

#include <algorithm>
#include <cstdint>

#include "brimlet/skin/menu_system_colours.h"
#include "core/menu/colours.h"
#include "core/menu/look.h"
#include "core/menu/menu_text.h"
#include "core/menu/resources.h"

namespace {

// ILC_COLORDDB with ILC_MASK.
constexpr UINT kImageListFlags = 0xFF;
constexpr UINT kNoItem = 0xFFFFFFFF;
// Popups nested deeper than this are not searched: a menu that contains itself would not end.
constexpr int kDeepestPopup = 32;

int ComputeVersionCode()
{
    const DWORD version = ::GetVersion();
    menu::VersionRecord record;
    record.nineXRoad = (version & 0x80000000u) != 0;
    record.shortMajor = LOBYTE(LOWORD(version));
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    record.recordRead = ::GetVersionExA(&info) != FALSE;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    return menu::WinVersionCode(record);
}

// One instance in the program, made before the entry code runs. It is never freed, so menus that
// outlive static destruction still find it; only the shared image list's handle goes at exit.
struct ClassState {
    int versionCode = ComputeVersionCode();
    int classicTheme = -1;  // not read yet
    int themedDrawMode = menu::kXpDrawMode;
    int plainDrawMode = 0;
    std::vector<HMENU> popups;
    CImageList sharedImages;
    std::vector<UINT_PTR> sharedIds;
};

ClassState* const g_state = new ClassState;

struct SharedListTeardown {
    ~SharedListTeardown() { g_state->sharedImages.DeleteImageList(); }
} g_teardown;

menu::Look CurrentLook()
{
    menu::Look look;
    look.versionCode = g_state->versionCode;
    // Only a themed Windows XP asks the registry.
    look.classicTheme = look.versionCode == menu::kWindowsXp && OrvelMenu::IsClassicTheme();
    look.themedDrawMode = g_state->themedDrawMode;
    look.plainDrawMode = g_state->plainDrawMode;
    return look;
}

std::wstring ToWide(LPCSTR text)
{
    if (!text)
        return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string ansi(static_cast<size_t>(length), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr,
                          nullptr);
    return ansi;
}

// Keeps NULL apart from an empty text: NULL leaves a record's text as it is.
class WideText
{
public:
    explicit WideText(LPCSTR text) : m_null(text == nullptr), m_text(ToWide(text)) {}
    operator LPCWSTR() const { return m_null ? nullptr : m_text.c_str(); }

private:
    bool m_null;
    std::wstring m_text;
};

// Whether the item at position is owner-drawn; GetMenuState leaves that out for popups.
bool IsOwnerDrawn(HMENU menu, UINT position)
{
    MENUITEMINFOA info = {};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);  // the size Windows 95 and NT 4 know
    info.fMask = MIIM_TYPE;
    return ::GetMenuItemInfoA(menu, position, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
}

// A menu string by position, at most 255 characters.
std::string MenuString(HMENU menu, UINT position)
{
    char buffer[256] = {};
    const int length = ::GetMenuStringA(menu, position, buffer, sizeof buffer, MF_BYPOSITION);
    return std::string(buffer, static_cast<size_t>(std::clamp(length, 0, 255)));
}

HWND MainOrDesktop()
{
    CWnd* main = AfxGetMainWnd();
    HWND window = main ? main->GetSafeHwnd() : nullptr;
    return window ? window : ::GetDesktopWindow();
}

// The DC of the main window (the desktop's when there is none), released at the end of scope.
class MainWindowDC : public CDC
{
public:
    MainWindowDC() : m_window(MainOrDesktop()) { Attach(::GetDC(m_window)); }
    ~MainWindowDC() override { ::ReleaseDC(m_window, Detach()); }

private:
    HWND m_window;
};

OrvelMenu* AsOrvel(CMenu* menu)
{
    return menu && menu->IsKindOf(RUNTIME_CLASS(OrvelMenu)) ? static_cast<OrvelMenu*>(menu) : nullptr;
}

OrvelMenu* PermanentOrvel(HMENU menu) { return AsOrvel(CMenu::FromHandlePermanent(menu)); }

void EraseHandle(std::vector<HMENU>& handles, HMENU handle)
{
    handles.erase(std::remove(handles.begin(), handles.end(), handle), handles.end());
}

bool Visited(HMENU menu, int position, const std::vector<CMenu*>* menus, const std::vector<int>* positions)
{
    if (!menus || !positions)
        return false;
    for (size_t i = 0; i < menus->size() && i < positions->size(); ++i) {
        if ((*menus)[i] && (*menus)[i]->m_hMenu == menu && (*positions)[i] == position)
            return true;
    }
    return false;
}

CMenu* FindCommand(CMenu* menu, UINT commandId, int& position, const std::vector<CMenu*>* visitedMenus,
                   const std::vector<int>* visitedPositions, int depth)
{
    if (!menu || !menu->m_hMenu || depth > kDeepestPopup)
        return nullptr;
    const int count = ::GetMenuItemCount(menu->m_hMenu);
    for (int p = 0; p < count; ++p) {
        if (HMENU sub = ::GetSubMenu(menu->m_hMenu, p)) {
            if (CMenu* found = FindCommand(CMenu::FromHandle(sub), commandId, position, visitedMenus,
                                           visitedPositions, depth + 1))
                return found;
        } else if (::GetMenuItemID(menu->m_hMenu, p) == commandId &&
                   !Visited(menu->m_hMenu, p, visitedMenus, visitedPositions)) {
            position = p;
            return menu;
        }
    }
    return nullptr;
}

MenuItemData* FindText(CMenu* menu, const std::wstring& text, int depth)
{
    if (!menu || !menu->m_hMenu || depth > kDeepestPopup)
        return nullptr;
    OrvelMenu* owner = AsOrvel(menu);
    bool scanned = false;
    const int count = ::GetMenuItemCount(menu->m_hMenu);
    for (int p = 0; p < count; ++p) {
        if (HMENU sub = ::GetSubMenu(menu->m_hMenu, p)) {
            if (MenuItemData* found = FindText(CMenu::FromHandle(sub), text, depth + 1))
                return found;
        } else if (owner && !scanned) {
            // The first plain entry scans this menu's records; later ones would find the same.
            scanned = true;
            for (MenuItemData* record : owner->Items()) {
                if (record->text == text)
                    return record;
            }
        }
    }
    return nullptr;
}

// Each pixel that is not the background colour (as a bitmap of this format shows COLOR_BTNFACE)
// becomes change(pixel).
template <class Change>
void RecolourImage(CBitmap* bitmap, Change change)
{
    BITMAP info = {};
    if (!bitmap || !bitmap->GetBitmap(&info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return;
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HDC scratchDc = ::CreateCompatibleDC(screen);
    // At least 2 x 2, so that pixel (1, 1) exists also for the smallest images.
    HBITMAP scratch = ::CreateCompatibleBitmap(screen, std::max<LONG>(2, info.bmWidth), std::max<LONG>(2, info.bmHeight));
    ::ReleaseDC(nullptr, screen);
    if (memory && scratchDc && scratch) {
        HGDIOBJ oldScratch = ::SelectObject(scratchDc, scratch);
        const RECT all = {0, 0, 2, 2};
        ::FillRect(scratchDc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        const COLORREF background = ::GetPixel(scratchDc, 1, 1);
        ::SelectObject(scratchDc, oldScratch);
        HGDIOBJ old = ::SelectObject(memory, *bitmap);
        for (int x = 0; x < info.bmWidth; ++x) {
            for (int y = 0; y < info.bmHeight; ++y) {
                const COLORREF pixel = ::GetPixel(memory, x, y);
                if (pixel != background)
                    ::SetPixelV(memory, x, y, change(pixel, background));
            }
        }
        ::SelectObject(memory, old);
    }
    if (scratch)
        ::DeleteObject(scratch);
    if (scratchDc)
        ::DeleteDC(scratchDc);
    if (memory)
        ::DeleteDC(memory);
}

// Adds a variant bitmap to a list, with COLOR_BTNFACE as its transparent colour.
bool AddVariant(CImageList* list, CBitmap& bitmap)
{
    return ImageList_AddMasked(*list, bitmap, ::GetSysColor(COLOR_BTNFACE)) >= 0;
}

// Replaces a slot's image with a variant bitmap, through a one-image list that makes it an icon.
void ReplaceWithVariant(CImageList* list, int slot, CBitmap& bitmap)
{
    int width = 0;
    int height = 0;
    list->GetIconSize(&width, &height);
    CImageList single;
    if (!single.Create(width, height, kImageListFlags, 1, 1) || !AddVariant(&single, bitmap))
        return;
    if (HICON icon = single.ExtractIcon(0)) {
        list->Replace(slot, icon);
        ::DestroyIcon(icon);
    }
}

}  // namespace

// --- MenuItemData

MenuItemData::~MenuItemData() { delete ownImages; }

void MenuItemData::SetText(LPCWSTR newText) { text = newText ? newText : L""; }

std::string MenuItemData::GetAnsiText() const { return ToAnsi(text); }

// --- construction and the class-wide state

IMPLEMENT_DYNAMIC(OrvelMenu, CMenu)
IMPLEMENT_DYNAMIC(CMenuToolBar, CToolBar)

OrvelMenu::OrvelMenu() = default;

OrvelMenu::~OrvelMenu() { DestroyWithItems(); }

int OrvelMenu::WinVersionCode() { return g_state->versionCode; }

BOOL OrvelMenu::IsClassicTheme()
{
    if (g_state->classicTheme < 0) {
        bool classic = false;
        HKEY key = nullptr;
        if (::RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Plus!\\Themes\\Current", 0, KEY_READ, &key) ==
            ERROR_SUCCESS) {
            char value[260] = {};
            DWORD size = sizeof value;
            // A value that does not fit the buffer is not read at all; one without its terminator
            // ends where the bytes read end.
            if (::RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS) {
                const size_t length = std::min<size_t>(size, sizeof value);
                classic = menu::IsClassicThemeName(std::string_view(value, strnlen(value, length)));
            }
            ::RegCloseKey(key);
        }
        g_state->classicTheme = classic ? 1 : 0;
    }
    return g_state->classicTheme == 1;
}

BOOL OrvelMenu::HasModernShell() { return CurrentLook().HasModernShell(); }
BOOL OrvelMenu::IsXpThemed() { return CurrentLook().IsXpThemed(); }
BOOL OrvelMenu::UsesXpStyle() { return CurrentLook().UsesXpStyle(); }
int OrvelMenu::CurrentDrawMode() { return CurrentLook().CurrentDrawMode(); }

void OrvelMenu::SetDrawModes(int xpThemedMode, int otherMode)
{
    g_state->themedDrawMode = xpThemedMode;
    g_state->plainDrawMode = otherMode;
}

CImageList* OrvelMenu::SharedImages() { return &g_state->sharedImages; }

COLORREF OrvelMenu::BlendTowardWhite(COLORREF colour, double f) { return menu::BlendTowardWhite(colour, f); }

// --- settings

void OrvelMenu::SetIconSize(int width, int height) { SetTreeIconSize(width, height, 0); }

void OrvelMenu::SetTreeIconSize(int width, int height, int depth)
{
    m_iconWidth = width;
    m_iconHeight = height;
    // Each popup measures and paints its items with its own size, so the whole tree takes it.
    if (depth >= kDeepestPopup)
        return;
    for (HMENU sub : m_subMenus) {
        if (OrvelMenu* object = PermanentOrvel(sub); object && object != this)
            object->SetTreeIconSize(width, height, depth + 1);
    }
}

void OrvelMenu::SetMaskColour(COLORREF colour)
{
    m_maskColour = colour;
    m_useMaskColour = TRUE;
}

void OrvelMenu::ClearMaskColour() { m_useMaskColour = FALSE; }

COLORREF OrvelMenu::TransparentColour() const
{
    return m_useMaskColour ? m_maskColour : ::GetSysColor(COLOR_BTNFACE);
}

void OrvelMenu::SetCheckMarkBitmaps(int checkId, int selectedCheckId)
{
    if (checkId < 1 || selectedCheckId < 1)
        return;
    m_checkBitmapId = checkId;
    m_checkSelectedBitmapId = selectedCheckId;
    if (!m_checkImages || m_checkImagesShared) {
        m_checkImages = new CImageList;
        m_checkImagesShared = FALSE;
    } else {
        // Rebuilt in place: submenus that share the list keep a valid pointer.
        m_checkImages->DeleteImageList();
    }
    // Without the faded and shadow variants, so that image 1 is the selected item's mark.
    if (!m_checkImages->Create(m_iconWidth, m_iconHeight, ILC_MASK, 2, 1) ||
        !AddBitmapToList(m_checkImages, static_cast<UINT>(checkId), false) ||
        !AddBitmapToList(m_checkImages, static_cast<UINT>(selectedCheckId), false))
        m_checkImages->DeleteImageList();
}

// --- records and popups

bool OrvelMenu::OwnsRecord(const MenuItemData* record) const
{
    return record && std::find(m_items.begin(), m_items.end(), record) != m_items.end();
}

void OrvelMenu::ForgetRecord(MenuItemData* record)
{
    auto found = std::find(m_items.begin(), m_items.end(), record);
    if (found != m_items.end())
        m_items.erase(found);
    delete record;
}

MenuItemData* OrvelMenu::ItemDataRecord(UINT position) const
{
    // The size without hbmpItem, which Windows 95 and NT 4 know.
    MENUITEMINFOA info = {};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(m_hMenu, position, TRUE, &info))
        return nullptr;
    auto* record = reinterpret_cast<MenuItemData*>(info.dwItemData);
    return OwnsRecord(record) ? record : nullptr;
}

bool OrvelMenu::IsItemDataElsewhere(const MenuItemData* record, UINT exceptPosition) const
{
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int p = 0; p < count; ++p) {
        if (static_cast<UINT>(p) != exceptPosition && ItemDataRecord(static_cast<UINT>(p)) == record)
            return true;
    }
    return false;
}

void OrvelMenu::RegisterPopup(HMENU popup, std::size_t subMenuIndex)
{
    g_state->popups.push_back(popup);
    if (subMenuIndex >= m_subMenus.size()) {
        m_subMenus.resize(subMenuIndex, nullptr);
        m_subMenus.push_back(popup);
    } else {
        m_subMenus.insert(m_subMenus.begin() + static_cast<std::ptrdiff_t>(subMenuIndex), popup);
    }
}

void OrvelMenu::ForgetPopup(HMENU popup)
{
    EraseHandle(m_subMenus, popup);
    EraseHandle(g_state->popups, popup);
}

OrvelMenu* OrvelMenu::NewSubMenu()
{
    auto* sub = new OrvelMenu;
    sub->m_iconWidth = m_iconWidth;
    sub->m_iconHeight = m_iconHeight;
    sub->m_checkSelectedBitmapId = m_checkSelectedBitmapId;
    sub->m_checkBitmapId = m_checkBitmapId;
    sub->m_checkImages = m_checkImages;
    sub->m_checkImagesShared = TRUE;
    if (!sub->CreatePopupMenu()) {
        delete sub;
        return nullptr;
    }
    return sub;
}

BOOL OrvelMenu::DestroyWithItems()
{
    if (m_hMenu)
        EraseHandle(g_state->popups, m_hMenu);
    std::vector<HMENU> subMenus;
    subMenus.swap(m_subMenus);
    for (HMENU sub : subMenus) {
        if (!sub)
            continue;
        EraseHandle(g_state->popups, sub);
        if (OrvelMenu* object = PermanentOrvel(sub); object && object != this)
            delete object;
    }
    std::vector<MenuItemData*> items;
    items.swap(m_items);
    for (MenuItemData* record : items)
        delete record;
    if (!m_checkImagesShared)
        delete m_checkImages;
    m_checkImages = nullptr;
    m_checkImagesShared = FALSE;
    m_loadedFromTemplate = FALSE;
    return DestroyMenu();
}

// --- appending

BOOL OrvelMenu::AppendItem(LPCSTR text, UINT flags, UINT_PTR commandId, int toolbarImageId)
{
    return AppendItem(WideText(text), flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::AppendItem(LPCWSTR text, UINT flags, UINT_PTR commandId, int toolbarImageId)
{
    return AppendRecord(text, flags, commandId, ImageMode::Toolbar, toolbarImageId, nullptr, 0, true);
}

BOOL OrvelMenu::AppendItem(UINT flags, UINT_PTR commandId, LPCSTR text, int toolbarImageId)
{
    return AppendItem(WideText(text), flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::AppendItem(UINT flags, UINT_PTR commandId, LPCWSTR text, int toolbarImageId)
{
    return AppendItem(text, flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::AppendItemWithImage(LPCSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index)
{
    return AppendItemWithImage(WideText(text), flags, commandId, imageList, index);
}

BOOL OrvelMenu::AppendItemWithImage(LPCWSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index)
{
    return AppendRecord(text, flags, commandId, ImageMode::List, -1, imageList, index, false);
}

BOOL OrvelMenu::AppendItemWithImage(UINT flags, UINT_PTR commandId, LPCSTR text, CImageList* imageList, int index)
{
    return AppendItemWithImage(WideText(text), flags, commandId, imageList, index);
}

BOOL OrvelMenu::AppendItemWithImage(UINT flags, UINT_PTR commandId, LPCWSTR text, CImageList* imageList, int index)
{
    return AppendItemWithImage(text, flags, commandId, imageList, index);
}

BOOL OrvelMenu::AppendItemWithBitmap(LPCSTR text, UINT flags, UINT_PTR commandId, CBitmap* bitmap)
{
    return AppendItemWithBitmap(WideText(text), flags, commandId, bitmap);
}

BOOL OrvelMenu::AppendItemWithBitmap(LPCWSTR text, UINT flags, UINT_PTR commandId, CBitmap* bitmap)
{
    if (!bitmap || !bitmap->m_hObject)
        return AppendItemWithImage(text, flags, commandId, nullptr, 0);
    CImageList list;
    if (!list.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1))
        return AppendItemWithImage(text, flags, commandId, nullptr, 0);
    list.Add(bitmap, TransparentColour());
    return AppendItemWithImage(text, flags, commandId, &list, 0);
}

BOOL OrvelMenu::AppendItemWithBitmap(UINT flags, UINT_PTR commandId, LPCSTR text, CBitmap* bitmap)
{
    return AppendItemWithBitmap(WideText(text), flags, commandId, bitmap);
}

BOOL OrvelMenu::AppendItemWithBitmap(UINT flags, UINT_PTR commandId, LPCWSTR text, CBitmap* bitmap)
{
    return AppendItemWithBitmap(text, flags, commandId, bitmap);
}

int OrvelMenu::BindToolbarImage(UINT_PTR commandId, int toolbarImageId)
{
    int index = 0;  // the toolbar's first image when the command has no button there
    FindToolbarImage(static_cast<UINT>(commandId), static_cast<UINT>(toolbarImageId), index);
    CImageList list;
    if (!list.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1) ||
        !AddBitmapToList(&list, static_cast<UINT>(toolbarImageId)))
        return -1;
    return AddSharedImage(&list, index, commandId);
}

BOOL OrvelMenu::AppendRecord(LPCWSTR text, UINT flags, UINT_PTR commandId, ImageMode mode, int toolbarImageId,
                             CImageList* imageList, int index, bool refreshBar)
{
    if (commandId != 0)
        flags |= MF_OWNERDRAW;
    else
        flags = (flags & MF_BYPOSITION) ? (MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW) : (MF_SEPARATOR | MF_OWNERDRAW);
    const HMENU popup = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(commandId) : nullptr;
    if (popup)
        RegisterPopup(popup, m_subMenus.size());

    auto* record = new MenuItemData;
    m_items.push_back(record);
    record->SetText(text);
    if (mode == ImageMode::Toolbar) {
        record->sharedImageIndex =
            toolbarImageId < 0 ? SharedImageIndex(commandId) : BindToolbarImage(commandId, toolbarImageId);
    } else if (imageList) {
        record->imageSource = 0;
        record->ownImageIndex = 0;
        record->ownImages = new CImageList;
        if (!CopyImageWithVariants(imageList, index, record->ownImages)) {
            delete record->ownImages;
            record->ownImages = nullptr;
            record->imageSource = -1;
            record->ownImageIndex = -1;
        }
    }
    record->commandId = commandId;
    record->flags = flags;

    const BOOL appended = ::AppendMenuA(m_hMenu, flags, commandId, reinterpret_cast<LPCSTR>(record));
    if (!appended) {
        // Nothing points at the record: it goes, and so does the popup's registration.
        ForgetRecord(record);
        if (popup)
            ForgetPopup(popup);
    }
    if (refreshBar && m_loadedFromTemplate)
        RefreshBarPopups();
    return appended;
}

OrvelMenu* OrvelMenu::AppendPopup(LPCSTR text) { return AppendPopup(WideText(text)); }

OrvelMenu* OrvelMenu::AppendPopup(LPCWSTR text)
{
    OrvelMenu* sub = NewSubMenu();
    if (!sub)
        return nullptr;
    if (!AppendItem(text, MF_POPUP, reinterpret_cast<UINT_PTR>(sub->m_hMenu), -1)) {
        delete sub;
        return nullptr;
    }
    return sub;
}

// --- inserting

BOOL OrvelMenu::InsertItem(UINT position, LPCSTR text, UINT flags, UINT_PTR commandId, int toolbarImageId)
{
    return InsertItem(position, WideText(text), flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::InsertItem(UINT position, LPCWSTR text, UINT flags, UINT_PTR commandId, int toolbarImageId)
{
    return InsertRecord(position, text, flags, commandId, ImageMode::Toolbar, toolbarImageId, nullptr, 0);
}

BOOL OrvelMenu::InsertItem(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text, int toolbarImageId)
{
    return InsertItem(position, WideText(text), flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::InsertItem(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text, int toolbarImageId)
{
    return InsertItem(position, text, flags, commandId, toolbarImageId);
}

BOOL OrvelMenu::InsertItemWithImage(UINT position, LPCSTR text, UINT flags, UINT_PTR commandId,
                                    CImageList* imageList, int index)
{
    return InsertItemWithImage(position, WideText(text), flags, commandId, imageList, index);
}

BOOL OrvelMenu::InsertItemWithImage(UINT position, LPCWSTR text, UINT flags, UINT_PTR commandId,
                                    CImageList* imageList, int index)
{
    return InsertRecord(position, text, flags, commandId, ImageMode::List, -1, imageList, index);
}

BOOL OrvelMenu::InsertItemWithImage(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text,
                                    CImageList* imageList, int index)
{
    return InsertItemWithImage(position, WideText(text), flags, commandId, imageList, index);
}

BOOL OrvelMenu::InsertItemWithImage(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text,
                                    CImageList* imageList, int index)
{
    return InsertItemWithImage(position, text, flags, commandId, imageList, index);
}

BOOL OrvelMenu::InsertItemWithBitmap(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text, CBitmap* bitmap)
{
    return InsertItemWithBitmap(position, flags, commandId, WideText(text), bitmap);
}

BOOL OrvelMenu::InsertItemWithBitmap(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text, CBitmap* bitmap)
{
    if (!bitmap || !bitmap->m_hObject)
        return InsertItemWithImage(position, text, flags, commandId, nullptr, 0);
    CImageList list;
    if (!list.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1))
        return InsertItemWithImage(position, text, flags, commandId, nullptr, 0);
    list.Add(bitmap, TransparentColour());
    return InsertItemWithImage(position, text, flags, commandId, &list, 0);
}

BOOL OrvelMenu::InsertRecord(UINT position, LPCWSTR text, UINT flags, UINT_PTR commandId, ImageMode mode,
                             int toolbarImageId, CImageList* imageList, int index)
{
    if (!(flags & MF_BYPOSITION)) {
        int found = -1;
        OrvelMenu* owner = AsOrvel(FindMenuContaining(position, found));
        if (!owner)
            return FALSE;
        return owner->InsertRecord(static_cast<UINT>(found), text, flags | MF_BYPOSITION, commandId, mode,
                                   toolbarImageId, imageList, index);
    }
    flags = commandId != 0 ? (flags | MF_OWNERDRAW) : (MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW);
    const int count = ::GetMenuItemCount(m_hMenu);
    if (position == static_cast<UINT>(-1) || position > static_cast<UINT>(std::max(count, 0)))
        position = static_cast<UINT>(std::max(count, 0));  // InsertMenu appends past the end as well

    size_t skip = 0;
    const HMENU popup = (flags & MF_POPUP) ? reinterpret_cast<HMENU>(commandId) : nullptr;
    if (popup) {
        if (mode == ImageMode::Toolbar && m_loadedFromTemplate) {
            const int offset = ForeignItemOffset();
            skip = position < static_cast<UINT>(offset) ? 0 : static_cast<size_t>(offset);
        }
        RegisterPopup(popup, position);
    }

    auto* record = new MenuItemData;
    const size_t at = std::min(static_cast<size_t>(position) - skip, m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), record);
    record->SetText(text);
    if (mode == ImageMode::Toolbar || !imageList) {
        record->sharedImageIndex =
            toolbarImageId < 0 ? SharedImageIndex(commandId) : BindToolbarImage(commandId, toolbarImageId);
    } else {
        record->sharedImageIndex = AddSharedImage(imageList, index, commandId);
    }
    record->commandId = commandId;
    record->flags = flags;

    const BOOL inserted = ::InsertMenuA(m_hMenu, position, flags, commandId, reinterpret_cast<LPCSTR>(record));
    if (!inserted) {
        ForgetRecord(record);
        if (popup)
            ForgetPopup(popup);
    }
    if (mode == ImageMode::Toolbar && m_loadedFromTemplate)
        RefreshBarPopups();
    return inserted;
}

// --- modifying

BOOL OrvelMenu::ModifyItem(LPCSTR text, UINT commandId, int toolbarImageId)
{
    return ModifyItem(WideText(text), commandId, toolbarImageId);
}

BOOL OrvelMenu::ModifyItem(LPCWSTR text, UINT commandId, int toolbarImageId)
{
    return ModifyRecords(text, commandId, ImageMode::Toolbar, toolbarImageId, nullptr, 0);
}

BOOL OrvelMenu::ModifyItemImage(LPCSTR text, UINT commandId, CImageList* imageList, int index)
{
    return ModifyItemImage(WideText(text), commandId, imageList, index);
}

BOOL OrvelMenu::ModifyItemImage(LPCWSTR text, UINT commandId, CImageList* imageList, int index)
{
    return ModifyRecords(text, commandId, ImageMode::List, -1, imageList, index);
}

BOOL OrvelMenu::ModifyItemBitmap(LPCSTR text, UINT commandId, CBitmap* bitmap)
{
    return ModifyItemBitmap(WideText(text), commandId, bitmap);
}

BOOL OrvelMenu::ModifyItemBitmap(LPCWSTR text, UINT commandId, CBitmap* bitmap)
{
    if (!bitmap || !bitmap->m_hObject)
        return ModifyItemImage(text, commandId, nullptr, 0);
    CImageList list;
    if (!list.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1))
        return ModifyItemImage(text, commandId, nullptr, 0);
    list.Add(bitmap, TransparentColour());
    return ModifyItemImage(text, commandId, &list, 0);
}

BOOL OrvelMenu::ModifyItemColour(LPCSTR text, UINT commandId, COLORREF fillColour, COLORREF borderColour,
                                 int hatchStyle, const SIZE* size)
{
    return ModifyItemColour(WideText(text), commandId, fillColour, borderColour, hatchStyle, size);
}

BOOL OrvelMenu::ModifyItemColour(LPCWSTR text, UINT commandId, COLORREF fillColour, COLORREF borderColour,
                                 int hatchStyle, const SIZE* size)
{
    CBitmap bitmap;
    {
        MainWindowDC dc;
        MakeColourBitmap(&dc, bitmap, size ? size->cx : m_iconWidth, size ? size->cy : m_iconHeight, m_iconWidth,
                         m_iconHeight, fillColour, borderColour, hatchStyle);
    }
    return ModifyItemBitmap(text, commandId, &bitmap);
}

BOOL OrvelMenu::ModifyRecords(LPCWSTR text, UINT commandId, ImageMode mode, int toolbarImageId,
                              CImageList* imageList, int index)
{
    // The image is bound once: every occurrence of the command shows the same shared slot.
    int shared = -1;
    if (mode == ImageMode::List && imageList)
        shared = AddSharedImage(imageList, index, commandId);
    else if (mode == ImageMode::Toolbar && toolbarImageId >= 0)
        shared = BindToolbarImage(commandId, toolbarImageId);
    else
        shared = SharedImageIndex(commandId);

    auto update = [&](MenuItemData* record) {
        if (text)
            record->SetText(text);
        record->imageSource = -1;
        record->ownImageIndex = -1;
        if (mode == ImageMode::List && imageList && record->ownImages)
            record->ownImages->Remove(-1);
        record->sharedImageIndex = shared;
        record->commandId = commandId;
        record->flags = (record->flags & ~MF_BYPOSITION) | MF_OWNERDRAW;
    };

    struct Occurrence {
        OrvelMenu* owner;
        int position;
        MenuItemData* record;
    };
    std::vector<Occurrence> occurrences;
    std::vector<CMenu*> visitedMenus;
    std::vector<int> visitedPositions;
    int position = -1;
    for (CMenu* menu = FindMenuContaining(commandId, position); menu;
         menu = FindNextOccurrence(commandId, position, visitedMenus, visitedPositions)) {
        visitedMenus.push_back(menu);
        visitedPositions.push_back(position);
        OrvelMenu* owner = AsOrvel(menu);
        if (!owner)
            continue;  // a popup of other code keeps no records
        const size_t index = static_cast<size_t>(position);
        MenuItemData* record = nullptr;
        if (index < owner->m_items.size()) {
            record = owner->m_items[index];
        } else if (index == owner->m_items.size()) {
            // An item other code appended right after ours: its record can stand at its position.
            record = new MenuItemData;
            owner->m_items.push_back(record);
        } else {
            continue;  // a record here would stand at another item's position
        }
        update(record);
        occurrences.push_back({owner, position, record});
    }
    // Nothing to show a record: one that no item shows would put the records out of step with
    // the items.
    if (occurrences.empty())
        return FALSE;
    // Each occurrence shows its own record, so removing one never leaves another pointing at it.
    BOOL result = FALSE;
    for (const Occurrence& occurrence : occurrences)
        result = ::ModifyMenuA(occurrence.owner->m_hMenu, static_cast<UINT>(occurrence.position),
                               occurrence.record->flags | MF_BYPOSITION, commandId,
                               reinterpret_cast<LPCSTR>(occurrence.record));
    return result;
}

BOOL OrvelMenu::ModifyItemText(LPCSTR oldText, LPCSTR newText, int bitmapId)
{
    return ModifyItemText(WideText(oldText), WideText(newText), bitmapId);
}

BOOL OrvelMenu::ModifyItemText(LPCWSTR oldText, LPCWSTR newText, int bitmapId)
{
    if (!oldText)
        return FALSE;
    MenuItemData* record = FindText(this, oldText, 0);
    if (!record)
        return FALSE;
    if (newText)
        record->SetText(newText);
    record->imageSource = bitmapId;
    record->ownImageIndex = -1;
    if (bitmapId >= 0) {
        record->ownImageIndex = 0;
        if (record->ownImages)
            record->ownImages->DeleteImageList();
        else
            record->ownImages = new CImageList;
        if (!record->ownImages->Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1) ||
            !AddBitmapToList(record->ownImages, static_cast<UINT>(bitmapId))) {
            delete record->ownImages;
            record->ownImages = nullptr;
            record->imageSource = -1;
            record->ownImageIndex = -1;
        }
    }
    return TRUE;
}

BOOL OrvelMenu::SetItemText(UINT idOrPosition, LPCSTR text, UINT flags)
{
    return SetItemText(idOrPosition, WideText(text), flags);
}

BOOL OrvelMenu::SetItemText(UINT idOrPosition, LPCWSTR text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        if (idOrPosition >= m_items.size())
            return FALSE;
        if (text)
            m_items[idOrPosition]->SetText(text);
        return TRUE;
    }
    int position = -1;
    OrvelMenu* owner = AsOrvel(FindMenuContaining(idOrPosition, position));
    return owner ? owner->SetItemText(static_cast<UINT>(position), text, MF_BYPOSITION) : FALSE;
}

BOOL OrvelMenu::GetItemText(UINT idOrPosition, CString& text, UINT flags)
{
    if (flags & MF_BYPOSITION) {
        if (idOrPosition >= m_items.size())
            return FALSE;
        text = m_items[idOrPosition]->GetAnsiText().c_str();
        return TRUE;
    }
    int position = -1;
    OrvelMenu* owner = AsOrvel(FindMenuContaining(idOrPosition, position));
    return owner ? owner->GetItemText(static_cast<UINT>(position), text, MF_BYPOSITION) : FALSE;
}

// --- removing

BOOL OrvelMenu::RemoveItem(UINT idOrPosition, UINT flags) { return RemoveOrDelete(idOrPosition, flags, false); }
BOOL OrvelMenu::DeleteItem(UINT idOrPosition, UINT flags) { return RemoveOrDelete(idOrPosition, flags, true); }

BOOL OrvelMenu::RemoveOrDelete(UINT idOrPosition, UINT flags, bool destroy)
{
    auto systemCall = [destroy](HMENU menu, UINT item, UINT how) {
        return destroy ? ::DeleteMenu(menu, item, how) : ::RemoveMenu(menu, item, how);
    };
    if (!(flags & MF_BYPOSITION)) {
        int position = -1;
        if (CMenu* menu = FindMenuContaining(idOrPosition, position)) {
            if (OrvelMenu* owner = AsOrvel(menu))
                return owner->RemoveOrDelete(static_cast<UINT>(position), MF_BYPOSITION, destroy);
            return systemCall(menu->m_hMenu, static_cast<UINT>(position), MF_BYPOSITION);
        }
        return systemCall(m_hMenu, idOrPosition, flags);
    }

    const UINT position = idOrPosition;
    const UINT state = ::GetMenuState(m_hMenu, position, MF_BYPOSITION);
    if (state == kNoItem)
        return systemCall(m_hMenu, position, flags);  // no such item: nothing of ours to free

    if (state & MF_POPUP) {
        const HMENU sub = ::GetSubMenu(m_hMenu, static_cast<int>(position));
        OrvelMenu* subObject = PermanentOrvel(sub);
        if (subObject && subObject != this) {
            for (int i = ::GetMenuItemCount(sub) - 1; i >= 0; --i)
                subObject->RemoveOrDelete(static_cast<UINT>(i), MF_BYPOSITION, destroy);
        }
        const BOOL result = systemCall(m_hMenu, position, flags);
        if (!result)
            return result;
        ForgetPopup(sub);
        for (auto at = m_items.rbegin(); at != m_items.rend(); ++at) {
            if ((*at)->commandId == reinterpret_cast<UINT_PTR>(sub)) {
                MenuItemData* record = *at;
                m_items.erase(std::next(at).base());
                delete record;
                break;
            }
        }
        if (subObject && subObject != this) {
            if (destroy)
                subObject->Detach();  // DeleteMenu destroyed the handle already
            delete subObject;
        }
        return result;
    }

    // The record that this item shows goes; one that another item shows stays.
    MenuItemData* record = ItemDataRecord(position);
    if (!record) {
        if (state & MF_SEPARATOR) {
            if (position < m_items.size())
                record = m_items[position];
        } else {
            const UINT id = ::GetMenuItemID(m_hMenu, static_cast<int>(position));
            for (MenuItemData* candidate : m_items) {
                if (candidate->commandId == id && !IsItemDataElsewhere(candidate, position)) {
                    record = candidate;
                    break;
                }
            }
        }
        if (record && IsItemDataElsewhere(record, position))
            record = nullptr;
    }
    const BOOL result = systemCall(m_hMenu, position, flags);
    if (result && record)
        ForgetRecord(record);
    return result;
}

int OrvelMenu::RemoveItemByText(LPCSTR text, int extra) { return RemoveByText(WideText(text), extra, false); }
int OrvelMenu::RemoveItemByText(LPCWSTR text, int extra) { return RemoveByText(text, extra, false); }
int OrvelMenu::DeleteItemByText(LPCSTR text, int extra) { return RemoveByText(WideText(text), extra, true); }
int OrvelMenu::DeleteItemByText(LPCWSTR text, int extra) { return RemoveByText(text, extra, true); }

int OrvelMenu::RemoveByText(LPCWSTR text, int extra, bool destroy)
{
    const int found = FindItemIndexByText(text);
    for (int position : menu::RemovalPositions(found, extra))
        RemoveOrDelete(static_cast<UINT>(position), MF_BYPOSITION, destroy);
    return found;
}

// --- loading a menu template

BOOL OrvelMenu::LoadMenuResource(UINT id) { return LoadMenuResource(MAKEINTRESOURCEA(LOWORD(id))); }

BOOL OrvelMenu::LoadMenuResource(LPCSTR name)
{
    HINSTANCE module = nullptr;
    HRSRC found = dialogs::FindResourceInModules(name, RT_MENU, &module);
    HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    if (!bytes)
        return FALSE;
    // Read whole before anything is taken down: a template that cannot be read leaves the menu.
    const auto items = menu::ParseMenuTemplate(bytes, ::SizeofResource(module, found));
    if (!items)
        return FALSE;
    DestroyWithItems();
    if (!CreateMenu())
        return FALSE;

    std::vector<OrvelMenu*> levels = {this};
    for (const menu::TemplateItem& item : *items) {
        if (levels.empty())
            break;
        OrvelMenu* top = levels.back();
        const std::wstring text(item.text.begin(), item.text.end());
        if (item.popup) {
            OrvelMenu* sub = NewSubMenu();
            if (!sub || !top->AppendItem(text.c_str(), item.flags, reinterpret_cast<UINT_PTR>(sub->m_hMenu), -1)) {
                delete sub;
                DestroyWithItems();
                return FALSE;
            }
            levels.push_back(sub);
            continue;
        }
        top->AppendItem(text.c_str(), item.flags, item.id, -1);
        for (int k = 0; k < item.closedLevels && !levels.empty(); ++k) {
            levels.back()->PadAccelerators();
            levels.pop_back();
        }
    }

    // The menu bar's own entries become plain strings.
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int p = 0; p < count && static_cast<size_t>(p) < m_items.size(); ++p) {
        MenuItemData* record = m_items[static_cast<size_t>(p)];
        const std::string text = record->GetAnsiText();
        if (record->flags & MF_POPUP) {
            record->flags = MF_BYPOSITION | MF_POPUP;
            ::ModifyMenuA(m_hMenu, static_cast<UINT>(p), record->flags,
                          reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, p)), text.c_str());
        } else {
            record->flags = MF_BYPOSITION;
            ::ModifyMenuA(m_hMenu, static_cast<UINT>(p), record->flags, record->commandId, text.c_str());
        }
    }
    m_loadedFromTemplate = TRUE;
    return TRUE;
}

void OrvelMenu::PadAccelerators()
{
    const size_t count = std::min(static_cast<size_t>(std::max(::GetMenuItemCount(m_hMenu), 0)), m_items.size());
    if (count == 0)
        return;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = 340;  // without the padded border of Vista, which older systems refuse
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
    CFont font;
    font.CreateFontIndirect(&metrics.lfMenuFont);
    MainWindowDC dc;
    CFont* oldFont = font.m_hObject ? dc.SelectObject(&font) : nullptr;
    std::vector<std::string> texts;
    for (size_t i = 0; i < count; ++i)
        texts.push_back(m_items[i]->GetAnsiText());
    const std::vector<std::string> padded = menu::PadAccelerators(texts, [&dc](std::string_view text) {
        SIZE size = {};
        ::GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    for (size_t i = 0; i < count; ++i) {
        if (padded[i] != texts[i])
            m_items[i]->SetText(ToWide(padded[i].c_str()).c_str());
    }
    if (oldFont)
        dc.SelectObject(oldFont);
}

int OrvelMenu::ForeignItemOffset()
{
    if (!m_loadedFromTemplate)
        return 0;
    std::vector<std::string> entries;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int p = 0; p < count; ++p)
        entries.push_back(MenuString(m_hMenu, static_cast<UINT>(p)));
    std::vector<std::string> records;
    for (const MenuItemData* record : m_items)
        records.push_back(record->GetAnsiText());
    return menu::ForeignItemOffset(entries, records);
}

void OrvelMenu::RefreshBarPopups()
{
    const int offset = ForeignItemOffset();
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int i = 0; offset + i < count && static_cast<size_t>(i) < m_items.size(); ++i) {
        const UINT position = static_cast<UINT>(offset + i);
        const UINT state = ::GetMenuState(m_hMenu, position, MF_BYPOSITION);
        if (state == kNoItem || !(state & MF_POPUP))
            continue;
        MenuItemData* record = m_items[static_cast<size_t>(i)];
        record->flags = MF_BYPOSITION | MF_POPUP;
        const std::string text = record->GetAnsiText();
        ::ModifyMenuA(m_hMenu, position, MF_BYPOSITION | MF_POPUP,
                      reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, static_cast<int>(position))), text.c_str());
    }
}

// --- adopting a plain menu

void OrvelMenu::RebuildMenu(CMenu* menu)
{
    if (OrvelMenu* owner = AsOrvel(menu))
        owner->RebuildItemList();
}

void OrvelMenu::RebuildItemList()
{
    for (MenuItemData* record : m_items)
        record->claimed = 0;
    auto claim = [this](UINT position, UINT_PTR commandId) -> MenuItemData* {
        MenuItemData* record = ItemDataRecord(position);
        if (!record || record->claimed) {
            record = nullptr;
            for (MenuItemData* candidate : m_items) {
                if (!candidate->claimed && candidate->commandId == commandId) {
                    record = candidate;
                    break;
                }
            }
        }
        if (record)
            record->claimed = 1;
        return record;
    };
    auto make = [](const std::string& text, UINT flags, UINT_PTR commandId) {
        auto* record = new MenuItemData;
        record->SetText(ToWide(text.c_str()).c_str());
        record->flags = flags;
        record->commandId = commandId;
        return record;
    };

    std::vector<MenuItemData*> used;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int p = 0; p < count; ++p) {
        const UINT position = static_cast<UINT>(p);
        const UINT state = ::GetMenuState(m_hMenu, position, MF_BYPOSITION);
        if (state == kNoItem)
            continue;
        const std::string text = MenuString(m_hMenu, position);
        // An owner-drawn item has no string of its own: its record's text is the one it shows.
        const bool ownerDrawn = IsOwnerDrawn(m_hMenu, position);
        MenuItemData* record = nullptr;
        if (state & MF_POPUP) {
            const UINT_PTR id = reinterpret_cast<UINT_PTR>(::GetSubMenu(m_hMenu, p));
            record = claim(position, id);
            if (record) {
                if (!ownerDrawn)
                    record->SetText(ToWide(text.c_str()).c_str());
            } else {
                const UINT flags = ((state & 0xFF) & ~MF_POPUP) | MF_BYPOSITION | MF_OWNERDRAW | MF_POPUP;
                record = make(text, flags, id);
                ::ModifyMenuA(m_hMenu, position, flags, id, reinterpret_cast<LPCSTR>(record));
            }
        } else if (state & MF_SEPARATOR) {
            record = claim(position, 0);
            if (record) {
                ::ModifyMenuA(m_hMenu, position, record->flags | MF_BYPOSITION, record->commandId,
                              reinterpret_cast<LPCSTR>(record));
            } else {
                const UINT flags = state | MF_SEPARATOR | MF_BYPOSITION | MF_OWNERDRAW;
                record = make(std::string(), flags, 0);
                ::ModifyMenuA(m_hMenu, position, flags, 0, reinterpret_cast<LPCSTR>(record));
            }
        } else {
            const UINT id = ::GetMenuItemID(m_hMenu, p);
            const UINT flags = state | MF_BYPOSITION | MF_OWNERDRAW;
            record = claim(position, id);
            if (record) {
                record->flags = flags;
                if (!ownerDrawn)
                    record->SetText(ToWide(text.c_str()).c_str());
            } else {
                record = make(text, flags, id);
            }
            ::ModifyMenuA(m_hMenu, position, flags, id, reinterpret_cast<LPCSTR>(record));
        }
        record->claimed = 1;
        used.push_back(record);
    }
    for (MenuItemData* record : m_items) {
        if (!record->claimed)
            delete record;
    }
    m_items = std::move(used);
}

// --- finding

CMenu* OrvelMenu::FindMenuContaining(UINT commandId, int& position)
{
    position = -1;
    return FindCommand(this, commandId, position, nullptr, nullptr, 0);
}

CMenu* OrvelMenu::FindNextOccurrence(UINT commandId, int& position, const std::vector<CMenu*>& visitedMenus,
                                     const std::vector<int>& visitedPositions)
{
    position = -1;
    return FindCommand(this, commandId, position, &visitedMenus, &visitedPositions, 0);
}

MenuItemData* OrvelMenu::FindItem(UINT commandId)
{
    for (MenuItemData* record : m_items) {
        if (record->commandId == commandId)
            return record;
    }
    int position = -1;
    OrvelMenu* owner = AsOrvel(FindMenuContaining(commandId, position));
    // Found here without a record: there is none to give.
    return owner && owner != this ? owner->FindItem(commandId) : nullptr;
}

MenuItemData* OrvelMenu::FindItemByText(LPCSTR text) { return text ? FindText(this, ToWide(text), 0) : nullptr; }
MenuItemData* OrvelMenu::FindItemByText(LPCWSTR text) { return text ? FindText(this, text, 0) : nullptr; }

int OrvelMenu::FindItemIndexByText(LPCSTR text) { return FindItemIndexByText(WideText(text)); }

int OrvelMenu::FindItemIndexByText(LPCWSTR text)
{
    if (!text)
        return -1;
    bool hasPlainEntry = false;
    const int count = ::GetMenuItemCount(m_hMenu);
    for (int p = 0; p < count && !hasPlainEntry; ++p) {
        const UINT state = ::GetMenuState(m_hMenu, static_cast<UINT>(p), MF_BYPOSITION);
        hasPlainEntry = state != kNoItem && !(state & MF_POPUP);
    }
    std::vector<std::wstring_view> texts;
    for (const MenuItemData* record : m_items)
        texts.emplace_back(record->text);
    return menu::FindItemIndexByText(texts, hasPlainEntry, std::wstring_view(text));
}

CMenu* OrvelMenu::GetSubMenuAt(int position)
{
    HMENU sub = m_hMenu ? ::GetSubMenu(m_hMenu, position) : nullptr;
    return sub ? CMenu::FromHandle(sub) : nullptr;
}

OrvelMenu* OrvelMenu::GetSubMenuByText(LPCSTR text) { return GetSubMenuByText(WideText(text)); }

OrvelMenu* OrvelMenu::GetSubMenuByText(LPCWSTR text)
{
    MenuItemData* record = FindItemByText(text);
    return record ? PermanentOrvel(reinterpret_cast<HMENU>(record->commandId)) : nullptr;
}

CMenu* OrvelMenu::FindPopupByTitle(CMenu* menu, LPCSTR title)
{
    if (!menu || !menu->m_hMenu || !title)
        return nullptr;
    const int count = ::GetMenuItemCount(menu->m_hMenu);
    for (int p = 0; p < count; ++p) {
        if (MenuString(menu->m_hMenu, static_cast<UINT>(p)) == title) {
            HMENU sub = ::GetSubMenu(menu->m_hMenu, p);
            return sub ? CMenu::FromHandle(sub) : nullptr;
        }
    }
    return nullptr;
}

BOOL OrvelMenu::IsRegisteredPopup(CMenu* menu) { return menu && IsRegisteredPopup(menu->m_hMenu); }

BOOL OrvelMenu::IsRegisteredPopup(HMENU menu)
{
    const auto& popups = g_state->popups;
    return menu && std::find(popups.begin(), popups.end(), menu) != popups.end();
}

LRESULT OrvelMenu::HandleMenuChar(UINT character, UINT flags, CMenu* menu)
{
    OrvelMenu* owner = AsOrvel(menu);
    if (!owner || !(flags & MF_POPUP))
        return 0;
    if (static_cast<size_t>(std::max(::GetMenuItemCount(owner->m_hMenu), 0)) != owner->m_items.size())
        owner->RebuildItemList();
    const size_t count =
        std::min(static_cast<size_t>(std::max(::GetMenuItemCount(owner->m_hMenu), 0)), owner->m_items.size());
    std::vector<std::string> texts;
    for (size_t i = 0; i < count; ++i) {
        std::string text = owner->m_items[i]->GetAnsiText();
        if (!text.empty())
            ::CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
        texts.push_back(std::move(text));
    }
    char key[2] = {static_cast<char>(character & 0xFF), '\0'};
    ::CharLowerBuffA(key, 1);
    const int position = menu::MatchMenuChar(key[0], texts);
    return position < 0 ? 0 : MAKELONG(position, MNC_EXECUTE);
}

// --- images

BOOL OrvelMenu::AddBitmapToList(CImageList* list, UINT bitmapId) { return AddBitmapToList(list, bitmapId, true); }

BOOL OrvelMenu::AddBitmapToList(CImageList* list, UINT bitmapId, bool withVariants)
{
    if (!list || !list->m_hImageList)
        return FALSE;
    HINSTANCE module = nullptr;
    LPCSTR name = MAKEINTRESOURCEA(bitmapId);
    HRSRC found = dialogs::FindResourceInModules(name, RT_BITMAP, &module);
    unsigned colours = 0;
    if (found) {
        HGLOBAL loaded = ::LoadResource(module, found);
        const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
        if (const auto layout = menu::ReadPackedBitmap(bytes, bytes ? ::SizeofResource(module, found) : 0))
            colours = layout->colours;
    }
    HBITMAP bitmap = nullptr;
    if (found && colours == 16)
        bitmap = AfxLoadSysColorBitmap(module, found);
    else
        bitmap = ::LoadBitmapA(found ? module : AfxGetResourceHandle(), name);
    if (!bitmap)
        return FALSE;
    const int added = ImageList_AddMasked(*list, bitmap, TransparentColour());
    ::DeleteObject(bitmap);
    if (added < 0)
        return FALSE;
    if (withVariants && UsesXpStyle())
        AppendVariants(list, list, 0);
    return TRUE;
}

BOOL OrvelMenu::AppendVariants(CImageList* target, CImageList* source, int index)
{
    int width = 0;
    int height = 0;
    target->GetIconSize(&width, &height);
    CBitmap faded;
    CBitmap shadow;
    {
        MainWindowDC dc;
        if (!RenderImage(&dc, source, index, faded, width, height) ||
            !RenderImage(&dc, source, index, shadow, width, height))
            return FALSE;
    }
    MakeFadedImage(&faded);
    MakeShadowImage(&shadow);
    return AddVariant(target, faded) && AddVariant(target, shadow);
}

BOOL OrvelMenu::FindToolbarImage(UINT commandId, UINT toolbarId, int& index)
{
    CToolBar toolbar;
    if (!toolbar.Create(CWnd::FromHandle(MainOrDesktop()), 0x50002800, AFX_IDW_TOOLBAR) ||
        !toolbar.LoadToolBar(toolbarId))
        return FALSE;
    const int button = toolbar.CommandToIndex(commandId);
    if (button < 0)
        return FALSE;
    UINT id = 0;
    UINT style = 0;
    int image = 0;
    toolbar.GetButtonInfo(button, id, style, image);
    if (image > 0)
        index = image;
    return TRUE;
}

BOOL OrvelMenu::LoadToolbarImages(UINT toolbarId)
{
    CMenuToolBar toolbar;
    if (!toolbar.Create(CWnd::FromHandle(MainOrDesktop()), 0x50002800, AFX_IDW_TOOLBAR) ||
        !toolbar.LoadToolBar(toolbarId))
        return FALSE;
    SetIconSize(std::max(m_iconWidth, toolbar.m_imageWidth), std::max(m_iconHeight, toolbar.m_imageHeight));
    CImageList list;
    if (!list.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1) || !AddBitmapToList(&list, toolbarId))
        return FALSE;
    const int count = toolbar.GetCount();
    for (int i = 0; i < count; ++i) {
        UINT id = 0;
        UINT style = 0;
        int image = 0;
        toolbar.GetButtonInfo(i, id, style, image);
        if (id == 0 || (style & TBSTYLE_SEP) || ::GetMenuState(m_hMenu, id, MF_BYCOMMAND) == kNoItem)
            continue;
        ModifyItemImage(static_cast<LPCWSTR>(nullptr), id, &list, image > 0 ? image : i);
    }
    return TRUE;
}

BOOL OrvelMenu::LoadToolbarImages(const UINT* toolbarIds, int count)
{
    BOOL all = TRUE;
    for (int i = 0; toolbarIds && i < count; ++i) {
        if (!LoadToolbarImages(toolbarIds[i]))
            all = FALSE;
    }
    return all;
}

int OrvelMenu::TakeImagesFromToolbar(CToolBar* toolbar, UINT bitmapId)
{
    if (!toolbar || !toolbar->m_hWnd)
        return 0;
    const int count = toolbar->GetCount();
    for (int i = 0; i < count; ++i) {
        UINT id = 0;
        UINT style = 0;
        int image = 0;
        toolbar->GetButtonInfo(i, id, style, image);
        if (id == 0 || (style & TBSTYLE_SEP) || ::GetMenuState(m_hMenu, id, MF_BYCOMMAND) == kNoItem)
            continue;
        int position = -1;
        OrvelMenu* owner = AsOrvel(FindMenuContaining(id, position));
        MenuItemData* record = nullptr;
        if (owner && static_cast<size_t>(position) < owner->m_items.size()) {
            record = owner->m_items[static_cast<size_t>(position)];
        } else {
            owner = nullptr;
            record = new MenuItemData;
            m_items.push_back(record);
        }
        record->imageSource = static_cast<int>(bitmapId);
        record->commandId = id;
        record->flags = MF_OWNERDRAW;
        record->ownImageIndex = image;
        if (record->ownImages)
            record->ownImages->DeleteImageList();
        else
            record->ownImages = new CImageList;
        if (!record->ownImages->Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1) ||
            !AddBitmapToList(record->ownImages, bitmapId)) {
            delete record->ownImages;
            record->ownImages = nullptr;
            record->imageSource = -1;
            record->ownImageIndex = -1;
        }
        if (owner)
            ::ModifyMenuA(owner->m_hMenu, static_cast<UINT>(position), MF_BYPOSITION | MF_OWNERDRAW, id,
                          reinterpret_cast<LPCSTR>(record));
        else
            ::ModifyMenuA(m_hMenu, id, MF_OWNERDRAW, id, reinterpret_cast<LPCSTR>(record));
    }
    return count;
}

int OrvelMenu::SharedImageIndex(UINT_PTR commandId)
{
    const auto& ids = g_state->sharedIds;
    const auto found = std::find(ids.begin(), ids.end(), commandId);
    return found == ids.end() ? -1 : static_cast<int>(found - ids.begin());
}

BOOL OrvelMenu::HasShadedVariants(int slot)
{
    const auto& ids = g_state->sharedIds;
    return slot >= 0 && static_cast<size_t>(slot) + 2 < ids.size() && ids[slot] == ids[slot + 1] &&
           ids[slot] == ids[slot + 2];
}

int OrvelMenu::AddSharedImage(CImageList* list, int index, UINT_PTR commandId)
{
    if (!list || !list->m_hImageList)
        return -1;
    CImageList& shared = g_state->sharedImages;
    auto& ids = g_state->sharedIds;
    if (!shared.m_hImageList) {
        if (!shared.Create(m_iconWidth, m_iconHeight, kImageListFlags, 1, 1))
            return -1;
        ids.clear();
    }
    HICON icon = list->ExtractIcon(index);
    if (!icon)
        return -1;
    // The variants take the shared list's image size, which the first menu to bind chose.
    int width = 0;
    int height = 0;
    shared.GetIconSize(&width, &height);
    const bool xp = UsesXpStyle() != FALSE;
    CBitmap faded;
    CBitmap shadow;
    bool variants = false;
    if (xp) {
        MainWindowDC dc;
        variants = RenderImage(&dc, list, index, faded, width, height) &&
                   RenderImage(&dc, list, index, shadow, width, height);
        if (variants) {
            MakeFadedImage(&faded);
            MakeShadowImage(&shadow);
        }
    }
    int slot = SharedImageIndex(commandId);
    if (slot >= 0) {
        shared.Replace(slot, icon);
        if (variants && HasShadedVariants(slot)) {
            ReplaceWithVariant(&shared, slot + 1, faded);
            ReplaceWithVariant(&shared, slot + 2, shadow);
        }
    } else {
        slot = static_cast<int>(ids.size());
        if (shared.Replace(-1, icon) < 0) {
            slot = -1;
        } else {
            ids.push_back(commandId);
            // Both variants or neither, so the slots and the ids stay in step.
            if (variants && AddVariant(&shared, faded)) {
                if (AddVariant(&shared, shadow)) {
                    ids.push_back(commandId);
                    ids.push_back(commandId);
                } else {
                    shared.Remove(static_cast<int>(ids.size()));
                }
            }
        }
    }
    ::DestroyIcon(icon);
    return slot;
}

BOOL OrvelMenu::CopyImageWithVariants(CImageList* source, int index, CImageList* target)
{
    if (!source || !source->m_hImageList || !target || index < 0)
        return FALSE;
    HICON icon = source->ExtractIcon(index);
    if (!icon)
        return FALSE;
    int width = 0;
    int height = 0;
    source->GetIconSize(&width, &height);
    BOOL made = target->Create(width, height, kImageListFlags, 1, 1) && target->Add(icon) >= 0;
    ::DestroyIcon(icon);
    if (made && UsesXpStyle())
        AppendVariants(target, source, index);
    return made;
}

BOOL OrvelMenu::RenderImageToBitmap(CDC* dc, CImageList* list, int index, CBitmap& bitmap)
{
    return RenderImage(dc, list, index, bitmap, m_iconWidth, m_iconHeight);
}

BOOL OrvelMenu::RenderImage(CDC* dc, CImageList* list, int index, CBitmap& bitmap, int width, int height)
{
    if (!dc || !list || !list->m_hImageList || width <= 0 || height <= 0)
        return FALSE;
    HICON icon = list->ExtractIcon(index);
    if (!icon)
        return FALSE;
    BOOL drawn = FALSE;
    if (bitmap.CreateCompatibleBitmap(dc, width, height)) {
        HDC memory = ::CreateCompatibleDC(*dc);
        HGDIOBJ old = ::SelectObject(memory, bitmap);
        drawn = ::DrawIconEx(memory, 0, 0, icon, width, height, 0, ::GetSysColorBrush(COLOR_BTNFACE), DI_NORMAL);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
    ::DestroyIcon(icon);
    return drawn;
}

void OrvelMenu::MakeFadedImage(CBitmap* bitmap)
{
    RecolourImage(bitmap, [](COLORREF pixel, COLORREF background) { return menu::FadedPixel(pixel, background); });
}

void OrvelMenu::MakeShadowImage(CBitmap* bitmap)
{
    const COLORREF shadow = menu::ShadowColour(ReadMenuSystemColours(), IsXpThemed() != FALSE);
    RecolourImage(bitmap, [shadow](COLORREF pixel, COLORREF background) {
        return menu::ShadowPixel(pixel, background, shadow);
    });
}

BOOL OrvelMenu::MakeColourBitmap(CDC* dc, CBitmap& bitmap, int width, int height, int cellWidth, int cellHeight,
                                 COLORREF fillColour, COLORREF borderColour, int hatchStyle)
{
    if (!dc || !bitmap.CreateCompatibleBitmap(dc, cellWidth, cellHeight))
        return FALSE;
    HDC memory = ::CreateCompatibleDC(*dc);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    RECT rect = {0, 0, cellWidth, cellHeight};
    if (width != cellWidth || height != cellHeight) {
        HBRUSH background = ::CreateSolidBrush(menu::MenuBackground(ReadMenuSystemColours(), IsXpThemed() != FALSE));
        ::FillRect(memory, &rect, background);
        ::DeleteObject(background);
        rect = {(cellWidth - width) / 2, (cellHeight - height) / 2, 0, 0};
        rect.right = rect.left + width;
        rect.bottom = rect.top + height;
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, borderColour);
    HBRUSH brush = hatchStyle == -1 ? ::CreateSolidBrush(fillColour) : ::CreateHatchBrush(hatchStyle, fillColour);
    HGDIOBJ oldPen = ::SelectObject(memory, pen);
    HGDIOBJ oldBrush = ::SelectObject(memory, brush);
    ::Rectangle(memory, rect.left, rect.top, rect.right, rect.bottom);
    ::SelectObject(memory, oldBrush);
    ::SelectObject(memory, oldPen);
    ::DeleteObject(brush);
    ::DeleteObject(pen);
    ::SelectObject(memory, oldBitmap);
    ::DeleteDC(memory);
    return TRUE;
}

// --- CMenuToolBar

BOOL CMenuToolBar::LoadToolBar(LPCSTR name)
{
    if (!LoadToolBarButtons(name))
        return FALSE;
    m_imageWidth = m_imageSize.cx;
    m_imageHeight = m_imageSize.cy;
    return LoadBitmap(name);
}
