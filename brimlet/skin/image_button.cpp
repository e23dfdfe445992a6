// brimlet/skin/image_button.cpp
#include "brimlet/skin/image_button.h"

#include <mmsystem.h>
#include <shellapi.h>

#include <cstring>

#include "core/skin/colour.h"
#include "core/skin/image_placement.h"

IMPLEMENT_DYNAMIC(CImageButton, CButton)

BEGIN_MESSAGE_MAP(CImageButton, CButton)
    ON_WM_MOUSEMOVE()
    ON_MESSAGE(WM_MOUSELEAVE, &CImageButton::OnMouseLeave)
    ON_WM_KILLFOCUS()
    ON_WM_CANCELMODE()
    ON_WM_ACTIVATE()
    ON_WM_ENABLE()
    ON_WM_SETCURSOR()
    ON_WM_GETDLGCODE()
    ON_MESSAGE(BM_SETSTYLE, &CImageButton::OnSetStyle)
    ON_MESSAGE(BM_SETCHECK, &CImageButton::OnSetCheck)
    ON_MESSAGE(BM_GETCHECK, &CImageButton::OnGetCheck)
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_SYSCOLORCHANGE()
    ON_CONTROL_REFLECT_EX(BN_CLICKED, &CImageButton::OnClicked)
    ON_WM_MENUCHAR()
    ON_WM_MEASUREITEM()
END_MESSAGE_MAP()

namespace {

constexpr UINT kTypeBits = 0x0F;

HBITMAP AsBitmap(UINT value) { return reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(value)); }
HICON AsIcon(UINT value) { return reinterpret_cast<HICON>(static_cast<UINT_PTR>(value)); }

bool IsDerived(UINT_PTR value) { return value == CImageButton::kGreyImage || value == CImageButton::kDarkerImage; }

// The pixels of source, each not of the kept colour recoloured, in a new bitmap made by
// makeTarget(screen DC); NULL when a DC or the bitmap cannot be made.
template <class MakeTarget>
HBITMAP RecolourPixels(HBITMAP source, int width, int height, COLORREF kept, bool grey, MakeTarget makeTarget)
{
    HDC screen = ::GetDC(nullptr);
    HDC from = ::CreateCompatibleDC(screen);
    HDC to = ::CreateCompatibleDC(screen);
    HBITMAP target = from && to ? makeTarget(screen) : nullptr;
    ::ReleaseDC(nullptr, screen);
    if (target) {
        HGDIOBJ oldFrom = ::SelectObject(from, source);
        HGDIOBJ oldTo = ::SelectObject(to, target);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                COLORREF pixel = ::GetPixel(from, x, y);
                if (pixel != kept)
                    pixel = grey ? skin::GreyColour(pixel) : skin::DarkenColour(pixel, 0.25);
                ::SetPixel(to, x, y, pixel);
            }
        }
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
    }
    if (from)
        ::DeleteDC(from);
    if (to)
        ::DeleteDC(to);
    return target;
}

// A grey or darker copy of a bitmap; its transparent colour stays.
HBITMAP DeriveBitmap(HBITMAP source, int width, int height, COLORREF key, bool grey)
{
    return RecolourPixels(source, width, height, key, grey, [&](HDC screen) {
        return ::CreateCompatibleBitmap(screen, width, height);
    });
}

// A grey or darker copy of an icon: its colour bitmap recoloured (black, the transparent part of an
// icon's colour, stays), over the icon's own mask.
HICON DeriveIcon(HICON source, bool grey)
{
    ICONINFO info = {};
    if (!::GetIconInfo(source, &info))
        return nullptr;
    HICON derived = nullptr;
    const int width = static_cast<int>(info.xHotspot) * 2;
    const int height = static_cast<int>(info.yHotspot) * 2;
    BITMAP colourHeader = {};
    if (info.hbmColor && ::GetObjectA(info.hbmColor, sizeof colourHeader, &colourHeader)) {
        HBITMAP colour = RecolourPixels(info.hbmColor, width, height, RGB(0, 0, 0), grey, [&](HDC) {
            return ::CreateBitmap(width, height, colourHeader.bmPlanes, colourHeader.bmBitsPixel, nullptr);
        });
        if (colour) {
            ICONINFO made = info;
            made.hbmColor = colour;
            derived = ::CreateIconIndirect(&made);
            ::DeleteObject(colour);
        }
    }
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return derived;
}

// Copies at most size - 1 characters and the terminator; FALSE (and an empty buffer) when the text
// does not fit.
bool CopyWhole(char* buffer, size_t size, LPCSTR text)
{
    buffer[0] = '\0';
    if (!text)
        return true;
    const size_t length = std::strlen(text);
    if (length >= size)
        return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

}  // namespace

CImageButton::CImageButton() { ResetColors(FALSE); }

CImageButton::~CImageButton()
{
    if (m_deletedFlag)
        *m_deletedFlag = true;  // the drop-down menu that is open leaves the button alone
    if (m_dropDownMenu.m_hMenu)
        m_dropDownMenu.DestroyWithItems();
    ReleaseImages();
    if (m_cursor)
        ::DestroyCursor(m_cursor);
    ReleaseSnapshot();  // the bitmap is selected into the snapshot DC until then
}

