// rezo/simulating_library.cpp
// The simulating REZO.dll: presents the device its profile describes (rezo/rezo_sim.h says
// where the profile comes from) and logs every call. A thin shell: the behaviour is
// core/rezo_sim's; this file finds the profile, writes the log, sleeps and tells the program's
// windows when the device goes. Test and demo support only; never shipped.
#include <windows.h>

#include <dbt.h>

#include <string>

#include "core/rezo_sim/simulated_library.h"
#include "core/settings/key_value.h"
#include "rezo/rezo_api.h"
#include "rezo/rezo_sim.h"

static_assert(rezo_sim::kDeviceStringSize == kRezoDeviceStringSize);
static_assert(rezo_sim::kFwVersionSize == kRezoFwVersionSize);
static_assert(rezo_sim::kFwFilePathSize == kRezoFwFilePathSize);

namespace {

HMODULE g_module = nullptr;
CRITICAL_SECTION g_setupLock;
class Win32Environment;
Win32Environment* g_environment = nullptr;
rezo_sim::SimulatedLibrary* g_library = nullptr;

// A removal notice waits at most this long for each window (a window busy elsewhere must not
// hold the notice for ever).
constexpr UINT kNoticeTimeoutMs = 5000;
constexpr DWORD kMaxProfileBytes = 1 << 20;

std::string ModulePath(HMODULE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(module, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const DWORD size = ::GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= kMaxProfileBytes;
    if (ok) {
        text.resize(size);
        DWORD read = 0;
        ok = size == 0 || (::ReadFile(file, &text[0], size, &read, nullptr) && read == size);
    }
    ::CloseHandle(file);
    return ok;
}

// A thread that keeps the library loaded while it runs, so a program that frees the library
// early cannot pull the code from under it.
bool StartPinnedThread(LPTHREAD_START_ROUTINE routine, void* argument)
{
    const std::string self = ModulePath(g_module);
    HMODULE pin = self.empty() ? nullptr : ::LoadLibraryA(self.c_str());
    if (!pin)
        return false;
    DWORD id = 0;
    HANDLE thread = ::CreateThread(nullptr, 0, routine, argument, 0, &id);
    if (!thread) {
        ::FreeLibrary(pin);
        return false;
    }
    ::CloseHandle(thread);
    return true;
}

struct WindowList {
    DWORD process;
    HWND windows[64];
    int count;
};

BOOL CALLBACK CollectOwnWindow(HWND window, LPARAM data)
{
    auto* list = reinterpret_cast<WindowList*>(data);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    if (process == list->process && list->count < static_cast<int>(sizeof list->windows / sizeof list->windows[0]))
        list->windows[list->count++] = window;
    return TRUE;
}

// Windows sends DBT_DEVICEREMOVECOMPLETE to every top-level window when a drive goes; the
// program's own windows are the ones that matter here. Sent from a thread of its own, so a
// dialog thread that waits for the repair's worker never blocks the worker.
DWORD WINAPI AnnounceRemovalThread(void*)
{
    static DEV_BROADCAST_VOLUME volume = {sizeof(DEV_BROADCAST_VOLUME), DBT_DEVTYP_VOLUME, 0, 1u << ('F' - 'A'), 0};
    WindowList list = {::GetCurrentProcessId(), {}, 0};
    ::EnumWindows(CollectOwnWindow, reinterpret_cast<LPARAM>(&list));
    int answered = 0;
    for (int i = 0; i < list.count; ++i) {
        DWORD_PTR result = 0;
        if (::SendMessageTimeoutA(list.windows[i], WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE,
                                  reinterpret_cast<LPARAM>(&volume), SMTO_ABORTIFHUNG, kNoticeTimeoutMs, &result))
            ++answered;
    }
    if (g_library)
        g_library->LogEvent(::GetCurrentThreadId(), "removal-announced windows=" + std::to_string(list.count) +
                                                        " answered=" + std::to_string(answered));
    ::FreeLibraryAndExitThread(g_module, 0);
    return 0;
}

DWORD WINAPI IdleRemovalThread(void* argument)
{
    const auto milliseconds = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(argument));
    ::Sleep(milliseconds);
    if (g_library)
        g_library->RemoveDevice(::GetCurrentThreadId(), "while idle after " + std::to_string(milliseconds) + " ms");
    ::FreeLibraryAndExitThread(g_module, 0);
    return 0;
}

class Win32Environment final : public rezo_sim::Environment {
public:
    ~Win32Environment()
    {
        if (log_ != INVALID_HANDLE_VALUE)
            ::CloseHandle(log_);
    }

    // Appends: several processes (Quillet, then Brimlet) may write the same log.
    void OpenLog(const std::string& path)
    {
        if (path.empty())
            return;
        log_ = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (log_ == INVALID_HANDLE_VALUE)
            ::OutputDebugStringA(("REZO simulation: cannot open the call log " + path + "\n").c_str());
    }

