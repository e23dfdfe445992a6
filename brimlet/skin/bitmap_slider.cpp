// brimlet/skin/bitmap_slider.cpp
#include "brimlet/skin/bitmap_slider.h"

#include "brimlet/skin/buffer_dc.h"
#include "core/chart/slider_geometry.h"

#include <climits>

namespace {

// The colour argument that stands for "the colour of the image's pixel at (x, y)".
constexpr COLORREF kColorOfPixel = 0xFF000000;

// A key step from the position; SetPos brings it into the range, so it only must not wrap.
int Step(int position, long long delta)
{
    const long long target = position + delta;
    if (target > INT_MAX)
        return INT_MAX;
    if (target < INT_MIN)
        return INT_MIN;
    return static_cast<int>(target);
}

}  // namespace

IMPLEMENT_DYNAMIC(CBitmapSlider, CStatic)

BEGIN_MESSAGE_MAP(CBitmapSlider, CStatic)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CAPTURECHANGED()
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CBitmapSlider::~CBitmapSlider()
{
    DeleteThumbBitmaps();
    DeleteBackgroundUnderThumb();
    DeleteChannelBitmaps();
}

// --- bitmaps

BOOL CBitmapSlider::BuildMask(CBitmap& image, CBitmap& mask, COLORREF transparentColor, int pixelX, int pixelY)
{
    BITMAP info = {};
    if (!image.GetBitmap(&info))
        return FALSE;
    mask.DeleteObject();
    if (!mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr))
        return FALSE;
    CDC imageDc;
    CDC maskDc;
    if (!imageDc.CreateCompatibleDC(nullptr) || !maskDc.CreateCompatibleDC(nullptr))
        return FALSE;
    CBitmap* oldImage = imageDc.SelectObject(&image);
    CBitmap* oldMask = maskDc.SelectObject(&mask);
    const COLORREF key = transparentColor == kColorOfPixel ? imageDc.GetPixel(pixelX, pixelY) : transparentColor;
    const COLORREF oldBackground = imageDc.SetBkColor(key);
    // Colour to monochrome: the background colour's pixels become 1.
    maskDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &imageDc, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 becomes the background (black), 0 the text colour (white).
    const COLORREF oldText = imageDc.SetTextColor(RGB(255, 255, 255));
    imageDc.SetBkColor(RGB(0, 0, 0));
    imageDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &maskDc, 0, 0, SRCAND);
    imageDc.SetTextColor(oldText);
    imageDc.SetBkColor(oldBackground);
    maskDc.SelectObject(oldMask);
    imageDc.SelectObject(oldImage);
    return TRUE;
}

void CBitmapSlider::DrawBitmap(CDC* dc, int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                               CBitmap& mask, BOOL transparent)
{
    if (width <= 0 || height <= 0)
        return;
    if (!transparent) {
        dc->BitBlt(x, y, width, height, source, sourceX, sourceY, SRCCOPY);
        return;
    }
    CDC maskDc;
    if (!maskDc.CreateCompatibleDC(dc))
        return;
    CBitmap* oldMask = maskDc.SelectObject(&mask);
    // The mask's 1 bits must keep the destination: white background, black text.
    const COLORREF oldBackground = dc->SetBkColor(RGB(255, 255, 255));
    const COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    dc->BitBlt(x, y, width, height, &maskDc, sourceX, sourceY, SRCAND);
    dc->BitBlt(x, y, width, height, source, sourceX, sourceY, SRCPAINT);
    dc->SetTextColor(oldText);
    dc->SetBkColor(oldBackground);
    maskDc.SelectObject(oldMask);
}

BOOL CBitmapSlider::LoadGroup(UINT id, UINT activeId, BOOL transparent, COLORREF transparentColor, int pixelX,
                              int pixelY, CBitmap& image, CBitmap& mask, CBitmap& activeImage, CBitmap& activeMask,
                              BOOL& hasActive)
{
    image.DeleteObject();
    if (!image.LoadBitmap(id))
        return FALSE;
    if (transparent && !BuildMask(image, mask, transparentColor, pixelX, pixelY))
        return FALSE;
    if (activeId == 0) {
        hasActive = FALSE;
        return TRUE;
    }
    activeImage.DeleteObject();
    if (!activeImage.LoadBitmap(activeId))
        return FALSE;
    if (transparent && !BuildMask(activeImage, activeMask, transparentColor, pixelX, pixelY))
        return FALSE;
    hasActive = TRUE;
    return TRUE;
}

