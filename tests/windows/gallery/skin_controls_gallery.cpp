// The skin controls' gallery: Brimlet's image buttons, colour labels, colour edit and link labels
// in their states on a skinned dialog, saved as a screenshot.
// Usage: skin_controls_gallery.exe SCREENSHOT.bmp  (exit code 0 when the picture was taken and saved)
#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/color_edit.h"
#include "brimlet/skin/color_label.h"
#include "brimlet/skin/image_button.h"
#include "brimlet/skin/link_label.h"
#include "tests/windows/support/screen_capture.h"

#include <cstdio>
#include <cstdlib>
#include <iterator>

namespace {

constexpr UINT kBackground = 700;
constexpr UINT kButtonFace = 701;
constexpr UINT kClose = 702;
constexpr UINT kCloseHover = 703;
constexpr UINT kMinimise = 704;
constexpr UINT kMinimiseHover = 705;
constexpr UINT kIcon = 706;
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kSmallKey = RGB(75, 100, 112);
constexpr COLORREF kPanel = RGB(226, 231, 239);

// The gallery shows states that the pointer would bring.
class CGalleryButton : public CImageButton
{
public:
    void ShowHover()
    {
        m_hovering = TRUE;
        Invalidate();
    }
};

class CGalleryLink : public CLinkLabel
{
public:
    void ShowFlashPhase(BOOL phase)
    {
        m_flashPhase = phase;
        RedrawLabel();
    }
};

class CControlsGallery : public CBitmapDialog
{
public:
    CControlsGallery() : CBitmapDialog(600u, nullptr) {}
    LPCSTR m_screenshot = nullptr;
    bool m_saved = false;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CBitmapDialog::DoDataExchange(dx);
        static const int buttons[] = {IDOK, IDCANCEL, 601, 602, 603, 604, 605, 606, 607, 608, 611, 612, 613, 614};
        for (int i = 0; i < static_cast<int>(std::size(buttons)); ++i)
            DDX_Control(dx, buttons[i], m_buttons[i]);
        for (int i = 0; i < 10; ++i)
            DDX_Control(dx, 621 + i, m_captions[i]);
        DDX_Control(dx, 640, m_transparentLabel);
        DDX_Control(dx, 641, m_solidLabel);
        DDX_Control(dx, 642, m_fast);
        DDX_Control(dx, 643, m_complete);
        DDX_Control(dx, 644, m_title);
        DDX_Control(dx, 650, m_text);
        for (int i = 0; i < 6; ++i)
            DDX_Control(dx, 660 + i, m_links[i]);
    }

    void Place(CWnd& control, int x, int y, int width = 0, int height = 0)
    {
        control.SetWindowPos(nullptr, x, y, width, height,
                             SWP_NOZORDER | SWP_NOACTIVATE | (width ? 0 : SWP_NOSIZE));
    }

