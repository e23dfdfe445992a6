// brimlet/agreement_dialog.cpp
#include "brimlet/agreement_dialog.h"

#include <cstdio>

#include "brimlet/dialog_skin.h"
#include "brimlet/resource.h"

namespace {
constexpr DWORD kPrimaryLanguageMask = 0x3FF;
constexpr DWORD kLanguageChinese = 0x04;
constexpr DWORD kLanguageEnglish = 0x09;
}  // namespace

CAgreementDialog::CAgreementDialog(CWnd* parent) : CBitmapDialog(IDD_AGREEMENT, parent)
{
    m_pieces.count = 0;
}

BEGIN_MESSAGE_MAP(CAgreementDialog, CBitmapDialog)
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, &CAgreementDialog::OnCloseButton)
    ON_BN_CLICKED(IDC_MINIMISE_BUTTON, &CAgreementDialog::OnMinimiseButton)
END_MESSAGE_MAP()

void CAgreementDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MINIMISE_BUTTON, m_minimiseButton);
    DDX_Control(dx, IDC_SCROLL_THUMB, m_thumbPicture);
    DDX_Control(dx, IDC_SCROLL_UP, m_upButton);
    DDX_Control(dx, IDC_SCROLL_DOWN, m_downButton);
    DDX_Control(dx, IDC_VIEW_LABEL, m_viewLabel);
    DDX_Control(dx, IDC_CLOSE_BUTTON, m_closeButton);
    DDX_Control(dx, IDC_AGREEMENT_TEXT, m_textBox);
    DDX_Control(dx, IDOK, m_okButton);
    DDX_Control(dx, IDCANCEL, m_cancelButton);
}

BOOL CAgreementDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    ::OutputDebugStringA("Agreement OnInitDialog 0");
    ApplyDialogSkin(*this, IDB_LICENCE_BACKGROUND);

    SetUpTextButton(m_cancelButton);
    SetUpTextButton(m_okButton);
    SetUpCornerButtons(m_closeButton, m_minimiseButton);
    // The scroll buttons and the view label stay hidden, but are made up as shown ones would be.
    SetUpSmallButton(m_upButton, IDB_SCROLL_UP, IDB_SCROLL_UP);
    SetUpSmallButton(m_downButton, IDB_SCROLL_DOWN, IDB_SCROLL_DOWN);
    m_viewLabel.SetTransparentBackground(TRUE);

    m_textBox.SetTextColour(RGB(0, 0, 0));
    m_textBox.RedrawBehind();

    ::OutputDebugStringA("Agreement OnInitDialog 1");
    LoadAgreementFile();
    ::OutputDebugStringA("Agreement OnInitDialog 2");
    m_accepted = FALSE;
    return TRUE;
}

void CAgreementDialog::LoadAgreementFile()
{
    ::OutputDebugStringA("Agreement LoadAgreementFile 0");
    const LCID lcid = ::GetSystemDefaultLCID();
    const DWORD primary = lcid & kPrimaryLanguageMask;
    if (primary == kLanguageChinese)
        ::OutputDebugStringA("Agreement LoadAgreementFile CHN");
    else if (primary == kLanguageEnglish)
        ::OutputDebugStringA("Agreement LoadAgreementFile ENG");
    const char* fileName = brimlet::LicenceFileForLcid(lcid);

    if (std::FILE* file = std::fopen(fileName, "rb")) {
        ::OutputDebugStringA("Agreement LoadAgreementFile Open OK");
        brimlet::ReadLicencePieces(file, m_pieces);
        std::fclose(file);
        const std::string text = brimlet::JoinLicencePieces(m_pieces);
        m_textBox.SetWindowText(text.c_str());
        ::OutputDebugStringA("Agreement LoadAgreementFile Set Text OK");
    }
    ::OutputDebugStringA("Agreement LoadAgreementFile 1");
}

void CAgreementDialog::OnOK()
{
    m_accepted = TRUE;
    CBitmapDialog::OnOK();
}

BOOL CAgreementDialog::OnEraseBkgnd(CDC* dc)
{
    CBitmapDialog::OnEraseBkgnd(dc);
    return TRUE;
}

void CAgreementDialog::OnSize(UINT type, int cx, int cy)
{
    CBitmapDialog::OnSize(type, cx, cy);
    if (!m_okButton.GetSafeHwnd())
        return;
    constexpr UINT keep = SWP_NOSIZE | SWP_NOZORDER;
    m_minimiseButton.SetWindowPos(nullptr, cx - 118, 19, 0, 0, keep);
    m_closeButton.SetWindowPos(nullptr, cx - 65, 19, 0, 0, keep);
    m_okButton.SetWindowPos(nullptr, 100, cy - 75, 0, 0, keep);
    m_cancelButton.SetWindowPos(nullptr, cx - 200, cy - 75, 0, 0, keep);
    m_textBox.SetWindowPos(nullptr, 35, 93, cx - 58, cy - 185, SWP_NOZORDER);
}

void CAgreementDialog::OnCloseButton()
{
    OnCancel();
}

void CAgreementDialog::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}
