// sarrow/device/scsi_device.cpp
#include "sarrow/device/scsi_device.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/scsi/block_commands.h"
#include "core/smi/vendor_commands.h"
#include "core/timing/pause.h"
#include "platform/scsi/device_port.h"
#include "platform/scsi/pass_through.h"
#include "platform/win9x/aspi.h"
#include "platform/win9x/vwin32.h"
#include "sarrow/device/aspi_request.h"
#include "sarrow/device/cdb_transport.h"

namespace {

char g_currentDriveLetter = 0;

constexpr char kNoLetter = static_cast<char>(0xFF);

bool ReadVersion(OSVERSIONINFOA& info)
{
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    return GetVersionExA(&info) != 0;
}

// A Windows 9x registry key of the walk: closed when the walk leaves it, whatever the path.
class RegistryKey {
public:
    RegistryKey() = default;
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { Close(); }
    bool Open(HKEY parent, const std::string& path)
    {
        Close();
        HKEY key = nullptr;
        if (GetDevicePort().RegOpenKeyExA(parent, path.c_str(), KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        key_ = key;
        return true;
    }
    void Close()
    {
        if (key_)
            GetDevicePort().RegCloseKey(key_);
        key_ = nullptr;
    }
    HKEY get() const { return key_; }

    // A string value of at most 511 characters, terminated whatever the registry holds.
    bool ReadString(const char* name, char (&text)[512]) const
    {
        std::memset(text, 0, sizeof text);
        DWORD type = 0;
        DWORD length = sizeof text - 1;
        return GetDevicePort().RegQueryValueExA(key_, name, &type, reinterpret_cast<BYTE*>(text),
                                                &length) == ERROR_SUCCESS;
    }

private:
    HKEY key_ = nullptr;
};

bool BeginsWith(const char* text, const char* prefix)
{
    const std::size_t length = std::strlen(prefix);
    return std::strlen(text) >= length && CompareBytes(text, prefix, length) == 0;
}

// The hardware key of a Windows 9x device node names our drive: on Me a "SCSI" key whose part
// after the second backslash begins with "USBSTOR&DISK", elsewhere one whose part begins "SMIMB".
bool HardwareKeyMatches(const char* hardwareKey, bool windowsMe)
{
    const char* first = std::strchr(hardwareKey, '\\');
    const char* second = first ? std::strchr(first + 1, '\\') : nullptr;
    if (!second)
        return false;
    const char* tail = second + 1;
    if (windowsMe)
        return BeginsWith(hardwareKey, "SCSI") && BeginsWith(tail, "USBSTOR&DISK");
    return BeginsWith(tail, "SMIMB");
}

BOOL RunVwin32Ioctl(HANDLE vwin32Handle, BYTE driveNumber, BYTE category, BYTE minorCode,
                    DWORD permissions, BYTE lockLevel)
{
    vwin32::DIOC_REGISTERS registers;
    std::memset(&registers, 0, sizeof registers);
    registers.reg_EAX = vwin32::kGenericIoctlBlockDevice;
    registers.reg_EBX = (DWORD{lockLevel} << 8) | driveNumber;
    registers.reg_ECX = (DWORD{category} << 8) | minorCode;
    registers.reg_EDX = permissions;
    DWORD returned = 0;
    const BOOL called = GetDevicePort().DeviceIoControl(
        vwin32Handle, vwin32::VWIN32_DIOC_DOS_IOCTL, &registers, sizeof registers, &registers,
        sizeof registers, &returned);
    return called && !(registers.reg_Flags & vwin32::kCarryFlag);
}

}  // namespace

ScsiCommandRequest MakeScsiCommandRequest(const ScsiDeviceContext& device, void* dataBuffer,
                                          DWORD dataLength, const BYTE* cdb)
{
    ScsiCommandRequest request;
    request.legacy = device.legacy;
    request.aspiModule = device.aspiModule;
    request.hostAdapterId = device.hostAdapterId;
    request.targetId = device.targetId;
    request.volumeHandle = device.volumeHandle;
    request.dataBuffer = dataBuffer;
    request.dataLength = dataLength;
    request.cdb = cdb;
    return request;
}

BOOL IsLegacyWindows()
{
    OSVERSIONINFOA info;
    return ReadVersion(info) && info.dwMajorVersion == 4;
}

BOOL IsWindowsMe()
{
    OSVERSIONINFOA info;
    return ReadVersion(info) && info.dwMajorVersion == 4 && info.dwMinorVersion == 90;
}

char CurrentDriveLetter() { return g_currentDriveLetter; }
void SetCurrentDriveLetter(char letter) { g_currentDriveLetter = letter; }

int CompareBytes(const void* first, const void* second, std::size_t count)
{
    const auto* a = static_cast<const BYTE*>(first);
    const auto* b = static_cast<const BYTE*>(second);
    for (std::size_t i = 0; i < count; ++i)
        if (a[i] != b[i])
            return 1;
    return 0;
}

BOOL AspiInquiry(HMODULE aspiModule, BYTE hostAdapterId, BYTE targetId, BYTE lun,
                 BYTE answer[kAspiInquiryAnswerSize])
{
    DevicePort& port = GetDevicePort();
    // The answer area follows the request block, as ASPI samples lay it out.
    struct {
        aspi::SRB_ExecSCSICmd srb;
        BYTE data[scsi::kInquiryLength];
    } request;
    std::memset(&request, 0, sizeof request);
    const scsi::Cdb cdb = scsi::InquiryCdb();
    aspi_request::Fill(request.srb, hostAdapterId, targetId, lun,
                       aspi::SRB_DIR_IN | aspi::SRB_EVENT_NOTIFY, request.data,
                       scsi::kInquiryLength, cdb.data(), scsi::kInquiryCdbLength);
    char line[64];
    std::snprintf(line, sizeof line, "adapter_id %d %x %x\n", hostAdapterId,
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(aspiModule)),
                  static_cast<unsigned>(reinterpret_cast<UINT_PTR>(
                      port.GetProcAddress(aspiModule, "SendASPI32Command"))));
    OutputDebugStringA(line);
    if (aspi_request::Execute(aspiModule, request.srb) != aspi_request::Outcome::Completed)
        return FALSE;
    std::memcpy(answer, request.data + 5, kAspiInquiryAnswerSize);
    return TRUE;
}

BOOL PassThroughInquiry(char driveLetter, BYTE answer[kPassThroughInquiryAnswerSize])
{
    DevicePort& port = GetDevicePort();
    HANDLE volume = passthrough::OpenVolume(driveLetter);
    if (volume == INVALID_HANDLE_VALUE)
        return FALSE;
    passthrough::InquiryBuffer buffer;
    passthrough::FillInquiry(buffer);
    DWORD returned = 0;
    const BOOL result = port.DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH, &buffer,
                                             passthrough::kInquiryInputSize, &buffer,
                                             passthrough::kInquiryOutputSize, &returned);
    port.CloseHandle(volume);
    if (result)
        std::memcpy(answer, buffer.data + 5, kPassThroughInquiryAnswerSize);
    return result;
}

