// brimlet/repair_app.h
// Brimlet's application object and start-up. A first start copies the program into the work
// folder "RadAva" under the temporary folder and starts the copy; the copy writes the files it
// carries beside itself, unpacks the firmware archive into "Boot\" and runs the repair dialog.
// Before any of that, the rights gate refuses to run without administrator rights where Windows
// needs them.
#pragma once

#include <windows.h>

#include "platform/dialogs/dialogs.h"

// Membership of BUILTIN\Administrators. The security functions exist only on the NT line, so they
// are looked up at run time: without them the answer is FALSE.
BOOL IsUserAdministrator();

class CRepairManagerApp : public CWinApp
{
public:
    CRepairManagerApp() = default;
    BOOL InitInstance() override;

    // The Windows build number, taken once by the rights gate; the repair dialog reads it.
    DWORD m_osBuildNumber = 0;
    // The rights gate's question; a test answers it for a user Wine cannot be.
    BOOL (*m_isAdministrator)() = IsUserAdministrator;

private:
    void RunFirstStage(const CString& workFolder);
    void RunSecondStage(const CString& workFolder);
};

CRepairManagerApp* GetRepairManagerApp();

// The single-instance mutex the running second stage holds.
extern const char kBrimletMutexName[];
// The title of the repair dialog that a second start brings forward.
extern const char kBrimletWindowTitle[];

// Windows' build number (409, 410 and 420 for the 9x line); writes the edition line to standard
// output. 0 when the version cannot be read.
DWORD GetOsBuildNumber();
// The folder of the running program, without a trailing backslash. FALSE when the module path
// cannot be read whole or holds no backslash.
BOOL GetExeDirectory(CString& folder);
// Writes the resource of the type and id, unchanged, to the program folder + "\" + name.
void ExtractResourceToFile(LPCSTR type, UINT id, LPCSTR name);
// TRUE when another process holds the single-instance mutex; this process then does not.
BOOL IsAnotherInstanceRunning(LPCSTR name);
// Brings the running repair dialog to the front (restored when minimised); FALSE when none shows.
BOOL BringRunningInstanceForward();

// The carried files, in the order the second stage writes them.
struct CarriedFile {
    UINT id;
    const char* name;
};
extern const CarriedFile kCarriedFiles[7];
