// platform/dialogs/toolbar.h
// CToolBar: a toolbar control loaded from a toolbar resource (RT_TOOLBAR, 241) and the bitmap of
// the same name, as far as the owner-drawn menu asks: create, load, buttons, sizes and image.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "platform/dialogs/wnd.h"

// Bar styles of Create: kept by the bar, not given to the window.
#ifndef CBRS_ALIGN_TOP
#define CBRS_TOOLTIPS 0x0010
#define CBRS_FLYBY 0x0800
#define CBRS_ALIGN_TOP 0x2000
#define CBRS_TOP CBRS_ALIGN_TOP
#define CBRS_ALL 0x0040FFFF
#endif
#ifndef AFX_IDW_TOOLBAR
#define AFX_IDW_TOOLBAR 0xE800
#endif
#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

class CToolBar : public CWnd
{
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar() = default;
    ~CToolBar() override;

    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // The buttons of the toolbar resource, buttons (image + 7) x (image + 7), and its bitmap.
    // Both are looked up in the resource module, then in the program.
    BOOL LoadToolBar(LPCSTR name);
    BOOL LoadToolBar(UINT id) { return LoadToolBar(MAKEINTRESOURCEA(id)); }
    // The bitmap with the standard greys and white in the current button colours.
    BOOL LoadBitmap(LPCSTR name);
    BOOL LoadBitmap(UINT id) { return LoadBitmap(MAKEINTRESOURCEA(id)); }
    // The image well; the toolbar takes the bitmap over.
    BOOL SetBitmap(HBITMAP bitmap);
    // One button per id, 0 making a separator; the buttons take the images in order.
    BOOL SetButtons(const UINT* ids, int count);
    void SetSizes(SIZE button, SIZE image);

    int GetCount() const;
    int CommandToIndex(UINT id) const;  // -1 when no button has it
    UINT GetItemID(int index) const;    // 0 for a separator
    // style: the TBSTYLE_ bits, the TBSTATE_ bits in the high word.
    void GetButtonInfo(int index, UINT& id, UINT& style, int& image) const;
    DWORD GetBarStyle() const { return m_barStyle; }

    HINSTANCE m_hInstImageWell = nullptr;
    HRSRC m_hRsrcImageWell = nullptr;
    HBITMAP m_hbmImageWell = nullptr;

protected:
    // The resource in the resource module, else in the program; its module in *module.
    static HRSRC FindToolbarResource(LPCSTR name, LPCSTR type, HINSTANCE* module);
    // LoadToolBar without the bitmap: the buttons of the toolbar resource and their sizes.
    BOOL LoadToolBarButtons(LPCSTR name);

    DWORD m_barStyle = 0;
    SIZE m_imageSize = {16, 15};
};
