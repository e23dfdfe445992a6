// brimlet/skin/menu_drawing.cpp
// How OrvelMenu measures and paints its items: the classic and the XP look, check marks and
// radio bullets drawn by hand, the two greying routines for disabled images, and the buffer DC
// the XP look paints greyed items into. Every pen, brush, font and bitmap is made per call.
#include "brimlet/skin/orvel_menu.h"

#include <algorithm>
#include <optional>
#include <string>

#include "brimlet/skin/menu_system_colours.h"
#include "core/menu/colours.h"
#include "core/menu/item_layout.h"
#include "core/menu/look.h"

namespace {

constexpr DWORD kMaskPaintRop = 0x00E20746;  // D xor ((D xor P) and S): the brush where the mask is set
constexpr DWORD kDibMaskPaintRop = 0x00B8074A;  // P xor (S and (D xor P)): the brush where the mask is clear

LOGFONTA MenuLogFont()
{
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = 340;  // without the padded border of Vista, which older systems refuse
    if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
        ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof metrics.lfMenuFont, &metrics.lfMenuFont);
    return metrics.lfMenuFont;
}

RECT ToRect(const menu::Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
menu::Rect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

std::string Ansi(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    std::string ansi(static_cast<size_t>(std::max(length, 0)), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), ansi.data(), length, nullptr,
                          nullptr);
    return ansi;
}

void Fill(CDC* dc, const RECT& rect, COLORREF colour) { dc->FillSolidRect(&rect, colour); }
void Frame(CDC* dc, const RECT& rect, COLORREF colour) { dc->Draw3dRect(&rect, colour, colour); }

// The item DC of a DRAWITEMSTRUCT, handed back untouched.
class ItemDC : public CDC
{
public:
    explicit ItemDC(HDC dc) { Attach(dc); }
    ~ItemDC() override { Detach(); }
};

// Which image an item shows and how.
struct ImageChoice {
    int source = -1;
    int index = -1;
    CImageList* list = nullptr;
    bool useCheckImage = false;
    bool hasImage = false;
    bool selectedImage = false;
    bool disabledImage = false;
    bool raised = false;  // XP look: drawn with a shadow, faded while not selected
    int faded = -1;
    int shadow = -1;

    bool AnyImage() const { return useCheckImage || hasImage; }
};

ImageChoice ChooseImage(const MenuItemData& record, UINT state, bool xpLook, int checkBitmapId,
                        int checkSelectedBitmapId)
{
    ImageChoice choice;
    choice.source = record.imageSource;
    choice.index = record.ownImageIndex;
    choice.list = record.ownImages;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool greyed = (state & ODS_GRAYED) != 0;
    bool shared = false;
    if (choice.source < 0 && record.sharedImageIndex >= 0 && (!xpLook || record.ownImageIndex < 0)) {
        choice.source = 0;
        choice.index = record.sharedImageIndex;
        choice.list = OrvelMenu::SharedImages();
        shared = true;
    }
    if ((state & ODS_CHECKED) && choice.source < 0 &&
        (checkBitmapId > 0 || (selected && checkSelectedBitmapId > 0))) {
        choice.useCheckImage = true;
    } else if (choice.source != -1) {
        choice.hasImage = true;
        choice.selectedImage = selected && !greyed;
        choice.disabledImage = greyed;
    }
    if (xpLook) {
        if (!shared && record.ownImageIndex == 0 && record.ownImages && record.ownImages->m_hImageList &&
            record.ownImages->GetImageCount() > 2) {
            choice.raised = true;
            choice.faded = 1;
            choice.shadow = 2;
        } else if (shared && OrvelMenu::HasShadedVariants(record.sharedImageIndex)) {
            choice.raised = true;
            choice.faded = record.sharedImageIndex + 1;
            choice.shadow = record.sharedImageIndex + 2;
        }
    }
    if (choice.list && !choice.list->m_hImageList)
        choice.list = nullptr;  // a missing list only leaves the image out
    return choice;
}

void DrawImage(CDC* dc, CImageList* list, int index, int x, int y)
{
    if (list && list->m_hImageList && index >= 0)
        ImageList_Draw(*list, index, *dc, x, y, ILD_TRANSPARENT);
}

