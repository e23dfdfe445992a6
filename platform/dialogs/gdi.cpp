// platform/dialogs/gdi.cpp
#include "platform/dialogs/gdi.h"
#include "platform/dialogs/internal.h"

#include <cstdint>
#include <cstring>
#include <span>

#include "core/menu/resources.h"

#include "platform/dialogs/app.h"
#include "platform/dialogs/handle_map.h"
#include "platform/dialogs/wnd.h"

using dialogs::GdiFromHandle;
using dialogs::HandleMap;

namespace {

using GdiMap = HandleMap<CGdiObject, HGDIOBJ>;
using DcMap = HandleMap<CDC, HDC>;

}  // namespace

namespace dialogs {

// A typed non-owning wrapper: permanent owners are found through the shared map first.
template <class T>
T* GdiFromHandle(HGDIOBJ handle)
{
    if (!handle)
        return nullptr;
    if (CGdiObject* owner = GdiMap::Instance().LookupPermanent(handle)) {
        if (T* typed = dynamic_cast<T*>(owner))
            return typed;
    }
    return static_cast<T*>(HandleMap<T, HGDIOBJ>::Instance().Lookup(handle, [](HGDIOBJ h) {
        T* wrapper = new T;
        wrapper->m_hObject = h;
        wrapper->m_temporary = true;
        return wrapper;
    }));
}

}  // namespace dialogs

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNAMIC(CImageList, CObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle) { return GdiFromHandle<CGdiObject>(handle); }
CPen* CPen::FromHandle(HPEN handle) { return GdiFromHandle<CPen>(handle); }
CBrush* CBrush::FromHandle(HBRUSH handle) { return GdiFromHandle<CBrush>(handle); }
CFont* CFont::FromHandle(HFONT handle) { return GdiFromHandle<CFont>(handle); }
CBitmap* CBitmap::FromHandle(HBITMAP handle) { return GdiFromHandle<CBitmap>(handle); }
CRgn* CRgn::FromHandle(HRGN handle) { return GdiFromHandle<CRgn>(handle); }

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_temporary)
        return FALSE;
    DeleteObject();
    m_hObject = handle;
    GdiMap::Instance().SetPermanent(handle, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    if (m_temporary)
        return nullptr;
    HGDIOBJ handle = m_hObject;
    if (handle)
        GdiMap::Instance().RemovePermanent(handle, this);
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    // Only a handle taken over with Attach is ours: stock objects and system colour brushes are shared.
    if (m_temporary)
        return FALSE;
    HGDIOBJ handle = m_hObject;
    bool owned = handle && GdiMap::Instance().LookupPermanent(handle) == this;
    Detach();
    return owned ? ::DeleteObject(handle) : FALSE;
}

int CGdiObject::GetObject(int size, LPVOID buffer) const
{
    return m_hObject ? ::GetObjectA(m_hObject, size, buffer) : 0;
}

BOOL CGdiObject::CreateStockObject(int index)
{
    // Stock objects are shared: held without ownership.
    if (m_temporary)
        return FALSE;
    DeleteObject();
    m_hObject = ::GetStockObject(index);
    return m_hObject != nullptr;
}

BOOL CBrush::CreatePatternBrush(CBitmap* bitmap)
{
    return bitmap ? Attach(::CreatePatternBrush(*bitmap)) : FALSE;
}

BOOL CBrush::CreateSysColorBrush(int index)
{
    if (m_temporary)
        return FALSE;
    DeleteObject();
    m_hObject = ::GetSysColorBrush(index);
    return m_hObject != nullptr;
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCSTR faceName)
{
    return Attach(::CreateFontA(height, width, escapement, orientation, weight, italic, underline,
                                strikeOut, charSet, outPrecision, clipPrecision, quality,
                                pitchAndFamily, faceName));
}

BOOL CFont::CreatePointFont(int pointSize, LPCSTR faceName, CDC* dc)
{
    LOGFONTA logFont = {};
    HDC screen = dc ? nullptr : ::GetDC(nullptr);
    HDC target = dc ? dc->m_hDC : screen;
    logFont.lfHeight = -MulDiv(pointSize, ::GetDeviceCaps(target, LOGPIXELSY), 720);
    if (screen)
        ::ReleaseDC(nullptr, screen);
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName)
        lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);
    return CreateFontIndirect(&logFont);
}

BOOL CBitmap::LoadBitmap(UINT id) { return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id))); }
BOOL CBitmap::LoadBitmap(LPCSTR name) { return Attach(::LoadBitmapA(AfxGetResourceHandle(), name)); }

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height)
{
    return dc ? Attach(::CreateCompatibleBitmap(dc->m_hDC, width, height)) : FALSE;
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE size = {};
    ::GetBitmapDimensionEx(*this, &size);
    return size;
}

