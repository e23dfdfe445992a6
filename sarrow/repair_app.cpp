// sarrow/repair_app.cpp
#include "sarrow/repair_app.h"

#include "sarrow/device/scsi_device.h"
#include "sarrow/license_dialog.h"
#include "sarrow/repair_dialog.h"
#include "sarrow/resource.h"
#include "sarrow/result_dialogs.h"
#include "sarrow/warning_splash_dialog.h"

CRepairApp theApp;

BEGIN_MESSAGE_MAP(CRepairApp, CWinApp)
    ON_COMMAND(ID_HELP, &CRepairApp::OnHelp)
END_MESSAGE_MAP()

BOOL CRepairApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();
    // A wnaspi32.dll without its entry points: say so rather than report no drive in silence.
    SetAspiEntryMissingNotice([](const char*) { ShowFailureBox(IDS_OPEN_DISK_FAILED); });

    CLicenseDialog license(nullptr);
    CWarningSplashDialog splash(nullptr);
    splash.DoModal();
    if (license.DoModal() == IDOK) {
        CRepairDialog repair(nullptr);
        m_pMainWnd = &repair;
        repair.DoModal();
        m_pMainWnd = nullptr;
    }
    // No message loop: the program ends here.
    return FALSE;
}
