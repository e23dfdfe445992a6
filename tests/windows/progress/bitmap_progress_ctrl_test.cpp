// The progress bar in real windows: incremental paints against full repaints, invalidation only
// when pixels change, following the placeholder, the text window, and a worker moving the bar.
#include "sarrow/controls/bitmap_progress_ctrl.h"

#include "core/progress/builtin_strip.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// Reads back what the bar keeps between paints.
class InspectedProgressCtrl : public CBitmapProgressCtrl {
public:
    using CBitmapProgressCtrl::CBitmapProgressCtrl;

    HBITMAP Offscreen() const { return OffscreenBitmap(); }

    std::vector<std::uint32_t> Picture()
    {
        std::vector<std::uint32_t> pixels;
        HBITMAP bitmap = OffscreenBitmap();
        BITMAP info = {};
        if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info))
            return pixels;
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = info.bmWidth;
        format.bmiHeader.biHeight = -info.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<size_t>(info.bmWidth) * info.bmHeight);
        HDC screen = ::GetDC(nullptr);
        const int rows = ::GetDIBits(screen, bitmap, 0, info.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        if (rows != info.bmHeight)
            pixels.clear();
        for (std::uint32_t& pixel : pixels)
            pixel &= 0xFFFFFF;
        return pixels;
    }
};

void Pump()
{
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

// Pumps messages until the condition holds or the time is up; answers whether it held.
template <typename Condition>
bool PumpUntil(DWORD milliseconds, Condition condition)
{
    const DWORD start = ::GetTickCount();
    while (!condition()) {
        if (::GetTickCount() - start > milliseconds)
            return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        Pump();
    }
    return true;
}

bool IsAt(HWND window, const RECT& expected)
{
    RECT rect;
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return ::EqualRect(&rect, &expected) != FALSE;
}

class ProgressWindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = ::GetModuleHandleA(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = "ProgressTestParent";
        ::RegisterClassA(&windowClass);
        // In the desktop's far corner, off the places where tests running beside this one put the
        // pointer; never activated.
        m_parent = ::CreateWindowExA(WS_EX_NOACTIVATE, "ProgressTestParent", "progress", WS_POPUP, 540, 480, 480, 260,
                                     nullptr, nullptr, windowClass.hInstance, nullptr);
        if (m_parent)
            ::ShowWindow(m_parent, SW_SHOWNOACTIVATE);
        ASSERT_NE(m_parent, nullptr);
    }

    void TearDown() override
    {
        if (m_parent)
            ::DestroyWindow(m_parent);
        Pump();
    }

    HWND Placeholder(int x, int y, int width, int height, const char* text = "")
    {
        return ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE, x, y, width, height, m_parent, nullptr,
                                 ::GetModuleHandleA(nullptr), nullptr);
    }

    static std::unique_ptr<InspectedProgressCtrl> Bar(HWND placeholder, int upper, BOOL reverse = FALSE,
                                                      HWND textWindow = nullptr, const char* message = "",
                                                      int textMode = -3)
    {
        return std::make_unique<InspectedProgressCtrl>(CWnd::FromHandle(placeholder), upper, nullptr, reverse,
                                                       textWindow ? CWnd::FromHandle(textWindow) : nullptr, message,
                                                       textMode);
    }

    // The picture a fresh bar paints at the position in one full repaint.
    std::vector<std::uint32_t> FullRepaintAt(HWND placeholder, int upper, int position, BOOL reverse)
    {
        auto bar = Bar(placeholder, upper, reverse);
        bar->SetPos(position, true);
        ::UpdateWindow(*bar);
        return bar->Picture();
    }

    HWND m_parent = nullptr;
};

