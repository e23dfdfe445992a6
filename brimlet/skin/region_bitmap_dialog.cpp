// brimlet/skin/region_bitmap_dialog.cpp
#include "brimlet/skin/region_bitmap_dialog.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/menu/region_runs.h"

namespace {

// Windows 9x builds regions of a few thousand rectangles at most: larger ones go in parts.
constexpr size_t kRectanglesPerPart = 2000;

// The same pixels one by one, for a bitmap that GetDIBits will not read (one selected elsewhere).
void ReadPixelsOneByOne(CBitmap& bitmap, int width, int height, std::vector<std::uint32_t>& pixels)
{
    pixels.assign(static_cast<size_t>(width) * height, CLR_INVALID);
    CDC memory;
    if (!memory.CreateCompatibleDC(nullptr))
        return;
    CBitmap* old = memory.SelectObject(&bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = memory.GetPixel(x, y);
    memory.SelectObject(old);
}

void AddRectangles(HRGN region, const std::vector<RECT>& rectangles)
{
    for (size_t first = 0; first < rectangles.size(); first += kRectanglesPerPart) {
        const size_t count = std::min(kRectanglesPerPart, rectangles.size() - first);
        std::vector<BYTE> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
        auto* header = reinterpret_cast<RGNDATAHEADER*>(data.data());
        header->dwSize = sizeof(RGNDATAHEADER);
        header->iType = RDH_RECTANGLES;
        header->nCount = static_cast<DWORD>(count);
        header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
        RECT bounds = rectangles[first];
        for (size_t i = first; i < first + count; ++i) {
            bounds.left = std::min(bounds.left, rectangles[i].left);
            bounds.top = std::min(bounds.top, rectangles[i].top);
            bounds.right = std::max(bounds.right, rectangles[i].right);
            bounds.bottom = std::max(bounds.bottom, rectangles[i].bottom);
        }
        header->rcBound = bounds;
        std::memcpy(data.data() + sizeof(RGNDATAHEADER), &rectangles[first], count * sizeof(RECT));
        if (HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                          reinterpret_cast<const RGNDATA*>(data.data()))) {
            ::CombineRgn(region, region, part, RGN_OR);
            ::DeleteObject(part);
        } else {
            // Rectangle by rectangle, where the system refuses the whole list.
            for (size_t i = first; i < first + count; ++i) {
                HRGN single = ::CreateRectRgnIndirect(&rectangles[i]);
                ::CombineRgn(region, region, single, RGN_OR);
                ::DeleteObject(single);
            }
        }
    }
}

}  // namespace

BOOL CRegionBitmapDialog::ReadPixels(HBITMAP bitmap, int width, int height, std::vector<std::uint32_t>& pixels)
{
    BITMAP header = {};
    if (!bitmap || !::GetObjectA(bitmap, sizeof header, &header) || width <= 0 || height <= 0 ||
        width > header.bmWidth || height > header.bmHeight)
        return FALSE;
    // The whole bitmap's height, bottom-up, as every system reads it: scan lines count from the
    // bottom, so the top `height` rows are the last ones and arrive bottom row first.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = header.bmWidth;
    info.bmiHeader.biHeight = header.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> rows(static_cast<size_t>(header.bmWidth) * height);
    HDC screen = ::GetDC(nullptr);
    const int read = ::GetDIBits(screen, bitmap, static_cast<UINT>(header.bmHeight - height),
                                 static_cast<UINT>(height), rows.data(), &info, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (read != height)
        return FALSE;
    pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const RGBQUAD* row = &rows[static_cast<size_t>(height - 1 - y) * header.bmWidth];
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = RGB(row[x].rgbRed, row[x].rgbGreen, row[x].rgbBlue);
    }
    return TRUE;
}