BOOL FindSmiDevice(BOOL legacy, BYTE* hostAdapterId, BYTE* targetId, HMODULE* aspiModule,
                   char* driveLetter)
{
    DevicePort& port = GetDevicePort();
    if (legacy) {
        *hostAdapterId = 0xFF;
        *targetId = 0;
        *aspiModule = nullptr;
        HMODULE module = port.LoadLibraryA("wnaspi32.dll");
        if (!module)
            return FALSE;
        auto supportInfo = reinterpret_cast<aspi::GetASPI32SupportInfoFunction>(
            reinterpret_cast<void*>(port.GetProcAddress(module, "GetASPI32SupportInfo")));
        if (!supportInfo) {
            aspi_request::ReportMissingEntry("GetASPI32SupportInfo");
            port.FreeLibrary(module);
            return FALSE;
        }
        // Without its command entry the library can reach no adapter: say so once, not once for
        // each adapter the inquiries would go to.
        if (!port.GetProcAddress(module, "SendASPI32Command")) {
            aspi_request::ReportMissingEntry("SendASPI32Command");
            port.FreeLibrary(module);
            return FALSE;
        }
        const BYTE adapters = aspi::SupportInfoAdapterCount(supportInfo());
        for (BYTE adapter = 0; adapter < adapters; ++adapter) {
            BYTE answer[kAspiInquiryAnswerSize] = {};
            if (AspiInquiry(module, adapter, 0, 0, answer) && smi::MatchesSmiInquiry(answer)) {
                *hostAdapterId = adapter;
                *targetId = 0;
                *aspiModule = module;
                FindDriveLetterWin9x(legacy, &g_currentDriveLetter);
                *driveLetter = g_currentDriveLetter;
                return TRUE;
            }
        }
        // Nothing of ours on any adapter: nobody will free the library later.
        port.FreeLibrary(module);
        return FALSE;
    }
    for (char letter = 'D'; letter <= 'W'; ++letter) {
        BYTE answer[kPassThroughInquiryAnswerSize] = {};
        if (PassThroughInquiry(letter, answer) && smi::MatchesSmiInquiry(answer)) {
            *driveLetter = letter;
            g_currentDriveLetter = letter;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL FindDriveLetterWin9x(BOOL legacy, char* letter)
{
    if (!legacy)
        return FALSE;
    *letter = kNoLetter;
    RegistryKey enumKey;
    if (!enumKey.Open(HKEY_DYN_DATA, vwin32::kEnumPath))
        return FALSE;
    DWORD subKeys = 0;
    if (GetDevicePort().RegQueryInfoKeyA(enumKey.get(), &subKeys) != ERROR_SUCCESS)
        return FALSE;
    const bool windowsMe = IsWindowsMe();
    for (DWORD index = 0; index < subKeys; ++index) {
        char name[512] = {};
        DWORD nameLength = sizeof name - 1;
        if (GetDevicePort().RegEnumKeyExA(enumKey.get(), index, name, &nameLength) !=
            ERROR_SUCCESS)
            return FALSE;
        RegistryKey node;
        if (!node.Open(HKEY_DYN_DATA, std::string(vwin32::kEnumPath) + "\\" + name))
            return FALSE;
        char hardwareKey[512];
        if (!node.ReadString("HardWareKey", hardwareKey))
            return FALSE;
        if (!HardwareKeyMatches(hardwareKey, windowsMe))
            continue;
        RegistryKey device;
        if (!device.Open(HKEY_LOCAL_MACHINE, std::string("Enum\\") + hardwareKey))
            return FALSE;
        char assignment[512];
        if (!device.ReadString("CurrentDriveLetterAssignment", assignment))
            return FALSE;
        *letter = assignment[0];
        break;
    }
    return *letter != kNoLetter;
}

BOOL LockVolumeWin9x(HANDLE vwin32Handle, BYTE driveNumber, BYTE lockLevel, WORD permissions)
{
    if (RunVwin32Ioctl(vwin32Handle, driveNumber, vwin32::kCategoryFat32,
                       vwin32::kLockLogicalVolume, permissions, lockLevel))
        return TRUE;
    return RunVwin32Ioctl(vwin32Handle, driveNumber, vwin32::kCategoryDisk,
                          vwin32::kLockLogicalVolume, permissions, lockLevel);
}

BOOL UnlockVolumeWin9x(HANDLE vwin32Handle, BYTE driveNumber)
{
    if (RunVwin32Ioctl(vwin32Handle, driveNumber, vwin32::kCategoryFat32,
                       vwin32::kUnlockLogicalVolume, 0, 0))
        return TRUE;
    return RunVwin32Ioctl(vwin32Handle, driveNumber, vwin32::kCategoryDisk,
                          vwin32::kUnlockLogicalVolume, 0, 0);
}

BOOL LockDriveWin9x(HANDLE* vwin32Handle, char driveLetter)
{
    HANDLE handle = GetDevicePort().CreateFileA(vwin32::kDevicePath, 0, 0, 0,
                                                FILE_FLAG_DELETE_ON_CLOSE);
    if (handle == INVALID_HANDLE_VALUE) {
        *vwin32Handle = INVALID_HANDLE_VALUE;
        return FALSE;
    }
    *vwin32Handle = handle;
    return LockVolumeWin9x(handle, static_cast<BYTE>(driveLetter - 64), 0, 0);
}

BOOL OpenAndLockVolume(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle)
{
    if (legacy)
        return LockDriveWin9x(vwin32Handle, g_currentDriveLetter);
    HANDLE volume = passthrough::OpenVolume(g_currentDriveLetter);
    *volumeHandle = volume;
    if (volume == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD returned = 0;
    return GetDevicePort().DeviceIoControl(volume, FSCTL_LOCK_VOLUME, nullptr, 0, nullptr, 0,
                                           &returned);
}

BOOL DismountAndCloseVolume(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle)
{
    DevicePort& port = GetDevicePort();
    if (legacy) {
        if (*vwin32Handle == INVALID_HANDLE_VALUE)
            return FALSE;
        const BOOL result =
            UnlockVolumeWin9x(*vwin32Handle, static_cast<BYTE>(g_currentDriveLetter - 64));
        port.CloseHandle(*vwin32Handle);
        *vwin32Handle = INVALID_HANDLE_VALUE;
        return result;
    }
    if (*volumeHandle == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD returned = 0;
    // Closing the handle releases the lock; no unlock is sent.
    const BOOL result = port.DeviceIoControl(*volumeHandle, FSCTL_DISMOUNT_VOLUME, nullptr, 0,
                                             nullptr, 0, &returned);
    port.CloseHandle(*volumeHandle);
    *volumeHandle = INVALID_HANDLE_VALUE;
    return result;
}

BOOL CloseVolumeWithoutDismount(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle)
{
    HANDLE* handle = legacy ? vwin32Handle : volumeHandle;
    if (*handle == INVALID_HANDLE_VALUE)
        return FALSE;
    const BOOL result = GetDevicePort().CloseHandle(*handle);
    *handle = INVALID_HANDLE_VALUE;
    return result;
}

// The queries keep to the platform call's result (their failure reads as zeros); the firmware
// bank write and read-back also need the drive's own GOOD.
BOOL ExecuteVendorCdbIn(ScsiCommandRequest request)
{
    return SendCdb(request, {smi::kAspiCdbLength, smi::kNtCdbLength, 0, true,
                             smi::NtTimeoutSeconds(smi::Direction::In),
                             request.cdb && smi::ProgramsOrVerifiesFirmware(request.cdb)});
}

BOOL ExecuteVendorCdbOut(ScsiCommandRequest request)
{
    return SendCdb(request, {smi::kAspiCdbLength, smi::kNtCdbLength, 0, false,
                             smi::NtTimeoutSeconds(smi::Direction::Out),
                             request.cdb && smi::ProgramsOrVerifiesFirmware(request.cdb)});
}

BOOL FreeAspiLibrary(BOOL legacy, HMODULE* aspiModule)
{
    if (!legacy || !*aspiModule)
        return FALSE;
    const BOOL result = GetDevicePort().FreeLibrary(*aspiModule);
    *aspiModule = nullptr;
    return result;
}

namespace {
BOOL CALLBACK CloseIfExplorer(HWND window, LPARAM)
{
    char className[128] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "ExploreWClass") == 0 || std::strcmp(className, "CabinetWClass") == 0)
        SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    return TRUE;
}
}  // namespace

void CloseExplorerWindows(timing::Pause& pause)
{
    EnumWindows(CloseIfExplorer, 0);
    pause.Sleep(500);
}