BOOL CBitmapSlider::SetBitmapChannel(UINT channelId, UINT activeId, BOOL transparent, COLORREF transparentColor,
                                     int pixelX, int pixelY)
{
    if (channelId == 0) {
        m_hasChannel = FALSE;
        DeleteChannelBitmaps();
        return TRUE;
    }
    if (!LoadGroup(channelId, activeId, transparent, transparentColor, pixelX, pixelY, m_channel, m_channelMask,
                   m_activeChannel, m_activeChannelMask, m_hasActiveChannel)) {
        // Nothing of the group stays half loaded, and nothing of it is drawn.
        m_hasChannel = FALSE;
        m_hasActiveChannel = FALSE;
        DeleteChannelBitmaps();
        return FALSE;
    }
    BITMAP info = {};
    m_channel.GetBitmap(&info);
    m_channelWidth = info.bmWidth;
    m_channelHeight = info.bmHeight;
    if (m_hWnd) {
        SetWindowPos(nullptr, 0, 0, m_channelWidth, m_channelHeight, SWP_NOZORDER | SWP_NOMOVE);
        GetClientRect(m_clientRect);
    }
    m_transparentChannel = transparent;
    m_hasChannel = TRUE;
    return TRUE;
}

BOOL CBitmapSlider::SetBitmapThumb(UINT thumbId, UINT activeId, BOOL transparent, COLORREF transparentColor,
                                   int pixelX, int pixelY)
{
    if (thumbId == 0) {
        m_hasThumb = FALSE;
        DeleteThumbBitmaps();
        return TRUE;
    }
    if (!LoadGroup(thumbId, activeId, transparent, transparentColor, pixelX, pixelY, m_thumb, m_thumbMask,
                   m_activeThumb, m_activeThumbMask, m_hasActiveThumb)) {
        m_hasThumb = FALSE;
        m_hasActiveThumb = FALSE;
        DeleteThumbBitmaps();
        return FALSE;
    }
    BITMAP info = {};
    m_thumb.GetBitmap(&info);
    m_thumbWidth = info.bmWidth;
    m_thumbHeight = info.bmHeight;
    if (!m_hasChannel && m_hWnd) {
        GetClientRect(m_clientRect);
        m_channelWidth = m_clientRect.Width();
        m_channelHeight = m_clientRect.Height();
    }
    m_transparentThumb = transparent;
    m_hasThumb = TRUE;
    return TRUE;
}

void CBitmapSlider::DeleteChannelBitmaps()
{
    m_channel.DeleteObject();
    m_channelMask.DeleteObject();
    m_activeChannel.DeleteObject();
    m_activeChannelMask.DeleteObject();
}

void CBitmapSlider::DeleteThumbBitmaps()
{
    m_thumb.DeleteObject();
    m_thumbMask.DeleteObject();
    m_activeThumb.DeleteObject();
    m_activeThumbMask.DeleteObject();
}

void CBitmapSlider::DeleteBackgroundUnderThumb()
{
    m_backgroundUnderThumb.DeleteObject();
    m_savedThumbX = -1;
}

// --- setters

void CBitmapSlider::Redraw()
{
    // A window handle of NULL would invalidate every window of the desktop.
    if (m_hWnd)
        Invalidate(TRUE);
}

void CBitmapSlider::SetRangeMin(int minimum, BOOL redraw)
{
    m_minimum = minimum;
    if (redraw)
        Redraw();
}

void CBitmapSlider::SetRangeMax(int maximum, BOOL redraw)
{
    m_maximum = maximum;
    if (redraw)
        Redraw();
}

void CBitmapSlider::SetRange(int minimum, int maximum, BOOL redraw)
{
    SetRangeMin(minimum, FALSE);
    SetRangeMax(maximum, redraw);
}

void CBitmapSlider::SetPos(int position)
{
    m_position = chart::ClampSliderPosition(position, {m_minimum, m_maximum});
    Redraw();
}

int CBitmapSlider::SetPageSize(int size)
{
    const int previous = m_pageSize;
    m_pageSize = size;
    return previous;
}

void CBitmapSlider::SetMargin(int left, int top, int right, int bottom)
{
    m_marginLeft = left;
    m_marginTop = top;
    m_marginRight = right;
    m_marginBottom = bottom;
}

void CBitmapSlider::SetMarginTop(int top) { m_marginTop = top; }

void CBitmapSlider::SetVertical(BOOL vertical) { m_vertical = vertical; }

void CBitmapSlider::Enable(BOOL enable)
{
    m_enabled = enable;
    if (!m_enabled && m_dragging) {
        m_dragging = FALSE;
        ::ReleaseCapture();
    }
    Redraw();
}

