// brimlet/skin/region_bitmap_dialog.h
// CRegionBitmapDialog: a dialog that paints a background bitmap and can cut its window's shape
// out of that bitmap (every pixel of the key colour becomes a hole in the window region), and
// that lets static controls show the bitmap through. The setters rebuild the region at once,
// which takes effect only while the window exists: call one again after it is created.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/dialogs/dialogs.h"

class CRegionBitmapDialog : public CDialog
{
public:
    // The bitmap comes from the first source given: a resource name, a resource id (not 0), or a
    // bitmap object that stays the caller's. `unused` is not read.
    CRegionBitmapDialog(LPCSTR templateName, CWnd* parent, LPCSTR bitmapName = nullptr, UINT bitmapId = 0,
                        DWORD unused = 0, CBitmap* bitmap = nullptr);
    CRegionBitmapDialog(UINT templateId, CWnd* parent, LPCSTR bitmapName = nullptr, UINT bitmapId = 0,
                        DWORD unused = 0, CBitmap* bitmap = nullptr);
    explicit CRegionBitmapDialog(LPCSTR bitmapName = nullptr, UINT bitmapId = 0, DWORD unused = 0,
                                 CBitmap* bitmap = nullptr);
    ~CRegionBitmapDialog() override;

    // A bitmap resource of the program's resource module, or else (resourceName NULL) a .bmp file.
    BOOL SetBitmap(LPCSTR resourceName, LPCSTR fileName = nullptr);
    BOOL SetBitmap(UINT resourceId);
    // The caller keeps the bitmap and must keep it alive while the dialog uses it.
    BOOL SetBitmap(CBitmap* bitmap);
    // A copy of the source that the dialog owns.
    BOOL CopyBitmapFrom(CBitmap* source);
    void ReleaseBitmap();
    void EnableBitmapRegion(BOOL enable);
    void SetRegionKeyColor(COLORREF key);
    void BuildBitmapRegion();

protected:
    DECLARE_MESSAGE_MAP()
    BOOL OnEraseBkgnd(CDC* dc);
    void OnLButtonDown(UINT flags, CPoint point);
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);

    void TakeFirstBitmap(LPCSTR bitmapName, UINT bitmapId, CBitmap* bitmap);
    // The top-left width x height pixels of the bitmap, row by row, as COLORREF values, in one
    // read; FALSE when the system will not read it that way (the region then reads pixel by pixel).
    static BOOL ReadPixels(HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>& pixels);

    BOOL m_regionFromBitmap = FALSE;
    BOOL m_transparentStatics = TRUE;
    HBRUSH m_staticBrush = static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    // No colour a pixel can have until SetRegionKeyColor: no holes.
    COLORREF m_keyColour = CLR_INVALID;
    BOOL m_easyMove = FALSE;
    BOOL m_ownsBitmap = FALSE;
    BOOL m_hasBitmap = FALSE;
    CBitmap* m_bitmap = nullptr;
};
