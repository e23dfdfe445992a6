// brimlet/skin/orvel_menu.h
// OrvelMenu: a menu whose popup items the program draws itself, with a small image beside each
// command, drawn check marks and radio bullets, and two looks: a classic one (raised and sunken
// image cells on the menu colour) and an XP one (a light image column, a pale highlight with a
// frame). Menus are built from menu templates, item by item, or by adopting a plain menu; images
// are bound to commands from toolbars, image lists or bitmaps.
//
// Every item carries its MenuItemData record as its owner-draw item data, so WM_MEASUREITEM and
// WM_DRAWITEM hand the record back. The record of the item at position p is items[p] as a rule;
// operations that rely on it refuse positions past the end of the records.
//
// Texts are held in UTF-16; the Windows calls that take texts are the ANSI ones (CP_ACP).
#pragma once

#include <string>
#include <vector>

#include "platform/dialogs/dialogs.h"

class CMenuToolBar;

// One item of a menu: owned by the OrvelMenu whose items hold it.
class MenuItemData
{
public:
    MenuItemData() = default;
    ~MenuItemData();
    MenuItemData(const MenuItemData&) = delete;
    MenuItemData& operator=(const MenuItemData&) = delete;

    // A copy of the text; NULL clears it.
    void SetText(LPCWSTR newText);
    // The whole text in the ANSI code page.
    std::string GetAnsiText() const;

    std::wstring text;          // a tab divides the label from a right-aligned shortcut
    int ownImageIndex = -1;     // index in ownImages
    int sharedImageIndex = -1;  // index in the shared image list, -1 when none
    int imageSource = -1;       // -1: no own image; else a bitmap id, or 0 for one copied from a list
    UINT flags = 0;             // the MF_ flags the item was put into the menu with
    UINT_PTR commandId = 0;     // the command id, or the popup's menu handle
    int claimed = 0;            // used while adopting a plain menu
    CImageList* ownImages = nullptr;
};

class OrvelMenu : public CMenu
{
    DECLARE_DYNAMIC(OrvelMenu)
public:
    OrvelMenu();
    ~OrvelMenu() override;

    // --- owner draw (menu_drawing.cpp)
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    void MeasureItem(LPMEASUREITEMSTRUCT item) override;

    // --- building from a menu template
    virtual BOOL LoadMenuResource(UINT id);
    virtual BOOL LoadMenuResource(LPCSTR name);
    // Takes the menu, its records and its submenus down; the object may be used again.
    virtual BOOL DestroyWithItems();

    // --- settings
    // The image size of this menu and of every popup in its tree; image lists built afterwards
    // take it.
    void SetIconSize(int width, int height);
    void SetMaskColour(COLORREF colour);
    void ClearMaskColour();
    void SetDibGreying() { m_ditherWithDib = TRUE; }
    void ClearDibGreying() { m_ditherWithDib = FALSE; }
    BOOL UsesDibGreying() const { return m_ditherWithDib; }
    // Both ids 1 or more: the check marks of unselected and selected checked items.
    void SetCheckMarkBitmaps(int checkId, int selectedCheckId);

    // --- adding and changing items. A toolbar image id names a toolbar resource and its bitmap;
    // -1 keeps the image the command already has in the shared list.
    BOOL AppendItem(LPCSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR commandId = 0, int toolbarImageId = -1);
    BOOL AppendItem(LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR commandId = 0, int toolbarImageId = -1);
    BOOL AppendItem(UINT flags, UINT_PTR commandId, LPCSTR text, int toolbarImageId = -1);
    BOOL AppendItem(UINT flags, UINT_PTR commandId, LPCWSTR text, int toolbarImageId = -1);
    BOOL AppendItemWithImage(LPCSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index);
    BOOL AppendItemWithImage(LPCWSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index);
    BOOL AppendItemWithImage(UINT flags, UINT_PTR commandId, LPCSTR text, CImageList* imageList, int index);
    BOOL AppendItemWithImage(UINT flags, UINT_PTR commandId, LPCWSTR text, CImageList* imageList, int index);
    BOOL AppendItemWithBitmap(LPCSTR text, UINT flags, UINT_PTR commandId, CBitmap* bitmap);
    BOOL AppendItemWithBitmap(LPCWSTR text, UINT flags, UINT_PTR commandId, CBitmap* bitmap);
    BOOL AppendItemWithBitmap(UINT flags, UINT_PTR commandId, LPCSTR text, CBitmap* bitmap);
    BOOL AppendItemWithBitmap(UINT flags, UINT_PTR commandId, LPCWSTR text, CBitmap* bitmap);
    // A new submenu, owned by this menu's tree; NULL when it cannot be made.
    OrvelMenu* AppendPopup(LPCSTR text);
    OrvelMenu* AppendPopup(LPCWSTR text);