void CBitmapSlider::SetFocusRectDrawing(BOOL draw, BOOL redraw)
{
    m_drawFocusRect = draw;
    if (redraw)
        Redraw();
}

// --- conversions

int CBitmapSlider::PositionToPixel(int position) const
{
    const chart::SliderAxis axis = m_vertical
        ? chart::SliderAxis{m_channelHeight, m_marginTop, m_marginBottom, m_thumbHeight}
        : chart::SliderAxis{m_channelWidth, m_marginLeft, m_marginRight, m_thumbWidth};
    return chart::PositionToPixel(axis, {m_minimum, m_maximum}, position);
}

int CBitmapSlider::PixelToPosition(int pixel) const
{
    const chart::SliderAxis axis = m_vertical
        ? chart::SliderAxis{m_channelHeight, m_marginTop, m_marginBottom, m_thumbHeight}
        : chart::SliderAxis{m_channelWidth, m_marginLeft, m_marginRight, m_thumbWidth};
    return chart::PixelToPosition(axis, {m_minimum, m_maximum}, pixel);
}

// --- messages

int CBitmapSlider::OnCreate(LPCREATESTRUCTA cs) { return CStatic::OnCreate(cs); }

BOOL CBitmapSlider::OnEraseBkgnd(CDC*)
{
    return TRUE;  // the paint covers what it draws; the rest shows what lies under the control
}

void CBitmapSlider::OnPaint()
{
    CPaintDC paintDc(this);
    CBufferDC dc(&paintDc, m_clientRect, m_transparentChannel);
    CDC source;
    source.CreateCompatibleDC(&dc);

    // The focus rectangle is an XOR: drawing it again takes it off what shows through.
    if (m_focusRectShown && (m_transparentChannel || !m_hasChannel)) {
        dc.DrawFocusRect(m_clientRect);
        m_focusRectShown = FALSE;
    }

    // What lay under the thumb at the last paint covers the thumb that the copied background still
    // shows; before the channel, so that the channel drawn now is what stays there.
    // The saved area keeps the size of the thumb it was saved for, which a new thumb may not have.
    BITMAP saved = {};
    if (m_savedThumbX != -1 && m_backgroundUnderThumb.GetBitmap(&saved)) {
        CBitmap* oldBitmap = source.SelectObject(&m_backgroundUnderThumb);
        dc.BitBlt(m_savedThumbX, m_savedThumbY, saved.bmWidth, saved.bmHeight, &source, 0, 0, SRCCOPY);
        source.SelectObject(oldBitmap);
    }
    m_savedThumbX = -1;

    const int pixel = PositionToPixel(m_position);
    if (m_hasChannel) {
        CBitmap* oldBitmap = source.SelectObject(&m_channel);
        if (m_hasActiveChannel && m_enabled) {
            if (m_vertical) {
                const int split = chart::ChannelSplit(m_channelHeight, pixel);
                DrawBitmap(&dc, 0, split, m_channelWidth, m_channelHeight - split, &source, 0, split, m_channelMask,
                           m_transparentChannel);
                source.SelectObject(&m_activeChannel);
                DrawBitmap(&dc, 0, 0, m_channelWidth, split, &source, 0, 0, m_activeChannelMask,
                           m_transparentChannel);
            } else {
                const int split = chart::ChannelSplit(m_channelWidth, pixel);
                DrawBitmap(&dc, split, 0, m_channelWidth - split, m_channelHeight, &source, split, 0, m_channelMask,
                           m_transparentChannel);
                source.SelectObject(&m_activeChannel);
                DrawBitmap(&dc, 0, 0, split, m_channelHeight, &source, 0, 0, m_activeChannelMask,
                           m_transparentChannel);
            }
        } else {
            DrawBitmap(&dc, 0, 0, m_channelWidth, m_channelHeight, &source, 0, 0, m_channelMask,
                       m_transparentChannel);
        }
        source.SelectObject(oldBitmap);
    }

    if (m_hasThumb && m_enabled) {
        const bool active = m_hasActiveThumb && m_dragging;
        CBitmap& image = active ? m_activeThumb : m_thumb;
        CBitmap& mask = active ? m_activeThumbMask : m_thumbMask;
        const int x = m_vertical ? m_marginLeft : pixel - m_thumbWidth / 2;
        const int y = m_vertical ? pixel - m_thumbHeight / 2 : m_marginTop;
        if (m_transparentChannel || !m_hasChannel) {
            m_backgroundUnderThumb.DeleteObject();
            if (m_backgroundUnderThumb.CreateCompatibleBitmap(&dc, m_thumbWidth, m_thumbHeight)) {
                CBitmap* oldBitmap = source.SelectObject(&m_backgroundUnderThumb);
                source.BitBlt(0, 0, m_thumbWidth, m_thumbHeight, &dc, x, y, SRCCOPY);
                source.SelectObject(oldBitmap);
                m_savedThumbX = x;
                m_savedThumbY = y;
            }
        }
        CBitmap* oldBitmap = source.SelectObject(&image);
        DrawBitmap(&dc, x, y, m_thumbWidth, m_thumbHeight, &source, 0, 0, mask, m_transparentThumb);
        source.SelectObject(oldBitmap);
    }

    if (m_drawFocusRect && m_focused && m_enabled) {
        dc.DrawFocusRect(m_clientRect);
        m_focusRectShown = TRUE;
    }
}

