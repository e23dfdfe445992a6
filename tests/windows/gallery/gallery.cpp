// A skinned dialog with hover buttons and the progress bar, saved as a screenshot: the gallery shows how the dialog
// class library, the skinned dialog base and the hover button look together.
// Usage: gallery.exe SCREENSHOT.bmp  (exit code 0 when the picture was taken and saved)
#include "brimlet/skin/bitmap_dialog.h"
#include "sarrow/controls/bitmap_progress_ctrl.h"
#include "sarrow/controls/hover_button.h"
#include "sarrow/resource.h"
#include "sarrow/skin.h"
#include "tests/windows/support/gallery.h"

#include <memory>
#include <vector>

namespace {

class CGalleryDialog : public CBitmapDialog
{
public:
    CGalleryDialog() : CBitmapDialog(500u, nullptr) {}
    LPCSTR m_screenshot = nullptr;
    bool m_saved = false;

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CBitmapDialog::DoDataExchange(dx);
        DDX_Control(dx, 1003, m_minimise);
        DDX_Control(dx, 1002, m_close);
        DDX_Control(dx, 1006, m_end);
        DDX_Control(dx, 1004, m_start);
    }
    BOOL OnInitDialog() override
    {
        CBitmapDialog::OnInitDialog();
        ApplySkin(*this, IDB_REPAIR_BACKGROUND);
        LoadCaptionedKey(m_start, IDS_START);
        LoadCaptionedKey(m_end, IDS_END);
        LoadCornerKeys(m_close, m_minimise);
        CheckRadioButton(1005, 1007, 1005);
        SetWindowText("Vexmend");
        UseSkinFont(GetDlgItem(IDC_FAST), m_radioFont, 24);
        UseSkinFont(GetDlgItem(IDC_COMPLETE), m_radioFont, 24);
        for (int control : {IDC_DEVICE_BOX, IDC_OPTION_CAPTION, IDC_DEVICE_CAPTION})
            UseSkinFont(GetDlgItem(control), m_labelFont, 22);
        UseSkinFont(GetDlgItem(IDC_STATUS), m_statusFont, 18);
        // The progress bar over its placeholder, with its text in the status line.
        m_progress = std::make_unique<CBitmapProgressCtrl>(GetDlgItem(1009), 100, nullptr, FALSE,
                                                          GetDlgItem(1023), "Formatting", 1);
        CenterWindow();
        SetTimer(1, 40);
        return TRUE;
    }
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind)
    {
        HBRUSH brush = CBitmapDialog::OnCtlColor(dc, control, kind);
        if (kind != CTLCOLOR_STATIC || !control)
            return brush;
        switch (control->GetDlgCtrlID()) {
        case IDC_FAST:
        case IDC_COMPLETE:
            PrepareSkinText(*dc, m_radioFont, 24, RGB(0, 0, 0));
            break;
        case IDC_DEVICE_BOX:
        case IDC_OPTION_CAPTION:
        case IDC_DEVICE_CAPTION:
            PrepareSkinText(*dc, m_labelFont, 22, RGB(0, 0, 0));
            break;
        case IDC_STATUS:
            PrepareSkinText(*dc, m_statusFont, 18, RGB(0, 0, 0));
            break;
        default:
            return brush;
        }
        return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
    }
    void OnTimer(UINT_PTR id)
    {
        if (id != 1) {
            CBitmapDialog::OnTimer(id);
            return;
        }
        // The bar moves in steps before the picture is taken.
        if (m_progress && m_progress->GetPos(false) < 60) {
            m_progress->SetPos(m_progress->GetPos(false) + 10, true);
            return;
        }
        KillTimer(id);
        // Show the three looks at once: Start hovered, End pressed, close hovered.
        m_start.SendMessage(WM_MOUSEHOVER);
        m_close.SendMessage(WM_MOUSEHOVER);
        m_end.SendMessage(BM_SETSTATE, TRUE);
        UpdateWindow();
        m_saved = m_screenshot && test_support::SaveGalleryPicture(m_hWnd, m_screenshot, "gallery");
        EndDialog(IDOK);
    }

    CHoverButton m_minimise;
    CHoverButton m_close;
    CHoverButton m_end;
    CHoverButton m_start;
    CFont m_labelFont;
    CFont m_radioFont;
    CFont m_statusFont;
    std::unique_ptr<CBitmapProgressCtrl> m_progress;

    void OnDestroy()
    {
        m_progress.reset();
        CBitmapDialog::OnDestroy();
    }
};

BEGIN_MESSAGE_MAP(CGalleryDialog, CBitmapDialog)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

test_support::CGalleryApp<CGalleryDialog> theApp;

}  // namespace
