// brimlet/repair_app.cpp
#include "brimlet/repair_app.h"

#include <cstdio>
#include <cstring>

#include "brimlet/boot_code.h"
#include "brimlet/repair_dialog.h"
#include "brimlet/resource.h"
#include "core/brimlet/startup_rules.h"

CRepairManagerApp theApp;

const char kBrimletMutexName[] = "RodidoZOZ-{44E678F7-DA79-11d3-9FE9-006067718D04}";
const char kBrimletWindowTitle[] = "Brimlet";

const CarriedFile kCarriedFiles[7] = {
    {IDR_REZO_DLL, "REZO.dll"},           {IDR_DEVICE_INI, "Device.ini"},
    {IDR_DEFT63_ESP, "deft63.esp"},       {IDR_AGREEMENT_CHS, "Agreement.chs"},
    {IDR_AGREEMENT_CHT, "Agreement.cht"}, {IDR_AGREEMENT_ENG, "Agreement.eng"},
    {IDR_BOOTCODE, "BootCode.r"},
};

namespace {

constexpr DWORD kPathBuffer = MAX_PATH;
constexpr DWORD kArchiveOnly = FILE_ATTRIBUTE_ARCHIVE;

// Held for the rest of the run once created; never closed.
HANDLE g_instanceMutex = nullptr;

bool IsLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

CString ReadProductType()
{
    HKEY key = nullptr;
    char value[80] = {};
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                        KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof value - 1;
        if (::RegQueryValueExA(key, "ProductType", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS)
            value[0] = '\0';
        ::RegCloseKey(key);
    }
    return CString(value);
}

BOOL FileExists(LPCSTR path, BOOL* isDirectory = nullptr)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA(path, &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    ::FindClose(search);
    if (isDirectory)
        *isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return TRUE;
}

CString TempFolder()
{
    char buffer[kPathBuffer] = {};
    const DWORD length = ::GetTempPathA(kPathBuffer, buffer);
    return length > 0 && length < kPathBuffer ? CString(buffer) : CString();
}

}  // namespace

CRepairManagerApp* GetRepairManagerApp()
{
    return &theApp;
}

DWORD GetOsBuildNumber()
{
    OSVERSIONINFOEXA info = {};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
    BOOL extended = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info));
    if (!extended) {
        info = {};
        info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        if (!::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info)))
            return 0;
    }
    brimlet::VersionRecord version;
    version.platformId = info.dwPlatformId;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    version.buildNumber = info.dwBuildNumber;
    const void* end = std::memchr(info.szCSDVersion, '\0', sizeof info.szCSDVersion);
    version.servicePack.assign(info.szCSDVersion,
                               end ? static_cast<const char*>(end) - info.szCSDVersion : sizeof info.szCSDVersion);
    version.extended = extended != FALSE;
    version.suiteMask = info.wSuiteMask;
    version.productType = info.wProductType;
    CString productType;
    if (!extended && info.dwPlatformId == VER_PLATFORM_WIN32_NT)
        productType = ReadProductType();
    std::fputs(brimlet::EditionLine(version, productType.GetString()).c_str(), stdout);
    std::fflush(stdout);
    return brimlet::OsBuildNumber(version);
}

BOOL IsUserAdministrator()
{
    using AllocateFunction = BOOL(WINAPI*)(PSID_IDENTIFIER_AUTHORITY, BYTE, DWORD, DWORD, DWORD, DWORD, DWORD,
                                           DWORD, DWORD, DWORD, PSID*);
    using CheckFunction = BOOL(WINAPI*)(HANDLE, PSID, PBOOL);
    using FreeFunction = PVOID(WINAPI*)(PSID);
    HMODULE advapi = ::GetModuleHandleA("ADVAPI32.DLL");
    if (!advapi)
        advapi = ::LoadLibraryA("ADVAPI32.DLL");
    if (!advapi)
        return FALSE;
    const auto allocate = reinterpret_cast<AllocateFunction>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "AllocateAndInitializeSid")));
    const auto check = reinterpret_cast<CheckFunction>(
        reinterpret_cast<void*>(::GetProcAddress(advapi, "CheckTokenMembership")));
    const auto release = reinterpret_cast<FreeFunction>(reinterpret_cast<void*>(::GetProcAddress(advapi, "FreeSid")));
    if (!allocate || !check || !release)
        return FALSE;
    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!allocate(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                  &administrators))
        return FALSE;
    BOOL member = FALSE;
    if (!check(nullptr, administrators, &member))
        member = FALSE;
    release(administrators);
    return member;
}

BOOL GetExeDirectory(CString& folder)
{
    char buffer[kPathBuffer] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, buffer, kPathBuffer);
    const auto directory = brimlet::ExeDirectoryFromModulePath(std::string_view(buffer, kPathBuffer), length,
                                                               kPathBuffer, IsLeadByte);
    if (!directory)
        return FALSE;
    folder = directory->c_str();
    return TRUE;
}