    // One write per line, so the lines of two threads or processes never interleave.
    void WriteLogLine(std::string_view line) override
    {
        if (log_ == INVALID_HANDLE_VALUE)
            return;
        std::string text(line);
        text += "\r\n";
        DWORD written = 0;
        ::WriteFile(log_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }

    void AnnounceRemoval() override { StartPinnedThread(AnnounceRemovalThread, nullptr); }

    void ScheduleRemoval(std::uint32_t milliseconds) override
    {
        StartPinnedThread(IdleRemovalThread, reinterpret_cast<void*>(static_cast<UINT_PTR>(milliseconds)));
    }

private:
    HANDLE log_ = INVALID_HANDLE_VALUE;
};

void SetUp()
{
    const std::string libraryFolder = key_value::FolderOf(ModulePath(g_module));
    const std::string program = FileNameOf(ModulePath(nullptr));

    std::string profilePath;
    char variable[1024] = {};
    const DWORD length = ::GetEnvironmentVariableA(kRezoSimProfileVariable, variable, sizeof variable);
    if (length > 0 && length < sizeof variable) {
        profilePath = variable;
    } else {
        const std::string beside = libraryFolder + kRezoSimProfileFileName;
        if (::GetFileAttributesA(beside.c_str()) != INVALID_FILE_ATTRIBUTES)
            profilePath = beside;
    }

    rezo_sim::DeviceProfile profile;
    std::string error;
    if (!profilePath.empty()) {
        std::string text;
        if (!ReadWholeFile(profilePath, text))
            error = "cannot read " + profilePath;
        else if (!rezo_sim::ParseProfile(text, profile, error))
            error = profilePath + ": " + error;
        rezo_sim::ResolveProfilePaths(key_value::FolderOf(profilePath), profile);
    }
    if (!error.empty()) {
        rezo_sim::DeviceProfile absent;
        absent.present = false;
        absent.logPath = profile.logPath;
        profile = absent;
        ::OutputDebugStringA(("REZO simulation: " + error + "; presenting no device\n").c_str());
    }

    g_environment = new Win32Environment;
    g_environment->OpenLog(profile.logPath);
    g_library = new rezo_sim::SimulatedLibrary(profile, program, libraryFolder + kRezoSimFirmwareFolder, *g_environment);
    const DWORD thread = ::GetCurrentThreadId();
    if (!error.empty())
        g_library->LogEvent(thread, "profile-error " + error);
    else if (profilePath.empty())
        g_library->LogEvent(thread, "profile none: the default device");
    else
        g_library->LogEvent(thread, "profile " + rezo_sim::Quote(profilePath));
}

rezo_sim::SimulatedLibrary& Library()
{
    ::EnterCriticalSection(&g_setupLock);
    if (!g_library)
        SetUp();
    ::LeaveCriticalSection(&g_setupLock);
    return *g_library;
}

DWORD Thread() { return ::GetCurrentThreadId(); }

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        ::InitializeCriticalSection(&g_setupLock);
        ::DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Freed by the program (not the process ending, when other threads are already gone
        // and their locks may be held). A program that frees the library while a repair still
        // runs in it is about to crash; the log says why.
        if (g_library)
            g_library->LogEvent(::GetCurrentThreadId(),
                                g_library->RepairRunning() ? "library-freed while a repair runs" : "library-freed");
        delete g_library;
        g_library = nullptr;
        delete g_environment;
        g_environment = nullptr;
        ::DeleteCriticalSection(&g_setupLock);
    }
    return TRUE;
}

extern "C" {

RezoDeviceHandle WINAPI REZO_CreateCUSBDevice(void) { return Library().CreateDevice(Thread()); }

void WINAPI REZO_DestroyCUSBDevice(RezoDeviceHandle device) { Library().DestroyDevice(Thread(), device); }

int WINAPI REZO_DeviceExist(RezoDeviceHandle device) { return Library().DeviceExist(Thread(), device); }

BYTE WINAPI REZO_GetDeviceKind(RezoDeviceHandle device, short* kind, short* subKind)
{
    return Library().GetDeviceKind(Thread(), device, kind, subKind);
}

int WINAPI REZO_GetNumberOfDrive(RezoDeviceHandle device) { return Library().GetNumberOfDrive(Thread(), device); }

void WINAPI REZO_GetChipID(RezoDeviceHandle device, short* chipId, short* chipVersion)
{
    Library().GetChipId(Thread(), device, chipId, chipVersion);
}

void WINAPI REZO_SetCurrentDriveNumber(RezoDeviceHandle device, int drive)
{
    Library().SetCurrentDriveNumber(Thread(), device, drive);
}

void WINAPI REZO_GetDeviceString(RezoDeviceHandle device, char* text) { Library().GetDeviceString(Thread(), device, text); }

void WINAPI REZO_GetFwVersion(RezoDeviceHandle device, char* version) { Library().GetFwVersion(Thread(), device, version); }

void WINAPI REZO_GetUpdateFWFile(RezoDeviceHandle device, char* path, BYTE family)
{
    Library().GetUpdateFwFile(Thread(), device, path, family);
}

int WINAPI REZO_RunRepairDevice(RezoDeviceHandle device, BYTE mode) { return Library().RunRepair(Thread(), device, mode); }

unsigned WINAPI REZO_GetCurrentProgress(RezoDeviceHandle device) { return Library().GetCurrentProgress(Thread(), device); }

BYTE WINAPI REZO_GetCurrentState(RezoDeviceHandle device) { return Library().GetCurrentState(Thread(), device); }

void WINAPI REZO_GetBADBlockInfomation(RezoDeviceHandle device, DWORD* bad, DWORD* total, WORD* unit)
{
    std::uint32_t badBlocks = bad ? *bad : 0;
    std::uint32_t totalBlocks = total ? *total : 0;
    Library().GetBadBlockInformation(Thread(), device, bad ? &badBlocks : nullptr, total ? &totalBlocks : nullptr, unit);
    if (bad)
        *bad = badBlocks;
    if (total)
        *total = totalBlocks;
}

DWORD WINAPI REZO_GetErrorCode(RezoDeviceHandle device) { return Library().GetErrorCode(Thread(), device); }

}  // extern "C"
