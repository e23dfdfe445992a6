// The menu gallery: an owner-drawn popup menu tracked for real in the classic and in the XP look,
// and a region bitmap dialog, each saved as the picture the window paints of itself (never the
// screen, which other tests' windows share); the region dialog's picture keeps only its region.
// Usage: menu_gallery.exe CLASSIC.bmp XP.bmp REGION.bmp  (exit code 0 when all three are saved)
#include "brimlet/skin/orvel_menu.h"
#include "brimlet/skin/region_bitmap_dialog.h"
#include "tests/windows/support/gallery.h"
#include "tests/windows/support/open_menu.h"

#include <cstdio>
#include <vector>

namespace {

constexpr UINT kToolbar = 300;
constexpr UINT kGalleryBitmap = 360;
constexpr UINT kRegionTemplate = 410;
constexpr COLORREF kMagenta = RGB(255, 0, 255);
constexpr UINT_PTR kCaptureTimer = 1;

// Lets the windows paint: dispatches what is queued for about the given time.
void Pump(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (::GetTickCount() - start < milliseconds) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::Sleep(10);
    }
}

bool Save(HWND window, LPCSTR path) { return test_support::SaveGalleryPicture(window, path, "menu gallery"); }

// Paints the pixels of a saved picture (24-bit, bottom-up) that lie outside the window's region
// in a neutral grey, as the screen would show them with nothing behind the window.
bool KeepRegionOnly(HWND window, LPCSTR path)
{
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    const bool hasRegion = ::GetWindowRgn(window, region) != ERROR;
    bool kept = false;
    if (FILE* file = hasRegion ? std::fopen(path, "r+b") : nullptr) {
        BITMAPFILEHEADER header = {};
        BITMAPINFOHEADER info = {};
        if (std::fread(&header, sizeof header, 1, file) == 1 && std::fread(&info, sizeof info, 1, file) == 1 &&
            info.biBitCount == 24 && info.biHeight > 0) {
            const long stride = (info.biWidth * 3 + 3) & ~3L;
            std::vector<BYTE> pixels(static_cast<size_t>(stride) * info.biHeight);
            std::fseek(file, static_cast<long>(header.bfOffBits), SEEK_SET);
            if (std::fread(pixels.data(), pixels.size(), 1, file) == 1) {
                for (LONG y = 0; y < info.biHeight; ++y)
                    for (LONG x = 0; x < info.biWidth; ++x)
                        if (!::PtInRegion(region, x, y))
                            std::memset(&pixels[static_cast<size_t>(info.biHeight - 1 - y) * stride + x * 3], 0x80, 3);
                std::fseek(file, static_cast<long>(header.bfOffBits), SEEK_SET);
                kept = std::fwrite(pixels.data(), pixels.size(), 1, file) == 1;
            }
        }
        kept = std::fclose(file) == 0 && kept;
    }
    ::DeleteObject(region);
    return kept;
}

// The window that owns the tracked menu: it measures the items and takes the screenshot while
// the menu is open.
class CGalleryWindow : public CWnd
{
public:
    BOOL CreateGallery()
    {
        return CreateEx(0, AfxRegisterWndClass(0, ::LoadCursorA(nullptr, IDC_ARROW), ::GetSysColorBrush(COLOR_APPWORKSPACE)),
                        "Menu gallery", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 420, 300, nullptr, nullptr);
    }

    // Opens the popup, highlights its second item and saves the menu as the screen shows it.
    bool ShowAndSave(OrvelMenu& top, CMenu* popup, LPCSTR path)
    {
        m_top = &top;
        m_path = path;
        m_step = 0;
        m_saved = false;
        SetTimer(kCaptureTimer, 200);
        POINT at = {30, 30};
        ClientToScreen(&at);
        ::TrackPopupMenu(*popup, TPM_LEFTALIGN | TPM_RETURNCMD | TPM_NONOTIFY, at.x, at.y, 0, m_hWnd, nullptr);
        KillTimer(kCaptureTimer);
        return m_saved;
    }

protected:
    DECLARE_MESSAGE_MAP()
    void OnMeasureItem(int id, LPMEASUREITEMSTRUCT item)
    {
        if (item->CtlType == ODT_MENU && m_top)
            m_top->MeasureItem(item);
        else
            CWnd::OnMeasureItem(id, item);
    }
    void OnTimer(UINT_PTR id)
    {
        HWND menu = test_support::OpenMenuWindow();
        if (id != kCaptureTimer || !menu)
            return;
        if (m_step++ == 0) {
            // The menu's own loop reads the keys: the second item gets the highlight.
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            ::PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
            return;
        }
        m_saved = Save(menu, m_path);
        ::EndMenu();
    }