// The checked-state bitmap the item carries, as radio items set it.
HBITMAP CheckedBitmap(HMENU menu, UINT commandId)
{
    MENUITEMINFOA info = {};
    info.cbSize = offsetof(MENUITEMINFOA, hbmpItem);
    info.fMask = MIIM_CHECKMARKS;
    return ::GetMenuItemInfoA(menu, commandId, FALSE, &info) ? info.hbmpChecked : nullptr;
}

// Draws the label and the shortcut (after a tab) into the text rectangle, background left alone.
void DrawLabel(CDC* dc, const std::wstring& text, RECT rect, COLORREF colour)
{
    const auto parts = menu::SplitAtTab<wchar_t>(text);
    const COLORREF oldColour = dc->SetTextColor(colour);
    const std::string label = Ansi(parts.label);
    dc->DrawText(label.c_str(), static_cast<int>(label.size()), &rect, DT_SINGLELINE | DT_VCENTER);
    if (parts.hasTab) {
        const std::string shortcut = Ansi(parts.shortcut);
        dc->DrawText(shortcut.c_str(), static_cast<int>(shortcut.size()), &rect,
                     DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
    dc->SetTextColor(oldColour);
}

}  // namespace

// --- measuring

void OrvelMenu::MeasureItem(LPMEASUREITEMSTRUCT item)
{
    if (!item || item->CtlType != ODT_MENU || !item->itemData)
        return;
    const auto* record = reinterpret_cast<const MenuItemData*>(item->itemData);
    const bool xp = UsesXpStyle() != FALSE;
    const int menuBarHeight = ::GetSystemMetrics(SM_CYMENU);
    menu::ItemSize size;
    if (record->flags & MF_SEPARATOR) {
        size = menu::MeasureSeparator(xp, m_iconHeight, menuBarHeight);
    } else {
        const LOGFONTA logFont = MenuLogFont();
        HFONT font = ::CreateFontIndirectA(&logFont);
        const HWND window = AfxGetMainWnd() && AfxGetMainWnd()->GetSafeHwnd() ? AfxGetMainWnd()->GetSafeHwnd()
                                                                               : ::GetDesktopWindow();
        HDC dc = ::GetDC(window);
        HGDIOBJ oldFont = HasModernShell() && font ? ::SelectObject(dc, font) : nullptr;
        int width = 0;
        if (WinVersionCode() != 0) {
            SIZE extent = {};
            ::GetTextExtentPoint32W(dc, record->text.c_str(), static_cast<int>(record->text.size()), &extent);
            width = extent.cx;
        } else {
            const std::string text = Ansi(record->text);
            RECT rect = {0, 0, 0, 0};
            ::DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                        DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
            width = menu::Win32sTextWidth(rect.right - rect.left, static_cast<unsigned>(record->text.size()));
        }
        if (oldFont)
            ::SelectObject(dc, oldFont);
        ::ReleaseDC(window, dc);
        if (font)
            ::DeleteObject(font);
        size = menu::MeasureItem(xp, width, m_iconWidth, m_iconHeight, menuBarHeight);
    }
    item->itemWidth = static_cast<UINT>(size.width);
    item->itemHeight = static_cast<UINT>(size.height);
}

// --- painting

void OrvelMenu::DrawItem(LPDRAWITEMSTRUCT item)
{
    // Only our own records: an item with other data is not ours to paint.
    if (!item || item->CtlType != ODT_MENU || !OwnsRecord(reinterpret_cast<MenuItemData*>(item->itemData)))
        return;
    if ((::GetDeviceCaps(item->hDC, RASTERCAPS) & RC_PALETTE) || CurrentDrawMode() != menu::kXpDrawMode)
        DrawClassicItem(item);
    else
        DrawXpItem(item);
}

void OrvelMenu::DrawClassicItem(LPDRAWITEMSTRUCT item)
{
    const auto* record = reinterpret_cast<const MenuItemData*>(item->itemData);
    ItemDC dc(item->hDC);
    const RECT r = item->rcItem;
    const menu::SystemColours system = ReadMenuSystemColours();
    const COLORREF bg = menu::MenuBackground(system, IsXpThemed() != FALSE);

    if (record->flags & MF_SEPARATOR) {
        Fill(&dc, r, bg);
        RECT line = r;
        line.top += (r.bottom - r.top) / 2;
        dc.DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }

    // In the classic look a greyed item may be shown selected.
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    const bool greyed = (item->itemState & ODS_GRAYED) != 0;
    const bool checked = (item->itemState & ODS_CHECKED) != 0;
    const ImageChoice image = ChooseImage(*record, item->itemState, false, m_checkBitmapId, m_checkSelectedBitmapId);
    const auto parts = menu::SplitAtTab<wchar_t>(record->text);
    const menu::ClassicLayout layout = menu::LayoutClassicItem(FromRect(r), m_iconWidth, m_iconHeight, parts.hasTab);
    const RECT cell = ToRect(layout.imageCell);
    const RECT frame = ToRect(layout.imageFrame);
    const int x = layout.imageOrigin.x;
    const int y = layout.imageOrigin.y;
    const bool modern = HasModernShell() != FALSE;
    const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);

    COLORREF textColour = ::GetSysColor(COLOR_MENUTEXT);
    if (selected) {
        const RECT lit = (image.AnyImage() || checked) ? ToRect(layout.highlightBesideImage) : r;
        Fill(&dc, lit, ::GetSysColor(COLOR_HIGHLIGHT));
        textColour = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    } else {
        Fill(&dc, r, bg);
        Frame(&dc, r, bg);
    }

    if (image.AnyImage()) {
        Frame(&dc, cell, bg);
        if (image.useCheckImage && HasCheckImages()) {
            Fill(&dc, cell, bg);
            Frame(&dc, frame, bg);
            DrawImage(&dc, m_checkImages, selected ? 1 : 0, x, y);
        } else if (image.disabledImage) {
            Frame(&dc, frame, bg);
            CBitmap rendered;
            if (image.list && RenderImageToBitmap(&dc, image.list, image.index, rendered)) {
                if (m_ditherWithDib)
                    GreyBlitDib(dc, x, y, m_iconWidth, m_iconHeight, rendered, 0, 0, bg);
                else
                    GreyBlit(&dc, x, y, m_iconWidth, m_iconHeight, &rendered, 0, 0, bg);
            }
        } else if (image.selectedImage) {
            Fill(&dc, cell, bg);
            if (modern) {
                if (checked)
                    dc.Draw3dRect(&frame, shadow, highlight);
                else
                    dc.Draw3dRect(&frame, highlight, shadow);
            }
            DrawImage(&dc, image.list, image.index, x, y);
        } else {
            if (checked) {
                Fill(&dc, cell, menu::BlendTowardWhite(bg, 0.6));
                if (modern)
                    dc.Draw3dRect(&frame, shadow, highlight);
            } else {
                Fill(&dc, cell, bg);
                Frame(&dc, frame, bg);
            }
            DrawImage(&dc, image.list, image.index, x, y);
        }
    }

    if (checked && !image.AnyImage())
        DrawClassicCheck(&dc, ToRect(layout.checkBox), selected, CheckedBitmap(reinterpret_cast<HMENU>(item->hwndItem), item->itemID));

    if (!record->text.empty()) {
        const int oldMode = dc.SetBkMode(TRANSPARENT);
        RECT text = ToRect(layout.text);
        if (!greyed) {
            DrawLabel(&dc, record->text, text, textColour);
        } else if (!selected) {
            RECT raised = text;
            ::OffsetRect(&raised, 1, 1);
            DrawLabel(&dc, record->text, raised, highlight);
            DrawLabel(&dc, record->text, text, ::GetSysColor(COLOR_GRAYTEXT));
        } else {
            DrawLabel(&dc, record->text, text, bg);
        }
        dc.SetBkMode(oldMode);
    }
}

