// brimlet/message_dialog.cpp
#include "brimlet/message_dialog.h"

#include "brimlet/dialog_skin.h"
#include "brimlet/resource.h"

CMessageDialog::CMessageDialog(CWnd* parent) : CBitmapDialog(IDD_MESSAGE, parent) {}

BEGIN_MESSAGE_MAP(CMessageDialog, CBitmapDialog)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, &CMessageDialog::OnCloseButton)
    ON_BN_CLICKED(IDC_MINIMISE_BUTTON, &CMessageDialog::OnMinimiseButton)
END_MESSAGE_MAP()

int ShowMessageDialog(LPCSTR text, BOOL error)
{
    CMessageDialog* dialog = new CMessageDialog(nullptr);
    dialog->m_text = text;
    dialog->m_error = error;
    dialog->DoModal();
    delete dialog;
    return 0;
}

void CMessageDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MINIMISE_BUTTON, m_minimiseButton);
    DDX_Control(dx, IDC_MESSAGE_TEXT, m_textLabel);
    DDX_Control(dx, IDC_CLOSE_BUTTON, m_closeButton);
}

BOOL CMessageDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    ApplyDialogSkin(*this, m_error ? IDB_MESSAGE_ERROR : IDB_MESSAGE_SUCCESS);

    m_textLabel.SetWindowText(m_text);
    m_textLabel.SetTransparentBackground(TRUE);
    m_textLabel.SetFontPointSize(12);

    SetUpCornerButtons(m_closeButton, m_minimiseButton);
    return TRUE;
}

BOOL CMessageDialog::OnEraseBkgnd(CDC* dc)
{
    CBitmapDialog::OnEraseBkgnd(dc);
    return TRUE;
}

void CMessageDialog::OnSize(UINT type, int cx, int cy)
{
    CBitmapDialog::OnSize(type, cx, cy);
    if (!m_textLabel.GetSafeHwnd())
        return;
    constexpr UINT keep = SWP_NOSIZE | SWP_NOZORDER;
    m_textLabel.SetWindowPos(nullptr, 200, 100, cx - 220, cy - 120, SWP_NOZORDER);
    m_closeButton.SetWindowPos(nullptr, cx - 65, 16, 0, 0, keep);
    m_minimiseButton.SetWindowPos(nullptr, cx - 118, 16, 0, 0, keep);
}

void CMessageDialog::OnCloseButton()
{
    OnCancel();
}

void CMessageDialog::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}
