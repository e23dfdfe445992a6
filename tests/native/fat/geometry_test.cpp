// tests/native/fat/geometry_test.cpp
#include "core/fat/geometry.h"

#include <gtest/gtest.h>

namespace {

using fat::FatType;

TEST(FatGeometry, StartLengthAndHeads)
{
    struct Case { std::uint32_t total; bool alignment; std::uint32_t start, length, divisor, lastHead; };
    const Case cases[] = {
        {20000, true, 32, 19968, 7968, 3},
        {1000000, true, 32, 999968, 7968, 126},
        {2023872, true, 32, 2023840, 7968, 255},  // first H + 1 above 255
        {4194304, true, 32, 4194272, 7968, 527},
        {8000000, true, 32, 7999968, 7968, 1005},
        {20000, false, 1, 19999, 249, 81},
        {32, true, 32, 0, 7968, 1},  // no partition
        {5, true, 32, 0, 7968, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        const std::uint32_t start = fat::PartitionStart(c.alignment);
        EXPECT_EQ(start, c.start);
        EXPECT_EQ(fat::PartitionLength(c.total, start), c.length);
        EXPECT_EQ(fat::GeometryDivisor(start), c.divisor);
        EXPECT_EQ(fat::LastHead(c.total, start), c.lastHead);
    }
}

TEST(FatGeometry, Fat16SectorsPerClusterBands)
{
    struct Case { std::uint32_t length, spc; };
    const Case cases[] = {
        {1, 8},          {19968, 8},      {32680, 8},
        {32681, 4},      {32760, 4},  // 8 would leave too few clusters for FAT16
        {32761, 8},      {32767, 8},      {32768, 1},      {65535, 1},      {65536, 2},
        {131071, 2},     {131072, 4},     {262143, 4},     {262144, 8},     {524287, 8},
        {524288, 16},    {1048575, 16},   {1048576, 32},   {2097151, 32},   {2097152, 64},
        {4194144, 64},
        {4194145, 128},  {4194272, 128},  {4194303, 128},  // 64 would leave too many clusters
        {4194304, 128},  {8000000, 128},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fat::Fat16SectorsPerCluster(c.length), c.spc) << c.length;
}

TEST(FatGeometry, Fat32SectorsPerCluster)
{
    EXPECT_EQ(fat::Fat32SectorsPerCluster(532447), 1u);
    EXPECT_EQ(fat::Fat32SectorsPerCluster(532479), 1u);
    EXPECT_EQ(fat::Fat32SectorsPerCluster(532480), 8u);
    EXPECT_EQ(fat::Fat32SectorsPerCluster(4194273), 8u);
}

TEST(FatGeometry, TypeAndFatSize)
{
    struct Case { std::uint32_t length, spc; FatType type; std::uint32_t fatSize; };
    const Case cases[] = {
        {19968, 8, FatType::Fat12, 8},
        {32680, 8, FatType::Fat12, 12},
        {32681, 4, FatType::Fat16, 32},
        {32681, 8, FatType::Fat16, 16},  // the unmended choice, for comparison
        {65535, 1, FatType::Fat16, 256},
        {65536, 2, FatType::Fat16, 128},
        {999968, 16, FatType::Fat16, 245},
        {4194272, 64, FatType::Fat16, 256},
        {4194272, 128, FatType::Fat16, 128},
        {4194273, 8, FatType::Fat32, 4096},
        {7999968, 8, FatType::Fat32, 7813},
        {532447, 1, FatType::Fat32, 4160},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        if (c.type != FatType::Fat32) {
            EXPECT_EQ(fat::Fat16BuilderType(c.length), c.type);
        }
        EXPECT_EQ(fat::FatSizeSectors(c.type, c.length, c.spc), c.fatSize);
    }
}

TEST(FatGeometry, LayoutSectors)
{
    const fat::VolumeLayout fat16 = fat::Fat16Layout(1000000, true);
    EXPECT_EQ(fat16.firstFat, 33u);
    EXPECT_EQ(fat16.secondFat, 33u + 245);
    EXPECT_EQ(fat16.root, 33u + 490);
    EXPECT_EQ(fat16.dataStart, 33u + 490 + 32);
    EXPECT_EQ(fat16.dataClusters, (999968u - 1 - 490 - 32) / 16);

    const fat::VolumeLayout fat32 = fat::Fat32Layout(8000000, true);
    EXPECT_EQ(fat32.firstFat, 70u);
    EXPECT_EQ(fat32.secondFat, 7883u);
    EXPECT_EQ(fat32.root, 15696u);
    EXPECT_EQ(fat32.dataStart, 15696u);
    EXPECT_EQ(fat32.dataClusters, (7999968u - 38 - 2 * 7813) / 8);
}

// Too small: the partition cannot hold the system area and one cluster (FAT32: 65,525
// clusters). Too large: more clusters than the FAT type counts.
TEST(FatGeometry, FitEdges)
{
    struct Case { bool fat32; std::uint32_t total; bool alignment; bool fits; };
    const Case cases[] = {
        {false, 0, true, false},       {false, 32, true, false},      {false, 74, true, false},
        {false, 75, true, true},       {false, 43, false, false},     {false, 44, false, true},
        {false, 8387776, true, true},  {false, 8387777, true, false}, {false, 0xFFFFFFFF, true, false},
        {true, 0, true, false},        {true, 66636, true, false},    {true, 66637, true, true},
        {true, 532479, true, true},    {true, 2151686149, true, true}, {true, 2151686150, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.fat32 ? "FAT32 " : "FAT16 ") << c.total);
        const fat::VolumeLayout layout =
            c.fat32 ? fat::Fat32Layout(c.total, c.alignment) : fat::Fat16Layout(c.total, c.alignment);
        EXPECT_EQ(layout.fits, c.fits);
        EXPECT_EQ(fat::VolumeFits(layout), c.fits);
    }
}

// Every device the FAT12/16 builder accepts up to the FAT32 threshold, aligned or not, gets a
// cluster count that every system reads as the FAT type written, and a FAT with an entry for
// each cluster.
TEST(FatGeometry, EveryFat16SizeHasClustersOfItsType)
{
    for (const bool alignment : {true, false}) {
        std::uint32_t firstFit = 0;
        for (std::uint32_t total = 1; total <= fat::kLargestFat16Device; ++total) {
            const fat::VolumeLayout l = fat::Fat16Layout(total, alignment);
            if (!l.fits) {
                ASSERT_EQ(firstFit, 0u) << "refused after accepting, T = " << total;
                continue;
            }
            if (firstFit == 0)
                firstFit = total;
            const std::uint64_t entries =
                l.type == FatType::Fat12 ? std::uint64_t{l.fatSize} * 512 * 2 / 3 : std::uint64_t{l.fatSize} * 256;
            ASSERT_GE(entries, l.dataClusters + 2u) << total;
            if (l.type == FatType::Fat12) {
                ASSERT_LE(l.dataClusters, fat::kMaxFat12Clusters) << total;
            } else {
                ASSERT_TRUE(l.dataClusters >= fat::kMinFat16Clusters && l.dataClusters <= fat::kMaxFat16Clusters)
                    << "T = " << total << " clusters " << l.dataClusters;
            }
        }
        EXPECT_EQ(firstFit, alignment ? 75u : 44u);
    }
}

}  // namespace
