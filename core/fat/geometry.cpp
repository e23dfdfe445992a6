// core/fat/geometry.cpp
#include "core/fat/geometry.h"

namespace fat {

namespace {

std::uint32_t CeilDiv(std::uint32_t value, std::uint32_t divisor)
{
    return value / divisor + (value % divisor != 0 ? 1 : 0);
}

VolumeLayout Layout(FatType type, std::uint32_t totalSectors, std::uint32_t start,
                    std::uint32_t sectorsPerCluster, std::uint32_t reservedSectors)
{
    VolumeLayout layout{};
    layout.type = type;
    layout.totalSectors = totalSectors;
    layout.start = start;
    layout.partitionLength = PartitionLength(totalSectors, start);
    layout.lastHead = LastHead(totalSectors, start);
    layout.sectorsPerCluster = sectorsPerCluster;
    layout.fatSize = FatSizeSectors(type, layout.partitionLength, sectorsPerCluster);
    layout.reservedSectors = reservedSectors;
    layout.firstFat = start + reservedSectors;
    layout.secondFat = layout.firstFat + layout.fatSize;
    layout.root = layout.secondFat + layout.fatSize;
    layout.dataStart = type == FatType::Fat32 ? layout.root : layout.root + kRootSectors;
    // A tiny partition's system area can exceed it: no data clusters then.
    const std::uint64_t system = std::uint64_t{reservedSectors} + std::uint64_t{kNumberOfFats} * layout.fatSize +
                                 (type == FatType::Fat32 ? 0 : kRootSectors);
    layout.dataClusters = layout.partitionLength > system
                              ? static_cast<std::uint32_t>((layout.partitionLength - system) / sectorsPerCluster)
                              : 0;
    layout.fits = VolumeFits(layout);
    return layout;
}

}  // namespace

std::uint32_t PartitionStart(bool alignment)
{
    return alignment ? kAlignedStart : 1;
}

std::uint32_t PartitionLength(std::uint32_t totalSectors, std::uint32_t start)
{
    return totalSectors > start ? totalSectors - start : 0;
}

std::uint32_t GeometryDivisor(std::uint32_t start)
{
    return 249 * start;
}

std::uint32_t LastHead(std::uint32_t totalSectors, std::uint32_t start)
{
    return totalSectors / GeometryDivisor(start) + 1;
}

std::uint32_t Fat16SectorsPerCluster(std::uint32_t partitionLength)
{
    // With 8 sectors per cluster these lengths leave 4,077 to 4,086 clusters: fsck.fat and Linux
    // would read the FAT16 volume as FAT12.
    if (partitionLength > kLargestFat12Partition && partitionLength <= 32760)
        return 4;
    if (partitionLength < 32768)
        return 8;
    if (partitionLength < 65536)
        return 1;
    if (partitionLength < 131072)
        return 2;
    if (partitionLength < 262144)
        return 4;
    if (partitionLength < 524288)
        return 8;
    if (partitionLength < 1048576)
        return 16;
    if (partitionLength < 2097152)
        return 32;
    // With 64 sectors per cluster these lengths leave 65,525 clusters or more: too many for FAT16.
    if (partitionLength < 4194145)
        return 64;
    return 128;
}

std::uint32_t Fat32SectorsPerCluster(std::uint32_t partitionLength)
{
    return partitionLength < 0x82000 ? 1 : 8;
}

FatType Fat16BuilderType(std::uint32_t partitionLength)
{
    return partitionLength <= kLargestFat12Partition ? FatType::Fat12 : FatType::Fat16;
}

std::uint32_t FatSizeSectors(FatType type, std::uint32_t partitionLength, std::uint32_t sectorsPerCluster)
{
    const std::uint32_t clusters = partitionLength / sectorsPerCluster;
    switch (type) {
    case FatType::Fat12:
        return CeilDiv(clusters, 341);
    case FatType::Fat16:
        return CeilDiv(clusters, 256);
    case FatType::Fat32:
        break;
    }
    return CeilDiv(clusters, 128);
}

VolumeLayout Fat16Layout(std::uint32_t totalSectors, bool alignment)
{
    const std::uint32_t start = PartitionStart(alignment);
    const std::uint32_t length = PartitionLength(totalSectors, start);
    return Layout(Fat16BuilderType(length), totalSectors, start, Fat16SectorsPerCluster(length),
                  kFat16ReservedSectors);
}

VolumeLayout Fat32Layout(std::uint32_t totalSectors, bool alignment)
{
    const std::uint32_t start = PartitionStart(alignment);
    return Layout(FatType::Fat32, totalSectors, start,
                  Fat32SectorsPerCluster(PartitionLength(totalSectors, start)), kFat32ReservedSectors);
}

bool VolumeFits(const VolumeLayout& layout)
{
    const std::uint32_t clusters = layout.dataClusters;
    switch (layout.type) {
    case FatType::Fat12:
        return clusters >= 1 && clusters <= kMaxFat12Clusters;
    case FatType::Fat16:
        return clusters >= kMinFat16Clusters && clusters <= kMaxFat16Clusters;
    case FatType::Fat32:
        break;
    }
    return clusters >= kMinFat32Clusters && clusters <= kMaxFat32Clusters;
}

}  // namespace fat
