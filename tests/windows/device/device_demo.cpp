// tests/windows/device/device_demo.cpp
// The device layer of Sarrow's simulation flavour on the drive of the profile, step by step, as
// the repair dialog's device box would use it. Exit code 0 when every step worked.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "core/scsi/block_commands.h"
#include "core/smi/vendor_commands.h"
#include "platform/scsi/device_port.h"
#include "platform/scsi/simulated_port.h"
#include "sarrow/device/scsi_device.h"
#include "sarrow/device/sector_io.h"
#include "sarrow/device/vendor_io.h"

namespace {

std::string Text(std::string_view text) { return std::string(text); }

std::string Hex(const std::array<std::uint8_t, 4>& bytes)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02X %02X %02X %02X", bytes[0], bytes[1], bytes[2], bytes[3]);
    return text;
}

}  // namespace

int main()
{
    auto& port = static_cast<SimulatedDevicePort&>(GetDevicePort());
    if (!port.HasDrive()) {
        std::printf("no simulated drive: %s\n",
                    port.Error().empty() ? "no profile (set SARROW_SIM_PROFILE)" : port.Error().c_str());
        return 2;
    }
    std::printf("profile: %s\n", port.ProfilePath().c_str());

    ScsiDeviceContext device;
    device.legacy = IsLegacyWindows();
    std::printf("path: %s\n", device.legacy ? "ASPI (Windows 9x)" : "SCSI pass-through (NT)");

    if (!FindSmiDevice(device.legacy, &device.hostAdapterId, &device.targetId, &device.aspiModule,
                       &device.driveLetter)) {
        std::printf("discovery: no Silicon Motion drive on D: to W:\n");
        return 1;
    }
    std::printf("discovery: found drive %c:\n", device.driveLetter);

    bool ok = true;
    const BOOL locked = OpenAndLockVolume(device.legacy, &device.volumeHandle, &device.vwin32Handle);
    std::printf("open and lock: %s\n", locked ? "locked" : "not locked");
    ok = ok && locked;

    VendorAnswer deviceInfo, firmwareInfo, flashInfo;
    const BOOL haveDevice = VendorReadDeviceInfo(device, deviceInfo);
    const BOOL haveFirmware = VendorReadFirmwareInfo(device, firmwareInfo);
    const BOOL haveFlash = VendorReadFlashInfo(device, flashInfo);
    ok = ok && haveDevice && haveFirmware && haveFlash;
    std::printf("device info: vendor \"%s\" product \"%s\"%s\n", Text(smi::VendorText(deviceInfo)).c_str(),
                Text(smi::ProductText(deviceInfo)).c_str(), haveDevice ? "" : " (command failed)");
    std::printf("firmware: model %s, version %s%s\n", Text(smi::ControllerModel(firmwareInfo)).c_str(),
                Text(smi::FirmwareVersion(firmwareInfo)).c_str(), haveFirmware ? "" : " (command failed)");
    std::printf("flash: id %s, n %u, m %u%s\n", Hex(smi::FlashIdentifier(flashInfo)).c_str(),
                smi::IspParameterN(flashInfo), smi::IspParameterM(flashInfo),
                haveFlash ? "" : " (command failed)");
    const std::uint32_t sectors = smi::TotalSectors(flashInfo);
    std::printf("total sectors: %u\n", sectors);

    // The device box: the capacity line, then vendor and product.
    std::string box;
    if (haveFlash) {
        char line[32];
        std::snprintf(line, sizeof line, "[%c:] %uMB", device.driveLetter,
                      smi::CapacityMegabytes(sectors));
        box = line;
    }
    std::printf("%s\n", box.c_str());
    if (haveDevice)
        std::printf("%s  %s\n", Text(smi::VendorText(deviceInfo)).c_str(),
                    Text(smi::ProductText(deviceInfo)).c_str());

    std::vector<BYTE> sector(scsi::kSectorSize, 0xA5);
    const BOOL read = ReadSectors(device, 0, sector.data(), scsi::kSectorSize, scsi::kRead10, 0);
    std::printf("READ(10) of sector 0: %s\n", read ? "ok" : "failed");
    ok = ok && read;

    const BOOL closed = DismountAndCloseVolume(device.legacy, &device.volumeHandle, &device.vwin32Handle);
    FreeAspiLibrary(device.legacy, &device.aspiModule);
    std::printf("dismount and close: %s\n", closed ? "done" : "failed");
    ok = ok && closed;
    return ok ? 0 : 1;
}