    BOOL OnInitDialog() override
    {
        CBitmapDialog::OnInitDialog();
        // As Brimlet's dialogs: dragged by the background, sized to the picture, green keyed out.
        SetEasyMove(TRUE);
        SetBitmap(kBackground);
        SetBitmapStyle(4);
        SetTransparent(0);
        SetTransparentColor(kGreen, TRUE);

        // Text buttons: row one in five states, row two check boxes and icons.
        const int columns[] = {30, 126, 222, 318, 414};
        for (int i = 0; i < 5; ++i) {
            CGalleryButton& button = m_buttons[i];
            button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
            button.SetBitmapPair(kButtonFace, kGreen, kButtonFace, kGreen);
            button.FitToImage();
            button.UseParentBackground(FALSE);
            Place(button, columns[i], 56);
            Place(m_captions[i], columns[i] - 10, 86, 100, 14);
        }
        // Not flat: the 3-D frame, a black frame and the focus rectangle when focused.
        CGalleryButton& focused = m_buttons[4];
        focused.SetFlatStyle(FALSE, FALSE);
        for (BYTE index = 0; index < CImageButton::kFaceColourCount; index += 2)
            focused.SetFaceColor(index, kPanel);

        for (int i = 5; i < 7; ++i) {
            CGalleryButton& check = m_buttons[i];
            check.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
            check.SetBitmapPair(kButtonFace, kGreen, CImageButton::kGreyImage, kGreen);
            check.FitToImage();
            check.UseParentBackground(FALSE);
            Place(check, columns[i - 5], 118);
            Place(m_captions[i], columns[i - 5] - 10, 148, 100, 14);
        }
        m_buttons[5].SetCheckState(1, FALSE);
        // Icons beside and under the caption, and a derived grey normal image.
        for (int i = 7; i < 10; ++i) {
            CGalleryButton& icon = m_buttons[i];
            icon.SetImageAlignment(i == 8 ? CImageButton::kImageAbove : CImageButton::kImageLeft, FALSE);
            icon.SetIconPair(kIcon, i == 8 ? CImageButton::kGreyImage : 0);
            icon.SetFlatStyle(FALSE, FALSE);
            for (BYTE index = 0; index < CImageButton::kFaceColourCount; index += 2)
                icon.SetFaceColor(index, kPanel);
            Place(icon, columns[i - 5], 106, 90, i == 8 ? 52 : 40);
            Place(m_captions[i], columns[i - 5] - 5, 160, 100, 14);
        }
        // The small buttons of the title strip, normal and hovered, on their own key colour.
        const UINT small[4][2] = {{kMinimiseHover, kMinimise}, {kMinimiseHover, kMinimise}, {kCloseHover, kClose},
                                  {kCloseHover, kClose}};
        for (int i = 0; i < 4; ++i) {
            CGalleryButton& button = m_buttons[10 + i];
            button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
            button.SetBitmapPair(small[i][0], kSmallKey, small[i][1], kSmallKey);
            button.FitToImage();
            Place(button, 430 + i * 20, 6);
        }
        for (CColorLabel& caption : m_captions)
            caption.SetTextColour(RGB(70, 80, 95));

        m_title.CreateLabelFont(11, TRUE, FALSE, "Arial");
        m_title.SetTextColour(RGB(255, 255, 255));
        Place(m_title, 16, 6, 300, 20);

        m_transparentLabel.SetFontPointSize(9);
        Place(m_transparentLabel, 30, 184, 200, 34);
        m_solidLabel.SetTransparentBackground(FALSE);
        m_solidLabel.SetBackgroundColour(RGB(255, 244, 200));
        m_solidLabel.SetTextColour(RGB(120, 60, 0));
        Place(m_solidLabel, 240, 184, 140, 34);
        m_fast.SetTextColour(RGB(40, 60, 90));
        m_complete.SetTextColour(RGB(40, 60, 90));
        m_complete.SendMessage(BM_SETCHECK, BST_CHECKED);
        m_complete.EnableMouseAndKeys(FALSE);
        Place(m_fast, 392, 184, 118, 16);
        Place(m_complete, 392, 202, 118, 16);
        m_complete.SetWindowText("Complete (no input)");

        m_text.SetTextColour(RGB(0, 0, 0));
        m_text.SetWindowText(
            "VEXMEND LICENCE AGREEMENT\r\n\r\n"
            "Black text straight on the dialog's\r\n"
            "picture, painted again under it when\r\n"
            "the text scrolls or is selected.\r\n\r\n"
            "1. Use. Repair your own drives.\r\n"
            "2. Warranty. None.");
        Place(m_text, 30, 226, 262, 74);

        m_links[0].SetBackgroundFill(RGB(20, 60, 120), RGB(150, 200, 255), TRUE).SetTextColour(RGB(255, 255, 255));
        m_links[1]
            .SetBackgroundFill(RGB(60, 90, 130), 0, FALSE)
            .SetTextColour(RGB(20, 30, 50))
            .SetRaisedText(TRUE, FALSE)
            .SetFontWeightBold(TRUE);
        m_links[2].SetTransparentBackground(TRUE).SetTextColour(RGB(0, 70, 200)).SetFontUnderline(TRUE).SetLink(TRUE, TRUE);
        m_links[3].SetBackgroundFill(RGB(255, 255, 255), 0, FALSE)
            .SetFontFaceName("Arial", ANSI_CHARSET)
            .SetFontPointSize(9)
            .SetTextRotation(90, TRUE)
            .SetTextColour(RGB(150, 30, 30));
        m_links[4].SetBackgroundFill(RGB(255, 230, 230), 0, FALSE).SetTextColour(RGB(200, 0, 0)).FlashText(TRUE);
        m_links[5].SetBackgroundFill(RGB(240, 240, 240), 0, FALSE).SetSunkenEdge(TRUE).SetBorderLine(TRUE);
        Place(m_links[0], 334, 226, 170, 20);
        Place(m_links[1], 334, 250, 170, 20);
        Place(m_links[2], 334, 274, 170, 18);
        Place(m_links[4], 334, 296, 170, 18);
        Place(m_links[5], 30, 310, 290, 28);
        Place(m_links[3], 298, 226, 26, 74);

        CenterWindow();
        SetTimer(1, 300);
        return TRUE;
    }

    void OnTimer(UINT_PTR id)
    {
        if (id != 1) {
            CBitmapDialog::OnTimer(id);
            return;
        }
        KillTimer(id);
        m_buttons[1].ShowHover();
        m_buttons[11].ShowHover();
        m_buttons[13].ShowHover();
        m_buttons[2].SendMessage(BM_SETSTATE, TRUE);
        m_buttons[4].SetFocus();
        // The flashing label in the phase that shows its text.
        m_links[4].FlashText(FALSE);
        m_links[4].FlashText(TRUE);
        m_links[4].ShowFlashPhase(TRUE);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        m_saved = m_screenshot && Save(m_screenshot);
        EndDialog(IDOK);
    }

    // The window as the screen shows it; a uniform picture is a failed one.
    bool Save(LPCSTR path)
    {
        const test_support::ScreenCapture capture = test_support::SaveWindowScreenshot(m_hWnd, path);
        if (!capture.copied || !capture.varied)
            std::fprintf(stderr, "skin controls gallery: screen copy %s, picture %s\n", capture.copied ? "ok" : "failed",
                         capture.varied ? "varied" : "uniform");
        return capture.copied && capture.varied && capture.saved;
    }

    CGalleryButton m_buttons[14];
    CColorLabel m_captions[10];
    CColorLabel m_transparentLabel;
    CColorLabel m_solidLabel;
    CColorLabelButton m_fast;
    CColorLabelButton m_complete;
    CColorLabel m_title;
    CColorEdit m_text;
    CGalleryLink m_links[6];
};

BEGIN_MESSAGE_MAP(CControlsGallery, CBitmapDialog)
    ON_WM_TIMER()
END_MESSAGE_MAP()

class CGalleryApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        Enable3dControlsStatic();
        CControlsGallery dialog;
        dialog.m_screenshot = __argc > 1 ? __argv[1] : nullptr;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        m_exitCode = dialog.m_saved ? 0 : 1;
        return FALSE;
    }
};

CGalleryApp theApp;

}  // namespace
