// windriver: starts programs for the end-to-end scenarios and drives their windows by messages
// only (no screen coordinates, no xdotool). Program-agnostic: every program of the toolkit, and the
// programs they start, are driven the same way.
//
// Isolation. WINDRIVER_DESKTOP=NAME puts everything on the desktop NAME: `run` starts the program
// there (Wine shows it as a virtual desktop of its own, WINDRIVER_DESKTOP_SIZE, default 1024x768),
// and every other command sees only the windows of that desktop. Programs the started program
// starts in turn inherit its desktop, so a chain (launcher -> dispatcher -> tool) stays reachable,
// and scenarios side by side never see, click or picture each other's windows. Without the
// variable the commands work on the default desktop, with no isolation.
//
//   windriver run [--env NAME=VALUE]... [--version VERSION] [--app-version FILE.exe=VERSION]...
//                 [--native-dll NAME]... [--all [--open-no-child]] PROGRAM [ARGS...]
//       Starts PROGRAM (its standard handles are windriver's) and waits for it to end. Its exit
//       status is windriver's (a status above 254, such as an exception code, gives 255; the
//       full value is printed). --env sets a variable for the program; --version sets the
//       Windows version Wine reports to programs of that file name (winxp, win98, ...), and
//       --app-version the one of another program, such as those the program starts;
//       --native-dll loads that DLL from beside the program instead of Wine's own. Every process
//       the program starts, at any depth, joins one job named after the desktop. With --all,
//       windriver waits until all of them have ended and reports each that ended with a status
//       other than 0, abnormally, or too soon to be opened (its status unknown); its own status
//       is the program's, or else the first other one that was not 0 (1 for an unknown one).
//       --open-no-child (the harness's own scenarios): opens none of the processes the program
//       starts, as though each had ended too soon, so that case is certain at any speed.
//   windriver end                     ends every process still in the desktop's job
//   windriver wait SELECTOR [MS]      until a visible window matches (exit 1 on time-out)
//   windriver gone SELECTOR [MS]      until no window matches
//   windriver text SELECTOR ID        prints the text of control ID (0: the window itself)
//   windriver click SELECTOR ID       posts BM_CLICK to control ID
//   windriver key SELECTOR VK         posts a key press (hex or decimal virtual key) to the focus
//   windriver syscmd SELECTOR close|minimize|restore
//   windriver checked SELECTOR ID     prints 1 or 0 (BM_GETCHECK)
//   windriver enabled SELECTOR ID     prints 1 or 0
//   windriver shot SELECTOR FILE.bmp  saves the window's picture as the window paints it
//                                     (PrintWindow inside its own process; no screen pixels)
//   windriver post SELECTOR ID MSG [WPARAM [LPARAM]]  posts a message to control ID (0: the window)
//   windriver redraw SELECTOR         repaints the window and its controls at once
//   windriver gdi SELECTOR            prints the GDI object count of the window's process
//   windriver list                    prints every visible top-level window and its process
//
// SELECTOR is a window title, optionally followed by #ID: the window must also have a child
// control ID (several windows of one program may share a title), or by #!ID: it must not have
// one (a window told from another of its title that has that control). WINDRIVER_WAIT (ms,
// default 10000) bounds how long every command other than wait and gone waits for its window.
#include <windows.h>

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "tests/windows/e2e/picture_request.h"
#include "tests/windows/support/gdi_objects.h"

namespace {

// ---- desktop and job ----------------------------------------------------------------------

std::string Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

std::string DesktopName() { return Variable("WINDRIVER_DESKTOP"); }

std::string JobName()
{
    const std::string desktop = DesktopName();
    return "windriver-" + (desktop.empty() ? std::string("Default") : desktop);
}

bool g_onDesktop = false;

// Moves this thread to the scenario's desktop once it exists (the program makes it when it
// starts). Never falls back to the default desktop: that would show other scenarios' windows.
bool EnterDesktop()
{
    if (g_onDesktop)
        return true;
    const std::string name = DesktopName();
    if (name.empty())
        return g_onDesktop = true;
    HDESK desktop = OpenDesktopA(name.c_str(), 0, FALSE, GENERIC_ALL);
    if (!desktop)
        return false;
    if (!SetThreadDesktop(desktop)) {
        CloseDesktop(desktop);
        return false;
    }
    return g_onDesktop = true;
}

bool SetRegistryText(const std::string& keyPath, const std::string& name, const std::string& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

constexpr char kDesktopsKey[] = "Software\\Wine\\Explorer\\Desktops";
constexpr char kAppDefaultsKey[] = "Software\\Wine\\AppDefaults\\";

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ProcessName(DWORD processId)
{
    std::string name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return name;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            name = FileNameOf(entry.szExeFile);
            break;
        }
    }
    CloseHandle(snapshot);
    return name;
}

