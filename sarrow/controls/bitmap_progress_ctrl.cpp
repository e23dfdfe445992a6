// sarrow/controls/bitmap_progress_ctrl.cpp
#include "sarrow/controls/bitmap_progress_ctrl.h"

#include <algorithm>
#include <string>
#include <vector>

#include "core/progress/builtin_strip.h"
#include "core/progress/progress_text.h"
#include "platform/dialogs/app.h"

namespace {

constexpr DWORD kStyle = 0x5000020E;  // WS_CHILD | WS_VISIBLE and the static bits 0x020E
constexpr UINT kTimerMilliseconds = 500;
constexpr COLORREF kMaskColour = 0xFFFF00;

progress::DateTime FromSystemTime(const SYSTEMTIME& time)
{
    return {time.wYear, time.wMonth, time.wDayOfWeek, time.wDay, time.wHour, time.wMinute, time.wSecond,
            time.wMilliseconds};
}

progress::DateTime LocalNow()
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    return FromSystemTime(now);
}

class DcTextMeasure final : public progress::TextMeasure {
public:
    explicit DcTextMeasure(HDC dc) : m_dc(dc) {}
    int Width(std::string_view text) const override
    {
        SIZE size = {};
        ::GetTextExtentPoint32A(m_dc, text.data(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    HDC m_dc;
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

}  // namespace

class CBitmapProgressCtrl::Lock {
public:
    explicit Lock(const CBitmapProgressCtrl& control) : m_section(control.m_lock) { ::EnterCriticalSection(&m_section); }
    ~Lock() { ::LeaveCriticalSection(&m_section); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

BEGIN_MESSAGE_MAP(CBitmapProgressCtrl, CStatic)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CBitmapProgressCtrl::CBitmapProgressCtrl(CWnd* placeholder, int upper, CBitmap* bitmap, BOOL reverse,
                                         CWnd* textWindow, LPCSTR message, int textMode)
{
    ::InitializeCriticalSection(&m_lock);
    CreateFromPlaceholder(placeholder, upper, bitmap, reverse, textWindow, message, textMode);
}

CBitmapProgressCtrl::~CBitmapProgressCtrl()
{
    HideAndRestoreText();
    FreeBitmaps();
    ::DeleteCriticalSection(&m_lock);
}

BOOL CBitmapProgressCtrl::GetPlaceholderRect(RECT& rect) const
{
    if (!m_placeholderWindow || !::GetWindowRect(m_placeholderWindow, &rect))
        return FALSE;
    HWND parent = ::GetParent(m_placeholderWindow);
    if (parent)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return TRUE;
}

BOOL CBitmapProgressCtrl::CreateFromPlaceholder(CWnd* placeholder, int upper, CBitmap* bitmap, BOOL reverse,
                                                CWnd* textWindow, LPCSTR message, int textMode)
{
    m_placeholder = placeholder;
    m_placeholderWindow = placeholder ? placeholder->GetSafeHwnd() : nullptr;
    m_textWindow = textWindow;
    m_textWindowHandle = textWindow ? textWindow->GetSafeHwnd() : nullptr;

    RECT rect = {};
    GetPlaceholderRect(rect);
    LPCSTR windowClass = AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_WAIT), nullptr, nullptr);
    CWnd* parent = placeholder ? placeholder->GetParent() : nullptr;
    if (!CreateEx(WS_EX_STATICEDGE, windowClass, "", kStyle, rect, parent,
                  static_cast<UINT>(reinterpret_cast<UINT_PTR>(this))))
        return FALSE;
    m_windowThread = ::GetWindowThreadProcessId(m_hWnd, nullptr);
    if (m_textWindowHandle) {
        textWindow->GetWindowText(m_savedText);
        m_textSaved = true;
    }
    return Initialise(upper, bitmap, reverse, message, textMode);
}

BOOL CBitmapProgressCtrl::Initialise(int upper, CBitmap* bitmap, BOOL reverse, LPCSTR message, int textMode)
{
    FreeBitmaps();
    {
        Lock lock(*this);
        m_lastText.Empty();
        ::SetRectEmpty(&m_placeholderRect);
    }
    if (!SetBitmap(bitmap, FALSE))
        return FALSE;
    {
        Lock lock(*this);
        m_textMode = textMode;
        m_range.Reset(upper);  // an upper bound of 0 or less keeps the valid default range
        m_message = message ? message : "";
        m_reverse = reverse;
    }
    RestartClock(FALSE);
    SetTimer(TimerId(), kTimerMilliseconds);
    Refresh();
    return TRUE;
}

void CBitmapProgressCtrl::FreeBitmaps()
{
    Lock lock(*this);
    m_bitmapCopy.DeleteObject();
    m_screenBitmap.DeleteObject();
    m_tileStrip.DeleteObject();
    m_offscreen.DeleteObject();
    m_tiles.DeleteImageList();
    m_tileWidth = 0;
    m_tileHeight = 0;
    m_painted = false;
}

BOOL CBitmapProgressCtrl::SetRange(int lower, int upper, BOOL rescale, BOOL refresh)
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    BOOL applied;
    {
        Lock lock(*this);
        applied = m_range.SetRange(lower, upper, rescale != FALSE);
    }
    if (applied && refresh)
        Refresh();
    return applied;
}

int CBitmapProgressCtrl::SetPos(int value, bool refresh)
{
    if (!::IsWindow(m_hWnd))
        return 0;
    int previous;
    {
        Lock lock(*this);
        previous = m_range.SetPos(value);
    }
    if (refresh)
        Refresh();
    return previous;
}

int CBitmapProgressCtrl::GetPos(bool percent) const
{
    Lock lock(*this);
    return m_range.GetPos(percent);
}

void CBitmapProgressCtrl::RestartClock(BOOL refresh)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const std::int64_t ticks = progress::TicksFromDateTime(FromSystemTime(now));
    int lower;
    {
        Lock lock(*this);
        m_startTime = now;
        m_startFileTime.dwLowDateTime = static_cast<DWORD>(ticks);
        m_startFileTime.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
        lower = m_range.Lower();
    }
    SetPos(lower, refresh != FALSE);
}

BOOL CBitmapProgressCtrl::SetBitmap(CBitmap* bitmap, BOOL refresh)
{
    {
        Lock lock(*this);
        m_painted = false;
        ::SetRectEmpty(&m_paintedSize);
    }
    const BOOL built = BuildTiles(bitmap);
    if (built && refresh)
        Refresh();
    return built;
}

namespace {

// A bitmap handle that is deleted unless it is handed on.
class OwnedBitmap {
public:
    explicit OwnedBitmap(HBITMAP bitmap = nullptr) : m_bitmap(bitmap) {}
    ~OwnedBitmap()
    {
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
    }
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    void Reset(HBITMAP bitmap)
    {
        if (m_bitmap)
            ::DeleteObject(m_bitmap);
        m_bitmap = bitmap;
    }
    HBITMAP Get() const { return m_bitmap; }
    HBITMAP Release()
    {
        HBITMAP bitmap = m_bitmap;
        m_bitmap = nullptr;
        return bitmap;
    }

private:
    HBITMAP m_bitmap;
};

// A bit-for-bit copy through GetBitmapBits and CreateBitmapIndirect.
HBITMAP CopyBitmap(HBITMAP source)
{
    BITMAP info = {};
    if (!::GetObjectA(source, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    std::vector<BYTE> bits(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight);
    ::GetBitmapBits(source, static_cast<LONG>(bits.size()), bits.data());
    info.bmBits = bits.data();
    return ::CreateBitmapIndirect(&info);
}

// The copy's bits as a top-down device-independent bitmap of the screen's format.
HBITMAP ToScreenDepth(HDC screen, HBITMAP copy)
{
    BITMAP info = {};
    if (!::GetObjectA(copy, sizeof info, &info))
        return nullptr;
    // Rows of a device-independent bitmap are DWORD-aligned, those of GetBitmapBits WORD-aligned:
    // the buffer is large enough for either reading.
    const size_t dibRow = (static_cast<size_t>(info.bmWidth) * info.bmBitsPixel * info.bmPlanes + 31) / 32 * 4;
    std::vector<BYTE> bits(std::max<size_t>(info.bmWidthBytes, dibRow) * info.bmHeight, 0);
    ::GetBitmapBits(copy, static_cast<LONG>(static_cast<size_t>(info.bmWidthBytes) * info.bmHeight), bits.data());
    // A colour table's worth of zeros follows the header, for strips of 8 bits or less.
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD), 0);
    auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(header.data());
    bih->biSize = sizeof(BITMAPINFOHEADER);
    bih->biWidth = info.bmWidth;
    bih->biHeight = -info.bmHeight;
    bih->biPlanes = info.bmPlanes;
    bih->biBitCount = info.bmBitsPixel;
    bih->biCompression = BI_RGB;
    OwnedBitmap converted(::CreateDIBitmap(screen, bih, CBM_INIT, bits.data(),
                                           reinterpret_cast<BITMAPINFO*>(header.data()), DIB_RGB_COLORS));
    return converted.Get() ? CopyBitmap(converted.Get()) : nullptr;
}

}  // namespace

// Copies the strip, brings it to the screen's depth, stretches it to the bar's height and cuts it
// into the image list's nine tiles. Without tiles the bar paints nothing.
BOOL CBitmapProgressCtrl::BuildTiles(CBitmap* bitmap)
{
    RECT placeholder;
    if (!GetPlaceholderRect(placeholder))
        return FALSE;

    OwnedBitmap copy;
    if (bitmap && bitmap->GetSafeHandle()) {
        copy.Reset(CopyBitmap(*bitmap));
    } else {
        std::vector<std::uint32_t> pixels = progress::BuiltInStripPixels();
        BITMAP info = {0, progress::kBuiltInStripWidth, progress::kBuiltInStripHeight,
                       progress::kBuiltInStripBytesPerRow, 1, 32, pixels.data()};
        copy.Reset(::CreateBitmapIndirect(&info));
    }
    BITMAP copyInfo = {};
    if (!copy.Get() || !::GetObjectA(copy.Get(), sizeof copyInfo, &copyInfo))
        return FALSE;

    HDC clientDc = ::GetDC(m_hWnd);
    if (!clientDc)
        return FALSE;
    OwnedBitmap screen(::GetDeviceCaps(clientDc, BITSPIXEL) == copyInfo.bmBitsPixel ? CopyBitmap(copy.Get())
                                                                                    : ToScreenDepth(clientDc, copy.Get()));
    BITMAP screenInfo = {};
    const int stripHeight = Height(placeholder) - 2;  // the client height under the static edge
    OwnedBitmap strip;
    if (screen.Get() && ::GetObjectA(screen.Get(), sizeof screenInfo, &screenInfo) &&
        screenInfo.bmWidth / progress::kTileCount > 0 && stripHeight > 0)
        strip.Reset(::CreateCompatibleBitmap(clientDc, screenInfo.bmWidth, stripHeight));
    if (strip.Get()) {
        HDC from = ::CreateCompatibleDC(clientDc);
        HDC to = ::CreateCompatibleDC(clientDc);
        HGDIOBJ oldFrom = ::SelectObject(from, screen.Get());
        HGDIOBJ oldTo = ::SelectObject(to, strip.Get());
        ::SetStretchBltMode(to, HALFTONE);
        ::SetBrushOrgEx(to, 0, 0, nullptr);
        ::StretchBlt(to, 0, 0, screenInfo.bmWidth, stripHeight, from, 0, 0, screenInfo.bmWidth, screenInfo.bmHeight,
                     SRCCOPY);
        ::SelectObject(from, oldFrom);
        ::SelectObject(to, oldTo);
        ::DeleteDC(from);
        ::DeleteDC(to);
    }
    ::ReleaseDC(m_hWnd, clientDc);
    if (!strip.Get())
        return FALSE;

    const int tileWidth = screenInfo.bmWidth / progress::kTileCount;
    HIMAGELIST tiles = ::ImageList_Create(tileWidth, stripHeight, ILC_COLOR32, 0, 0);
    if (!tiles)
        return FALSE;
    if (::ImageList_AddMasked(tiles, strip.Get(), kMaskColour) < 0 || ::ImageList_GetImageCount(tiles) < progress::kTileCount) {
        ::ImageList_Destroy(tiles);
        return FALSE;
    }

    Lock lock(*this);
    m_bitmapCopy.DeleteObject();
    m_bitmapCopy.Attach(copy.Release());
    m_screenBitmap.DeleteObject();
    m_screenBitmap.Attach(screen.Release());
    m_tileStrip.DeleteObject();
    m_tileStrip.Attach(strip.Release());
    m_tiles.DeleteImageList();
    m_tiles.Attach(tiles);
    m_tileWidth = tileWidth;
    m_tileHeight = stripHeight;
    return TRUE;
}

// Win32 lets only the window's own thread move it or have its text set without waiting for that
// thread. Another thread (the repair worker, thousands of times a run) asks no window anything:
// it invalidates when the painted pixels change and leaves the rest to one pending timer message.
BOOL CBitmapProgressCtrl::Refresh()
{
    if (!::IsWindow(m_hWnd))
        return FALSE;
    if (m_windowThread == ::GetCurrentThreadId())
        return RefreshFromOwnThread();
    bool moved;
    {
        Lock lock(*this);
        moved = m_painted && progress::ComputeBarGeometry(Width(m_paintedSize), m_tileWidth, m_range,
                                                          m_reverse != FALSE, m_drawn).changed;
    }
    if (moved)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    if (!m_refreshAsked.exchange(true))
        ::PostMessageA(m_hWnd, WM_TIMER, TimerId(), 0);
    return TRUE;
}

bool CBitmapProgressCtrl::BarMoved()
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    Lock lock(*this);
    return progress::ComputeBarGeometry(Width(client), m_tileWidth, m_range, m_reverse != FALSE, m_drawn).changed;
}