void OrvelMenu::DrawXpItem(LPDRAWITEMSTRUCT item)
{
    const auto* record = reinterpret_cast<const MenuItemData*>(item->itemData);
    ItemDC itemDc(item->hDC);
    const RECT r = item->rcItem;
    const menu::XpColours colours = menu::XpPalette(ReadMenuSystemColours(), IsXpThemed() != FALSE);

    // In the XP look a greyed item is never shown selected; it is painted off-screen.
    const bool greyed = (item->itemState & ODS_GRAYED) != 0;
    const UINT state = greyed ? (item->itemState & ~ODS_SELECTED) : item->itemState;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = (state & ODS_CHECKED) != 0;

    std::optional<CMenuBufferDC> buffer;
    CFont menuFont;
    CFont* oldFont = nullptr;
    CDC* dc = &itemDc;
    if (greyed) {
        buffer.emplace(&itemDc, r);
        const LOGFONTA logFont = MenuLogFont();
        if (menuFont.CreateFontIndirect(&logFont))
            oldFont = buffer->SelectObject(&menuFont);
        dc = &*buffer;
    }
    struct RestoreFont {
        CDC*& dc;
        CFont*& font;
        ~RestoreFont()
        {
            if (font)
                dc->SelectObject(font);
        }
    } restoreFont{dc, oldFont};

    const auto parts = menu::SplitAtTab<wchar_t>(record->text);
    const menu::XpLayout layout = menu::LayoutXpItem(FromRect(r), m_iconWidth, m_iconHeight, parts.hasTab);
    const RECT column = ToRect(layout.column);

    if (record->flags & MF_SEPARATOR) {
        Fill(dc, r, colours.window);
        Fill(dc, column, colours.column);
        Frame(dc, column, colours.column);
        RECT line = ToRect(layout.separatorLine);
        dc->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        return;
    }

    const ImageChoice image = ChooseImage(*record, state, true, m_checkBitmapId, m_checkSelectedBitmapId);
    if (selected) {
        Fill(dc, r, colours.light);
        Frame(dc, r, colours.highlight);
    } else {
        Fill(dc, r, colours.window);
        Fill(dc, column, colours.column);
        Frame(dc, r, colours.window);
        Frame(dc, column, colours.column);
    }

    const RECT cell = ToRect(layout.imageCell);
    int x = layout.imageOrigin.x;
    int y = layout.imageOrigin.y;
    if (image.AnyImage()) {
        if (image.useCheckImage && HasCheckImages()) {
            Fill(dc, cell, colours.column);
            DrawImage(dc, m_checkImages, selected ? 1 : 0, x, y);
        } else if (image.disabledImage) {
            CBitmap rendered;
            if (image.list && RenderImageToBitmap(dc, image.list, image.index, rendered)) {
                if (m_ditherWithDib)
                    GreyBlitDib(*dc, x, y, m_iconWidth, m_iconHeight, rendered, 0, 0, colours.column);
                else
                    GreyBlit(dc, x, y, m_iconWidth, m_iconHeight, &rendered, 0, 0, colours.column);
            }
        } else if (image.selectedImage) {
            Fill(dc, cell, colours.light);
            if (checked) {
                Frame(dc, cell, colours.highlight);
                --x;
                --y;
            }
            if (image.raised && !checked) {
                DrawImage(dc, image.list, image.shadow, x + 1, y + 1);
                DrawImage(dc, image.list, image.index, x - 1, y - 1);
            } else {
                DrawImage(dc, image.list, image.index, x, y);
            }
        } else if (checked) {
            Fill(dc, cell, colours.checkedCell);
            Frame(dc, cell, colours.highlight);
            DrawImage(dc, image.list, image.index, x - 1, y - 1);
        } else {
            Fill(dc, cell, colours.column);
            Frame(dc, cell, colours.column);
            DrawImage(dc, image.list, image.raised ? image.faded : image.index, x, y);
        }
    }

    if (checked && !image.AnyImage())
        DrawXpCheck(dc, ToRect(layout.checkBox), CheckedBitmap(reinterpret_cast<HMENU>(item->hwndItem), item->itemID),
                    colours.highlight);

    if (!record->text.empty()) {
        const int oldMode = dc->SetBkMode(TRANSPARENT);
        DrawLabel(dc, record->text, ToRect(layout.text), greyed ? colours.grayText : ::GetSysColor(COLOR_MENUTEXT));
        dc->SetBkMode(oldMode);
    }
}

