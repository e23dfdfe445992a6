// platform/scsi/simulated_port.h
// The device port of the simulation flavour: the drive of the profile (sim_profile.h) answers at
// its letter as Windows would present it. Its volume "\\.\X:" takes IOCTL_SCSI_PASS_THROUGH and
// IOCTL_SCSI_PASS_THROUGH_DIRECT, decoded from the records exactly as the platform reads them,
// and FSCTL_LOCK_VOLUME and FSCTL_DISMOUNT_VOLUME; "\\.\vwin32" locks and unlocks it; the Windows
// 9x registry names it. Everything else goes to Win32 (wnaspi32.dll included: the test DLL
// serves the same drive on the legacy path). As with a real drive, a command the drive refuses
// still completes the call: the record's ScsiStatus says CHECK CONDITION and the sense area (as
// much as the record asks for) says why; only a drive that has dropped off fails the call itself
// (ERROR_DEVICE_NOT_CONNECTED). A profile with `volume_in_use` refuses the volume lock
// (ERROR_ACCESS_DENIED, or the VWIN32 carry), as Windows does while another program holds the
// volume. Locks, dismounts and closes of the volume go to the drive's command log. Safe to call
// from several threads (the repair worker and the dialog).
// Test and demo support; never in a production program.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "core/sim/smi_controller.h"
#include "core/sync/mutex.h"
#include "platform/scsi/device_port.h"
#include "platform/scsi/fake_win9x_registry.h"

class SimulatedDevicePort : public Win32DevicePort {
public:
    SimulatedDevicePort();  // finds the profile with FindSimProfile
    explicit SimulatedDevicePort(const sim::DriveProfile& profile);
    ~SimulatedDevicePort();

    bool HasDrive() const { return hasDrive_; }
    char DriveLetter() const { return profile_.driveLetter; }
    const std::string& ProfilePath() const { return profilePath_; }
    // Why the drive is missing: the profile or the image did not load.
    const std::string& Error() const { return error_; }
    // The drive, opened at the first open of its volume; null before or when it failed.
    sim::SmiController* Controller() { return controller_.get(); }
    // Granted volume locks (FSCTL_LOCK_VOLUME or VWIN32), dismounts, and VWIN32 unlocks so far.
    unsigned Locks() const { return locks_; }
    unsigned Dismounts() const { return dismounts_; }
    unsigned Unlocks() const { return unlocks_; }

    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                       DWORD flags) override;
    BOOL DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                         DWORD outSize, DWORD* returned) override;
    BOOL FlushFileBuffers(HANDLE file) override;
    BOOL CloseHandle(HANDLE handle) override;
    LONG RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM access, HKEY* key) override;
    LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount) override;
    LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength) override;
    LONG RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                          DWORD* dataLength) override;
    LONG RegCloseKey(HKEY key) override;

private:
    enum class Kind { Volume, Vwin32 };

    void BuildRegistry();

    HANDLE NewToken(Kind kind);
    bool OpenController();
    BOOL PassThrough(void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
    BOOL PassThroughDirect(void* in, DWORD inSize, void* out, DWORD outSize, DWORD* returned);
    BOOL Vwin32Ioctl(DWORD code, void* in, DWORD inSize, void* out, DWORD outSize,
                     DWORD* returned);

    core::Mutex mutex_;
    sim::DriveProfile profile_;
    std::string profilePath_;
    std::string error_;
    bool hasDrive_ = false;
    std::unique_ptr<sim::SmiController> controller_;
    std::map<HANDLE, Kind> tokens_;
    unsigned locks_ = 0;
    unsigned dismounts_ = 0;
    unsigned unlocks_ = 0;
    FakeWin9xRegistry registry_;  // empty without a drive
};
