// sarrow/license_dialog.cpp
#include "sarrow/license_dialog.h"

#include <richedit.h>

#include "sarrow/resource.h"
#include "sarrow/license_text.h"
#include "sarrow/skin.h"

namespace {

// The text box's own look: light text on a blue where the white title shows.
constexpr COLORREF kTextBoxBackground = RGB(28, 64, 120);
constexpr COLORREF kTextBoxText = RGB(214, 226, 244);

}  // namespace

CLicenseDialog::CLicenseDialog(CWnd* parent)
    : CBitmapDialog(IDD_LICENSE, parent), m_icon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

BEGIN_MESSAGE_MAP(CLicenseDialog, CBitmapDialog)
    ON_WM_PAINT()
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOMMAND()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_AGREE, &CLicenseDialog::OnOK)
    ON_BN_CLICKED(IDC_CLOSE, &CLicenseDialog::OnCancel)
    ON_BN_CLICKED(IDC_NOT_AGREE, &CLicenseDialog::OnCancel)
    ON_BN_CLICKED(IDC_MINIMISE, &CLicenseDialog::OnMinimise)
END_MESSAGE_MAP()

void CLicenseDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_NOT_AGREE, m_notAgreeButton);
    DDX_Control(dx, IDC_MINIMISE, m_minimiseButton);
    DDX_Control(dx, IDC_AGREE, m_agreeButton);
    DDX_Control(dx, IDC_CLOSE, m_closeButton);
}

BOOL CLicenseDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    AlignControlsToSkin(*this, kSansSerifPixelsPerTwoUnits);
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    LoadCaptionedKey(m_agreeButton, IDS_AGREE);
    LoadCaptionedKey(m_notAgreeButton, IDS_NOT_AGREE);
    LoadCornerKeys(m_closeButton, m_minimiseButton);

    ApplySkin(*this, IDB_LICENSE_BACKGROUND);

    if (CWnd* textBox = GetDlgItem(IDC_LICENSE_TEXT)) {
        textBox->SendMessage(EM_SETBKGNDCOLOR, 0, kTextBoxBackground);
        const LANGID language = GetSystemDefaultLangID();
        CHARFORMATA body = {};
        body.cbSize = sizeof body;
        body.dwMask = CFM_COLOR;
        body.crTextColor = kTextBoxText;
        if (language == kChineseTaiwanLanguage) {
            // One face for the Chinese text and the Latin names in it.
            body.dwMask |= CFM_FACE | CFM_CHARSET;
            body.bCharSet = CHINESEBIG5_CHARSET;
            lstrcpyA(body.szFaceName, "PMingLiU");
        }
        textBox->SendMessage(EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&body));
        const CString text = LicenseAgreementText(language);
        textBox->SetWindowText(text);
        CHARRANGE title = {0, LicenseTitleCharacters(text, CP_ACP)};
        textBox->SendMessage(EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&title));
        CHARFORMATA format = {};
        format.cbSize = sizeof format;
        format.dwMask = CFM_SIZE | CFM_COLOR;
        format.yHeight = 300;  // twips: 15 points
        format.crTextColor = RGB(255, 255, 255);
        textBox->SendMessage(EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    }

    SetWindowText("Vexmend");
    return TRUE;
}

void CLicenseDialog::OnPaint()
{
    if (IsIconic())
        PaintIconicWindow(*this, m_icon);
    else
        Default();
}

HCURSOR CLicenseDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_icon);
}

void CLicenseDialog::OnMinimise()
{
    ShowWindow(SW_MINIMIZE);
}
