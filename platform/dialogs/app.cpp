// platform/dialogs/app.cpp
#include "platform/dialogs/app.h"

#include "platform/dialogs/internal.h"
#include "platform/dialogs/sync.h"

#include <commctrl.h>
#include <process.h>

#include <set>
#include <string>

namespace {

CWinApp* g_app = nullptr;
HINSTANCE g_resources = nullptr;
thread_local CWinThread* t_thread = nullptr;

struct ThreadStart
{
    CWinThread* thread;
    AFX_THREADPROC entry;
    LPVOID argument;
};

// The program's file name without its extension.
CString ProgramName()
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    CString file = path;
    file = file.Mid(file.ReverseFind('\\') + 1);
    int dot = file.ReverseFind('.');
    return dot > 0 ? file.Left(dot) : file;
}

void FinishThread(CWinThread* thread)
{
    t_thread = nullptr;
    if (thread && thread->m_bAutoDelete)
        delete thread;
}

unsigned __stdcall ThreadEntry(void* parameter)
{
    ThreadStart start = *static_cast<ThreadStart*>(parameter);
    delete static_cast<ThreadStart*>(parameter);
    t_thread = start.thread;
    UINT code = start.entry(start.argument);
    FinishThread(start.thread);
    return code;
}

}  // namespace

namespace dialogs {

void InitCommonControlsOnce()
{
    // The run time makes a function's static once, whatever thread gets there first.
    static const BOOL registered = [] {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&controls);
    }();
    (void)registered;
}

HRSRC FindResourceInModules(LPCSTR name, LPCSTR type, HINSTANCE* module)
{
    HINSTANCE resources = AfxGetResourceHandle();
    if (HRSRC found = ::FindResourceA(resources, name, type)) {
        *module = resources;
        return found;
    }
    *module = ::GetModuleHandleA(nullptr);
    return ::FindResourceA(*module, name, type);
}

}  // namespace dialogs

// --- CWinThread

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

CWinThread::~CWinThread()
{
    if (m_hThread)
        CloseHandle(m_hThread);
}

BOOL CWinThread::PreTranslateMessage(MSG* msg) { return dialogs::PreTranslateUpTo(msg, nullptr); }

int CWinThread::Run()
{
    MSG msg;
    BOOL got;
    while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0 && got != -1) {
        if (!PreTranslateMessage(&msg)) {
            HWND top = msg.hwnd ? dialogs::RootWindow(msg.hwnd) : nullptr;
            if (!top || !::IsDialogMessageA(top, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageA(&msg);
            }
        }
    }
    m_exitCode = got == 0 ? static_cast<int>(msg.wParam) : -1;
    return ExitInstance();
}

CWinThread* AfxBeginThread(AFX_THREADPROC entry, LPVOID argument, int priority, UINT stackSize,
                           DWORD createFlags, LPSECURITY_ATTRIBUTES security)
{
    if (!entry)
        return nullptr;
    auto* thread = new CWinThread;
    auto* start = new ThreadStart{thread, entry, argument};
    unsigned id = 0;
    // Started suspended so that the object knows its handle and priority before it runs.
    HANDLE handle = reinterpret_cast<HANDLE>(
        _beginthreadex(security, stackSize, ThreadEntry, start, CREATE_SUSPENDED, &id));
    if (!handle) {
        delete start;
        delete thread;
        return nullptr;
    }
    thread->m_hThread = handle;
    thread->m_nThreadID = id;
    ::SetThreadPriority(handle, priority);
    if (!(createFlags & CREATE_SUSPENDED))
        ::ResumeThread(handle);
    return thread;
}

void AfxEndThread(UINT exitCode, BOOL deleteThread)
{
    CWinThread* thread = t_thread;
    if (thread && deleteThread)
        thread->m_bAutoDelete = TRUE;
    FinishThread(thread);
    _endthreadex(exitCode);
}

// --- CWinApp

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
    ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCSTR appName)
{
    g_app = this;
    m_bAutoDelete = FALSE;
    m_hInstance = ::GetModuleHandleA(nullptr);
    m_exeName = ProgramName();
    m_appName = appName ? CString(appName) : m_exeName;
    m_pszAppName = m_appName;
    m_pszExeName = m_exeName;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

HICON CWinApp::LoadIcon(UINT id) const { return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }
HCURSOR CWinApp::LoadCursor(UINT id) const { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(id)); }

BOOL CWinApp::Enable3dControlsStatic()
{
    dialogs::InitCommonControlsOnce();
    return TRUE;
}

int CWinApp::RunProgram(HINSTANCE instance, LPSTR commandLine, int show)
{
    m_hInstance = instance;
    m_lpCmdLine = commandLine;
    m_nCmdShow = show;
    m_nThreadID = ::GetCurrentThreadId();
    t_thread = this;
    dialogs::InitCommonControlsOnce();
    if (!InitApplication() || !InitInstance())
        return ExitInstance();
    return Run();
}

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show)
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return 1;
    return app->RunProgram(instance, commandLine, show);
}

// --- Afx functions

CWinApp* AfxGetApp() { return g_app; }

CWinThread* AfxGetThread() { return t_thread; }

CWnd* AfxGetMainWnd()
{
    if (CWinThread* thread = AfxGetThread(); thread && thread != g_app && thread->m_pMainWnd)
        return thread->m_pMainWnd;
    return g_app ? g_app->m_pMainWnd : nullptr;
}

LPCSTR AfxGetAppName()
{
    if (g_app)
        return g_app->m_pszAppName;
    static CString name = ProgramName();
    return name;
}

HINSTANCE AfxGetInstanceHandle() { return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr); }

HINSTANCE AfxGetResourceHandle() { return g_resources ? g_resources : AfxGetInstanceHandle(); }

void AfxSetResourceHandle(HINSTANCE resources) { g_resources = resources; }

int AfxMessageBox(LPCSTR text, UINT type, UINT)
{
    HWND owner = ::GetActiveWindow();
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        HWND mainWindow = main ? main->GetSafeHwnd() : nullptr;
        if (mainWindow && dialogs::OnOwnThread(mainWindow))
            owner = mainWindow;
    }
    return ::MessageBoxA(owner, text ? text : "", AfxGetAppName(), type);
}

int AfxMessageBox(UINT textId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type, helpId);
}

LPCSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    static CCriticalSection* lock = new CCriticalSection;  // used by static constructors too
    static std::set<std::string>* names = new std::set<std::string>;
    HINSTANCE instance = AfxGetInstanceHandle();
    char name[96];
    wsprintfA(name, "Afx:%p:%x:%p:%p:%p", instance, classStyle, cursor, background, icon);
    CSingleLock guard(lock, TRUE);
    WNDCLASSA existing = {};
    if (!::GetClassInfoA(instance, name, &existing)) {
        WNDCLASSA windowClass = {};
        windowClass.style = classStyle;
        windowClass.lpfnWndProc = ::DefWindowProcA;
        windowClass.hInstance = instance;
        windowClass.hIcon = icon;
        windowClass.hCursor = cursor;
        windowClass.hbrBackground = background;
        windowClass.lpszClassName = name;
        if (!::RegisterClassA(&windowClass))
            return nullptr;
    }
    return names->insert(name).first->c_str();
}

void AfxEnableControlContainer()
{
    // Loading twice only counts the library twice; it stays for the run either way.
    static const HMODULE library = ::LoadLibraryA("RICHED20.DLL");
    (void)library;
}
