// The skin controls' gallery: Brimlet's image buttons, colour labels, colour edit and link labels
// in their states on the licence dialog's picture, saved as a screenshot.
// Usage: skin_controls_gallery.exe SCREENSHOT.bmp  (exit code 0 when the picture was taken and saved)
#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/color_edit.h"
#include "brimlet/skin/color_label.h"
#include "brimlet/skin/image_button.h"
#include "brimlet/skin/link_label.h"
#include "brimlet/resources/resource_ids.h"
#include "tests/windows/support/gallery.h"

#include <iterator>

namespace {

constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kSmallKey = RGB(75, 100, 112);
constexpr COLORREF kPanel = RGB(244, 247, 252);

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
        SetBitmap(IDB_LICENCE_BACKGROUND);
        SetBitmapStyle(4);
        SetTransparent(0);
        SetTransparentColor(kGreen, TRUE);

        // OK and Cancel in the picture's two slots, as the licence dialog has them: normal and hover.
        const int columns[] = {30, 138, 246, 354};
        auto textButton = [&](CGalleryButton& button, UINT normal) {
            button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
            button.SetBitmapPair(IDB_TEXT_BUTTON, kGreen, normal, kGreen);
            button.FitToImage();
            button.UseParentBackground(FALSE);
        };
        textButton(m_buttons[0], IDB_TEXT_BUTTON);
        textButton(m_buttons[1], IDB_TEXT_BUTTON);
        Place(m_buttons[0], 100, 365);
        Place(m_buttons[1], 280, 365);
        // The other states across the panel.
        for (int i = 2; i < 6; ++i) {
            textButton(m_buttons[i], IDB_TEXT_BUTTON);
            Place(m_buttons[i], columns[i - 2], 90);
            Place(m_captions[i - 2], columns[i - 2] - 4, 130, 110, 14);
        }
        // Not flat: the 3-D frame, a black frame and the focus rectangle when focused.
        CGalleryButton& focused = m_buttons[4];
        focused.SetFlatStyle(FALSE, FALSE);
        focused.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
        m_buttons[5].SetCheckState(1, FALSE);
        textButton(m_buttons[6], CImageButton::kGreyImage);
        Place(m_buttons[6], columns[0], 152);
        Place(m_captions[4], columns[0] - 4, 202, 110, 14);
        // Icons beside and above the caption, a derived grey normal image, and disabled.
        for (int i = 7; i < 10; ++i) {
            CGalleryButton& icon = m_buttons[i];
            icon.SetImageAlignment(i == 8 ? CImageButton::kImageAbove : CImageButton::kImageLeft, FALSE);
            icon.SetIconPair(IDI_BRIMLET, i == 8 ? CImageButton::kGreyImage : 0);
            icon.SetFlatStyle(FALSE, FALSE);
            for (BYTE index = 0; index < CImageButton::kFaceColourCount; index += 2)
                icon.SetFaceColor(index, kPanel);
            Place(icon, columns[i - 6], 146, 102, 52);
            Place(m_captions[i - 2], columns[i - 6] - 4, 202, 110, 14);
        }
        // The small buttons of the title strip: in the picture's slots minimise and close as they
        // are, left of them the two hovered.
        const UINT small[4][2] = {{IDB_MINIMISE_HOVER, IDB_MINIMISE}, {IDB_CLOSE_HOVER, IDB_CLOSE},
                                  {IDB_MINIMISE_HOVER, IDB_MINIMISE}, {IDB_CLOSE_HOVER, IDB_CLOSE}};
        const int smallColumns[] = {363, 415, 250, 300};
        for (int i = 0; i < 4; ++i) {
            CGalleryButton& button = m_buttons[10 + i];
            button.SetImageAlignment(CImageButton::kImageUnderCaption, FALSE);
            button.SetBitmapPair(small[i][0], kSmallKey, small[i][1], kSmallKey);
            button.FitToImage();
            Place(button, smallColumns[i], 19);
        }
        Place(m_captions[8], 355, 48, 110, 14);
        Place(m_captions[9], 242, 48, 110, 14);
        for (int i = 0; i < 8; ++i)
            m_captions[i].SetTextColour(RGB(70, 80, 95));
        for (int i = 8; i < 10; ++i)
            m_captions[i].SetTextColour(RGB(255, 255, 255));

        Place(m_transparentLabel, 30, 222, 196, 30);
        m_solidLabel.SetTransparentBackground(FALSE);
        m_solidLabel.SetBackgroundColour(RGB(255, 244, 200));
        m_solidLabel.SetTextColour(RGB(120, 60, 0));
        Place(m_solidLabel, 232, 222, 112, 30);
        m_fast.SetTextColour(RGB(40, 60, 90));
        m_complete.SetTextColour(RGB(40, 60, 90));
        m_complete.SendMessage(BM_SETCHECK, BST_CHECKED);
        m_complete.EnableMouseAndKeys(FALSE);
        Place(m_fast, 354, 220, 100, 16);
        Place(m_complete, 354, 238, 100, 16);

        m_text.SetTextColour(RGB(0, 0, 0));
        m_text.SetWindowText(
            "LICENCE AGREEMENT\r\n\r\n"
            "Black text straight on the\r\n"
            "dialog's picture, painted again\r\n"
            "under it when it scrolls.\r\n\r\n"
            "1. Use. Repair your own drives.\r\n"
            "2. Warranty. None.");
        Place(m_text, 30, 260, 196, 90);

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
        Place(m_links[3], 232, 260, 24, 90);
        Place(m_links[0], 264, 260, 190, 18);
        Place(m_links[1], 264, 282, 190, 18);
        Place(m_links[2], 264, 304, 190, 16);
        Place(m_links[4], 264, 322, 92, 28);
        Place(m_links[5], 362, 322, 92, 28);

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
        m_buttons[12].ShowHover();
        m_buttons[13].ShowHover();
        m_buttons[2].SendMessage(BM_SETSTATE, TRUE);
        m_buttons[4].SetFocus();
        // The flashing label in the phase that shows its text.
        m_links[4].FlashText(FALSE);
        m_links[4].FlashText(TRUE);
        m_links[4].ShowFlashPhase(TRUE);
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        m_saved = m_screenshot && test_support::SaveGalleryPicture(m_hWnd, m_screenshot, "skin controls gallery");
        EndDialog(IDOK);
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

test_support::CGalleryApp<CControlsGallery> theApp;

}  // namespace
