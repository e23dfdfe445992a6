// core/fat/geometry.h
// The layout rules of Sarrow's two volume builders: partition start and length, the CHS values of
// the partition entry, sectors per cluster, FAT type and FAT size. One function per rule.
#pragma once

#include <cstdint>

namespace fat {

enum class FatType : std::uint8_t { Fat12, Fat16, Fat32 };

// Windows, Linux and fsck.fat tell the FAT type by the data-cluster count alone. Linux and
// fsck.fat take up to 4,084 clusters as FAT12, Windows up to 4,086, so a FAT16 volume is read as
// FAT16 everywhere only from 4,087 clusters on.
constexpr std::uint32_t kMaxFat12Clusters = 4084;
constexpr std::uint32_t kMinFat16Clusters = 4087;
constexpr std::uint32_t kMaxFat16Clusters = 65524;
constexpr std::uint32_t kMinFat32Clusters = 65525;
constexpr std::uint32_t kMaxFat32Clusters = 0x0FFFFFF5;  // higher entries are reserved values

constexpr std::uint32_t kAlignedStart = 32;
constexpr std::uint32_t kLargestFat12Partition = 32680;
// Above this many sectors the repair writes FAT32 (2 GiB).
constexpr std::uint32_t kLargestFat16Device = 4194304;
constexpr std::uint32_t kFat16ReservedSectors = 1;
constexpr std::uint32_t kFat32ReservedSectors = 38;
constexpr std::uint32_t kRootSectors = 32;  // the fixed FAT12/16 root; FAT32 writes as many
constexpr std::uint32_t kNumberOfFats = 2;

// S: where the partition starts.
std::uint32_t PartitionStart(bool alignment);
// P = T - S, or 0 when the device does not reach past the start.
std::uint32_t PartitionLength(std::uint32_t totalSectors, std::uint32_t start);
// G = 249 x S.
std::uint32_t GeometryDivisor(std::uint32_t start);
// H = T / G + 1: the last head of the partition entry's geometry (it has H + 1 heads).
std::uint32_t LastHead(std::uint32_t totalSectors, std::uint32_t start);

// SPC of BuildFat16Volume by partition length, with the two bands where the plain table would
// give a cluster count that systems read as another FAT type moved to a neighbouring size.
std::uint32_t Fat16SectorsPerCluster(std::uint32_t partitionLength);
// SPC of BuildFat32Volume.
std::uint32_t Fat32SectorsPerCluster(std::uint32_t partitionLength);
// FAT12 up to 32,680 sectors, else FAT16.
FatType Fat16BuilderType(std::uint32_t partitionLength);
// FAT sectors for N = P / SPC clusters: ceil(N / 341), ceil(N / 256), ceil(N / 128).
std::uint32_t FatSizeSectors(FatType type, std::uint32_t partitionLength, std::uint32_t sectorsPerCluster);

// Everything a builder writes, in sector numbers relative to the base sector.
struct VolumeLayout {
    FatType type;
    std::uint32_t totalSectors;       // T
    std::uint32_t start;              // S, also the boot sector
    std::uint32_t partitionLength;    // P
    std::uint32_t lastHead;           // H
    std::uint32_t sectorsPerCluster;  // SPC
    std::uint32_t fatSize;            // sectors of one FAT
    std::uint32_t reservedSectors;
    std::uint32_t firstFat;
    std::uint32_t secondFat;
    std::uint32_t root;               // first root-directory sector
    std::uint32_t dataStart;          // first sector of cluster 2
    std::uint32_t dataClusters;       // 0 when the data area does not hold one cluster
    bool fits;                        // see VolumeFits
};

VolumeLayout Fat16Layout(std::uint32_t totalSectors, bool alignment);
VolumeLayout Fat32Layout(std::uint32_t totalSectors, bool alignment);

// A layout fits when the partition holds the reserved sectors, both FATs, the 32 root sectors
// and at least one data cluster, and the cluster count is one its FAT type allows (FAT32 needs
// 65,525 clusters or more, or no system reads it as FAT32).
bool VolumeFits(const VolumeLayout& layout);

}  // namespace fat