// --- check marks

void OrvelMenu::DrawClassicCheck(CDC* dc, const RECT& box, BOOL selected, HBITMAP checkedBitmap)
{
    Fill(dc, box, menu::ClassicCheckFill(ReadMenuSystemColours(), IsXpThemed() != FALSE, selected != FALSE));
    if (HasModernShell()) {
        RECT edge = box;
        dc->DrawEdge(&edge, BDR_SUNKENOUTER, BF_RECT);
    }
    const COLORREF colour = ::GetSysColor(COLOR_MENUTEXT);
    if (checkedBitmap)
        DrawRadioBullet(dc, box.left + 5, box.top + 4, colour);
    else
        DrawCheckGlyph(dc, box.left + 4, box.top + 4, colour);
}

void OrvelMenu::DrawXpCheck(CDC* dc, const RECT& box, HBITMAP checkedBitmap, COLORREF frameColour)
{
    Fill(dc, box, menu::BlendTowardWhite(frameColour, 0.85));
    Frame(dc, box, frameColour);
    const COLORREF colour = ::GetSysColor(COLOR_MENUTEXT);
    if (checkedBitmap)
        DrawRadioBullet(dc, box.left + 5, box.top + 4, colour);
    else
        DrawCheckGlyph(dc, box.left + 5, box.top + 4, colour);
}