HBITMAP AfxLoadSysColorBitmap(HINSTANCE instance, HRSRC resource)
{
    HGLOBAL loaded = resource ? ::LoadResource(instance, resource) : nullptr;
    const auto* bytes = loaded ? static_cast<const std::uint8_t*>(::LockResource(loaded)) : nullptr;
    const DWORD size = bytes ? ::SizeofResource(instance, resource) : 0;
    const auto layout = menu::ReadPackedBitmap(bytes, size);
    if (!layout)
        return nullptr;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = nullptr;
    if (layout->header != menu::PackedBitmap::Header::kInfo) {
        // Only the plain header's table is taken over: a core or later header is loaded as it is,
        // without the button colours.
        bitmap = ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(bytes), CBM_INIT,
                                  bytes + layout->bitsOffset, reinterpret_cast<const BITMAPINFO*>(bytes),
                                  DIB_RGB_COLORS);
    } else {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD table[3 + 256];  // the masks of BI_BITFIELDS, then the colours
        } info;
        std::memcpy(&info, bytes, layout->bitsOffset);
        for (RGBQUAD& entry : std::span(info.table + layout->masks, layout->colours)) {
            int system = -1;
            switch (menu::StandardButtonColour(entry.rgbRed, entry.rgbGreen, entry.rgbBlue)) {
            case menu::ButtonColour::kShadow:
                system = COLOR_BTNSHADOW;
                break;
            case menu::ButtonColour::kFace:
                system = COLOR_BTNFACE;
                break;
            case menu::ButtonColour::kHighlight:
                system = COLOR_BTNHIGHLIGHT;
                break;
            case menu::ButtonColour::kNone:
                break;
            }
            if (system < 0)
                continue;
            const COLORREF colour = ::GetSysColor(system);
            entry = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
        }
        bitmap = ::CreateDIBitmap(screen, &info.header, CBM_INIT, bytes + layout->bitsOffset,
                                  reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    }
    ::ReleaseDC(nullptr, screen);
    return bitmap;
}

// --- CDC

CDC::~CDC() { DeleteDC(); }

CDC* CDC::FromHandle(HDC handle)
{
    return DcMap::Instance().Lookup(handle, [](HDC h) {
        CDC* wrapper = new CDC;
        wrapper->m_hDC = h;
        wrapper->m_temporary = true;
        return wrapper;
    });
}

BOOL CDC::Attach(HDC handle)
{
    if (!handle || m_temporary)
        return FALSE;
    if (m_hDC != handle)
        DeleteDC();
    m_hDC = handle;
    // A DC lent for a while (a print's DC that CPaintDC hands a paint handler) keeps its owner.
    if (!DcMap::Instance().LookupPermanent(handle))
        DcMap::Instance().SetPermanent(handle, this);
    return TRUE;
}

HDC CDC::Detach()
{
    if (m_temporary)
        return nullptr;
    HDC handle = m_hDC;
    if (handle)
        DcMap::Instance().RemovePermanent(handle, this);
    m_hDC = nullptr;
    return handle;
}

BOOL CDC::DeleteDC()
{
    if (m_temporary)
        return FALSE;
    HDC handle = Detach();
    return handle ? ::DeleteDC(handle) : FALSE;
}

BOOL CDC::CreateCompatibleDC(CDC* dc)
{
    if (m_temporary)
        return FALSE;
    DeleteDC();
    return Attach(::CreateCompatibleDC(dc ? dc->m_hDC : nullptr));
}

BOOL CDC::CreateDC(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* init)
{
    if (m_temporary)
        return FALSE;
    DeleteDC();
    return Attach(::CreateDCA(driver, device, output, init));
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CGdiObject* CDC::SelectObject(CGdiObject* object)
{
    return object ? CGdiObject::FromHandle(::SelectObject(m_hDC, object->m_hObject)) : nullptr;
}

CPen* CDC::SelectObject(CPen* pen)
{
    return pen ? CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pen->m_hObject))) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush)
{
    return brush ? CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, brush->m_hObject))) : nullptr;
}

CFont* CDC::SelectObject(CFont* font)
{
    return font ? CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, font->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap)
{
    return bitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap->m_hObject))) : nullptr;
}

int CDC::SelectObject(CRgn* region)
{
    return region ? static_cast<int>(reinterpret_cast<INT_PTR>(::SelectObject(m_hDC, region->m_hObject))) : ERROR;
}

CGdiObject* CDC::SelectStockObject(int index)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, ::GetStockObject(index)));
}

