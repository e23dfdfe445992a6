// brimlet/skin/bitmap_dialog.h
// CBitmapDialog: the base of every skinned dialog of Brimlet and Sarrow. It paints a background
// bitmap in WM_ERASEBKGND in one of five draw styles, can key out one colour (or make the window
// translucent) through a layered window, and drags the window by any point of its background.
//
// Sarrow builds it with BITMAP_DIALOG_LEAN defined: without SetTransparent, SetBitmap by file
// name and the default and by-name constructors, which its dialogs do not use.
#pragma once

#include "platform/dialogs/dialogs.h"

class CBitmapDialog : public CDialog
{
public:
    CBitmapDialog(UINT templateId, CWnd* parent);
#ifndef BITMAP_DIALOG_LEAN
    CBitmapDialog(LPCSTR templateName, CWnd* parent);
    CBitmapDialog();
#endif
    ~CBitmapDialog() override;

    // A bitmap resource of the resource module; one that does not load leaves no background.
    BOOL SetBitmap(UINT resourceId);
#ifndef BITMAP_DIALOG_LEAN
    BOOL SetBitmap(LPCSTR fileName);
#endif
    // Takes the handle over, also when it fails (an unreadable handle is deleted, FALSE).
    BOOL SetBitmap(HBITMAP bitmap);
    void FreeBitmap();
    // 0 top-left, 1 tiled, 2 centred, 3 stretched, 4 top-left with the window sized to the bitmap.
    void SetBitmapStyle(int style);
    void SetEasyMove(BOOL easyMove) { m_easyMove = easyMove; }
#ifndef BITMAP_DIALOG_LEAN
    // 255 removes the layering; any other value makes the whole window that translucent.
    BOOL SetTransparent(BYTE alpha);
#endif
    // The key colour's pixels become transparent (enable TRUE) or the layering goes (FALSE).
    BOOL SetTransparentColor(COLORREF key, BOOL enable);

    using SetLayeredWindowAttributesFunction = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
    // USER32's SetLayeredWindowAttributes, NULL where Windows has none; looked up at each
    // construction.
    static SetLayeredWindowAttributesFunction s_setLayeredWindowAttributes;

protected:
    DECLARE_MESSAGE_MAP()
    void OnLButtonDown(UINT flags, CPoint point);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);

    void CommonConstruct();
    void RemoveLayering();

    BOOL m_easyMove;
    HBITMAP m_bitmap;
    int m_bitmapWidth = 0;
    int m_bitmapHeight = 0;
    int m_drawStyle;
};
