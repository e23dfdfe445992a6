// sarrow/volume/volume_builder.cpp
#include "sarrow/volume/volume_builder.h"

#include "core/fat/volume_builder.h"
#include "core/scsi/block_commands.h"
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

class ThreadPause final : public timing::Pause {
public:
    void Sleep(std::uint32_t milliseconds) override { ::Sleep(milliseconds); }
};

class DebuggerOutput final : public fat::DebugOutput {
public:
    void Write(const char* text) override { OutputDebugStringA(text); }
};

class NoProgress final : public progress::ProgressSink {
public:
    int SetPos(int value, bool) override
    {
        const int before = position_;
        position_ = value;
        return before;
    }
    int GetPos(bool) const override { return position_; }

private:
    int position_ = 0;
};

}  // namespace

BOOL BuildFat16Volume(const ScsiDeviceContext& device, DWORD totalSectors, BOOL alignment,
                      progress::ProgressSink* progress, const BYTE* label, BOOL active, BYTE lun,
                      DWORD baseSector)
{
    DeviceSectors sectors(device);
    NoProgress noProgress;
    ThreadPause pause;
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
    NoProgress noProgress;
    return fat::BuildFat32Volume(sectors, totalSectors, alignment != FALSE, progress ? *progress : noProgress,
                                 label, active != FALSE, lun, baseSector)
               ? TRUE
               : FALSE;
}