    OrvelMenu* m_top = nullptr;
    LPCSTR m_path = nullptr;
    int m_step = 0;
    bool m_saved = false;
};

BEGIN_MESSAGE_MAP(CGalleryWindow, CWnd)
    ON_WM_MEASUREITEM()
    ON_WM_TIMER()
END_MESSAGE_MAP()

// A popup with images from the toolbar, a checked image, a greyed image, a drawn check, a radio
// bullet, a coloured image, a separator and a submenu.
void BuildMenu(OrvelMenu& top)
{
    top.CreateMenu();
    OrvelMenu* popup = top.AppendPopup("&Gallery");
    popup->AppendItem("&Open\tCtrl+O", MF_STRING, 100, kToolbar);
    popup->AppendItem("&Save as\tCtrl+Shift+S", MF_STRING | MF_CHECKED, 101, kToolbar);
    popup->AppendItem("&Print\tCtrl+P", MF_STRING | MF_GRAYED, 102, kToolbar);
    popup->AppendItem("", 0, 0);
    popup->AppendItem("&Word wrap", MF_STRING | MF_CHECKED, 200);
    popup->AppendItem("&Large icons", MF_STRING, 201);
    popup->AppendItem("&Colour", MF_STRING, 202);
    popup->ModifyItemColour(static_cast<LPCSTR>(nullptr), 202, RGB(230, 120, 20), RGB(90, 40, 0));
    popup->AppendItem("", 0, 0);
    OrvelMenu* recent = popup->AppendPopup("&Recent files");
    recent->AppendItem("One", MF_STRING, 210);
    popup->AppendItem("E&xit", MF_STRING | MF_GRAYED, 203);
    ::CheckMenuRadioItem(*popup, 201, 201, 201, MF_BYCOMMAND);
    HBITMAP bullet = ::CreateBitmap(8, 8, 1, 1, nullptr);  // a checked-state bitmap marks a radio item
    ::SetMenuItemBitmaps(*popup, 201, MF_BYCOMMAND, nullptr, bullet);
}

class CGalleryApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        Enable3dControlsStatic();
        m_exitCode = 1;
        if (__argc < 4)
            return FALSE;
        CGalleryWindow window;
        if (!window.CreateGallery())
            return FALSE;
        m_pMainWnd = &window;
        Pump(200);

        // Images bound in the XP look carry its variants; the classic look uses the image alone.
        OrvelMenu::SetDrawModes(1, 1);
        OrvelMenu top;
        BuildMenu(top);
        CMenu* popup = top.GetSubMenuAt(0);
        OrvelMenu::SetDrawModes(0, 0);
        const bool classic = popup && window.ShowAndSave(top, popup, __argv[1]);
        OrvelMenu::SetDrawModes(1, 1);
        const bool xp = popup && window.ShowAndSave(top, popup, __argv[2]);

        CRegionBitmapDialog dialog(kRegionTemplate, &window, nullptr, kGalleryBitmap);
        bool region = false;
        if (dialog.Create(kRegionTemplate, &window)) {
            dialog.SetRegionKeyColor(kMagenta);
            dialog.EnableBitmapRegion(TRUE);
            dialog.CenterWindow(&window);
            dialog.ShowWindow(SW_SHOW);
            Pump(300);
            dialog.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            region = Save(dialog.m_hWnd, __argv[3]) && KeepRegionOnly(dialog.m_hWnd, __argv[3]);
            dialog.DestroyWindow();
        }
        m_pMainWnd = nullptr;
        window.DestroyWindow();
        if (!classic || !xp)
            std::fprintf(stderr, "menu gallery: classic %s, XP %s\n", classic ? "saved" : "not saved",
                         xp ? "saved" : "not saved");
        m_exitCode = classic && xp && region ? 0 : 1;
        return FALSE;
    }
};

CGalleryApp theApp;

}  // namespace
