// platform/scsi/simulated_port.cpp
#include "platform/scsi/simulated_port.h"

#include <winioctl.h>
#include <ntddscsi.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "core/scsi/block_commands.h"
#include "platform/scsi/pass_through.h"
#include "platform/scsi/sim_profile.h"
#include "platform/win9x/vwin32.h"

namespace {

bool SameText(const std::string& a, const char* b)
{
    if (a.size() != std::strlen(b))
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

scsi::Direction DirectionOf(UCHAR dataIn)
{
    return dataIn == SCSI_IOCTL_DATA_OUT ? scsi::Direction::Out : scsi::Direction::In;
}

}  // namespace

// The Windows 9x registry as it names the drive: a device node in HKEY_DYN_DATA whose hardware
// key leads to its drive letter under HKEY_LOCAL_MACHINE\Enum. One node for Windows Me, one for
// the others, and one foreign node before them.
namespace {
const char* const kNodes[][2] = {
    {"C29A3E50", "ROOT\\*PNP0C01\\0000"},
    {"C29A3E51", "SCSI\\SMI_USB_DISK\\USBSTOR&DISK&0001"},
    {"C29A3E52", "SCSI\\SMI_USB_DISK\\SMIMB&0001"},
};
}  // namespace

SimulatedDevicePort::SimulatedDevicePort()
{
    hasDrive_ = FindSimProfile(nullptr, profile_, profilePath_, error_);
    BuildRegistry();
}

SimulatedDevicePort::SimulatedDevicePort(const sim::DriveProfile& profile)
    : profile_(profile), hasDrive_(true)
{
    BuildRegistry();
}

SimulatedDevicePort::~SimulatedDevicePort()
{
    if (controller_)
        controller_->Flush();
}

HANDLE SimulatedDevicePort::NewToken(Kind kind)
{
    // A real event as the token: unique among the process's handles, and never a device.
    HANDLE token = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (token)
        tokens_[token] = kind;
    return token ? token : INVALID_HANDLE_VALUE;
}

bool SimulatedDevicePort::OpenController()
{
    if (controller_)
        return true;
    auto controller = std::make_unique<sim::SmiController>(profile_);
    if (!controller->Open(error_))
        return false;
    controller_ = std::move(controller);
    return true;
}

HANDLE SimulatedDevicePort::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                                        DWORD flags)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    const std::string path = name ? name : "";
    if (hasDrive_) {
        if (SameText(path, passthrough::VolumePathOf(profile_.driveLetter).text)) {
            if (disposition != OPEN_EXISTING || !OpenController()) {
                SetLastError(ERROR_FILE_NOT_FOUND);
                return INVALID_HANDLE_VALUE;
            }
            return NewToken(Kind::Volume);
        }
        if (SameText(path, vwin32::kDevicePath))
            return NewToken(Kind::Vwin32);
    }
    return Win32DevicePort::CreateFileA(name, access, share, disposition, flags);
}

namespace {

// The drive's answer in a pass-through record, as the port driver returns it: the status, the
// sense data in the caller's sense area (no more than it asked for), and no data when the
// command did not end GOOD.
template <typename Record>
void PutOutcome(Record& record, BYTE* buffer, const sim::CommandOutcome& outcome)
{
    record.ScsiStatus = outcome.status;
    const scsi::FixedSense sense = outcome.SenseData();
    const UCHAR copied = outcome.Good() ? 0 : static_cast<UCHAR>(std::min<std::size_t>(record.SenseInfoLength, sense.size()));
    if (copied)
        std::memcpy(buffer + record.SenseInfoOffset, sense.data(), copied);
    record.SenseInfoLength = copied;
    if (!outcome.Good())
        record.DataTransferLength = 0;
}

// The sense area the record names lies inside the buffer, after the record.
template <typename Record>
bool SenseAreaFits(const Record& record, DWORD bufferSize)
{
    return record.SenseInfoLength == 0 ||
           (record.SenseInfoOffset >= sizeof(Record) && record.SenseInfoOffset <= bufferSize &&
            record.SenseInfoLength <= bufferSize - record.SenseInfoOffset);
}

}  // namespace

