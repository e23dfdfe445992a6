// windriver: drives the real programs' windows for the end-to-end scenarios, by messages only
// (no screen coordinates, no xdotool: under Wine's virtual desktop those find nothing).
//
//   windriver wait SELECTOR [MS]      until a visible window matches (exit 1 on time-out)
//   windriver gone SELECTOR [MS]      until no window matches
//   windriver text SELECTOR ID        prints the text of control ID (0: the window itself)
//   windriver click SELECTOR ID       posts BM_CLICK to control ID
//   windriver key SELECTOR VK         posts a key press (hex or decimal virtual key) to the focus
//   windriver syscmd SELECTOR close|minimize|restore
//   windriver checked SELECTOR ID     prints 1 or 0 (BM_GETCHECK)
//   windriver enabled SELECTOR ID     prints 1 or 0
//   windriver shot SELECTOR FILE.bmp  saves what the window shows on the screen
//   windriver post SELECTOR ID MSG [WPARAM [LPARAM]]  posts a message to control ID (0: the window)
//   windriver redraw SELECTOR         repaints the window and its controls at once
//   windriver gdi SELECTOR            prints the GDI object count of the window's process
//   windriver list                    prints every visible top-level window
//
// SELECTOR is a window title, optionally followed by #ID: the window must also have a child
// control ID (several of one program's windows share the title "Vexmend"). With the environment
// variable WINDRIVER_PROGRAM set to a file name (Sarrow-fast.exe), only windows of processes
// started from that file count, so scenarios can run side by side in one Wine session.
// WINDRIVER_WAIT (ms, default 10000) bounds how long every other command waits for its window.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/windows/support/gdi_objects.h"
#include "tests/windows/support/screen_capture.h"

namespace {

struct Selector {
    std::string title;
    int childId = 0;
};

Selector ParseSelector(const std::string& text)
{
    Selector selector;
    const std::size_t hash = text.rfind('#');
    if (hash != std::string::npos && hash + 1 < text.size()) {
        selector.title = text.substr(0, hash);
        selector.childId = std::atoi(text.c_str() + hash + 1);
    } else {
        selector.title = text;
    }
    return selector;
}

std::string WindowTitle(HWND window)
{
    char text[512] = {};
    DWORD_PTR length = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 2000, &length);
    return text;
}

// The file name of the process that owns the window, as the process list names it.
std::string ProgramOf(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    std::string name;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return name;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        if (entry.th32ProcessID == processId) {
            name = entry.szExeFile;
            break;
        }
    }
    CloseHandle(snapshot);
    const std::size_t slash = name.find_last_of("\\/");
    return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool FromWantedProgram(HWND window)
{
    const char* wanted = std::getenv("WINDRIVER_PROGRAM");
    return wanted == nullptr || *wanted == '\0' || lstrcmpiA(ProgramOf(window).c_str(), wanted) == 0;
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
    if (search.selector->childId != 0 && !GetDlgItem(window, search.selector->childId))
        return TRUE;
    if (!FromWantedProgram(window))
        return TRUE;
    search.found.push_back(window);
    return TRUE;
}

HWND Find(const Selector& selector)
{
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

bool SaveScreenshot(HWND window, const char* path)
{
    // The screen shows what lies on top: bring the window there and let it paint first.
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(200);
    return test_support::SaveWindowScreenshot(window, path).saved;
}

BOOL CALLBACK PrintWindowLine(HWND window, LPARAM)
{
    if (IsWindowVisible(window)) {
        char className[128] = {};
        GetClassNameA(window, className, sizeof className);
        RECT rect;
        GetWindowRect(window, &rect);
        std::printf("%p \"%s\" %s (%ld,%ld %ldx%ld)\n", static_cast<void*>(window),
                    WindowTitle(window).c_str(), className, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top);
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
    std::fprintf(stderr, "usage: windriver wait|gone|text|click|key|syscmd|checked|enabled|shot|post|redraw|gdi|list ...\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "list") {
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
        return SaveScreenshot(window, argv[3]) ? 0 : Fail("screenshot", argv[3]);
    }
    return Usage();
}
