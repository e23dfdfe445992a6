// platform/scsi/simulated_drives_port.cpp
#include "platform/scsi/simulated_drives_port.h"

#include <winioctl.h>
#include <ntddscsi.h>

#include <cctype>
#include <cstring>

#include "core/scsi/block_commands.h"

namespace {

// "\\.\X:" in any case: the drive letter, or 0 for any other name.
char VolumeLetter(const char* name)
{
    if (!name || std::strlen(name) != 6 || std::strncmp(name, "\\\\.\\", 4) != 0 || name[5] != ':')
        return 0;
    const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(name[4])));
    return letter >= 'A' && letter <= 'Z' ? letter : 0;
}

}  // namespace

SimulatedDrivesPort::SimulatedDrivesPort(std::vector<sim::DriveProfile> drives)
{
    for (sim::DriveProfile& profile : drives)
        drives_.push_back(Drive{std::move(profile), nullptr});
}

SimulatedDrivesPort::~SimulatedDrivesPort()
{
    for (Drive& drive : drives_) {
        if (drive.controller)
            drive.controller->Flush();
    }
}

HANDLE SimulatedDrivesPort::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                                        DWORD flags)
{
    const char letter = VolumeLetter(name);
    if (!letter)
        return Win32DevicePort::CreateFileA(name, access, share, disposition, flags);
    openedPaths_.emplace_back(name);
    for (Drive& drive : drives_) {
        if (std::toupper(static_cast<unsigned char>(drive.profile.driveLetter)) != letter)
            continue;
        if (disposition != OPEN_EXISTING)
            break;
        if (!drive.controller) {
            auto controller = std::make_unique<sim::SmiController>(drive.profile);
            std::string error;
            if (!controller->Open(error)) {
                error_ = std::string(name) + ": " + error;
                break;
            }
            drive.controller = std::move(controller);
        }
        // A real event as the handle: unique among the process's handles, and never a device.
        HANDLE volume = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (!volume)
            return INVALID_HANDLE_VALUE;
        volumes_[volume] = &drive;
        return volume;
    }
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

BOOL SimulatedDrivesPort::PassThroughDirect(sim::SmiController& controller, void* in, DWORD inSize,
                                            void* out, DWORD outSize, DWORD* returned)
{
    if (!in || inSize < sizeof(SCSI_PASS_THROUGH_DIRECT) || !out ||
        outSize < sizeof(SCSI_PASS_THROUGH_DIRECT)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    SCSI_PASS_THROUGH_DIRECT record;
    std::memcpy(&record, in, sizeof record);
    if (record.Length != sizeof(SCSI_PASS_THROUGH_DIRECT)) {
        ::SetLastError(ERROR_REVISION_MISMATCH);
        return FALSE;
    }
    if (record.CdbLength > 16 || (record.DataTransferLength && !record.DataBuffer) ||
        (record.SenseInfoLength &&
         record.SenseInfoOffset + record.SenseInfoLength > (inSize < outSize ? inSize : outSize))) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    scsi::Cdb cdb{};
    std::memcpy(cdb.data(), record.Cdb, 16);
    const scsi::Direction direction =
        record.DataIn == SCSI_IOCTL_DATA_OUT ? scsi::Direction::Out : scsi::Direction::In;
    const bool ok = controller.Execute(cdb, record.CdbLength, direction,
                                       static_cast<BYTE*>(record.DataBuffer), record.DataTransferLength);
    record.ScsiStatus = ok ? 0 : 2;
    std::memcpy(out, &record, sizeof record);
    *returned = sizeof record;
    if (!ok)
        ::SetLastError(ERROR_IO_DEVICE);
    return ok;
}

BOOL SimulatedDrivesPort::DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize,
                                          void* out, DWORD outSize, DWORD* returned)
{
    auto volume = volumes_.find(device);
    if (volume == volumes_.end())
        return Win32DevicePort::DeviceIoControl(device, code, in, inSize, out, outSize, returned);
    *returned = 0;
    switch (code) {
    case IOCTL_SCSI_PASS_THROUGH_DIRECT:
        return PassThroughDirect(*volume->second->controller, in, inSize, out, outSize, returned);
    case FSCTL_LOCK_VOLUME:
    case FSCTL_DISMOUNT_VOLUME:
        return TRUE;
    default:
        ::SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
}

BOOL SimulatedDrivesPort::FlushFileBuffers(HANDLE file)
{
    if (volumes_.count(file))
        return TRUE;
    return Win32DevicePort::FlushFileBuffers(file);
}

BOOL SimulatedDrivesPort::CloseHandle(HANDLE handle)
{
    auto volume = volumes_.find(handle);
    if (volume == volumes_.end())
        return Win32DevicePort::CloseHandle(handle);
    volume->second->controller->Flush();
    volumes_.erase(volume);
    return ::CloseHandle(handle);
}
