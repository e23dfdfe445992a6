// core/fat/volume_builder.cpp
#include "core/fat/volume_builder.h"

#include <cstdio>

namespace fat {

namespace {

// The device sectors from the base to the end of the device must be addressable.
bool Addressable(std::uint32_t totalSectors, std::uint32_t baseSector)
{
    return std::uint64_t{baseSector} + totalSectors <= std::uint64_t{1} << 32;
}

class Writer {
public:
    Writer(SectorDevice& device, std::uint8_t lun, std::uint32_t baseSector)
        : device_(device), lun_(lun), base_(baseSector)
    {
    }

    bool Write(std::uint32_t sector, const Sector& image) { return device_.WriteSector(base_ + sector, image, lun_); }

    // A transport may report a read as done without delivering data; starting from the image's
    // complement makes such a read fail the compare instead of passing on an earlier sector.
    bool ReadBackMatches(std::uint32_t sector, const Sector& image)
    {
        for (std::size_t i = 0; i < image.size(); ++i)
            readBack_[i] = static_cast<std::uint8_t>(~image[i]);
        return device_.ReadSector(base_ + sector, readBack_, lun_) && readBack_ == image;
    }

    bool WriteAndCompare(std::uint32_t sector, const Sector& image)
    {
        return Write(sector, image) && ReadBackMatches(sector, image);
    }

    // The FAT's first sector, then fatSize - 1 zero sectors.
    bool WriteFat(std::uint32_t first, std::uint32_t fatSize, const Sector& firstImage, const Sector& zero)
    {
        if (!Write(first, firstImage))
            return false;
        for (std::uint32_t i = 1; i < fatSize; ++i) {
            if (!Write(first + i, zero))
                return false;
        }
        return true;
    }

private:
    SectorDevice& device_;
    std::uint8_t lun_;
    std::uint32_t base_;
    Sector readBack_{};
};

}  // namespace

bool BuildFat16Volume(SectorDevice& device, std::uint32_t totalSectors, bool alignment,
                      progress::ProgressSink& progress, const std::uint8_t* labelRecord, bool active,
                      std::uint8_t lun, std::uint32_t baseSector, timing::Pause& pause, DebugOutput& debug)
{
    const VolumeLayout layout = Fat16Layout(totalSectors, alignment);
    if (!layout.fits || !Addressable(totalSectors, baseSector))
        return false;
    Writer writer(device, lun, baseSector);

    const int initial = progress.GetPos(false);
    char line[32];
    std::snprintf(line, sizeof line, "Init progress %d", initial);
    debug.Write(line);

    Sector mbr;
    BuildMasterBootRecord(mbr, Fat16PartitionEntry(layout, active));
    for (std::uint32_t attempt = 1;; ++attempt) {
        if (writer.Write(0, mbr))
            break;
        if (attempt == kMbrWriteAttempts)
            return false;
        pause.Sleep(kMbrRetryPauseMs);
    }
    if (!writer.ReadBackMatches(0, mbr))
        return false;

    Sector table{};  // FAT and root sectors; zero between their first sectors
    for (std::uint32_t sector = 1; sector < layout.start; ++sector) {
        if (!writer.Write(sector, table))
            return false;
    }
    progress.SetPos(initial + 5, true);

    Sector boot;
    BuildFat16BootSector(boot, layout);
    if (!writer.WriteAndCompare(layout.start, boot))
        return false;

    Sector fatFirst;
    BuildFatFirstSector(fatFirst, layout.type);
    if (!writer.WriteFat(layout.firstFat, layout.fatSize, fatFirst, table) ||
        !writer.WriteFat(layout.secondFat, layout.fatSize, fatFirst, table))
        return false;
    progress.SetPos(initial + 10, true);

    for (std::uint32_t i = 0; i < kRootSectors; ++i) {
        BuildRootSector(table, i == 0, labelRecord);
        if (!writer.WriteAndCompare(layout.root + i, table))
            return false;
    }
    progress.SetPos(initial + 15, true);
    return true;
}

bool BuildFat32Volume(SectorDevice& device, std::uint32_t totalSectors, bool alignment,
                      progress::ProgressSink& progress, const std::uint8_t* labelRecord, bool /*active*/,
                      std::uint8_t lun, std::uint32_t baseSector)
{
    const VolumeLayout layout = Fat32Layout(totalSectors, alignment);
    if (!layout.fits || !Addressable(totalSectors, baseSector))
        return false;
    Writer writer(device, lun, baseSector);

    Sector mbr;
    BuildMasterBootRecord(mbr, Fat32PartitionEntry(layout));
    if (!writer.Write(0, mbr))
        return false;

    int position = 0;
    const auto step = [&](int by) { position += by; progress.SetPos(position, true); };
    Sector zero{};
    for (std::uint32_t sector = 1; sector < layout.start; ++sector) {
        if (!writer.Write(sector, zero))
            return false;
        step(1);
    }
    step(5);

    Sector boot;
    BuildFat32BootSector(boot, layout);
    if (!writer.Write(layout.start, boot))
        return false;
    Sector fsInfo;
    BuildFsInfoSector(fsInfo);
    if (!writer.Write(layout.start + 1, fsInfo))
        return false;
    step(5);

    for (std::uint32_t sector = layout.start + 2; sector < layout.firstFat; ++sector) {
        if (!writer.Write(sector, zero))
            return false;
        step(1);
    }

    Sector table;
    BuildFatFirstSector(table, FatType::Fat32);
    if (!writer.WriteFat(layout.firstFat, layout.fatSize, table, zero))
        return false;
    step(1);
    if (!writer.WriteFat(layout.secondFat, layout.fatSize, table, zero))
        return false;
    step(1);

    for (std::uint32_t i = 0; i < kRootSectors; ++i) {
        BuildRootSector(table, i == 0, labelRecord);
        if (!writer.Write(layout.root + i, table))
            return false;
        step(1);
    }
    step(5);
    return true;
}

}  // namespace fat
