// platform/scsi/simulated_drives_port.h
// The device port of the dispatcher's simulation flavour: several simulated drives, each at its
// profile's letter. Their volumes "\\.\X:" take IOCTL_SCSI_PASS_THROUGH_DIRECT, decoded from the
// record as the platform reads it; the volume of any other letter does not exist. A command the
// drive rejects fails DeviceIoControl with ERROR_IO_DEVICE. Every other call goes to Win32.
// Test and demo support; never in a production program.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/sim/smi_controller.h"
#include "platform/scsi/device_port.h"

class SimulatedDrivesPort : public Win32DevicePort {
public:
    explicit SimulatedDrivesPort(std::vector<sim::DriveProfile> drives);
    ~SimulatedDrivesPort();

    // Why a drive's volume did not open (its image, for example); empty when all did.
    const std::string& Error() const { return error_; }
    // The volume paths asked for, in order, as given.
    const std::vector<std::string>& OpenedPaths() const { return openedPaths_; }

    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                       DWORD flags) override;
    BOOL DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                         DWORD outSize, DWORD* returned) override;
    BOOL FlushFileBuffers(HANDLE file) override;
    BOOL CloseHandle(HANDLE handle) override;

private:
    struct Drive {
        sim::DriveProfile profile;
        std::unique_ptr<sim::SmiController> controller;
    };

    BOOL PassThroughDirect(sim::SmiController& controller, void* in, DWORD inSize, void* out,
                           DWORD outSize, DWORD* returned);

    std::vector<Drive> drives_;
    std::map<HANDLE, Drive*> volumes_;
    std::vector<std::string> openedPaths_;
    std::string error_;
};