BOOL CBitmapProgressCtrl::RefreshFromOwnThread()
{
    RECT textRect = {};
    if (m_textWindowHandle)
        ::GetWindowRect(m_textWindowHandle, &textRect);
    RECT placeholder;
    if (!GetPlaceholderRect(placeholder))
        return FALSE;

    CString text;
    if (m_textWindowHandle) {
        HDC dc = ::GetDC(m_textWindowHandle);
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(m_textWindowHandle, WM_GETFONT, 0, 0));
        HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
        if (::IsWindowVisible(m_textWindowHandle))
            text = ComposeText(dc, Width(textRect));
        if (text.IsEmpty())
            text = " ";
        if (oldFont)
            ::SelectObject(dc, oldFont);
        ::ReleaseDC(m_textWindowHandle, dc);
    }

    if (::IsWindowVisible(m_hWnd)) {
        bool follow;
        {
            Lock lock(*this);
            follow = !::EqualRect(&placeholder, &m_placeholderRect) && Width(placeholder) > 2 && Height(placeholder) > 2;
            if (follow)
                m_placeholderRect = placeholder;
        }
        if (follow) {
            ::MoveWindow(m_hWnd, placeholder.left, placeholder.top, Width(placeholder), Height(placeholder), TRUE);
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        } else if (!m_inPaint && BarMoved()) {
            // During the background erase of a paint the bar is about to be drawn anyway.
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
        }
    }

    if (m_textWindowHandle && text != m_lastText) {
        ::SetWindowTextA(m_textWindowHandle, text);
        m_lastText = text;
    }
    return TRUE;
}