TEST_F(ProgressWindowTest, IncrementalPaintsLeaveTheSamePictureAsAFullRepaint)
{
    for (BOOL reverse : {FALSE, TRUE}) {
        SCOPED_TRACE(reverse ? "reversed" : "forward");
        HWND moving = Placeholder(10, 10, 257, 18);
        HWND fresh = Placeholder(10, 40, 257, 18);
        auto bar = Bar(moving, 100, reverse);
        ASSERT_TRUE(::IsWindow(*bar));
        ::UpdateWindow(*bar);
        const int positions[] = {0, 1, 2, 5, 9, 10, 33, 34, 50, 49, 20, 3, 0, 77, 99, 100, 100, 60, 61, 0, 100};
        for (int position : positions) {
            bar->SetPos(position, true);
            ::UpdateWindow(*bar);
            const std::vector<std::uint32_t> picture = bar->Picture();
            ASSERT_EQ(picture.size(), 255u * 16u);
            ASSERT_EQ(picture, FullRepaintAt(fresh, 100, position, reverse)) << "after position " << position;
        }
        // The bar and the track look different: the end tile of a full bar sits at the track end.
        const std::vector<std::uint32_t> full = bar->Picture();
        const std::vector<std::uint32_t> empty = FullRepaintAt(fresh, 100, 0, reverse);
        EXPECT_NE(full[8 * 255 + 128], empty[8 * 255 + 128]);
        ::DestroyWindow(moving);
        ::DestroyWindow(fresh);
    }
}

TEST_F(ProgressWindowTest, PrintsThePictureItPaints)
{
    HWND placeholder = Placeholder(10, 10, 257, 18);
    auto bar = Bar(placeholder, 100);
    bar->SetPos(60, true);
    ::UpdateWindow(*bar);
    const std::vector<std::uint32_t> painted = bar->Picture();
    ASSERT_EQ(painted.size(), 255u * 16u);

    // A print (PrintWindow, WM_PRINT) gets the same picture in the DC it brings.
    HDC screen = ::GetDC(nullptr);
    HDC print = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 255, 16);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(print, bitmap);
    RECT all = {0, 0, 255, 16};
    ::FillRect(print, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    ::SendMessageA(*bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(print), PRF_CLIENT);
    for (int x : {2, 60, 150, 252})
        for (int y : {3, 8, 12}) {
            const std::uint32_t pixel = painted[y * 255 + x];  // 0x00RRGGBB, as a DIB holds it
            EXPECT_EQ(::GetPixel(print, x, y), RGB(pixel >> 16, (pixel >> 8) & 0xFF, pixel & 0xFF)) << x << ", " << y;
        }
    ::SelectObject(print, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(print);
    ::DestroyWindow(placeholder);
}

// A column of the built-in strip's tile, as the bar shows it at its own height of 16 rows.
std::vector<std::uint32_t> StripColumn(int tile, int column)
{
    const std::vector<std::uint32_t> strip = progress::BuiltInStripPixels();
    std::vector<std::uint32_t> pixels;
    for (int row = 0; row < progress::kBuiltInStripHeight; ++row)
        pixels.push_back(strip[row * progress::kBuiltInStripWidth + tile * 10 + column]);
    return pixels;
}

std::vector<std::uint32_t> PictureColumn(const std::vector<std::uint32_t>& picture, int width, int x)
{
    std::vector<std::uint32_t> pixels;
    for (size_t row = 0; row < picture.size() / width; ++row)
        pixels.push_back(picture[row * width + x]);
    return pixels;
}

TEST_F(ProgressWindowTest, BoundsShowTheBuiltInTilesWhereTheyBelong)
{
    // client 255 x 16: tiles of 10, track end 245
    struct Case { int position; BOOL reverse; int start; int end; };
    const Case cases[] = {{0, FALSE, 0, 10}, {100, FALSE, 0, 245}, {0, TRUE, 235, 245}, {50, FALSE, 0, 127}};
    HWND placeholder = Placeholder(10, 10, 257, 18);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.position << (c.reverse ? " reversed" : ""));
        auto bar = Bar(placeholder, 100, c.reverse);
        bar->SetPos(c.position, true);
        ::UpdateWindow(*bar);
        const std::vector<std::uint32_t> picture = bar->Picture();
        ASSERT_EQ(picture.size(), 255u * 16u);
        for (int x = 0; x < 255; ++x) {
            int tile = x >= c.start && x < c.end ? progress::kBarBody : progress::kTrack;
            int column = 0;
            if (x >= c.start && x < c.start + 10)
                tile = progress::kBarLeftEnd, column = x - c.start;
            if (x >= c.end && x < c.end + 10)
                tile = progress::kBarRightEnd, column = x - c.end;
            ASSERT_EQ(PictureColumn(picture, 255, x), StripColumn(tile, column)) << "column " << x;
        }
    }
}

