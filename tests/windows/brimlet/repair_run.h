// tests/windows/brimlet/repair_run.h
// Runs Brimlet's repair dialog modally as the start-up does, with the splash ended by Escape and
// the licence accepted, while a step of the test's own acts on what shows.
#pragma once

#include <windows.h>

#include <functional>

#include "brimlet/agreement_dialog.h"
#include "brimlet/repair_dialog.h"
#include "brimlet/splash_dialog.h"
#include "tests/windows/brimlet/modal_script.h"

namespace brimlet_test {

struct RepairRun {
    INT_PTR result = 0;
    DWORD destroyMilliseconds = 0;  // how long destroying the dialog took
};

// `step` runs on every poll with the repair dialog (NULL until it shows) until it returns true.
// `whileLicence`, when given, runs once while the licence shows, before it is accepted: what it
// does then cannot race the acceptance.
inline RepairRun RunRepairDialog(const std::function<bool(HWND repair)>& step,
                                 const std::function<void()>& whileLicence = {})
{
    bool licenceSeen = false;
    ThreadPoller poller([&] {
        if (CSplashDialog* splash = FindDialog<CSplashDialog>()) {
            PressKey(splash->m_hWnd, VK_ESCAPE);
            return false;
        }
        if (CAgreementDialog* licence = FindDialog<CAgreementDialog>()) {
            if (!licenceSeen && whileLicence)
                whileLicence();
            licenceSeen = true;
            Click(licence->m_hWnd, IDOK);
            return false;
        }
        CRepairManagerDialog* repair = FindDialog<CRepairManagerDialog>();
        return step(repair ? repair->m_hWnd : nullptr);
    });
    RepairRun run;
    CRepairManagerDialog* dialog = new CRepairManagerDialog(nullptr);
    AfxGetApp()->m_pMainWnd = dialog;
    run.result = dialog->DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    const DWORD start = ::GetTickCount();
    delete dialog;
    run.destroyMilliseconds = ::GetTickCount() - start;
    return run;
}

}  // namespace brimlet_test