    // position: with MF_BYPOSITION a position (-1 the end), else a command id to insert before.
    BOOL InsertItem(UINT position, LPCSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR commandId = 0, int toolbarImageId = -1);
    BOOL InsertItem(UINT position, LPCWSTR text, UINT flags = MF_OWNERDRAW, UINT_PTR commandId = 0, int toolbarImageId = -1);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text, int toolbarImageId = -1);
    BOOL InsertItem(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text, int toolbarImageId = -1);
    BOOL InsertItemWithImage(UINT position, LPCSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index);
    BOOL InsertItemWithImage(UINT position, LPCWSTR text, UINT flags, UINT_PTR commandId, CImageList* imageList, int index);
    BOOL InsertItemWithImage(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text, CImageList* imageList, int index);
    BOOL InsertItemWithImage(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text, CImageList* imageList, int index);
    BOOL InsertItemWithBitmap(UINT position, UINT flags, UINT_PTR commandId, LPCSTR text, CBitmap* bitmap);
    BOOL InsertItemWithBitmap(UINT position, UINT flags, UINT_PTR commandId, LPCWSTR text, CBitmap* bitmap);

    // Every occurrence of the command in the menu tree: the text (NULL keeps it) and the image.
    // FALSE, and nothing recorded, when the command is in no menu.
    BOOL ModifyItem(LPCSTR text, UINT commandId, int toolbarImageId = -1);
    BOOL ModifyItem(LPCWSTR text, UINT commandId, int toolbarImageId = -1);
    BOOL ModifyItemImage(LPCSTR text, UINT commandId, CImageList* imageList, int index);
    BOOL ModifyItemImage(LPCWSTR text, UINT commandId, CImageList* imageList, int index);
    BOOL ModifyItemBitmap(LPCSTR text, UINT commandId, CBitmap* bitmap);
    BOOL ModifyItemBitmap(LPCWSTR text, UINT commandId, CBitmap* bitmap);
    // A rectangle in fillColour framed in borderColour (hatchStyle -1: solid), size NULL meaning
    // the whole image.
    BOOL ModifyItemColour(LPCSTR text, UINT commandId, COLORREF fillColour, COLORREF borderColour,
                          int hatchStyle = -1, const SIZE* size = nullptr);
    BOOL ModifyItemColour(LPCWSTR text, UINT commandId, COLORREF fillColour, COLORREF borderColour,
                          int hatchStyle = -1, const SIZE* size = nullptr);
    // The record with that text anywhere in the tree gets newText (NULL keeps it) and the bitmap
    // (-1: none) as its own image; the menu itself is not touched.
    BOOL ModifyItemText(LPCSTR oldText, LPCSTR newText, int bitmapId = -1);
    BOOL ModifyItemText(LPCWSTR oldText, LPCWSTR newText, int bitmapId = -1);
    BOOL SetItemText(UINT idOrPosition, LPCSTR text, UINT flags = MF_BYPOSITION);
    BOOL SetItemText(UINT idOrPosition, LPCWSTR text, UINT flags = MF_BYPOSITION);
    BOOL GetItemText(UINT idOrPosition, CString& text, UINT flags = MF_BYPOSITION);

    // RemoveItem keeps a removed submenu's handle for RemoveMenu; DeleteItem destroys it.
    BOOL RemoveItem(UINT idOrPosition, UINT flags);
    BOOL DeleteItem(UINT idOrPosition, UINT flags);
    // Removes the item with that text and, for extra 1 or 2, the item before it, for extra 3 the
    // two items before it. Returns the item's position, -1 when no record has the text.
    int RemoveItemByText(LPCSTR text, int extra = 0);
    int RemoveItemByText(LPCWSTR text, int extra = 0);
    int DeleteItemByText(LPCSTR text, int extra = 0);
    int DeleteItemByText(LPCWSTR text, int extra = 0);

    // --- images from toolbars
    BOOL LoadToolbarImages(UINT toolbarId);
    BOOL LoadToolbarImages(const UINT* toolbarIds, int count);
    // Own images for the menu's commands from a live toolbar and the bitmap of its picture;
    // returns the toolbar's button count.
    int TakeImagesFromToolbar(CToolBar* toolbar, UINT bitmapId);

    // --- adopting a plain menu
    void RebuildItemList();
    static void RebuildMenu(CMenu* menu);

    // --- finding
    // Depth first: the menu that holds the command and its position there; NULL and -1 when none.
    CMenu* FindMenuContaining(UINT commandId, int& position);
    // The same walk, skipping the (menu, position) pairs already visited.
    CMenu* FindNextOccurrence(UINT commandId, int& position, const std::vector<CMenu*>& visitedMenus,
                              const std::vector<int>& visitedPositions);
    MenuItemData* FindItem(UINT commandId);
    MenuItemData* FindItemByText(LPCSTR text);
    MenuItemData* FindItemByText(LPCWSTR text);
    int FindItemIndexByText(LPCSTR text);
    int FindItemIndexByText(LPCWSTR text);
    CMenu* GetSubMenuAt(int position);
    OrvelMenu* GetSubMenuByText(LPCSTR text);
    OrvelMenu* GetSubMenuByText(LPCWSTR text);
    // Any menu: the submenu whose entry text is exactly title.
    static CMenu* FindPopupByTitle(CMenu* menu, LPCSTR title);
    CMenu* FindPopupByTitle(LPCSTR title) { return FindPopupByTitle(this, title); }
    static BOOL IsRegisteredPopup(CMenu* menu);
    static BOOL IsRegisteredPopup(HMENU menu);

    // The WM_MENUCHAR answer for a registered popup: MAKELONG(position, MNC_EXECUTE), or 0.
    static LRESULT HandleMenuChar(UINT character, UINT flags, CMenu* menu);

    // --- images
    BOOL AddBitmapToList(CImageList* list, UINT bitmapId);
    static BOOL FindToolbarImage(UINT commandId, UINT toolbarId, int& index);
    static int SharedImageIndex(UINT_PTR commandId);
    static BOOL HasShadedVariants(int slot);
    int AddSharedImage(CImageList* list, int index, UINT_PTR commandId);
    BOOL CopyImageWithVariants(CImageList* source, int index, CImageList* target);
    BOOL RenderImageToBitmap(CDC* dc, CImageList* list, int index, CBitmap& bitmap);
    static void MakeFadedImage(CBitmap* bitmap);
    static void MakeShadowImage(CBitmap* bitmap);
    static COLORREF BlendTowardWhite(COLORREF colour, double f);
    static BOOL MakeColourBitmap(CDC* dc, CBitmap& bitmap, int width, int height, int cellWidth, int cellHeight,
                                 COLORREF fillColour, COLORREF borderColour, int hatchStyle);
    // The image list every menu shares, one slot per bound command (three in the XP look).
    static CImageList* SharedImages();

    // --- the look
    static int WinVersionCode();
    static BOOL IsClassicTheme();
    static BOOL HasModernShell();
    static BOOL IsXpThemed();
    static BOOL UsesXpStyle();
    static int CurrentDrawMode();
    // The draw mode used while IsXpThemed holds and the one used otherwise; 1 is the XP look.
    static void SetDrawModes(int xpThemedMode, int otherMode);

    // --- drawing (menu_drawing.cpp)
    void DrawClassicItem(LPDRAWITEMSTRUCT item);
    void DrawXpItem(LPDRAWITEMSTRUCT item);
    static void DrawClassicCheck(CDC* dc, const RECT& box, BOOL selected, HBITMAP checkedBitmap);
    static void DrawXpCheck(CDC* dc, const RECT& box, HBITMAP checkedBitmap, COLORREF frameColour);
    static void DrawCheckGlyph(CDC* dc, int x, int y, COLORREF colour);
    static void DrawRadioBullet(CDC* dc, int x, int y, COLORREF colour);
    static void GreyBlit(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sourceX, int sourceY,
                         COLORREF backgroundColour);
    static void GreyBlitDib(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                            COLORREF backgroundColour);

    // --- what the tests and the drop-down read
    const std::vector<MenuItemData*>& Items() const { return m_items; }
    const std::vector<HMENU>& SubMenus() const { return m_subMenus; }
    int IconWidth() const { return m_iconWidth; }
    int IconHeight() const { return m_iconHeight; }
    CImageList* CheckImages() const { return m_checkImages; }
    BOOL IsLoadedFromTemplate() const { return m_loadedFromTemplate; }

