// sarrow/result_dialogs.cpp
#include "sarrow/result_dialogs.h"

#include "sarrow/resource.h"
#include "sarrow/skin.h"

CString FailureMessage;
CString SuccessMessage;

CResultDialog::CResultDialog(UINT templateId, UINT backgroundId, int textId, const CString& text, CWnd* parent)
    : CBitmapDialog(templateId, parent), m_backgroundId(backgroundId), m_textId(textId), m_text(text)
{
}

BEGIN_MESSAGE_MAP(CResultDialog, CBitmapDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

void CResultDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDOK, m_minimiseButton);
    DDX_Control(dx, IDCANCEL, m_closeButton);
}

BOOL CResultDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    AlignControlsToSkin(*this, kSystemFontPixelsPerTwoUnits);
    ApplySkin(*this, m_backgroundId);
    LoadCornerKeys(m_closeButton, m_minimiseButton);
    SetDlgItemText(m_textId, m_text);
    UseSkinFont(GetDlgItem(m_textId), m_textFont, 22);
    return TRUE;
}

void CResultDialog::OnOK()
{
    ShowWindow(SW_MINIMIZE);
}

HBRUSH CResultDialog::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    HBRUSH brush = CBitmapDialog::OnCtlColor(dc, control, kind);
    if (kind != CTLCOLOR_STATIC || control->GetDlgCtrlID() != m_textId)
        return brush;
    PrepareSkinText(*dc, m_textFont, 22, RGB(0, 0, 0));
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));  // the panel shows behind the text
}

CFailureDialog::CFailureDialog(CWnd* parent)
    : CResultDialog(IDD_FAILURE, IDB_FAILURE_BACKGROUND, IDC_FAILURE_TEXT, FailureMessage, parent)
{
}

CSuccessDialog::CSuccessDialog(CWnd* parent)
    : CResultDialog(IDD_SUCCESS, IDB_SUCCESS_BACKGROUND, IDC_SUCCESS_TEXT, SuccessMessage, parent)
{
}

void ShowFailureBox(UINT textId)
{
    FailureMessage.LoadString(textId);
    CFailureDialog box(nullptr);
    box.DoModal();
}

void ShowSuccessBox(UINT textId)
{
    SuccessMessage.LoadString(textId);
    CSuccessDialog box(nullptr);
    box.DoModal();
}