void OrvelMenu::DrawCheckGlyph(CDC* dc, int x, int y, COLORREF colour)
{
    // Seven strokes, each leaving its end pixel out: a tick three pixels thick.
    static const struct { int dx, top, bottom; } kStrokes[] = {
        {0, 2, 5}, {1, 3, 6}, {2, 4, 7}, {3, 3, 6}, {4, 2, 5}, {5, 1, 4}, {6, 0, 3},
    };
    CPen pen(PS_SOLID, 0, colour);
    CPen* oldPen = dc->SelectObject(&pen);
    for (const auto& stroke : kStrokes) {
        dc->MoveTo(x + stroke.dx, y + stroke.top);
        dc->LineTo(x + stroke.dx, y + stroke.bottom);
    }
    dc->SelectObject(oldPen);
}

void OrvelMenu::DrawRadioBullet(CDC* dc, int x, int y, COLORREF colour)
{
    CPen pen(PS_SOLID, 0, colour);
    CBrush brush(colour);
    CPen* oldPen = dc->SelectObject(&pen);
    CBrush* oldBrush = dc->SelectObject(&brush);
    dc->Ellipse(x, y, x + 6, y + 6);
    dc->SelectObject(oldBrush);
    dc->SelectObject(oldPen);
}

// --- greying

void OrvelMenu::GreyBlit(CDC* dc, int x, int y, int width, int height, CBitmap* bitmap, int sourceX, int sourceY,
                         COLORREF backgroundColour)
{
    if (!dc || !bitmap || !bitmap->m_hObject || width <= 0 || height <= 0)
        return;
    CDC source;
    CDC maskDc;
    CBitmap mask;
    if (!source.CreateCompatibleDC(dc) || !maskDc.CreateCompatibleDC(dc) ||
        !mask.CreateBitmap(width, height, 1, 1, nullptr))
        return;
    CBitmap* oldSource = source.SelectObject(bitmap);
    CBitmap* oldMask = maskDc.SelectObject(&mask);

    // The mask: white where the image shows the button face or the highlight, black elsewhere.
    maskDc.PatBlt(0, 0, width, height, WHITENESS);
    source.SetBkColor(::GetSysColor(COLOR_BTNFACE));
    maskDc.BitBlt(0, 0, width, height, &source, sourceX, sourceY, SRCCOPY);
    source.SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
    maskDc.BitBlt(0, 0, width, height, &source, sourceX, sourceY, SRCPAINT);

    // The image's dark parts once in the highlight colour one pixel down and right, then in the
    // shadow colour over them: an embossed image on the background.
    BITMAP info = {};
    bitmap->GetBitmap(&info);
    source.FillSolidRect(0, 0, info.bmWidth, info.bmHeight, backgroundColour);
    source.SetBkColor(RGB(0, 0, 0));
    source.SetTextColor(RGB(255, 255, 255));
    CBrush highlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
    CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
    CBrush* oldBrush = source.SelectObject(&highlight);
    source.BitBlt(sourceX, sourceY, width, height, &maskDc, 0, 0, kMaskPaintRop);
    dc->BitBlt(x + 1, y + 1, width, height, &source, sourceX, sourceY, SRCCOPY);
    source.BitBlt(sourceX + 1, sourceY + 1, width, height, &maskDc, 0, 0, kMaskPaintRop);
    source.SelectObject(&shadow);
    source.BitBlt(sourceX, sourceY, width, height, &maskDc, 0, 0, kMaskPaintRop);
    dc->BitBlt(x, y, width, height, &source, sourceX, sourceY, SRCCOPY);

    source.SelectObject(oldBrush);
    maskDc.SelectObject(oldMask);
    source.SelectObject(oldSource);
}