// --- images

void CImageButton::ReleaseImages()
{
    for (IconImage& icon : m_icons) {
        if (icon.icon)
            ::DestroyIcon(icon.icon);
        icon = IconImage();
    }
    for (BitmapImage& bitmap : m_bitmaps) {
        if (bitmap.bitmap)
            ::DeleteObject(bitmap.bitmap);
        if (bitmap.mask)
            ::DeleteObject(bitmap.mask);
        bitmap = BitmapImage();
    }
}

DWORD CImageButton::SetIconPair(UINT hoverId, int hoverWidth, int hoverHeight, UINT normalId, int normalWidth,
                                int normalHeight)
{
    HINSTANCE module = AfxGetResourceHandle();
    HICON hover = static_cast<HICON>(
        ::LoadImageA(module, MAKEINTRESOURCEA(hoverId), IMAGE_ICON, hoverWidth, hoverHeight, 0));
    HICON normal = nullptr;
    if (IsDerived(normalId))
        normal = AsIcon(normalId);
    else if (normalId)
        normal = static_cast<HICON>(
            ::LoadImageA(module, MAKEINTRESOURCEA(normalId), IMAGE_ICON, normalWidth, normalHeight, 0));
    // An image asked for that does not load is a failure, not an empty pair.
    if (!hover || (normalId && !normal)) {
        if (hover)
            ::DestroyIcon(hover);
        if (normal && !IsDerived(normalId))
            ::DestroyIcon(normal);
        SetIconPair(static_cast<HICON>(nullptr), static_cast<HICON>(nullptr));
        return kResourceNotUsable;
    }
    return SetIconPair(hover, normal);
}

DWORD CImageButton::SetIconPair(UINT hoverId, UINT normalId) { return SetIconPair(hoverId, 0, 0, normalId, 0, 0); }

DWORD CImageButton::MeasureIcon(int index)
{
    // An icon's hotspot is its centre.
    ICONINFO info = {};
    if (!::GetIconInfo(m_icons[index].icon, &info))
        return kResourceNotUsable;
    m_icons[index].width = info.xHotspot * 2;
    m_icons[index].height = info.yHotspot * 2;
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    return kDone;
}

DWORD CImageButton::SetIconPair(HICON hover, HICON normal)
{
    ReleaseImages();
    DWORD result = kDone;
    if (hover) {
        if (normal == hover)
            normal = nullptr;  // one handle is one image: the hover icon serves both states
        m_icons[0].icon = hover;
        result = MeasureIcon(0);
        if (result != kDone && normal && !IsDerived(reinterpret_cast<UINT_PTR>(normal)))
            ::DestroyIcon(normal);  // taken over: the call failed before it was stored
        if (result == kDone && normal) {
            if (IsDerived(reinterpret_cast<UINT_PTR>(normal)))
                normal = DeriveIcon(hover, reinterpret_cast<UINT_PTR>(normal) == kGreyImage);
            m_icons[1].icon = normal;
            result = normal ? MeasureIcon(1) : kResourceNotUsable;
        }
        if (result != kDone)
            ReleaseImages();
    } else if (normal && !IsDerived(reinterpret_cast<UINT_PTR>(normal))) {
        ::DestroyIcon(normal);  // taken over
    }
    Repaint(TRUE);
    return result;
}

DWORD CImageButton::SetBitmapPair(UINT hoverId, COLORREF hoverKey, UINT normalId, COLORREF normalKey)
{
    HINSTANCE module = AfxGetResourceHandle();
    HBITMAP hover = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(hoverId), IMAGE_BITMAP, 0, 0, 0));
    HBITMAP normal = nullptr;
    if (IsDerived(normalId))
        normal = AsBitmap(normalId);
    else if (normalId)
        normal = static_cast<HBITMAP>(::LoadImageA(module, MAKEINTRESOURCEA(normalId), IMAGE_BITMAP, 0, 0, 0));
    // An image asked for that does not load is a failure, not an empty pair.
    if (!hover || (normalId && !normal)) {
        if (hover)
            ::DeleteObject(hover);
        if (normal && !IsDerived(normalId))
            ::DeleteObject(normal);
        SetBitmapPair(static_cast<HBITMAP>(nullptr), 0, static_cast<HBITMAP>(nullptr), 0);
        return kResourceNotUsable;
    }
    return SetBitmapPair(hover, hoverKey, normal, normalKey);
}