// ---- windows ------------------------------------------------------------------------------

struct Selector {
    std::string title;
    int childId = 0;
    bool childAbsent = false;
};

Selector ParseSelector(const std::string& text)
{
    Selector selector;
    const std::size_t hash = text.rfind('#');
    if (hash != std::string::npos && hash + 1 < text.size()) {
        selector.title = text.substr(0, hash);
        selector.childAbsent = text[hash + 1] == '!';
        selector.childId = std::atoi(text.c_str() + hash + 1 + (selector.childAbsent ? 1 : 0));
    } else {
        selector.title = text;
    }
    return selector;
}

std::string WindowTitle(HWND window)
{
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                        &length);
    return text;
}

struct Search {
    const Selector* selector;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM context)
{
    Search& search = *reinterpret_cast<Search*>(context);
    if (!IsWindowVisible(window))
        return TRUE;
    if (WindowTitle(window) != search.selector->title)
        return TRUE;
    if (search.selector->childId != 0 &&
        (GetDlgItem(window, search.selector->childId) != nullptr) == search.selector->childAbsent)
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

HWND Find(const Selector& selector)
{
    if (!EnterDesktop())
        return nullptr;
    Search search{&selector, {}};
    EnumWindows(CollectMatching, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

HWND WaitFor(const Selector& selector, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND window = Find(selector))
            return window;
        if (GetTickCount() - start >= milliseconds)
            return nullptr;
        Sleep(50);
    }
}

HWND Control(HWND window, int id)
{
    return id == 0 ? window : GetDlgItem(window, id);
}

BOOL CALLBACK PrintWindowLine(HWND window, LPARAM)
{
    if (IsWindowVisible(window)) {
        char className[128] = {};
        GetClassNameA(window, className, sizeof className);
        RECT rect;
        GetWindowRect(window, &rect);
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        std::printf("%p \"%s\" %s (%ld,%ld %ldx%ld) %s\n", static_cast<void*>(window), WindowTitle(window).c_str(),
                    className, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                    ProcessName(processId).c_str());
    }
    return TRUE;
}

int Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "windriver: %s: %s\n", what, detail.c_str());
    return 1;
}

int Usage()
{
    std::fprintf(stderr,
                 "usage: windriver run|end|wait|gone|text|click|key|syscmd|checked|enabled|shot|post|redraw|gdi|list "
                 "...\n");
    return 2;
}

// ---- pictures -------------------------------------------------------------------------------

std::string BesideThisProgram(const char* file)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path, length);
    const std::size_t slash = folder.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : folder.substr(0, slash + 1)) + file;
}

// The window renders itself, in its own thread, through the hook of windriver_picture.dll.
int SavePicture(HWND window, const char* path)
{
    HMODULE hookModule = LoadLibraryA(BesideThisProgram(picture_request::kHookDll).c_str());
    auto hookProc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(hookModule ? GetProcAddress(hookModule, picture_request::kHookProc) : nullptr));
    if (!hookProc)
        return Fail("no picture hook", picture_request::kHookDll);
    const picture_request::Name name = picture_request::BlockName(GetCurrentProcessId());
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(picture_request::Block), name.text);
    auto* block = mapping ? static_cast<picture_request::Block*>(
                                MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(picture_request::Block)))
                          : nullptr;
    if (!block)
        return Fail("no shared block", name.text);
    std::memset(block, 0, sizeof *block);
    lstrcpynA(block->path, path, sizeof block->path);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, hookProc, hookModule, thread);
    DWORD_PTR ignored = 0;
    if (hook) {
        SendMessageTimeoutA(window, RegisterWindowMessageA(picture_request::kMessageName), GetCurrentProcessId(), 0,
                            SMTO_ABORTIFHUNG, 15000, &ignored);
        UnhookWindowsHookEx(hook);
    }
    const bool answered = block->answered != FALSE;
    const bool saved = block->saved != FALSE;
    const bool varied = block->varied != FALSE;
    UnmapViewOfFile(block);
    CloseHandle(mapping);
    if (!answered)
        return Fail("the window did not render itself", path);
    if (!varied)
        std::fprintf(stderr, "windriver: warning: the picture %s is uniform\n", path);
    return saved ? 0 : Fail("picture not saved", path);
}

