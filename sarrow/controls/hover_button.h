// sarrow/controls/hover_button.h
// CHoverButton: Sarrow's owner-drawn push button, painted from a normal, a hover and a pressed
// bitmap, with an optional caption centred on a point. Mouse tracking switches the picture and
// the caption colour as soon as the pointer rests on the button and back when it leaves.
#pragma once

#include "platform/dialogs/dialogs.h"

class CHoverButton : public CBitmapButton
{
    DECLARE_DYNAMIC(CHoverButton)
public:
    CHoverButton() = default;
    ~CHoverButton() override = default;

    // Caption colour of the hover and pressed looks, and of a disabled button's normal look.
    static constexpr COLORREF kHighlightCaptionColour = 0xFFAF0E;
    static constexpr COLORREF kDisabledCaptionColour = 0xC0C0C0;

    // Loads the three pictures from the resource module and sizes the button to each in turn, so
    // it ends with the pressed picture's size. Always TRUE; a picture that does not load leaves
    // its look without picture.
    BOOL LoadBitmaps(UINT normalId, UINT hoverId, UINT pressedId);
    // Caption, its centre point in client coordinates and its colour in the normal look of an
    // enabled button. Nothing is redrawn.
    void SetTextPosition(LPCSTR caption, int x, int y, COLORREF colour);

    void DrawItem(LPDRAWITEMSTRUCT item) override;
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    DECLARE_MESSAGE_MAP()
    void OnMouseMove(UINT flags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);

    int m_fontHeight = 16;
    int m_fontWeight = 600;
    BOOL m_hover = FALSE;
    CSize m_normalSize;
    CSize m_hoverSize;
    CSize m_pressedSize;
    CBitmap m_normalBitmap;
    CBitmap m_hoverBitmap;
    CBitmap m_pressedBitmap;
    BOOL m_tracking = FALSE;
    CString m_caption;
    int m_captionX = 0;
    int m_captionY = 0;
    COLORREF m_captionColour = 0;
    // Created on first use and left inactive without tools: nothing of it is ever shown.
    CToolTipCtrl m_tooltip;
};
