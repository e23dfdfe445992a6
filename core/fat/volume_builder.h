// core/fat/volume_builder.h
// Sarrow's two volume builders: a new master boot record and an empty FAT12/16 or FAT32 volume
// in one primary partition from sector S to the device's end, written one sector at a time.
#pragma once

#include <cstdint>

#include "core/fat/sector_images.h"
#include "core/progress/progress_sink.h"
#include "core/timing/pause.h"

namespace fat {

// One sector at device sector `sector` (the base already added) on logical unit `lun`.
class SectorDevice {
public:
    virtual bool WriteSector(std::uint32_t sector, const Sector& data, std::uint8_t lun) = 0;
    virtual bool ReadSector(std::uint32_t sector, Sector& data, std::uint8_t lun) = 0;

protected:
    ~SectorDevice() = default;
};

// The debugger output line of BuildFat16Volume.
class DebugOutput {
public:
    virtual void Write(const char* text) = 0;

protected:
    ~DebugOutput() = default;
};

constexpr std::uint32_t kMbrWriteAttempts = 10;
constexpr std::uint32_t kMbrRetryPauseMs = 50;

// FAT12 or FAT16 volume. Retries the MBR write (10 attempts, 50 ms apart), reads back and
// compares sector 0, the boot sector and the root sectors. Progress moves from the bar's current
// position p to p + 5, p + 10, p + 15. Returns false at the first failing write, read or compare,
// and before writing anything when the device is too small or too large for the layout
// (VolumeFits) or the base sector would carry it past sector 2^32 - 1.
bool BuildFat16Volume(SectorDevice& device, std::uint32_t totalSectors, bool alignment,
                      progress::ProgressSink& progress, const std::uint8_t* labelRecord, bool active,
                      std::uint8_t lun, std::uint32_t baseSector, timing::Pause& pause, DebugOutput& debug);

// FAT32 volume, always active. One attempt per write, nothing read back; progress is an absolute
// counter from 0. Same refusals as BuildFat16Volume.
bool BuildFat32Volume(SectorDevice& device, std::uint32_t totalSectors, bool alignment,
                      progress::ProgressSink& progress, const std::uint8_t* labelRecord, bool active,
                      std::uint8_t lun, std::uint32_t baseSector);

}  // namespace fat