void CBitmapSlider::OnLButtonDown(UINT flags, CPoint point)
{
    if (!m_enabled)
        return;
    SetCapture();
    SetFocus();
    m_dragging = TRUE;
    const int centre = PositionToPixel(m_position);
    m_dragOffset = m_vertical ? chart::DragOffset(point.y, centre, m_thumbHeight)
                              : chart::DragOffset(point.x, centre, m_thumbWidth);
    DragThumbTo(point);
    Redraw();
    CStatic::OnLButtonDown(flags, point);
}

void CBitmapSlider::DragThumbTo(CPoint point)
{
    int centre;
    if (m_vertical) {
        centre = chart::ClampThumbCentre({m_channelHeight, m_marginTop, m_marginBottom, m_thumbHeight},
                                         point.y - m_dragOffset, chart::BoundLast::Lower);
    } else {
        centre = chart::ClampThumbCentre({m_channelWidth, m_marginLeft, m_marginRight, m_thumbWidth},
                                         point.x - m_dragOffset, chart::BoundLast::Upper);
    }
    SetPos(PixelToPosition(centre));
    NotifyParent(WM_SLIDER_MOVING);
}

void CBitmapSlider::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_enabled || !m_dragging)
        return;
    DragThumbTo(point);
    CStatic::OnMouseMove(flags, point);
}

void CBitmapSlider::OnLButtonUp(UINT flags, CPoint point)
{
    if (!m_enabled)
        return;
    ::ReleaseCapture();
    m_dragging = FALSE;
    Redraw();
    NotifyParent(WM_SLIDER_MOVED);
    CStatic::OnLButtonUp(flags, point);
}

// A drag lives as long as the capture: once another window takes it (a message box, a menu,
// Alt+Tab), no button-up comes here, and the thumb would follow the pointer at the next move over
// the control.
void CBitmapSlider::OnCaptureChanged(CWnd* window)
{
    if (m_dragging && (!window || window->m_hWnd != m_hWnd)) {
        m_dragging = FALSE;
        Redraw();
    }
    CStatic::OnCaptureChanged(window);
}

UINT CBitmapSlider::OnGetDlgCode()
{
    if (::GetKeyState(VK_TAB) < 0)
        return CStatic::OnGetDlgCode();
    return DLGC_WANTALLKEYS;
}

void CBitmapSlider::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (!m_enabled)
        return;
    int target;
    switch (key) {
    case VK_PRIOR:
        target = Step(m_position, -static_cast<long long>(m_pageSize));
        break;
    case VK_NEXT:
        target = Step(m_position, m_pageSize);
        break;
    case VK_END:
        target = m_maximum;
        break;
    case VK_HOME:
        target = m_minimum;
        break;
    case VK_LEFT:
    case VK_UP:
        target = Step(m_position, -1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        target = Step(m_position, 1);
        break;
    default:
        CStatic::OnKeyDown(key, repeat, flags);
        return;
    }
    SetPos(target);
    NotifyParent(WM_SLIDER_MOVED);
    CStatic::OnKeyDown(key, repeat, flags);
}

void CBitmapSlider::OnSetFocus(CWnd* old)
{
    CStatic::OnSetFocus(old);
    m_focused = TRUE;
    Redraw();
}

void CBitmapSlider::OnKillFocus(CWnd* next)
{
    CStatic::OnKillFocus(next);
    m_focused = FALSE;
    Redraw();
}

void CBitmapSlider::OnDestroy()
{
    CStatic::OnDestroy();
    DeleteThumbBitmaps();
    DeleteBackgroundUnderThumb();
    DeleteChannelBitmaps();
}

void CBitmapSlider::NotifyParent(UINT message)
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageA(parent, message, static_cast<WPARAM>(GetDlgCtrlID()), static_cast<LPARAM>(m_position));
}
