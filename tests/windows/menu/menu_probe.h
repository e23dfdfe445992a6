// tests/windows/menu/menu_probe.h
// What the menu tests ask of an owner-drawn menu as the system would: an item's record, its
// measuring and its painting into a canvas, and the picture in a slot of an image list.
#pragma once

#include "brimlet/skin/orvel_menu.h"
#include "tests/windows/support/pixel_canvas.h"

namespace menu_probe {

inline MenuItemData* ItemData(HMENU menu, UINT position)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    if (!::GetMenuItemInfoA(menu, position, TRUE, &info))
        return nullptr;
    return reinterpret_cast<MenuItemData*>(info.dwItemData);
}

// Paints the item at position as the system asks for it.
inline void Paint(OrvelMenu& menu, UINT position, test_support::PixelCanvas& canvas, const RECT& rect, UINT state)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = ::GetMenuItemID(menu, static_cast<int>(position));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = reinterpret_cast<HWND>(menu.m_hMenu);
    item.hDC = canvas.dc();
    item.rcItem = rect;
    item.itemData = reinterpret_cast<ULONG_PTR>(ItemData(menu, position));
    menu.DrawItem(&item);
}

inline MEASUREITEMSTRUCT Measure(OrvelMenu& menu, UINT position)
{
    MEASUREITEMSTRUCT item = {};
    item.CtlType = ODT_MENU;
    item.itemID = ::GetMenuItemID(menu, static_cast<int>(position));
    item.itemData = reinterpret_cast<ULONG_PTR>(ItemData(menu, position));
    menu.MeasureItem(&item);
    return item;
}

// The image in a list's slot drawn at (0, 0) over magenta.
inline COLORREF SlotPixel(CImageList* list, int slot, int x, int y)
{
    test_support::PixelCanvas canvas(32, 32, RGB(255, 0, 255));
    ImageList_Draw(*list, slot, canvas.dc(), 0, 0, ILD_TRANSPARENT);
    return canvas.At(x, y);
}

}  // namespace menu_probe
