// sarrow/warning_splash_dialog.cpp
#include "sarrow/warning_splash_dialog.h"

#include "sarrow/resource.h"
#include "sarrow/skin.h"

namespace {

struct Frame {
    UINT_PTR timer;
    UINT bitmap;
    UINT_PTR next;
};

constexpr Frame kFrames[] = {
    {0x100, IDB_SPLASH_FRAME_1, 0x200},
    {0x200, IDB_SPLASH_FRAME_2, 0x300},
    {0x300, IDB_SPLASH_FRAME_3, 0x400},
    {0x400, IDB_SPLASH_FRAME_4, 0x100},
};

}  // namespace

CWarningSplashDialog::CWarningSplashDialog(CWnd* parent) : CBitmapDialog(IDD_WARNING_SPLASH, parent) {}

BEGIN_MESSAGE_MAP(CWarningSplashDialog, CBitmapDialog)
    ON_WM_TIMER()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BOOL CWarningSplashDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    AlignControlsToSkin(*this, kSansSerifPixelsPerTwoUnits);
    ApplySkin(*this, IDB_SPLASH_FRAME_1);
    const struct {
        int control;
        UINT text;
    } lines[] = {{IDC_WARNING_BACKUP, IDS_WARNING_BACKUP},
                 {IDC_WARNING_DATA_LOSS, IDS_WARNING_DATA_LOSS},
                 {IDC_WARNING_TITLE, IDS_WARNING_TITLE}};
    for (const auto& line : lines) {
        CString text;
        text.LoadString(line.text);
        SetDlgItemText(line.control, text);
    }
    UseSkinFont(GetDlgItem(IDC_WARNING_BACKUP), m_warningFont, 20);
    UseSkinFont(GetDlgItem(IDC_WARNING_DATA_LOSS), m_warningFont, 20);
    UseSkinFont(GetDlgItem(IDC_WARNING_TITLE), m_titleFont, 24);
    SetTimer(kFirstFrameTimer, kFirstFrameDelay);
    SetTimer(kEndOfSplashTimer, kSplashDuration);
    SetWindowText("Vexmend");
    return TRUE;
}

void CWarningSplashDialog::OnTimer(UINT_PTR id)
{
    for (const Frame& frame : kFrames) {
        if (frame.timer != id)
            continue;
        ApplySkin(*this, frame.bitmap);
        SetTimer(frame.next, kFrameDelay);
        KillTimer(id);
    }
    if (id == kEndOfSplashTimer)
        CDialog::OnCancel();
    Default();
}

HBRUSH CWarningSplashDialog::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    HBRUSH brush = CBitmapDialog::OnCtlColor(dc, control, kind);
    if (kind != CTLCOLOR_STATIC)
        return brush;
    switch (control->GetDlgCtrlID()) {
    case IDC_WARNING_BACKUP:
    case IDC_WARNING_DATA_LOSS:
        PrepareSkinText(*dc, m_warningFont, 20, RGB(255, 255, 255));
        break;
    case IDC_WARNING_TITLE:
        PrepareSkinText(*dc, m_titleFont, 24, RGB(20, 147, 194));
        break;
    default:
        return brush;
    }
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));  // the frame shows behind the text
}