DWORD CImageButton::SetBitmapPair(HBITMAP hover, COLORREF hoverKey, HBITMAP normal, COLORREF normalKey)
{
    ReleaseImages();
    DWORD result = kDone;
    if (hover) {
        if (normal == hover)
            normal = nullptr;  // one handle is one image: the hover bitmap serves both states
        BitmapImage& first = m_bitmaps[0];
        first.bitmap = hover;
        first.key = hoverKey;
        BITMAP header = {};
        if (!::GetObjectA(hover, sizeof header, &header)) {
            result = kResourceNotUsable;
        } else {
            first.width = header.bmWidth;
            first.height = header.bmHeight;
            // Derived before the mask blackens the hover bitmap's transparent pixels.
            if (IsDerived(reinterpret_cast<UINT_PTR>(normal))) {
                normal = DeriveBitmap(hover, header.bmWidth, header.bmHeight, hoverKey,
                                      reinterpret_cast<UINT_PTR>(normal) == kGreyImage);
                normalKey = hoverKey;
            }
            first.mask = BuildMask(hover, first.width, first.height, hoverKey);
            if (!first.mask)
                result = kMaskNotCreated;
        }
        if (result == kDone && normal) {
            BitmapImage& second = m_bitmaps[1];
            second.bitmap = normal;
            second.key = normalKey;
            if (!::GetObjectA(normal, sizeof header, &header)) {
                result = kResourceNotUsable;
            } else {
                second.width = header.bmWidth;
                second.height = header.bmHeight;
                second.mask = BuildMask(normal, second.width, second.height, normalKey);
                if (!second.mask)
                    result = kMaskNotCreated;
            }
        } else if (normal && !IsDerived(reinterpret_cast<UINT_PTR>(normal))) {
            ::DeleteObject(normal);  // taken over: the call failed before it was stored
        }
        if (result != kDone)
            ReleaseImages();
    } else if (normal && !IsDerived(reinterpret_cast<UINT_PTR>(normal))) {
        ::DeleteObject(normal);
    }
    Repaint(TRUE);
    return result;
}

