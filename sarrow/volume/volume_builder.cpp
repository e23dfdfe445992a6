// sarrow/volume/volume_builder.cpp
#include "sarrow/volume/volume_builder.h"

#include "core/fat/volume_builder.h"
#include "core/scsi/block_commands.h"
#include "platform/timing/sleep_pause.h"
#include "sarrow/device/sector_io.h"

namespace {

class DeviceSectors final : public fat::SectorDevice {
public:
    explicit DeviceSectors(const ScsiDeviceContext& device) : device_(device) {}

    bool WriteSector(std::uint32_t sector, const fat::Sector& data, std::uint8_t lun) override
    {
        return WriteSectors(device_, sector, data.data(), fat::kSectorBytes, scsi::kWrite10, lun) != FALSE;
    }

    bool ReadSector(std::uint32_t sector, fat::Sector& data, std::uint8_t lun) override
    {
        return ReadSectors(device_, sector, data.data(), fat::kSectorBytes, scsi::kRead10, lun) != FALSE;
    }

private:
    const ScsiDeviceContext& device_;
};

class DebuggerOutput final : public fat::DebugOutput {
public:
    void Write(const char* text) override { OutputDebugStringA(text); }
};

}  // namespace

BOOL BuildFat16Volume(const ScsiDeviceContext& device, DWORD totalSectors, BOOL alignment,
                      progress::ProgressSink* progress, const BYTE* label, BOOL active, BYTE lun,
                      DWORD baseSector)
{
    DeviceSectors sectors(device);
    progress::UnseenProgress noProgress;
    timing::SleepPause pause;
    DebuggerOutput debug;
    return fat::BuildFat16Volume(sectors, totalSectors, alignment != FALSE, progress ? *progress : noProgress,
                                 label, active != FALSE, lun, baseSector, pause, debug)
               ? TRUE
               : FALSE;
}

BOOL BuildFat32Volume(const ScsiDeviceContext& device, DWORD totalSectors, BOOL alignment,
                      progress::ProgressSink* progress, const BYTE* label, BOOL active, BYTE lun,
                      DWORD baseSector)
{
    DeviceSectors sectors(device);
    progress::UnseenProgress noProgress;
    return fat::BuildFat32Volume(sectors, totalSectors, alignment != FALSE, progress ? *progress : noProgress,
                                 label, active != FALSE, lun, baseSector)
               ? TRUE
               : FALSE;
}
