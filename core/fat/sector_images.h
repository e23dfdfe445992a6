// core/fat/sector_images.h
// The 512-byte images the volume builders write: master boot record, FAT12/16 and FAT32 boot
// sectors, FSInfo, the first sector of a FAT and the root-directory sectors. Each builder fills a
// caller's fixed buffer; nothing is allocated.
#pragma once

#include <array>
#include <cstdint>

#include "core/fat/geometry.h"

namespace fat {

constexpr std::uint32_t kSectorBytes = 512;
using Sector = std::array<std::uint8_t, kSectorBytes>;

// The volume label record the builders take: 16 bytes; no label when the first byte is 0,
// otherwise the first 11 bytes are the label as they stand.
constexpr std::uint32_t kLabelRecordBytes = 16;
constexpr std::uint32_t kLabelBytes = 11;

struct PartitionEntry {
    std::uint8_t bootIndicator;  // 0x80 active, 0x00 not
    std::uint8_t type;           // 0x01 FAT12, 0x04 FAT16, 0x0C FAT32 (LBA)
    std::uint8_t endHead;
    std::uint8_t endSector;
    std::uint32_t firstSector;
    std::uint32_t sectorCount;
};

constexpr std::uint8_t kActive = 0x80;
constexpr std::uint8_t kPartitionFat12 = 0x01;
constexpr std::uint8_t kPartitionFat16 = 0x04;
constexpr std::uint8_t kPartitionFat32 = 0x0C;

// Start (cylinder 0, head 1, sector 1), end (cylinder 249, head H mod 256, sector S).
PartitionEntry Fat16PartitionEntry(const VolumeLayout& layout, bool active);
PartitionEntry Fat32PartitionEntry(const VolumeLayout& layout);  // always active

void BuildMasterBootRecord(Sector& image, const PartitionEntry& entry);
void BuildFat16BootSector(Sector& image, const VolumeLayout& layout);
void BuildFat32BootSector(Sector& image, const VolumeLayout& layout);
void BuildFsInfoSector(Sector& image);
// The media entries that open each FAT; the rest of the sector is zero.
void BuildFatFirstSector(Sector& image, FatType type);
// A root-directory sector: all zero, except entry 0 of the first one when a label is given.
void BuildRootSector(Sector& image, bool first, const std::uint8_t* labelRecord);

}  // namespace fat