BEGIN_MESSAGE_MAP(CRegionBitmapDialog, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CRegionBitmapDialog::CRegionBitmapDialog(LPCSTR templateName, CWnd* parent, LPCSTR bitmapName, UINT bitmapId,
                                         DWORD, CBitmap* bitmap)
    : CDialog(templateName, parent)
{
    TakeFirstBitmap(bitmapName, bitmapId, bitmap);
}

CRegionBitmapDialog::CRegionBitmapDialog(UINT templateId, CWnd* parent, LPCSTR bitmapName, UINT bitmapId, DWORD,
                                         CBitmap* bitmap)
    : CDialog(templateId, parent)
{
    TakeFirstBitmap(bitmapName, bitmapId, bitmap);
}

CRegionBitmapDialog::CRegionBitmapDialog(LPCSTR bitmapName, UINT bitmapId, DWORD, CBitmap* bitmap)
{
    TakeFirstBitmap(bitmapName, bitmapId, bitmap);
}

CRegionBitmapDialog::~CRegionBitmapDialog() { ReleaseBitmap(); }

void CRegionBitmapDialog::TakeFirstBitmap(LPCSTR bitmapName, UINT bitmapId, CBitmap* bitmap)
{
    if (bitmapName)
        SetBitmap(bitmapName, nullptr);
    else if (bitmapId != 0)
        SetBitmap(bitmapId);
    else if (bitmap)
        SetBitmap(bitmap);
}

BOOL CRegionBitmapDialog::SetBitmap(LPCSTR resourceName, LPCSTR fileName)
{
    ReleaseBitmap();
    if (resourceName) {
        auto* loaded = new CBitmap;
        if (!loaded->Attach(::LoadBitmapA(AfxGetResourceHandle(), resourceName))) {
            delete loaded;
            return FALSE;
        }
        m_bitmap = loaded;
        m_ownsBitmap = TRUE;
        m_hasBitmap = TRUE;
        BuildBitmapRegion();
        return TRUE;
    }
    CBitmap file;
    if (!fileName ||
        !file.Attach(::LoadImageA(nullptr, fileName, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION | LR_LOADFROMFILE)))
        return FALSE;
    return CopyBitmapFrom(&file);
}

BOOL CRegionBitmapDialog::SetBitmap(UINT resourceId) { return SetBitmap(MAKEINTRESOURCEA(resourceId), nullptr); }

BOOL CRegionBitmapDialog::SetBitmap(CBitmap* bitmap)
{
    ReleaseBitmap();
    m_bitmap = bitmap;
    m_ownsBitmap = FALSE;
    m_hasBitmap = bitmap != nullptr;
    BuildBitmapRegion();
    return TRUE;
}

BOOL CRegionBitmapDialog::CopyBitmapFrom(CBitmap* source)
{
    BITMAP info = {};
    if (!source || !source->m_hObject || !source->GetBitmap(&info))
        return FALSE;
    // The copy is made before anything is released: the source may be the bitmap held now.
    auto* copy = new CBitmap;
    CDC sourceDc;
    CDC copyDc;
    BOOL made = sourceDc.CreateCompatibleDC(nullptr) && copyDc.CreateCompatibleDC(nullptr);
    if (made) {
        CBitmap* oldSource = sourceDc.SelectObject(source);
        made = copy->CreateCompatibleBitmap(&sourceDc, info.bmWidth, info.bmHeight);
        if (made) {
            CBitmap* oldCopy = copyDc.SelectObject(copy);
            copyDc.BitBlt(0, 0, info.bmWidth, info.bmHeight, &sourceDc, 0, 0, SRCCOPY);
            copyDc.SelectObject(oldCopy);
        }
        sourceDc.SelectObject(oldSource);
    }
    if (!made) {
        delete copy;
        return FALSE;
    }
    ReleaseBitmap();
    m_bitmap = copy;
    m_ownsBitmap = TRUE;
    m_hasBitmap = TRUE;
    BuildBitmapRegion();
    return TRUE;
}

void CRegionBitmapDialog::ReleaseBitmap()
{
    if (m_ownsBitmap)
        delete m_bitmap;
    m_bitmap = nullptr;
    m_ownsBitmap = FALSE;
    m_hasBitmap = FALSE;
}

void CRegionBitmapDialog::EnableBitmapRegion(BOOL enable)
{
    m_regionFromBitmap = enable;
    BuildBitmapRegion();
}

void CRegionBitmapDialog::SetRegionKeyColor(COLORREF key)
{
    m_keyColour = key;
    BuildBitmapRegion();
}

void CRegionBitmapDialog::BuildBitmapRegion()
{
    if (!m_hWnd || !::IsWindow(m_hWnd))
        return;
    RECT window;
    ::GetWindowRect(m_hWnd, &window);
    const int windowWidth = window.right - window.left;
    const int windowHeight = window.bottom - window.top;
    HRGN region = ::CreateRectRgn(0, 0, windowWidth, windowHeight);
    if (!region)
        return;
    if (m_regionFromBitmap) {
        // The frame and the caption stay; of the client area, what the bitmap's opaque pixels cover.
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        POINT origin = {0, 0};
        ::ClientToScreen(m_hWnd, &origin);
        const int offsetX = origin.x - window.left;
        const int offsetY = origin.y - window.top;
        HRGN clientArea = ::CreateRectRgn(offsetX, offsetY, offsetX + client.right, offsetY + client.bottom);
        ::CombineRgn(region, region, clientArea, RGN_DIFF);
        ::DeleteObject(clientArea);

        BITMAP info = {};
        if (m_hasBitmap && m_bitmap && m_bitmap->m_hObject && m_bitmap->GetBitmap(&info)) {
            const int width = std::min<int>(info.bmWidth, client.right);
            const int height = std::min<int>(info.bmHeight, client.bottom);
            std::vector<std::uint32_t> pixels;
            if (width > 0 && height > 0 && !ReadPixels(*m_bitmap, width, height, pixels))
                ReadPixelsOneByOne(*m_bitmap, width, height, pixels);
            std::vector<RECT> rectangles;
            for (int y = 0; y < height && width > 0; ++y) {
                for (const menu::Run& run : menu::OpaqueRuns(&pixels[static_cast<size_t>(y) * width], width, m_keyColour))
                    rectangles.push_back({offsetX + run.start, offsetY + y, offsetX + run.end, offsetY + y + 1});
            }
            AddRectangles(region, rectangles);
        }
    }
    // The window owns the region from here on.
    if (!::SetWindowRgn(m_hWnd, region, TRUE))
        ::DeleteObject(region);
}

BOOL CRegionBitmapDialog::OnEraseBkgnd(CDC* dc)
{
    if (!m_hasBitmap || !m_bitmap || !m_bitmap->m_hObject)
        return CDialog::OnEraseBkgnd(dc);
    CDC memory;
    if (!memory.CreateCompatibleDC(dc))
        return CDialog::OnEraseBkgnd(dc);
    CBitmap* old = memory.SelectObject(m_bitmap);
    RECT client;
    GetClientRect(&client);
    dc->BitBlt(0, 0, client.right, client.bottom, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(old);
    return TRUE;
}

void CRegionBitmapDialog::OnLButtonDown(UINT flags, CPoint point)
{
    CDialog::OnLButtonDown(flags, point);
    if (m_easyMove)
        PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
}

HBRUSH CRegionBitmapDialog::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    if (!m_transparentStatics || kind != CTLCOLOR_STATIC)
        return CDialog::OnCtlColor(dc, control, kind);
    char className[256] = {};
    ::GetClassNameA(control->GetSafeHwnd(), className, sizeof className);
    // A trackbar paints its background with this brush: it keeps the normal one.
    if (std::strcmp(className, "msctls_trackbar32") == 0)
        return CDialog::OnCtlColor(dc, control, CTLCOLOR_STATIC);
    dc->SetBkMode(TRANSPARENT);
    return m_staticBrush;
}