void ExtractResourceToFile(LPCSTR type, UINT id, LPCSTR name)
{
    CString folder;
    if (!GetExeDirectory(folder))
        return;
    const CString path = folder + "\\" + name;
    const BYTE* data = nullptr;
    DWORD size = 0;
    HMODULE module = ::GetModuleHandleA(nullptr);
    if (HRSRC resource = ::FindResourceA(module, MAKEINTRESOURCEA(id), type)) {
        if (HGLOBAL loaded = ::LoadResource(module, resource)) {
            data = static_cast<const BYTE*>(::LockResource(loaded));
            size = data ? ::SizeofResource(module, resource) : 0;
        }
    }
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    if (size > 0)
        ::WriteFile(file, data, size, &written, nullptr);
    ::CloseHandle(file);
}

BOOL IsAnotherInstanceRunning(LPCSTR name)
{
    if (g_instanceMutex)
        return FALSE;
    g_instanceMutex = ::CreateMutexA(nullptr, FALSE, name);
    const DWORD error = ::GetLastError();
    return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

BOOL BringRunningInstanceForward()
{
    HWND running = ::FindWindowA(nullptr, kBrimletWindowTitle);
    if (!running)
        return FALSE;
    ::SetForegroundWindow(running);
    if (::IsIconic(running))
        ::ShowWindow(running, SW_RESTORE);
    return TRUE;
}

BOOL CRepairManagerApp::InitInstance()
{
    m_osBuildNumber = GetOsBuildNumber();
    if (brimlet::RightsGateAsksForAdministrator(m_osBuildNumber) && !m_isAdministrator()) {
        char text[260] = {};
        ::LoadStringA(AfxGetResourceHandle(), IDS_NEED_ADMINISTRATOR, text, sizeof text);
        AfxMessageBox(text, MB_OK, 0);
        return FALSE;
    }

    const CString temp = TempFolder();
    CString programFolder;
    if (temp.IsEmpty() || !GetExeDirectory(programFolder)) {
        AfxMessageBox("Unable to get exe location", MB_OK, 0);
        return FALSE;
    }
    const CString workFolder = temp + "RadAva";
    if (::lstrcmpiA(programFolder, workFolder) != 0)
        RunFirstStage(workFolder);
    else
        RunSecondStage(workFolder);
    return FALSE;
}

void CRepairManagerApp::RunFirstStage(const CString& workFolder)
{
    BOOL isDirectory = FALSE;
    if (!FileExists(workFolder, &isDirectory) || !isDirectory) {
        if (!::CreateDirectoryA(workFolder, nullptr))
            return;
    }
    if (!::SetCurrentDirectoryA(workFolder)) {
        AfxMessageBox("Change current dir failed!!", MB_OK, 0);
        return;
    }
    const CString target = workFolder + "\\Brimlet.exe";
    if (FileExists(target))
        ::SetFileAttributesA(target, kArchiveOnly);

    // The module's own path: the command line's first word is cut at the first space when the
    // temporary folder holds one and the line was not quoted.
    char program[kPathBuffer] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, kPathBuffer);
    if (length == 0 || length >= kPathBuffer) {
        AfxMessageBox("Unable to get exe location", MB_OK, 0);
        return;
    }
    if (!::CopyFileA(program, target, FALSE)) {
        // Typically a running copy holds the file.
        if (IsAnotherInstanceRunning(kBrimletMutexName))
            BringRunningInstanceForward();
        return;
    }
    if (!::SetFileAttributesA(target, kArchiveOnly))
        return;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    ::GetStartupInfoA(&startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessA(target, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        AfxMessageBox("Create process failed!!", MB_OK, 0);
        return;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

void CRepairManagerApp::RunSecondStage(const CString& workFolder)
{
    // The running second stage holds the mutex from here to its end, so that a second start finds
    // it. A copy started while another runs would rewrite the files that one uses.
    if (IsAnotherInstanceRunning(kBrimletMutexName)) {
        BringRunningInstanceForward();
        return;
    }
    for (const CarriedFile& carried : kCarriedFiles) {
        const CString path = workFolder + "\\" + carried.name;
        if (FileExists(path)) {
            ::SetFileAttributesA(path, kArchiveOnly);
            ::DeleteFileA(path);
        }
        ExtractResourceToFile("BINARYFILE", carried.id, carried.name);
    }

    switch (UnpackBootCode(workFolder + "\\BootCode.r", workFolder + "\\Boot")) {
    case BootCodeResult::Unpacked:
        break;
    case BootCodeResult::CannotOpen:
    case BootCodeResult::Damaged:
        AfxMessageBox("Cannot open the boot code file", MB_OK, 0);
        return;
    case BootCodeResult::CannotRewind:
        AfxMessageBox("Pointer reset failed", MB_OK, 0);
        return;
    }

    Enable3dControlsStatic();
    CRepairManagerDialog* dialog = new CRepairManagerDialog(nullptr);
    m_pMainWnd = dialog;
    dialog->DoModal();
    m_pMainWnd = nullptr;
    delete dialog;
}