CFont* CDC::GetCurrentFont() const { return CFont::FromHandle(static_cast<HFONT>(::GetCurrentObject(m_hDC, OBJ_FONT))); }
CBitmap* CDC::GetCurrentBitmap() const { return CBitmap::FromHandle(static_cast<HBITMAP>(::GetCurrentObject(m_hDC, OBJ_BITMAP))); }
CPen* CDC::GetCurrentPen() const { return CPen::FromHandle(static_cast<HPEN>(::GetCurrentObject(m_hDC, OBJ_PEN))); }
CBrush* CDC::GetCurrentBrush() const { return CBrush::FromHandle(static_cast<HBRUSH>(::GetCurrentObject(m_hDC, OBJ_BRUSH))); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, CDC* source, int sx, int sy, int sw, int sh, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source ? source->m_hDC : nullptr, sx, sy, sw, sh, rop);
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT old = {};
    ::SetBrushOrgEx(m_hDC, x, y, &old);
    return old;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF color)
{
    COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int width, int height, COLORREF color)
{
    RECT rect = {x, y, x + width, y + height};
    FillSolidRect(&rect, color);
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight)
{
    Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int width, int height, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, width - 1, 1, topLeft);
    FillSolidRect(x, y, 1, height - 1, topLeft);
    FillSolidRect(x + width, y, -1, height, bottomRight);
    FillSolidRect(x, y + height, width, -1, bottomRight);
}

BOOL CDC::DrawState(CPoint point, CSize size, HBITMAP bitmap, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(bitmap), 0, point.x, point.y,
                        size.cx, size.cy, flags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint point, CSize size, HICON icon, UINT flags, HBRUSH brush)
{
    return ::DrawStateA(m_hDC, brush, nullptr, reinterpret_cast<LPARAM>(icon), 0, point.x, point.y,
                        size.cx, size.cy, flags | DST_ICON);
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT old = {};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

CSize CDC::GetTextExtent(LPCSTR text, int count) const
{
    SIZE size = {};
    ::GetTextExtentPoint32A(m_hDC, text, count, &size);
    return size;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT old = {};
    ::SetViewportOrgEx(m_hDC, x, y, &old);
    return old;
}

CPoint CDC::OffsetViewportOrg(int dx, int dy)
{
    POINT old = {};
    ::OffsetViewportOrgEx(m_hDC, dx, dy, &old);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT old = {};
    ::SetWindowOrgEx(m_hDC, x, y, &old);
    return old;
}

CPaintDC::CPaintDC(CWnd* window) : m_hWnd(window->GetSafeHwnd())
{
    if (HDC print = dialogs::PrintingDC(m_hWnd)) {
        m_printing = true;
        m_ps.hdc = print;
        ::GetClientRect(m_hWnd, &m_ps.rcPaint);
        Attach(print);
        return;
    }
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    if (!m_printing)
        ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr)
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* window) : m_hWnd(window ? window->GetSafeHwnd() : nullptr)
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

// --- CImageList

CImageList::~CImageList() { DeleteImageList(); }

CImageList* CImageList::FromHandle(HIMAGELIST handle)
{
    return HandleMap<CImageList, HIMAGELIST>::Instance().Lookup(handle, [](HIMAGELIST h) {
        CImageList* wrapper = new CImageList;
        wrapper->m_hImageList = h;
        wrapper->m_temporary = true;
        return wrapper;
    });
}

BOOL CImageList::Attach(HIMAGELIST handle)
{
    if (!handle || m_temporary)
        return FALSE;
    DeleteImageList();
    m_hImageList = handle;
    HandleMap<CImageList, HIMAGELIST>::Instance().SetPermanent(handle, this);
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    if (m_temporary)
        return nullptr;
    HIMAGELIST handle = m_hImageList;
    if (handle)
        HandleMap<CImageList, HIMAGELIST>::Instance().RemovePermanent(handle, this);
    m_hImageList = nullptr;
    return handle;
}

BOOL CImageList::DeleteImageList()
{
    if (m_temporary)
        return FALSE;
    HIMAGELIST handle = Detach();
    return handle ? ImageList_Destroy(handle) : FALSE;
}

BOOL CImageList::Create(int width, int height, UINT flags, int initial, int grow)
{
    return Attach(ImageList_Create(width, height, flags, initial, grow));
}

BOOL CImageList::Create(UINT bitmapId, int width, int grow, COLORREF mask)
{
    return Attach(ImageList_LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(bitmapId), width, grow,
                                       mask, IMAGE_BITMAP, LR_DEFAULTCOLOR));
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Add(m_hImageList, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr,
                         mask ? static_cast<HBITMAP>(*mask) : nullptr);
}

int CImageList::Add(CBitmap* bitmap, COLORREF mask)
{
    return ImageList_AddMasked(m_hImageList, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr, mask);
}

BOOL CImageList::Replace(int image, CBitmap* bitmap, CBitmap* mask)
{
    return ImageList_Replace(m_hImageList, image, bitmap ? static_cast<HBITMAP>(*bitmap) : nullptr,
                             mask ? static_cast<HBITMAP>(*mask) : nullptr);
}

BOOL CImageList::Draw(CDC* dc, int image, POINT point, UINT style)
{
    return ImageList_Draw(m_hImageList, image, dc->m_hDC, point.x, point.y, style);
}
