// brimlet/skin/bitmap_slider.h
// CBitmapSlider: a slider drawn from bitmaps over a static control of a dialog template. A channel
// (track) bitmap, optionally an active channel for the part before the position, optionally a
// thumb and an active thumb shown while it is dragged; each group may key out a colour through a
// monochrome mask. Without a thumb it is a bar whose left (or top) part up to the position shows
// the active channel. Drags and navigation keys are posted to the parent as WM_SLIDER_MOVING and
// WM_SLIDER_MOVED (wParam the control's id, lParam the new position).
#pragma once

#include "platform/dialogs/dialogs.h"

constexpr UINT WM_SLIDER_MOVING = 0x28D1;
constexpr UINT WM_SLIDER_MOVED = 0x28D2;

class CBitmapSlider : public CStatic
{
    DECLARE_DYNAMIC(CBitmapSlider)
public:
    CBitmapSlider() = default;
    ~CBitmapSlider() override;

    // Loads the channel bitmaps from the resource module and sizes the control to the channel.
    // Channel id 0 removes the channel (TRUE); active id 0 means none. With transparent, pixels of
    // transparentColor (0xFF000000: the colour of the channel's pixel (pixelX, pixelY)) show what
    // lies under the control. FALSE when a bitmap does not load: the group then draws nothing.
    BOOL SetBitmapChannel(UINT channelId, UINT activeId, BOOL transparent, COLORREF transparentColor,
                          int pixelX, int pixelY);
    // The same for the thumb; the control keeps its size.
    BOOL SetBitmapThumb(UINT thumbId, UINT activeId, BOOL transparent, COLORREF transparentColor, int pixelX,
                        int pixelY);

    void SetRangeMin(int minimum, BOOL redraw = FALSE);
    void SetRangeMax(int maximum, BOOL redraw = FALSE);
    // Does not move the position into the new range; the next SetPos does.
    void SetRange(int minimum, int maximum, BOOL redraw = FALSE);
    void SetPos(int position);
    int SetPageSize(int size);
    // Insets of the thumb's travel inside the channel; note the order left, top, right, bottom.
    void SetMargin(int left, int top, int right, int bottom);
    void SetMarginTop(int top);
    void SetVertical(BOOL vertical);
    // A disabled slider ignores mouse and keys and draws only its normal channel.
    void Enable(BOOL enable = TRUE);
    void SetFocusRectDrawing(BOOL draw, BOOL redraw = FALSE);

protected:
    DECLARE_MESSAGE_MAP()
    int OnCreate(LPCREATESTRUCTA cs);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnCaptureChanged(CWnd* window);
    UINT OnGetDlgCode();
    void OnKeyDown(UINT key, UINT repeat, UINT flags);
    void OnSetFocus(CWnd* old);
    void OnKillFocus(CWnd* next);
    void OnDestroy();

    // The thumb centre's pixel along the travel axis, and the position a centre pixel stands for.
    int PositionToPixel(int position) const;
    int PixelToPosition(int pixel) const;
    // The drag step of a mouse move: the thumb centre follows the point, the parent hears of it.
    void DragThumbTo(CPoint point);
    void NotifyParent(UINT message);
    void Redraw();
    void DeleteChannelBitmaps();
    // The thumb's images only: what was saved under the old thumb still covers it at the next
    // paint, whatever the thumb is then.
    void DeleteThumbBitmaps();
    void DeleteBackgroundUnderThumb();
    // Loads one bitmap group; FALSE releases the whole group.
    BOOL LoadGroup(UINT id, UINT activeId, BOOL transparent, COLORREF transparentColor, int pixelX, int pixelY,
                   CBitmap& image, CBitmap& mask, CBitmap& activeImage, CBitmap& activeMask, BOOL& hasActive);
    // Makes the mask of the image: 1 where the image has the transparent colour, which becomes black
    // in the image itself, so that an AND of the mask and an OR of the image draw it keyed.
    static BOOL BuildMask(CBitmap& image, CBitmap& mask, COLORREF transparentColor, int pixelX, int pixelY);
    static void DrawBitmap(CDC* dc, int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                           CBitmap& mask, BOOL transparent);

    int m_maximum = 100;
    int m_minimum = 0;
    int m_position = 0;
    int m_pageSize = 5;
    CRect m_clientRect;
    int m_channelWidth = 0;
    int m_channelHeight = 0;
    int m_thumbWidth = 0;
    int m_thumbHeight = 0;
    int m_marginLeft = 0;
    int m_marginRight = 0;
    int m_marginTop = 0;
    int m_marginBottom = 0;
    int m_savedThumbX = -1;
    int m_savedThumbY = -1;
    int m_dragOffset = 0;
    BOOL m_vertical = FALSE;
    BOOL m_hasActiveChannel = FALSE;
    BOOL m_hasActiveThumb = FALSE;
    BOOL m_transparentChannel = FALSE;
    BOOL m_transparentThumb = FALSE;
    BOOL m_hasThumb = FALSE;
    BOOL m_hasChannel = FALSE;
    BOOL m_dragging = FALSE;
    BOOL m_focused = FALSE;
    BOOL m_focusRectShown = FALSE;
    BOOL m_drawFocusRect = TRUE;
    BOOL m_enabled = TRUE;
    CBitmap m_channel;
    CBitmap m_channelMask;
    CBitmap m_activeChannel;
    CBitmap m_activeChannelMask;
    CBitmap m_thumb;
    CBitmap m_thumbMask;
    CBitmap m_activeThumb;
    CBitmap m_activeThumbMask;
    CBitmap m_backgroundUnderThumb;
};