protected:
    int ForeignItemOffset();
    void RefreshBarPopups();
    void PadAccelerators();
    COLORREF TransparentColour() const;

    std::vector<MenuItemData*> m_items;
    std::vector<HMENU> m_subMenus;
    int m_iconWidth = 16;
    int m_iconHeight = 15;
    COLORREF m_maskColour = RGB(192, 192, 192);
    BOOL m_useMaskColour = FALSE;
    BOOL m_ditherWithDib = FALSE;
    CImageList* m_checkImages = nullptr;
    BOOL m_checkImagesShared = FALSE;
    int m_checkSelectedBitmapId = -1;
    int m_checkBitmapId = -1;
    BOOL m_loadedFromTemplate = FALSE;

private:
    enum class ImageMode { Toolbar, List };
    BOOL AppendRecord(LPCWSTR text, UINT flags, UINT_PTR commandId, ImageMode mode, int toolbarImageId,
                      CImageList* imageList, int index, bool refreshBar);
    BOOL InsertRecord(UINT position, LPCWSTR text, UINT flags, UINT_PTR commandId, ImageMode mode,
                      int toolbarImageId, CImageList* imageList, int index);
    BOOL ModifyRecords(LPCWSTR text, UINT commandId, ImageMode mode, int toolbarImageId, CImageList* imageList,
                       int index);
    BOOL RemoveOrDelete(UINT idOrPosition, UINT flags, bool destroy);
    int RemoveByText(LPCWSTR text, int extra, bool destroy);
    // The shared slot of a command's toolbar image, -1 when it cannot be bound.
    int BindToolbarImage(UINT_PTR commandId, int toolbarImageId);
    BOOL AddBitmapToList(CImageList* list, UINT bitmapId, bool withVariants);
    BOOL RenderImage(CDC* dc, CImageList* list, int index, CBitmap& bitmap, int width, int height);
    BOOL AppendVariants(CImageList* target, CImageList* source, int index);
    // A popup for this menu's tree: it takes the image size and shares the check marks.
    OrvelMenu* NewSubMenu();
    void SetTreeIconSize(int width, int height, int depth);
    void RegisterPopup(HMENU popup, std::size_t subMenuIndex);
    void ForgetPopup(HMENU popup);
    void ForgetRecord(MenuItemData* record);
    bool OwnsRecord(const MenuItemData* record) const;
    // The record an item shows: its item data when that is one of ours.
    MenuItemData* ItemDataRecord(UINT position) const;
    bool IsItemDataElsewhere(const MenuItemData* record, UINT exceptPosition) const;
    BOOL HasCheckImages() const { return m_checkImages && m_checkImages->m_hImageList; }

    friend class CMenuBufferDC;
};

// The toolbar LoadToolbarImages reads images from: it remembers the image size of its resource.
class CMenuToolBar : public CToolBar
{
    DECLARE_DYNAMIC(CMenuToolBar)
public:
    CMenuToolBar() = default;
    BOOL LoadToolBar(LPCSTR name);
    BOOL LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEA(id)); }

    int m_imageWidth = 0;
    int m_imageHeight = 0;
};

// An off-screen DC over an item rectangle that uses the target's coordinates and copies the
// rectangle to the target when destroyed. Over a printer it draws on the target directly.
class CMenuBufferDC : public CDC
{
    DECLARE_DYNAMIC(CMenuBufferDC)
public:
    CMenuBufferDC(CDC* target, const RECT& rect);
    ~CMenuBufferDC() override;
    BOOL IsBuffering() const { return m_buffering; }

private:
    CDC* m_target;
    CRect m_rect;
    CBitmap m_bitmap;
    CBitmap* m_oldBitmap = nullptr;
    BOOL m_buffering = FALSE;
};