TEST_F(ProgressWindowTest, ACallersStripOfAnotherDepthIsBroughtToTheScreensAndDrawn)
{
    // Nine flat tiles in 16-bit 5-5-5 colour; the screen has 32 bits.
    const WORD red = 31 << 10, green = 31 << 5, blue = 31, white = 0x7FFF, yellow = red | green, magenta = red | blue;
    const WORD tiles[9] = {magenta, magenta, red, magenta, yellow, green, magenta, blue, white};
    std::vector<WORD> bits(90 * 16);
    for (int row = 0; row < 16; ++row)
        for (int x = 0; x < 90; ++x)
            bits[row * 90 + x] = tiles[x / 10];
    CBitmap strip;
    ASSERT_TRUE(strip.CreateBitmap(90, 16, 1, 16, bits.data()));

    HWND placeholder = Placeholder(10, 10, 257, 18);
    InspectedProgressCtrl bar(CWnd::FromHandle(placeholder), 100, &strip, FALSE, nullptr, "", -3);
    ASSERT_TRUE(::IsWindow(bar));
    ::UpdateWindow(bar);
    const std::vector<std::uint32_t> picture = bar.Picture();
    ASSERT_EQ(picture.size(), 255u * 16u);
    // At the lower bound: both bar ends, the track after the bar, empty track, the track's end.
    struct Span { int from; int to; std::uint32_t colour; };
    const Span spans[] = {{0, 10, 0xFF0000}, {10, 20, 0x00FF00}, {20, 30, 0xFF00FF}, {30, 245, 0x0000FF},
                          {245, 255, 0xFFFFFF}};
    for (const Span& span : spans)
        for (int x = span.from; x < span.to; ++x)
            ASSERT_EQ(picture[8 * 255 + x], span.colour) << "column " << x;
}

TEST_F(ProgressWindowTest, PositionsThatMapToTheSamePixelsCauseNoInvalidation)
{
    HWND placeholder = Placeholder(10, 10, 202, 18);  // client 200: 180 pixels for 30000 positions
    auto bar = Bar(placeholder, 30000);
    ASSERT_TRUE(::IsWindow(*bar));
    ::UpdateWindow(*bar);
    ASSERT_FALSE(::GetUpdateRect(*bar, nullptr, FALSE));
    for (int position : {1, 100, 166}) {
        bar->SetPos(position, true);
        EXPECT_FALSE(::GetUpdateRect(*bar, nullptr, FALSE)) << position;
    }
    bar->SetPos(167, true);  // 167 x 180 / 30000 reaches the next pixel
    EXPECT_TRUE(::GetUpdateRect(*bar, nullptr, FALSE));
    ::UpdateWindow(*bar);
    bar->SetPos(200, true);
    EXPECT_FALSE(::GetUpdateRect(*bar, nullptr, FALSE));
}