CString CBitmapProgressCtrl::ComposeText(HDC textDc, int width)
{
    std::string message;
    int textMode;
    progress::ProgressRange range;
    SYSTEMTIME start;
    {
        Lock lock(*this);
        message = static_cast<LPCSTR>(m_message);
        textMode = m_textMode;
        range = m_range;
        start = m_startTime;
    }
    const DcTextMeasure measure(textDc);
    const std::string text =
        progress::ComposeProgressText(message, textMode, range, FromSystemTime(start), LocalNow(), measure, width);
    return CString(text.c_str(), static_cast<int>(text.size()));
}

void CBitmapProgressCtrl::OnTimer(UINT_PTR id)
{
    if (id == TimerId()) {
        m_refreshAsked = false;
        Refresh();
    }
    Default();
}

BOOL CBitmapProgressCtrl::OnEraseBkgnd(CDC* dc)
{
    const BOOL result = static_cast<BOOL>(Default());
    Refresh();
    return result;
}

void CBitmapProgressCtrl::OnPaint()
{
    m_inPaint = true;
    CPaintDC paint(this);  // also the DC of a print (WM_PRINTCLIENT)
    m_inPaint = false;
    HDC dc = paint.GetSafeHdc();
    RECT client;
    ::GetClientRect(m_hWnd, &client);

    progress::PaintPlan plan;
    bool full;
    int tileWidth;
    {
        Lock lock(*this);
        tileWidth = m_tileWidth;
        const progress::BarGeometry geometry =
            progress::ComputeBarGeometry(Width(client), tileWidth, m_range, m_reverse != FALSE, m_drawn);
        full = !m_painted || Width(client) != Width(m_paintedSize) || Height(client) != Height(m_paintedSize);
        if (tileWidth > 0) {
            if (full) {
                plan = progress::PlanFullPaint(geometry, tileWidth, m_drawn);
                m_paintedSize = client;
                m_painted = true;
            } else {
                plan = progress::PlanIncrementalPaint(geometry, tileWidth, m_drawn);
            }
        }
    }

    if (tileWidth > 0 && dc) {
        if (full) {
            m_offscreen.DeleteObject();
            m_offscreen.Attach(::CreateCompatibleBitmap(dc, Width(client), Height(client)));
        }
        HDC memory = ::CreateCompatibleDC(dc);
        HGDIOBJ old = ::SelectObject(memory, m_offscreen.GetSafeHandle());
        for (const progress::TileDraw& draw : plan)
            ::ImageList_Draw(m_tiles.GetSafeHandle(), draw.tile, memory, draw.x, 0, ILD_NORMAL);
        ::BitBlt(dc, 0, 0, Width(client), Height(client), memory, 0, 0, SRCCOPY);
        ::SelectObject(memory, old);
        ::DeleteDC(memory);
    }
}

void CBitmapProgressCtrl::HideAndRestoreText()
{
    if (::IsWindow(m_hWnd)) {
        ModifyStyle(WS_VISIBLE, 0);
        DestroyWindow();
    }
    if (m_textSaved && ::IsWindow(m_textWindowHandle))
        ::SetWindowTextA(m_textWindowHandle, m_savedText);
    if (m_placeholderWindow && ::IsWindow(m_placeholderWindow))
        ::InvalidateRect(m_placeholderWindow, nullptr, TRUE);
}