BOOL SimulatedDevicePort::PassThrough(void* in, DWORD inSize, void* out, DWORD outSize,
                                      DWORD* returned)
{
    if (!in || inSize < sizeof(SCSI_PASS_THROUGH) || !out || outSize < sizeof(SCSI_PASS_THROUGH)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Buffered: the platform copies the input into one system buffer and hands it back as output.
    std::vector<BYTE> system(std::max(inSize, outSize));
    std::memcpy(system.data(), in, inSize);
    auto& record = *reinterpret_cast<SCSI_PASS_THROUGH*>(system.data());
    const bool dataIn = record.DataIn != SCSI_IOCTL_DATA_OUT;
    const DWORD limit = dataIn ? outSize : inSize;
    if (record.Length != sizeof(SCSI_PASS_THROUGH)) {
        SetLastError(ERROR_REVISION_MISMATCH);
        return FALSE;
    }
    if (record.CdbLength > 16 || !SenseAreaFits(record, outSize) ||
        (record.DataTransferLength &&
         (record.DataBufferOffset < sizeof(SCSI_PASS_THROUGH) ||
          record.DataBufferOffset > limit || record.DataTransferLength > limit - record.DataBufferOffset))) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    scsi::Cdb cdb{};
    std::memcpy(cdb.data(), record.Cdb, 16);
    BYTE* data = record.DataTransferLength ? system.data() + record.DataBufferOffset : nullptr;
    const sim::CommandOutcome outcome = controller_->Submit(cdb, record.CdbLength, DirectionOf(record.DataIn), data,
                                                           record.DataTransferLength);
    if (!outcome.answered) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    PutOutcome(record, system.data(), outcome);
    std::memcpy(out, system.data(), outSize);
    *returned = dataIn && data && outcome.Good() ? record.DataBufferOffset + record.DataTransferLength
                                                 : static_cast<DWORD>(sizeof(SCSI_PASS_THROUGH));
    return TRUE;
}

BOOL SimulatedDevicePort::PassThroughDirect(void* in, DWORD inSize, void* out, DWORD outSize,
                                            DWORD* returned)
{
    if (!in || inSize < sizeof(SCSI_PASS_THROUGH_DIRECT) || !out ||
        outSize < sizeof(SCSI_PASS_THROUGH_DIRECT)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SCSI_PASS_THROUGH_DIRECT record;
    std::memcpy(&record, in, sizeof record);
    if (record.Length != sizeof(SCSI_PASS_THROUGH_DIRECT)) {
        SetLastError(ERROR_REVISION_MISMATCH);
        return FALSE;
    }
    if (record.CdbLength > 16 || !SenseAreaFits(record, outSize) ||
        (record.DataTransferLength && !record.DataBuffer)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    scsi::Cdb cdb{};
    std::memcpy(cdb.data(), record.Cdb, 16);
    const sim::CommandOutcome outcome =
        controller_->Submit(cdb, record.CdbLength, DirectionOf(record.DataIn), static_cast<BYTE*>(record.DataBuffer),
                            record.DataTransferLength);
    if (!outcome.answered) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    PutOutcome(record, static_cast<BYTE*>(out), outcome);
    std::memcpy(out, &record, sizeof record);
    *returned = sizeof record;
    return TRUE;
}

BOOL SimulatedDevicePort::Vwin32Ioctl(DWORD code, void* in, DWORD inSize, void* out,
                                      DWORD outSize, DWORD* returned)
{
    if (code != vwin32::VWIN32_DIOC_DOS_IOCTL || !in || !out ||
        inSize < sizeof(vwin32::DIOC_REGISTERS) || outSize < sizeof(vwin32::DIOC_REGISTERS)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    vwin32::DIOC_REGISTERS registers;
    std::memcpy(&registers, in, sizeof registers);
    const BYTE drive = static_cast<BYTE>(registers.reg_EBX & 0xFF);
    const BYTE category = static_cast<BYTE>((registers.reg_ECX >> 8) & 0xFF);
    const BYTE minor = static_cast<BYTE>(registers.reg_ECX & 0xFF);
    const bool ours = (registers.reg_EAX & 0xFFFF) == vwin32::kGenericIoctlBlockDevice &&
                      (category == vwin32::kCategoryFat32 || category == vwin32::kCategoryDisk) &&
                      (minor == vwin32::kLockLogicalVolume || minor == vwin32::kUnlockLogicalVolume) &&
                      drive == profile_.driveLetter - 'A' + 1;
    const bool lock = minor == vwin32::kLockLogicalVolume;
    const bool refused = ours && lock && profile_.volumeInUse;
    if (ours && !refused) {
        registers.reg_Flags &= ~vwin32::kCarryFlag;
    } else {
        registers.reg_Flags |= vwin32::kCarryFlag;
        registers.reg_EAX = refused ? 0x05 : 0x0F;  // access denied (files open on it), invalid drive
    }
    if (ours) {
        (lock ? locks_ : unlocks_) += refused ? 0 : 1;
        if (controller_)
            controller_->LogVolumeEvent(lock ? "lock-volume" : "unlock-volume", !refused);
    }
    std::memcpy(out, &registers, sizeof registers);
    *returned = sizeof registers;
    return TRUE;
}

BOOL SimulatedDevicePort::DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize,
                                          void* out, DWORD outSize, DWORD* returned)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    auto token = tokens_.find(device);
    if (token == tokens_.end())
        return Win32DevicePort::DeviceIoControl(device, code, in, inSize, out, outSize, returned);
    *returned = 0;
    if (token->second == Kind::Vwin32)
        return Vwin32Ioctl(code, in, inSize, out, outSize, returned);
    switch (code) {
    case IOCTL_SCSI_PASS_THROUGH:
        return PassThrough(in, inSize, out, outSize, returned);
    case IOCTL_SCSI_PASS_THROUGH_DIRECT:
        return PassThroughDirect(in, inSize, out, outSize, returned);
    case FSCTL_LOCK_VOLUME:
        // Windows refuses the lock while another program has files or handles open on the volume.
        controller_->LogVolumeEvent("lock-volume", !profile_.volumeInUse);
        if (profile_.volumeInUse) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        ++locks_;
        return TRUE;
    case FSCTL_DISMOUNT_VOLUME:
        // A dismount succeeds even then, and pulls the volume from under the other program.
        controller_->LogVolumeEvent("dismount-volume", true);
        ++dismounts_;
        return TRUE;
    default:
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
}

BOOL SimulatedDevicePort::FlushFileBuffers(HANDLE file)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (tokens_.count(file))
        return TRUE;
    return Win32DevicePort::FlushFileBuffers(file);
}

BOOL SimulatedDevicePort::CloseHandle(HANDLE handle)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    auto token = tokens_.find(handle);
    if (token == tokens_.end())
        return Win32DevicePort::CloseHandle(handle);
    if (token->second == Kind::Volume && controller_) {
        controller_->Flush();
        controller_->LogVolumeEvent("close-volume", true);
    }
    tokens_.erase(token);
    return ::CloseHandle(handle);
}

void SimulatedDevicePort::BuildRegistry()
{
    if (!hasDrive_)
        return;
    const std::string root = std::string("DYN\\") + vwin32::kEnumPath;
    for (const auto& node : kNodes) {
        registry_[root].subKeys.push_back(node[0]);
        registry_[root + "\\" + node[0]].values["HardWareKey"] = node[1];
        if (std::strncmp(node[1], "SCSI", 4) == 0)
            registry_[std::string("HKLM\\Enum\\") + node[1]].values["CurrentDriveLetterAssignment"] =
                std::string(1, profile_.driveLetter);
    }
}

LONG SimulatedDevicePort::RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM access, HKEY* key)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (auto result = registry_.Open(parent, subKey, key))
        return *result;
    return Win32DevicePort::RegOpenKeyExA(parent, subKey, access, key);
}

LONG SimulatedDevicePort::RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (auto result = registry_.QueryInfo(key, subKeyCount))
        return *result;
    return Win32DevicePort::RegQueryInfoKeyA(key, subKeyCount);
}

LONG SimulatedDevicePort::RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (auto result = registry_.EnumKey(key, index, name, nameLength))
        return *result;
    return Win32DevicePort::RegEnumKeyExA(key, index, name, nameLength);
}

LONG SimulatedDevicePort::RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                           DWORD* dataLength)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (auto result = registry_.QueryValue(key, value, type, data, dataLength))
        return *result;
    return Win32DevicePort::RegQueryValueExA(key, value, type, data, dataLength);
}

LONG SimulatedDevicePort::RegCloseKey(HKEY key)
{
    std::lock_guard<core::Mutex> lock(mutex_);
    if (auto result = registry_.Close(key))
        return *result;
    return Win32DevicePort::RegCloseKey(key);
}
