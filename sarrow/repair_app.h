// sarrow/repair_app.h
// Sarrow runs three modal dialogs one after another and ends: the warning splash, the licence,
// and, only when the user agrees, the repair dialog.
#pragma once

#include "platform/dialogs/dialogs.h"

class CRepairApp : public CWinApp {
public:
    CRepairApp() = default;
    BOOL InitInstance() override;

protected:
    DECLARE_MESSAGE_MAP()
};