// ---- run and end ----------------------------------------------------------------------------

std::string Quoted(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

int HostStatus(DWORD status)
{
    return status <= 254 ? static_cast<int>(status) : 255;
}

struct Watched {
    HANDLE process = nullptr;  // null: it ended before it could be opened, its status is unknown
    std::string name;
    bool abnormal = false;     // the job said it ended abnormally
    DWORD status = 0;
};

// The desktop's own explorer joins the job too (the first window of the desktop starts it); it
// ends by itself once the desktop is left empty, and its end is no scenario's business.
bool IsDesktopShell(const Watched& watched)
{
    return lstrcmpiA(watched.name.c_str(), "explorer.exe") == 0;
}

std::vector<DWORD> JobProcesses(HANDLE job)
{
    // The record's id array runs on past its declared single entry; room for more than a
    // scenario ever starts.
    constexpr DWORD kRoom = 256;
    std::vector<BYTE> buffer(sizeof(JOBOBJECT_BASIC_PROCESS_ID_LIST) + kRoom * sizeof(ULONG_PTR));
    auto* list = reinterpret_cast<JOBOBJECT_BASIC_PROCESS_ID_LIST*>(buffer.data());
    std::vector<DWORD> ids;
    if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, list, static_cast<DWORD>(buffer.size()),
                                  nullptr)) {
        const ULONG_PTR* id = list->ProcessIdList;
        for (DWORD i = 0; i < std::min(list->NumberOfProcessIdsInList, kRoom); ++i)
            ids.push_back(static_cast<DWORD>(id[i]));
    }
    return ids;
}

