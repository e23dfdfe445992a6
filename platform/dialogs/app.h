// platform/dialogs/app.h
// The application object, worker threads and the Afx helper functions.
//
// A program defines one global object of a CWinApp subclass. The library's WinMain runs
// InitInstance; when it returns FALSE the program ends there (ExitInstance gives the exit code)
// without a message loop, which is how the dialog programs end after their last modal dialog.
#pragma once

#include <windows.h>

#include "platform/dialogs/cstring.h"
#include "platform/dialogs/wnd.h"

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;
    ~CWinThread() override;

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    // The thread object deletes itself (and closes its handle) when the thread ends.
    BOOL m_bAutoDelete = TRUE;
    CWnd* m_pMainWnd = nullptr;

    operator HANDLE() const { return m_hThread; }
    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    BOOL SetThreadPriority(int priority) { return ::SetThreadPriority(m_hThread, priority); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
    // The message loop of a thread whose InitInstance returned TRUE, until WM_QUIT.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* msg);

protected:
    int m_exitCode = 0;
};

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // name NULL: the program's file name without extension.
    explicit CWinApp(LPCSTR appName = nullptr);
    ~CWinApp() override;

    LPCSTR m_pszAppName = nullptr;
    LPCSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    virtual BOOL InitApplication() { return TRUE; }
    BOOL InitInstance() override { return FALSE; }
    int ExitInstance() override { return m_exitCode; }

    HICON LoadIcon(UINT id) const;
    HICON LoadStandardIcon(LPCSTR id) const { return ::LoadIconA(nullptr, id); }
    HCURSOR LoadCursor(UINT id) const;
    HCURSOR LoadStandardCursor(LPCSTR id) const { return ::LoadCursorA(nullptr, id); }
    // Three-dimensional drawing of standard controls is what Windows does by itself since
    // Windows 95 and NT 4; what is left is registering the common controls, so that dialog
    // templates can use them.
    BOOL Enable3dControlsStatic();
    BOOL Enable3dControls() { return Enable3dControlsStatic(); }

    // The library's WinMain.
    int RunProgram(HINSTANCE instance, LPSTR commandLine, int show);

protected:
    DECLARE_MESSAGE_MAP()
    // The help command: the programs have no help file, so there is nothing to open.
    void OnHelp() {}

private:
    CString m_appName;
    CString m_exeName;
};

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

using AFX_THREADPROC = UINT(__cdecl*)(LPVOID);

// A worker thread running entry(argument). The CWinThread deletes itself when the thread ends
// unless m_bAutoDelete is cleared before (start suspended for that). NULL when it cannot start.
CWinThread* AfxBeginThread(AFX_THREADPROC entry, LPVOID argument, int priority = THREAD_PRIORITY_NORMAL,
                           UINT stackSize = 0, DWORD createFlags = 0,
                           LPSECURITY_ATTRIBUTES security = nullptr);
// Ends the calling worker thread (started by AfxBeginThread) with the exit code.
void AfxEndThread(UINT exitCode, BOOL deleteThread = TRUE);

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
// The main window of the application object (m_pMainWnd), from any thread.
CWnd* AfxGetMainWnd();
LPCSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE resources);

// A message box captioned with the program's name, owned by the active window of the thread.
int AfxMessageBox(LPCSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT textId, UINT type = MB_OK, UINT helpId = -1);

// A window class with these attributes and DefWindowProc, registered once; the name stays valid.
LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                           HICON icon = nullptr);

// Hosting of the rich-text box that stands for the licence dialog's ActiveX control: loads the
// rich edit library so that templates can name its window class (RichEdit20A).
void AfxEnableControlContainer();

namespace dialogs {
// Registers the common control classes (progress bar, tooltip ...) once per process.
void InitCommonControlsOnce();
// The resource in the resource module, else in the program; *module is the module searched last.
HRSRC FindResourceInModules(LPCSTR name, LPCSTR type, HINSTANCE* module);
}  // namespace dialogs