void OrvelMenu::GreyBlitDib(HDC dc, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                            COLORREF backgroundColour)
{
    if (!dc || !bitmap || width <= 0 || height <= 0)
        return;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[2];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = 1;
    info.header.biCompression = BI_RGB;
    info.colours[1] = {255, 255, 255, 0};
    void* bits = nullptr;
    HBITMAP mask = ::CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC maskDc = ::CreateCompatibleDC(dc);
    HDC source = ::CreateCompatibleDC(dc);
    if (mask && maskDc && source) {
        HGDIOBJ oldMask = ::SelectObject(maskDc, mask);
        HGDIOBJ oldSource = ::SelectObject(source, bitmap);
        ::BitBlt(maskDc, 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
        ::SelectObject(source, oldSource);

        const RECT target = {x, y, x + width, y + height};
        HBRUSH background = ::CreateSolidBrush(backgroundColour);
        ::FillRect(dc, &target, background);
        ::DeleteObject(background);

        HBRUSH highlight = ::CreateSolidBrush(::GetSysColor(COLOR_BTNHIGHLIGHT));
        HBRUSH shadow = ::CreateSolidBrush(::GetSysColor(COLOR_BTNSHADOW));
        HGDIOBJ oldBrush = ::SelectObject(dc, highlight);
        ::BitBlt(dc, x + 1, y + 1, width, height, maskDc, 0, 0, kDibMaskPaintRop);
        ::SelectObject(dc, shadow);
        ::BitBlt(dc, x, y, width, height, maskDc, 0, 0, kDibMaskPaintRop);
        ::SelectObject(dc, oldBrush);
        ::DeleteObject(highlight);
        ::DeleteObject(shadow);
        ::SelectObject(maskDc, oldMask);
    }
    if (source)
        ::DeleteDC(source);
    if (maskDc)
        ::DeleteDC(maskDc);
    if (mask)
        ::DeleteObject(mask);
}

// --- CMenuBufferDC

IMPLEMENT_DYNAMIC(CMenuBufferDC, CDC)

CMenuBufferDC::CMenuBufferDC(CDC* target, const RECT& rect) : m_target(target), m_rect(rect)
{
    const bool printing = ::GetDeviceCaps(*target, TECHNOLOGY) == DT_RASPRINTER;
    if (!printing && CreateCompatibleDC(target)) {
        if (m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height())) {
            m_oldBitmap = SelectObject(&m_bitmap);
            SetWindowOrg(m_rect.left, m_rect.top);
            m_buffering = TRUE;
            return;
        }
        DeleteDC();
    }
    // Over a printer, or without memory for the picture: draw on the target itself.
    Attach(target->m_hDC);
}

CMenuBufferDC::~CMenuBufferDC()
{
    if (!m_buffering) {
        Detach();
        return;
    }
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
    SelectObject(m_oldBitmap);
    // The bitmap goes with the member, the DC with the base.
}