HBITMAP CImageButton::BuildMask(HBITMAP bitmap, DWORD width, DWORD height, COLORREF key)
{
    HBITMAP mask = ::CreateBitmap(static_cast<int>(width), static_cast<int>(height), 1, 1, nullptr);
    if (!mask)
        return nullptr;
    HDC bitmapDC = ::CreateCompatibleDC(nullptr);
    HDC maskDC = ::CreateCompatibleDC(nullptr);
    if (!bitmapDC || !maskDC) {
        if (bitmapDC)
            ::DeleteDC(bitmapDC);
        if (maskDC)
            ::DeleteDC(maskDC);
        ::DeleteObject(mask);
        return nullptr;
    }
    HGDIOBJ oldBitmap = ::SelectObject(bitmapDC, bitmap);
    HGDIOBJ oldMask = ::SelectObject(maskDC, mask);
    // Colour to monochrome: pixels of the background colour become 1.
    ::SetBkColor(bitmapDC, key);
    ::BitBlt(maskDC, 0, 0, width, height, bitmapDC, 0, 0, SRCCOPY);
    // Monochrome to colour: 1 is the background colour (black), 0 the text colour (white).
    ::SetTextColor(bitmapDC, RGB(255, 255, 255));
    ::SetBkColor(bitmapDC, RGB(0, 0, 0));
    ::BitBlt(bitmapDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
    ::SelectObject(bitmapDC, oldBitmap);
    ::SelectObject(maskDC, oldMask);
    ::DeleteDC(bitmapDC);
    ::DeleteDC(maskDC);
    return mask;
}

COLORREF CImageButton::DarkenColour(COLORREF colour, double factor) { return skin::DarkenColour(colour, factor); }

void CImageButton::FitToImage()
{
    DWORD width = 0, height = 0;
    if (m_icons[0].icon) {
        width = m_icons[0].width;
        height = m_icons[0].height;
    } else if (m_bitmaps[0].bitmap) {
        width = m_bitmaps[0].width;
        height = m_bitmaps[0].height;
    } else {
        return;
    }
    m_imageOrigin = CPoint(0, 0);
    SetWindowPos(nullptr, 0, 0, static_cast<int>(width), static_cast<int>(height),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

// --- look and behaviour

void CImageButton::Repaint(BOOL repaint)
{
    if (repaint && m_hWnd)
        Invalidate();
}

DWORD CImageButton::SetFlatStyle(BOOL flat, BOOL repaint)
{
    m_flat = flat;
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetImageAlignment(BYTE alignment, BOOL repaint)
{
    if (alignment > kImageUnderCaption)
        return kAlignmentTooLarge;
    m_alignment = alignment;
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetPressedShift(BYTE style, BOOL repaint)
{
    switch (style) {
    case 0:
        m_pressedShift = CPoint(1, 1);
        break;
    case 1:
        m_pressedShift = CPoint(0, 2);
        break;
    default:
        return kPressedStyleUnknown;
    }
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetCheckState(int state, BOOL repaint)
{
    if (m_checkBox) {
        m_checkState = state != 0 ? 1 : 0;
        Repaint(repaint);
    }
    return kDone;
}

DWORD CImageButton::ResetColors(BOOL repaint)
{
    for (BYTE index : {kBackgroundActive, kBackgroundNormal, kBackgroundFocused})
        m_faceColours[index] = ::GetSysColor(COLOR_BTNFACE);
    for (BYTE index : {kTextActive, kTextNormal, kTextFocused})
        m_faceColours[index] = ::GetSysColor(COLOR_BTNTEXT);
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetFaceColor(BYTE index, COLORREF colour)
{
    if (index >= kFaceColourCount)
        return kColourIndexTooLarge;
    m_faceColours[index] = colour;
    return kDone;
}

DWORD CImageButton::GetFaceColor(BYTE index, COLORREF* colour) const
{
    if (index >= kFaceColourCount)
        return kColourIndexTooLarge;
    if (!colour)
        return kArgumentNotUsable;
    *colour = m_faceColours[index];
    return kDone;
}

DWORD CImageButton::ShiftFaceColor(BYTE index, short offset, BOOL repaint)
{
    if (index >= kFaceColourCount)
        return kColourIndexTooLarge;
    if (offset < -255 || offset > 255)
        return kArgumentNotUsable;
    m_faceColours[index] = skin::ShiftColour(m_faceColours[index], offset);
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetHoverWhenInactive(BOOL hoverWhenInactive)
{
    m_hoverWhenInactive = hoverWhenInactive;
    return kDone;
}

DWORD CImageButton::SetHoverCursor(int cursorId, BOOL repaint)
{
    if (m_cursor) {
        ::DestroyCursor(m_cursor);
        m_cursor = nullptr;
    }
    if (cursorId) {
        m_cursor = static_cast<HCURSOR>(
            ::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(cursorId), IMAGE_CURSOR, 0, 0, 0));
        if (!m_cursor)
            return kResourceNotUsable;
    }
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetBorderDrawing(BOOL drawBorder, BOOL repaint)
{
    m_drawBorder = drawBorder;
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::SetFocusOnFlat(BOOL focusOnFlat, BOOL repaint)
{
    m_focusOnFlat = focusOnFlat;
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::UseParentBackground(BOOL repaint)
{
    m_parentBackground = TRUE;
    ReleaseSnapshot();
    Repaint(repaint);
    return kDone;
}

DWORD CImageButton::TakeBackgroundFrom(CDC* dc)
{
    if (!m_parentBackground || !dc || !dc->m_hDC)
        return kArgumentNotUsable;
    ReleaseSnapshot();
    TakeSnapshot(dc);
    return kDone;
}

DWORD CImageButton::SetLinkTarget(LPCSTR target)
{
    return CopyWhole(m_linkTarget, sizeof m_linkTarget, target) ? kDone : kArgumentNotUsable;
}

DWORD CImageButton::SetTipText(int stringId, BOOL activate)
{
    CString text;
    if (text.LoadString(static_cast<UINT>(stringId)) && !text.IsEmpty())
        SetTipText(text, activate);
    return kDone;
}

DWORD CImageButton::SetTipText(LPCSTR text, BOOL activate)
{
    if (!text)
        return kDone;
    EnsureTip();
    if (m_tooltip.GetToolCount() == 0) {
        CRect client;
        GetClientRect(&client);
        // No TTF_SUBCLASS: PreTranslateMessage relays the button's mouse messages itself.
        m_tooltip.AddTool(this, text, &client, kTipToolId);
    }
    m_tooltip.UpdateTipText(text, this, kTipToolId);
    m_tooltip.Activate(activate);
    return kDone;
}

DWORD CImageButton::ActivateTip(BOOL activate)
{
    if (m_tooltip.m_hWnd && m_tooltip.GetToolCount() > 0)
        m_tooltip.Activate(activate);
    return kDone;
}

DWORD CImageButton::UseBalloonTip()
{
    m_tooltipStyle |= TTS_BALLOON;
    return kDone;
}

void CImageButton::EnsureTip()
{
    if (m_tooltip.m_hWnd || !m_hWnd)
        return;
    m_tooltip.Create(this, m_tooltipStyle);
    m_tooltip.Activate(FALSE);
    m_tooltip.SetMaxTipWidth(kTipMaxWidth);
}

DWORD CImageButton::SetButtonSound(LPCSTR sound, HMODULE module, BOOL onClick, BOOL asynchronous)
{
    Sound& slot = m_sounds[onClick ? 1 : 0];
    slot = Sound();
    if (!sound)
        return kDone;
    if (module) {
        slot.sound = sound;  // a resource name of the module (or its number)
    } else {
        if (!CopyWhole(slot.path, sizeof slot.path, sound))
            return kArgumentNotUsable;
        slot.sound = slot.path;
    }
    slot.module = module;
    slot.flags = SND_NODEFAULT | SND_NOWAIT | (module ? SND_RESOURCE : SND_FILENAME) | (asynchronous ? SND_ASYNC : 0);
    return kDone;
}

void CImageButton::PlaySlot(int slot) const
{
    const Sound& sound = m_sounds[slot];
    if (sound.sound)
        ::PlaySoundA(sound.sound, sound.module, sound.flags);  // a sound that does not play is left out
}

// --- the drop-down menu

DWORD CImageButton::AttachDropDownMenu(UINT menuId, HWND target, BOOL xpLook, UINT toolbarId, SIZE imageSize,
                                       COLORREF toolbarMask, BOOL repaint)
{
    if (m_dropDownMenu.m_hMenu)
        m_dropDownMenu.DestroyWithItems();
    m_menuTarget = nullptr;
    m_menuShown = FALSE;
    DWORD result = kDone;
    if (menuId != 0) {
        const int drawMode = xpLook ? 1 : 0;
        OrvelMenu::SetDrawModes(drawMode, drawMode);
        if (!m_dropDownMenu.LoadMenuResource(menuId)) {
            result = kResourceNotUsable;
        } else if (toolbarId != 0) {
            m_dropDownMenu.SetMaskColour(toolbarMask);
            m_dropDownMenu.SetIconSize(imageSize.cx, imageSize.cy);
            if (!m_dropDownMenu.LoadToolbarImages(toolbarId)) {
                m_dropDownMenu.DestroyWithItems();
                result = kResourceNotUsable;
            }
        }
        if (result == kDone)
            m_menuTarget = target;
    }
    Repaint(repaint);
    return result;
}

DWORD CImageButton::SetMenuNotify(HWND window, UINT message, LPARAM lParam)
{
    m_menuNotify.window = window;
    m_menuNotify.message = message;
    m_menuNotify.lParam = lParam;
    return kDone;
}

// Tells whether the button was deleted while the code it ran (the menu's owner, the menu's own
// loop) had control; watches nest.
class CImageButton::DeletionWatch
{
public:
    explicit DeletionWatch(CImageButton* button) : m_button(button), m_outer(button->m_deletedFlag)
    {
        button->m_deletedFlag = &m_deleted;
    }
    ~DeletionWatch()
    {
        if (!m_deleted)
            m_button->m_deletedFlag = m_outer;
        else if (m_outer)
            *m_outer = true;
    }
    bool Deleted() const { return m_deleted; }

private:
    CImageButton* m_button;
    bool* m_outer;
    bool m_deleted = false;
};

BOOL CImageButton::ShowDropDownMenu()
{
    if (!m_dropDownMenu.m_hMenu)
        return FALSE;
    CRect window;
    GetWindowRect(&window);
    m_menuShown = TRUE;
    Invalidate();
    DeletionWatch watch(this);
    // A template without a popup at its first position has nothing to open.
    CMenu* popup = m_dropDownMenu.GetSubMenuAt(0);
    if (popup && m_menuNotify.window) {
        ::SendMessageA(m_menuNotify.window, m_menuNotify.message, reinterpret_cast<WPARAM>(popup),
                       m_menuNotify.lParam);
        // The owner may have attached another menu, removed it or deleted the button: the popup
        // is taken again, and nothing of a deleted button is touched.
        if (watch.Deleted())
            return TRUE;
        popup = m_dropDownMenu.GetSubMenuAt(0);
    }
    UINT command = 0;
    if (popup && ::IsWindow(m_hWnd))
        command = static_cast<UINT>(::TrackPopupMenu(*popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD,
                                                     window.left, window.bottom, 0, m_hWnd, nullptr));
    if (watch.Deleted())
        return TRUE;
    m_menuShown = FALSE;
    // Of a window the owner destroyed nothing is left to repaint; a null window would mean the
    // whole desktop.
    if (::IsWindow(m_hWnd))
        Invalidate();
    if (command != 0 && m_menuTarget)
        ::PostMessageA(m_menuTarget, WM_COMMAND, command & 0xFFFF, 0);
    return TRUE;
}

LRESULT CImageButton::OnMenuChar(UINT character, UINT flags, CMenu* menu)
{
    if (OrvelMenu::IsRegisteredPopup(menu))
        return OrvelMenu::HandleMenuChar(character, flags, menu);
    return CButton::OnMenuChar(character, flags, menu);
}

void CImageButton::OnMeasureItem(int id, LPMEASUREITEMSTRUCT item)
{
    // An item that opens a submenu comes with the submenu's handle as its id.
    const HMENU submenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item->itemID));
    if (item->CtlType == ODT_MENU && ::IsMenu(submenu) && OrvelMenu::IsRegisteredPopup(submenu)) {
        m_dropDownMenu.MeasureItem(item);
        return;
    }
    CButton::OnMeasureItem(id, item);
}

// --- hooks and messages

void CImageButton::PreSubclassWindow()
{
    const UINT style = GetStyle();
    m_typeStyle = style & kTypeBits;
    if (m_typeStyle & BS_CHECKBOX)
        m_checkBox = TRUE;
    if (m_typeStyle == BS_DEFPUSHBUTTON) {
        m_defaultButton = TRUE;
        m_typeStyle = BS_PUSHBUTTON;
    }
    ModifyStyle(kTypeBits, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

BOOL CImageButton::PreTranslateMessage(MSG* msg)
{
    EnsureTip();
    if (m_tooltip.m_hWnd)
        m_tooltip.RelayEvent(msg);
    // A double click is two clicks.
    if (msg->message == WM_LBUTTONDBLCLK)
        msg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(msg);
}

void CImageButton::OnMouseMove(UINT flags, CPoint point)
{
    CButton::OnMouseMove(flags, point);
    ClientToScreen(&point);
    HWND under = ::WindowFromPoint(point);
    if (((flags & MK_LBUTTON) && !m_hovering) || !m_flat)
        return;
    HWND reference = m_hoverWhenInactive ? m_hWnd : ::GetActiveWindow();
    if (under == m_hWnd && reference) {
        if (!m_hovering) {
            m_hovering = TRUE;
            Invalidate();
            PlaySlot(0);
            TRACKMOUSEEVENT track = {};
            track.cbSize = sizeof track;
            track.dwFlags = TME_LEAVE;
            track.hwndTrack = m_hWnd;
            ::_TrackMouseEvent(&track);
        }
    } else {
        EndHover();
    }
}

LRESULT CImageButton::OnMouseLeave(WPARAM, LPARAM)
{
    EndHover();
    return 0;
}

void CImageButton::EndHover()
{
    if (!m_flat || !m_hovering)
        return;
    m_hovering = FALSE;
    Invalidate();
}

void CImageButton::OnKillFocus(CWnd* next)
{
    CButton::OnKillFocus(next);
    EndHover();
}

void CImageButton::OnCancelMode()
{
    CButton::OnCancelMode();
    EndHover();
}

void CImageButton::OnActivate(UINT state, CWnd* other, BOOL minimized)
{
    CButton::OnActivate(state, other, minimized);
    if (state == WA_INACTIVE)
        EndHover();
}

void CImageButton::OnEnable(BOOL enable)
{
    CButton::OnEnable(enable);
    // A disabled button cannot keep the focus: it goes to the next tab item. Only the button's
    // own focus moves (Windows has taken it away already); another control keeps its focus.
    HWND focus = ::GetFocus();
    if (!enable && (!focus || focus == m_hWnd)) {
        if (CWnd* parent = GetParent()) {
            CWnd* next = parent->GetNextDlgTabItem(this);
            if (next && next->m_hWnd != m_hWnd)
                next->SetFocus();
            else
                parent->SetFocus();
        }
    }
    if (!enable)
        EndHover();
}

BOOL CImageButton::OnSetCursor(CWnd* window, UINT hitTest, UINT message)
{
    if (m_cursor) {
        ::SetCursor(m_cursor);
        return TRUE;
    }
    return CButton::OnSetCursor(window, hitTest, message);
}

UINT CImageButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    return code | (m_defaultButton ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT CImageButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    // The dialog manager moves the default state with BM_SETSTYLE; the button stays owner-drawn.
    const UINT type = static_cast<UINT>(wParam) & kTypeBits;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        m_defaultButton = type == BS_DEFPUSHBUTTON;
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(kTypeBits)) | BS_OWNERDRAW, lParam);
}

LRESULT CImageButton::OnSetCheck(WPARAM wParam, LPARAM)
{
    SetCheckState(wParam == BST_CHECKED || wParam == BST_INDETERMINATE ? 1 : 0, TRUE);
    return 0;
}

LRESULT CImageButton::OnGetCheck(WPARAM, LPARAM) { return GetCheckState(); }

HBRUSH CImageButton::CtlColor(CDC*, UINT) { return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH)); }

void CImageButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    ReleaseSnapshot();
    ResetColors(TRUE);
}

BOOL CImageButton::OnClicked()
{
    SetFocus();
    PlaySlot(1);
    if (m_checkBox) {
        m_checkState = m_checkState ? 0 : 1;
        Invalidate();
    } else if (ShowDropDownMenu()) {
        // the menu's command went to its target; the link is not opened
    } else if (m_linkTarget[0]) {
        SHELLEXECUTEINFOA execute = {};
        execute.cbSize = sizeof execute;
        execute.fMask = SEE_MASK_FLAG_NO_UI;
        execute.lpVerb = "open";
        execute.lpFile = m_linkTarget;
        execute.nShow = SW_SHOWMAXIMIZED;
        ::ShellExecuteExA(&execute);  // a link that does not open is left alone
    }
    return FALSE;  // the parent gets BN_CLICKED as well
}

// --- the parent's picture under the face

void CImageButton::TakeSnapshot(CDC* source)
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    CRect client;
    GetClientRect(&client);
    CRect window;
    GetWindowRect(&window);
    parent->ScreenToClient(&window);
    if (!m_backgroundDC.CreateCompatibleDC(source))
        return;
    if (!m_backgroundBitmap.CreateCompatibleBitmap(source, client.Width(), client.Height())) {
        m_backgroundDC.DeleteDC();
        return;
    }
    m_previousBitmap = m_backgroundDC.SelectObject(&m_backgroundBitmap);
    m_backgroundDC.BitBlt(0, 0, client.Width(), client.Height(), source, window.left, window.top, SRCCOPY);
}

void CImageButton::ReleaseSnapshot()
{
    if (m_backgroundDC.m_hDC && m_previousBitmap)
        m_backgroundDC.SelectObject(m_previousBitmap);
    m_previousBitmap = nullptr;
    m_backgroundDC.DeleteDC();
    m_backgroundBitmap.DeleteObject();
}

// --- drawing

int CImageButton::ImageIndex(bool hasNormalImage) const
{
    const bool active = m_checkBox ? m_pressed != FALSE : (m_pressed || m_hovering);
    return active ? 0 : (hasNormalImage ? 1 : 0);
}

void CImageButton::PlaceImage(BOOL hasCaption, const RECT* item, RECT* caption, BOOL pressed, DWORD width,
                              DWORD height, RECT* image) const
{
    skin::PlacementInput input;
    input.alignment = m_alignment;
    input.hasCaption = hasCaption != FALSE;
    input.pressed = pressed != FALSE;
    input.checkBox = m_checkBox != FALSE;
    input.item = {item->left, item->top, item->right, item->bottom};
    input.caption = {caption->left, caption->top, caption->right, caption->bottom};
    input.origin = {m_imageOrigin.x, m_imageOrigin.y};
    input.pressedShift = {m_pressedShift.x, m_pressedShift.y};
    input.imageWidth = static_cast<int>(width);
    input.imageHeight = static_cast<int>(height);
    const skin::ImagePlacement placed = skin::PlaceImage(input);
    *image = {placed.image.left, placed.image.top, placed.image.right, placed.image.bottom};
    *caption = {placed.caption.left, placed.caption.top, placed.caption.right, placed.caption.bottom};
}

void CImageButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    CDC* dc = CDC::FromHandle(item->hDC);
    if (m_checkBox)
        m_pressed = (item->itemState & ODS_SELECTED) || m_checkState;
    else
        m_pressed = (item->itemState & ODS_SELECTED) || m_menuShown;
    m_focused = (item->itemState & ODS_FOCUS) != 0;
    m_disabled = (item->itemState & ODS_DISABLED) != 0;

    CRect itemRect = item->rcItem;
    dc->SetBkMode(TRANSPARENT);
    if (m_parentBackground) {
        if (!m_backgroundDC.m_hDC) {
            if (CWnd* parent = GetParent()) {
                CClientDC parentDC(parent);
                TakeSnapshot(&parentDC);
            }
        }
        if (m_backgroundDC.m_hDC) {
            CRect client;
            GetClientRect(&client);
            dc->BitBlt(0, 0, client.Width(), client.Height(), &m_backgroundDC, 0, 0, SRCCOPY);
        }
    } else {
        PaintBackground(dc, &itemRect);
    }
    PaintBorder(dc, &itemRect);

    CString caption;
    GetWindowText(caption);
    CRect captionRect = item->rcItem;
    const BOOL hasCaption = !caption.IsEmpty();
    if (m_icons[0].icon) {
        PaintIcon(dc, hasCaption, &item->rcItem, &captionRect, m_pressed, m_disabled);
    } else if (m_bitmaps[0].bitmap) {
        // White is what the mask's set bits become when it is ANDed onto the face.
        dc->SetBkColor(RGB(255, 255, 255));
        dc->SetTextColor(RGB(0, 0, 0));
        PaintBitmap(dc, hasCaption, &item->rcItem, &captionRect, m_pressed, m_disabled);
    }
    if (hasCaption)
        PaintCaption(dc, caption, &item->rcItem, &captionRect, m_pressed, m_disabled);

    if (m_focused && (!m_flat || m_focusOnFlat)) {
        CRect focus = item->rcItem;
        focus.DeflateRect(3, 3);
        dc->DrawFocusRect(&focus);
    }
}

void CImageButton::PaintBackground(CDC* dc, CRect* rect)
{
    if (!m_flat && (m_focused || m_defaultButton)) {
        CBrush black(RGB(0, 0, 0));
        dc->FrameRect(rect, &black);
        rect->DeflateRect(1, 1);
    }
    BYTE index = (m_hovering || m_pressed) ? kBackgroundActive : m_focused ? kBackgroundFocused : kBackgroundNormal;
    CBrush fill(m_faceColours[index]);
    dc->FillRect(rect, &fill);
}

void CImageButton::PaintBorder(CDC* dc, CRect* rect)
{
    const CRect& r = *rect;
    if (m_pressed) {
        if (m_flat) {
            if (m_drawBorder)
                dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHILIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            dc->FrameRect(rect, &shadow);
        }
        return;
    }
    if (m_flat) {
        if (m_hovering && m_drawBorder)
            dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNHILIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    CPen highlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHILIGHT));
    CPen light(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
    CPen darkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    CPen shadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    CPen* old = dc->SelectObject(&highlight);
    dc->MoveTo(r.left, r.bottom - 1);
    dc->LineTo(r.left, r.top);
    dc->LineTo(r.right, r.top);
    dc->SelectObject(&light);
    dc->MoveTo(r.left + 1, r.bottom - 1);
    dc->LineTo(r.left + 1, r.top + 1);
    dc->LineTo(r.right, r.top + 1);
    dc->SelectObject(&darkShadow);
    dc->MoveTo(r.left, r.bottom - 1);
    dc->LineTo(r.right - 1, r.bottom - 1);
    dc->LineTo(r.right - 1, r.top - 1);
    dc->SelectObject(&shadow);
    dc->MoveTo(r.left + 1, r.bottom - 2);
    dc->LineTo(r.right - 2, r.bottom - 2);
    dc->LineTo(r.right - 2, r.top);
    dc->SelectObject(old);
}

void CImageButton::PaintIcon(CDC* dc, BOOL hasCaption, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    const IconImage& icon = m_icons[ImageIndex(m_icons[1].icon != nullptr)];
    RECT image;
    PlaceImage(hasCaption, item, caption, pressed, icon.width, icon.height, &image);
    ::DrawStateA(dc->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.icon), 0, image.left, image.top,
                 image.right - image.left, image.bottom - image.top, DST_ICON | (disabled ? DSS_DISABLED : 0));
}

void CImageButton::PaintBitmap(CDC* dc, BOOL hasCaption, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    const BitmapImage& bitmap = m_bitmaps[ImageIndex(m_bitmaps[1].bitmap != nullptr)];
    RECT image;
    PlaceImage(hasCaption, item, caption, pressed, bitmap.width, bitmap.height, &image);
    const int width = static_cast<int>(bitmap.width);
    const int height = static_cast<int>(bitmap.height);

    CDC bitmapDC, maskDC;
    if (!bitmapDC.CreateCompatibleDC(dc) || !maskDC.CreateCompatibleDC(dc))
        return;
    HGDIOBJ oldBitmap = bitmapDC.SelectObject(static_cast<HGDIOBJ>(bitmap.bitmap));
    HGDIOBJ oldMask = maskDC.SelectObject(static_cast<HGDIOBJ>(bitmap.mask));
    if (disabled && m_showDisabledBitmap) {
        // The picture on white, embossed by DrawState.
        CDC scratchDC;
        CBitmap scratch;
        if (scratchDC.CreateCompatibleDC(dc) && scratch.CreateCompatibleBitmap(dc, width, height)) {
            CBitmap* oldScratch = scratchDC.SelectObject(&scratch);
            scratchDC.PatBlt(0, 0, width, height, WHITENESS);
            scratchDC.SetBkColor(RGB(255, 255, 255));
            scratchDC.SetTextColor(RGB(0, 0, 0));
            scratchDC.BitBlt(0, 0, width, height, &maskDC, 0, 0, SRCAND);
            scratchDC.BitBlt(0, 0, width, height, &bitmapDC, 0, 0, SRCPAINT);
            scratchDC.SelectObject(oldScratch);
            ::DrawStateA(dc->m_hDC, nullptr, nullptr, reinterpret_cast<LPARAM>(static_cast<HBITMAP>(scratch)), 0,
                         image.left, image.top, width, height, DST_BITMAP | DSS_DISABLED);
        }
    } else {
        dc->BitBlt(image.left, image.top, width, height, &maskDC, 0, 0, SRCAND);
        dc->BitBlt(image.left, image.top, width, height, &bitmapDC, 0, 0, SRCPAINT);
    }
    bitmapDC.SelectObject(oldBitmap);
    maskDC.SelectObject(oldMask);
}

void CImageButton::PaintCaption(CDC* dc, LPCSTR text, RECT* item, RECT* caption, BOOL pressed, BOOL disabled)
{
    CRect place = *caption;
    if (pressed && !m_checkBox)
        place.OffsetRect(m_pressedShift.x, m_pressedShift.y);
    CRect measured = place;
    dc->DrawText(text, -1, &measured, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    measured.OffsetRect((place.Width() - measured.Width()) / 2, (place.Height() - measured.Height()) / 2);
    dc->SetBkMode(TRANSPARENT);
    if (disabled) {
        measured.OffsetRect(1, 1);
        dc->SetTextColor(::GetSysColor(COLOR_3DHILIGHT));
        dc->DrawText(text, -1, &measured, DT_WORDBREAK | DT_CENTER);
        measured.OffsetRect(-1, -1);
        dc->SetTextColor(::GetSysColor(COLOR_3DSHADOW));
        dc->DrawText(text, -1, &measured, DT_WORDBREAK | DT_CENTER);
        return;
    }
    BYTE textIndex = kTextNormal;
    BYTE backgroundIndex = kBackgroundNormal;
    if (m_hovering || m_pressed) {
        textIndex = kTextActive;
        backgroundIndex = kBackgroundActive;
    } else if (m_focused) {
        textIndex = kTextFocused;
        backgroundIndex = kBackgroundFocused;
    }
    dc->SetTextColor(m_faceColours[textIndex]);
    dc->SetBkColor(m_faceColours[backgroundIndex]);
    dc->DrawText(text, -1, &measured, DT_WORDBREAK | DT_CENTER);
}