TEST_F(ProgressWindowTest, FollowsAMovedPlaceholderButNotOneOfTwoPixelsOrLess)
{
    HWND placeholder = Placeholder(10, 10, 202, 18);
    auto bar = Bar(placeholder, 100);
    ASSERT_TRUE(::IsWindow(*bar));
    RECT expected = {10, 10, 212, 28};
    EXPECT_TRUE(IsAt(*bar, expected));

    ::MoveWindow(placeholder, 30, 50, 300, 22, TRUE);
    EXPECT_TRUE(bar->Refresh());
    expected = {30, 50, 330, 72};
    EXPECT_TRUE(IsAt(*bar, expected));

    // Moved without a repaint and without anyone calling: the timer brings the bar along.
    PumpUntil(100, [] { return false; });
    ::UpdateWindow(m_parent);
    ASSERT_FALSE(::GetUpdateRect(*bar, nullptr, FALSE));
    ::SetWindowPos(placeholder, nullptr, 40, 60, 250, 20, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    expected = {40, 60, 290, 80};
    EXPECT_FALSE(IsAt(*bar, expected));
    EXPECT_TRUE(PumpUntil(2000, [&] { return IsAt(*bar, expected); }));

    ::MoveWindow(placeholder, 40, 60, 250, 2, TRUE);
    EXPECT_TRUE(bar->Refresh());
    EXPECT_TRUE(IsAt(*bar, expected));
    ::MoveWindow(placeholder, 80, 90, 2, 20, TRUE);
    EXPECT_TRUE(bar->Refresh());
    EXPECT_TRUE(IsAt(*bar, expected));
}

TEST_F(ProgressWindowTest, TextWindowShowsTheTextAndWhenTheBarGoesGetsItsOwnBackAndTheBitmapsAreFreed)
{
    HWND placeholder = Placeholder(10, 10, 202, 18);
    HWND text = Placeholder(10, 40, 400, 20, "saved text");
    auto bar = Bar(placeholder, 100, FALSE, text, "Copying", -1);
    ASSERT_TRUE(::IsWindow(*bar));
    char buffer[128];
    bar->SetPos(25, true);
    ::GetWindowTextA(text, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Copying 25%");
    EXPECT_EQ(bar->GetPos(true), 6400);

    ::UpdateWindow(*bar);
    HWND window = *bar;
    HBITMAP offscreen = bar->Offscreen();
    ASSERT_EQ(::GetObjectType(offscreen), static_cast<DWORD>(OBJ_BITMAP));
    bar.reset();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_EQ(::GetObjectType(offscreen), 0u);  // the bar frees what it made
    ::GetWindowTextA(text, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "saved text");
}

struct WorkerJob {
    CBitmapProgressCtrl* bar;
    int upper;
    int finalPosition;
};

DWORD WINAPI MoveTheBar(LPVOID argument)
{
    const WorkerJob* job = static_cast<WorkerJob*>(argument);
    for (int round = 0; round < 3; ++round)
        for (int position = 0; position <= job->upper; ++position)
            job->bar->SetPos(position, true);
    for (int i = 0; i < 2000; ++i)
        job->bar->SetPos((i * 7919) % job->upper, true);
    job->bar->SetPos(job->finalPosition, true);
    return 0;
}

TEST_F(ProgressWindowTest, AWorkerThreadMovesTheBarWhileThisThreadPaints)
{
    HWND placeholder = Placeholder(10, 10, 302, 18);
    HWND fresh = Placeholder(10, 40, 302, 18);
    HWND text = Placeholder(10, 70, 400, 20);
    auto bar = Bar(placeholder, 30000, FALSE, text, "Writing", -1);
    ASSERT_TRUE(::IsWindow(*bar));
    WorkerJob job = {bar.get(), 30000, 12345};
    HANDLE worker = ::CreateThread(nullptr, 0, MoveTheBar, &job, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    int paints = 0;
    while (::MsgWaitForMultipleObjects(1, &worker, FALSE, 1, QS_ALLINPUT) != WAIT_OBJECT_0) {
        Pump();
        ::RedrawWindow(*bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        ++paints;
    }
    ::CloseHandle(worker);
    char buffer[128] = {};
    EXPECT_TRUE(PumpUntil(2000, [&] {
        ::GetWindowTextA(text, buffer, sizeof buffer);
        return std::string(buffer) == "Writing 41%";
    })) << buffer;
    ::UpdateWindow(*bar);
    EXPECT_GT(paints, 0);
    EXPECT_EQ(bar->GetPos(false), 12345);
    EXPECT_EQ(bar->Picture(), FullRepaintAt(fresh, 30000, 12345, FALSE));
}

TEST_F(ProgressWindowTest, WithoutTilesTheBarKeepsAValidRangeAndPaintsNothing)
{
    HWND placeholder = Placeholder(10, 10, 202, 2);  // no room for a strip under the edge
    auto bar = Bar(placeholder, 30000);
    ASSERT_TRUE(::IsWindow(*bar));
    EXPECT_EQ(bar->SetPos(50, true), 0);
    EXPECT_EQ(bar->GetPos(true), 50 * 256);
    EXPECT_FALSE(bar->SetRange(10, 10, FALSE, TRUE));
    ::RedrawWindow(*bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(bar->Picture().empty());
}

}  // namespace