int Run(int argc, char** argv)
{
    std::vector<std::string> nativeDlls;
    std::vector<std::pair<std::string, std::string>> appVersions;
    std::string version;
    bool all = false;
    bool openNoChild = false;
    int index = 2;
    for (; index < argc && std::strncmp(argv[index], "--", 2) == 0; ++index) {
        const std::string option = argv[index];
        if (option == "--all") {
            all = true;
            continue;
        }
        if (option == "--open-no-child") {
            openNoChild = true;
            continue;
        }
        if (index + 1 >= argc)
            return Usage();
        const std::string value = argv[++index];
        if (option == "--env") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos || equals == 0)
                return Usage();
            SetEnvironmentVariableA(value.substr(0, equals).c_str(), value.substr(equals + 1).c_str());
        } else if (option == "--version") {
            version = value;
        } else if (option == "--app-version") {
            const std::size_t equals = value.find('=');
            if (equals == std::string::npos || equals == 0)
                return Usage();
            appVersions.emplace_back(value.substr(0, equals), value.substr(equals + 1));
        } else if (option == "--native-dll") {
            nativeDlls.push_back(value);
        } else {
            return Usage();
        }
    }
    if (index >= argc || (openNoChild && !all))
        return Usage();
    const std::string program = argv[index];
    std::string commandLine = Quoted(program);
    for (int i = index + 1; i < argc; ++i)
        commandLine += " " + Quoted(argv[i]);

    const std::string desktop = DesktopName();
    if (!desktop.empty()) {
        const std::string size = Variable("WINDRIVER_DESKTOP_SIZE");
        SetRegistryText(kDesktopsKey, desktop, size.empty() ? "1024x768" : size);
        // Wine gives the desktop of the startup information to the program's first thread only;
        // its later threads (a worker's result box) take the desktop of the thread that started
        // the program. So this thread moves there first.
        HDESK own = CreateDesktopA(desktop.c_str(), nullptr, nullptr, 0, GENERIC_ALL, nullptr);
        if (!own || !SetThreadDesktop(own))
            return Fail("cannot enter the desktop", desktop);
    }
    const std::string appDefaults = kAppDefaultsKey + FileNameOf(program);
    if (!version.empty())
        SetRegistryText(appDefaults, "Version", version);
    for (const auto& [name, appVersion] : appVersions)
        SetRegistryText(kAppDefaultsKey + name, "Version", appVersion);
    for (const std::string& dll : nativeDlls)
        SetRegistryText(appDefaults + "\\DllOverrides", dll, "native");

    // A job of that name may exist already: programs an earlier run left on the desktop.
    HANDLE job = CreateJobObjectA(nullptr, JobName().c_str());
    if (!job)
        return Fail("no job", JobName());
    // Only the job's notices tell of every process, even one that ends at once: without them
    // --all could not vouch for the processes it never saw.
    HANDLE port = nullptr;
    if (all) {
        port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT association = {};
        association.CompletionKey = job;
        association.CompletionPort = port;
        if (!port || !SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &association,
                                              sizeof association))
            return Fail("cannot follow the processes of the job", JobName());
    }

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::vector<char> desktopText(desktop.begin(), desktop.end());
    desktopText.push_back('\0');
    startup.lpDesktop = desktop.empty() ? nullptr : desktopText.data();
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &started))
        return Fail("cannot start", program + " (error " + std::to_string(GetLastError()) + ")");
    if (!AssignProcessToJobObject(job, started.hProcess)) {
        TerminateProcess(started.hProcess, 1);
        return Fail("cannot watch", program);
    }
    ResumeThread(started.hThread);
    CloseHandle(started.hThread);

    std::map<DWORD, Watched> watched;
    watched[started.dwProcessId] = Watched{started.hProcess, FileNameOf(program)};
    if (!all) {
        WaitForSingleObject(started.hProcess, INFINITE);
    } else {
        const auto watch = [&](DWORD processId) {
            if (processId && !watched.count(processId)) {
                watched[processId].process =
                    openNoChild ? nullptr : OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
            }
            return processId ? &watched[processId] : nullptr;
        };
        // Takes every notice that is queued, waiting up to `wait` ms for the first; true if any.
        const auto takeNotices = [&](DWORD wait) {
            bool any = false;
            DWORD message = 0;
            ULONG_PTR key = 0;
            OVERLAPPED* detail = nullptr;
            while (GetQueuedCompletionStatus(port, &message, &key, &detail, any ? 0 : wait)) {
                any = true;
                Watched* process = watch(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail)));
                if (process && message == JOB_OBJECT_MSG_ABNORMAL_EXIT_PROCESS)
                    process->abnormal = true;
            }
            return any;
        };
        for (;;) {
            takeNotices(100);
            for (DWORD processId : JobProcesses(job))
                watch(processId);
            bool running = false;
            for (auto& [id, process] : watched) {
                // A new process has its name only once its program is loaded.
                if (process.name.empty())
                    process.name = ProcessName(id);
                if (process.process && WaitForSingleObject(process.process, 0) == WAIT_TIMEOUT &&
                    !IsDesktopShell(process))
                    running = true;
            }
            // Everything seen has ended; a process any of them started was noticed before its
            // parent ended, so its notice is queued by now.
            if (!running && !takeNotices(0))
                break;
        }
    }

    // Every process that ended otherwise than with status 0, or whose status cannot be known,
    // fails the run.
    const auto failed = [](const Watched& process) {
        return !process.process || process.abnormal || process.status != 0;
    };
    for (auto& [id, process] : watched) {
        if (IsDesktopShell(process))
            continue;
        if (!process.process) {
            std::fprintf(stderr, "windriver: process %lu (%s) ended before it could be watched: its exit status is unknown\n",
                         static_cast<unsigned long>(id), process.name.c_str());
            continue;
        }
        if (!GetExitCodeProcess(process.process, &process.status) || process.status == STILL_ACTIVE) {
            process.status = 0;
            continue;
        }
        if (id == started.dwProcessId || failed(process))
            std::fprintf(stderr, "windriver: %s ended %swith exit status %lu (0x%08lX)\n", process.name.c_str(),
                         process.abnormal ? "abnormally " : "", static_cast<unsigned long>(process.status),
                         static_cast<unsigned long>(process.status));
    }
    DWORD result = watched[started.dwProcessId].status;
    if (result == 0) {
        for (auto& [id, process] : watched) {
            if (!IsDesktopShell(process) && failed(process)) {
                result = process.status != 0 ? process.status : 1;
                break;
            }
        }
    }
    std::fflush(stderr);
    return HostStatus(result);
}

int End()
{
    if (HANDLE job = OpenJobObjectA(JOB_OBJECT_TERMINATE | JOB_OBJECT_QUERY, FALSE, JobName().c_str())) {
        TerminateJobObject(job, 1);
        for (int i = 0; i < 100; ++i) {
            JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
            if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting,
                                           nullptr) ||
                accounting.ActiveProcesses == 0)
                break;
            Sleep(50);
        }
        CloseHandle(job);
    }
    const std::string desktop = DesktopName();
    HKEY key = nullptr;
    if (!desktop.empty() && RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopsKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, desktop.c_str());
        RegCloseKey(key);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "run")
        return Run(argc, argv);
    if (command == "end")
        return End();
    if (command == "list") {
        if (EnterDesktop())
            EnumWindows(PrintWindowLine, 0);
        return 0;
    }
    if (argc < 3)
        return Usage();
    const Selector selector = ParseSelector(argv[2]);
    const char* waitVariable = std::getenv("WINDRIVER_WAIT");
    const DWORD defaultWait = waitVariable && *waitVariable ? std::strtoul(waitVariable, nullptr, 10) : 10000;

    if (command == "wait" || command == "gone") {
        const DWORD limit = argc > 3 ? std::strtoul(argv[3], nullptr, 10) : defaultWait;
        if (command == "wait")
            return WaitFor(selector, limit) ? 0 : Fail("no window", argv[2]);
        const DWORD start = GetTickCount();
        while (Find(selector)) {
            if (GetTickCount() - start >= limit)
                return Fail("window still there", argv[2]);
            Sleep(50);
        }
        return 0;
    }

    HWND window = WaitFor(selector, defaultWait);
    if (!window)
        return Fail("no window", argv[2]);
    const int id = argc > 3 ? std::atoi(argv[3]) : 0;

    if (command == "text" || command == "checked" || command == "enabled") {
        if (argc < 4)
            return Usage();
        HWND control = Control(window, id);
        if (!control)
            return Fail("no control", argv[3]);
        if (command == "text")
            std::printf("%s\n", WindowTitle(control).c_str());
        else if (command == "checked")
            std::printf("%d\n", SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        else
            std::printf("%d\n", IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (command == "click") {
        if (argc < 4)
            return Usage();
        HWND control = Control(window, id);
        if (!control)
            return Fail("no control", argv[3]);
        // Posted, not sent: the click may open a modal loop that would block a sent message.
        return PostMessageA(control, BM_CLICK, 0, 0) ? 0 : Fail("click", argv[3]);
    }
    if (command == "key") {
        if (argc < 4)
            return Usage();
        const UINT key = std::strtoul(argv[3], nullptr, 0);
        GUITHREADINFO thread = {};
        thread.cbSize = sizeof thread;
        // The focus only while it lies in the chosen window: a window that closes by itself
        // meanwhile must not pass the key on to the one that follows it.
        HWND target = window;
        if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &thread) && thread.hwndFocus &&
            (thread.hwndFocus == window || IsChild(window, thread.hwndFocus)))
            target = thread.hwndFocus;
        return PostMessageA(target, WM_KEYDOWN, key, 1) && PostMessageA(target, WM_KEYUP, key, 0xC0000001)
                   ? 0
                   : Fail("key", argv[3]);
    }
    if (command == "syscmd") {
        if (argc < 4)
            return Usage();
        const std::string what = argv[3];
        const WPARAM code = what == "close" ? SC_CLOSE : what == "minimize" ? SC_MINIMIZE
                          : what == "restore" ? SC_RESTORE : 0;
        if (!code)
            return Usage();
        return PostMessageA(window, WM_SYSCOMMAND, code, 0) ? 0 : Fail("syscmd", what);
    }
    if (command == "post") {
        if (argc < 5)
            return Usage();
        HWND control = Control(window, id);
        if (!control)
            return Fail("no control", argv[3]);
        const UINT message = std::strtoul(argv[4], nullptr, 0);
        const WPARAM wParam = argc > 5 ? std::strtoul(argv[5], nullptr, 0) : 0;
        const LPARAM lParam = argc > 6 ? std::strtol(argv[6], nullptr, 0) : 0;
        return PostMessageA(control, message, wParam, lParam) ? 0 : Fail("post", argv[4]);
    }
    if (command == "redraw") {
        return RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW)
                   ? 0
                   : Fail("redraw", argv[2]);
    }
    if (command == "gdi") {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
        if (!process)
            return Fail("open process", argv[2]);
        std::printf("%lu\n", test_support::CountGdiObjects(process));
        CloseHandle(process);
        return 0;
    }
    if (command == "shot") {
        if (argc < 4)
            return Usage();
        return SavePicture(window, argv[3]);
    }
    return Usage();
}
