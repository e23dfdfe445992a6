// tests/native/fat/sector_images_test.cpp
#include "core/fat/sector_images.h"

#include "core/fat/boot_programs.h"

#include <gtest/gtest.h>

#include <set>

#include "tests/native/fat/fakes.h"

namespace {

using fat::FatType;
using fat::Sector;
using fat_test::Get16;
using fat_test::Get32;
using fat_test::Text;

struct Byte { std::size_t offset; std::uint8_t value; };

void ExpectBytes(const Sector& s, std::initializer_list<Byte> bytes)
{
    for (const Byte& b : bytes)
        EXPECT_EQ(s[b.offset], b.value) << "offset " << b.offset;
}

void ExpectZero(const Sector& s, std::size_t from, std::size_t to)
{
    for (std::size_t i = from; i < to; ++i)
        ASSERT_EQ(s[i], 0) << "offset " << i;
}

TEST(FatSectorImages, MasterBootRecordFixedBytesAndEntry)
{
    struct Case { std::uint32_t total; bool fat32; bool active; std::uint8_t indicator, type, endHead; };
    const Case cases[] = {
        {20000, false, false, 0x00, 0x01, 3},
        {32713, false, true, 0x80, 0x04, 5},
        {4194304, false, false, 0x00, 0x04, 0x0F},
        {4194305, true, false, 0x80, 0x0C, 0x0F},
        {8000000, true, true, 0x80, 0x0C, 0xED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        const fat::VolumeLayout layout = c.fat32 ? fat::Fat32Layout(c.total, true) : fat::Fat16Layout(c.total, true);
        Sector mbr;
        mbr.fill(0xCC);
        fat::BuildMasterBootRecord(mbr, c.fat32 ? fat::Fat32PartitionEntry(layout)
                                                : fat::Fat16PartitionEntry(layout, c.active));
        EXPECT_TRUE(std::equal(fat::kMasterBootProgram.begin(), fat::kMasterBootProgram.end(), mbr.begin()));
        ExpectZero(mbr, 380, 437);
        ExpectBytes(mbr, {{437, 0x2C}, {438, 0x44}, {439, 0x63}, {440, 0x18}, {441, 0x2E}, {442, 0x07},
                          {443, 0xC3}, {444, 0}, {445, 0}, {510, 0x55}, {511, 0xAA}});
        ExpectBytes(mbr, {{446, c.indicator}, {447, 1}, {448, 1}, {449, 0}, {450, c.type}, {451, c.endHead},
                          {452, 32}, {453, 249}});
        EXPECT_EQ(Get32(mbr, 454), 32u);
        EXPECT_EQ(Get32(mbr, 458), c.total - 32);
        ExpectZero(mbr, 462, 510);
    }
}

TEST(FatSectorImages, Fat16BootSectorFields)
{
    struct Case {
        std::uint32_t total;
        std::uint8_t spc;
        std::uint32_t totSec16, fatSize, heads, totSec32;
        const char* type;
    };
    const Case cases[] = {
        {20000, 8, 19968, 8, 4, 0, "FAT12   "},
        {32712, 8, 32680, 12, 6, 0, "FAT12   "},
        {32713, 4, 32681, 32, 6, 0, "FAT16   "},
        {65567, 1, 65535, 256, 10, 0, "FAT16   "},
        {65568, 2, 0, 128, 10, 65536, "FAT16   "},
        {1000000, 16, 0, 245, 127, 999968, "FAT16   "},
        {4194304, 128, 0, 128, 528, 4194272, "FAT16   "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        Sector boot;
        fat::BuildFat16BootSector(boot, fat::Fat16Layout(c.total, true));
        ExpectBytes(boot, {{0, 0xEB}, {1, 0x3C}, {2, 0x90}, {13, c.spc}, {16, 2}, {21, 0xF8}, {36, 0x80},
                           {37, 0}, {38, 0x29}, {510, 0x55}, {511, 0xAA}});
        EXPECT_EQ(Text(boot, 3, 8), "MSWIN4.1");
        EXPECT_EQ(Get16(boot, 11), 512u);
        EXPECT_EQ(Get16(boot, 14), 1u);
        EXPECT_EQ(Get16(boot, 17), 512u);
        EXPECT_EQ(Get16(boot, 19), c.totSec16);
        EXPECT_EQ(Get16(boot, 22), c.fatSize);
        EXPECT_EQ(Get16(boot, 24), 32u);
        EXPECT_EQ(Get16(boot, 26), c.heads);
        EXPECT_EQ(Get32(boot, 28), 32u);
        EXPECT_EQ(Get32(boot, 32), c.totSec32);
        EXPECT_EQ(Get32(boot, 39), 0u);
        EXPECT_EQ(Text(boot, 43, 11), "NO NAME    ");
        EXPECT_EQ(Text(boot, 54, 8), c.type);
        EXPECT_TRUE(std::equal(fat::kFat16BootProgram.begin(), fat::kFat16BootProgram.end(), boot.begin() + 62));
    }
}

TEST(FatSectorImages, Fat16BootSectorsDifferOnlyInSizeFields)
{
    // SPC, BPB_TotSec16, BPB_FATSz16, BPB_NumHeads, BPB_TotSec32, the fifth character of
    // BS_FilSysType.
    const std::set<std::size_t> sizeFields{13, 19, 20, 22, 23, 26, 27, 32, 33, 34, 35, 58};
    Sector reference;
    fat::BuildFat16BootSector(reference, fat::Fat16Layout(20000, true));
    for (const std::uint32_t total : {32713u, 65567u, 65568u, 1000000u, 4194304u}) {
        Sector boot;
        fat::BuildFat16BootSector(boot, fat::Fat16Layout(total, true));
        for (std::size_t i = 0; i < boot.size(); ++i) {
            if (sizeFields.count(i) == 0) {
                ASSERT_EQ(boot[i], reference[i]) << "T " << total << " offset " << i;
            }
        }
    }
}

TEST(FatSectorImages, Fat32BootSectorFields)
{
    struct Case { std::uint32_t total; std::uint8_t spc; std::uint32_t fatSize; };
    const Case cases[] = {{4194305, 8, 4096}, {8000000, 8, 7813}, {532479, 1, 4160}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.total);
        Sector boot;
        fat::BuildFat32BootSector(boot, fat::Fat32Layout(c.total, true));
        ExpectBytes(boot, {{0, 0xEB}, {1, 0x58}, {2, 0x90}, {13, c.spc}, {16, 2}, {21, 0xF8}, {64, 0x00},
                           {65, 0}, {66, 0x29}, {67, 0xFC}, {68, 0xF9}, {69, 0xD4}, {70, 0x68},
                           {510, 0x55}, {511, 0xAA}});
        EXPECT_EQ(Text(boot, 3, 8), "MSDOS5.0");
        EXPECT_EQ(Get16(boot, 11), 512u);
        EXPECT_EQ(Get16(boot, 14), 38u);
        EXPECT_EQ(Get16(boot, 17), 0u);
        EXPECT_EQ(Get16(boot, 19), 0u);
        EXPECT_EQ(Get16(boot, 22), 0u);
        EXPECT_EQ(Get16(boot, 24), 63u);
        EXPECT_EQ(Get16(boot, 26), 255u);
        EXPECT_EQ(Get32(boot, 28), 32u);
        EXPECT_EQ(Get32(boot, 32), c.total - 32);
        EXPECT_EQ(Get32(boot, 36), c.fatSize);
        EXPECT_EQ(Get16(boot, 40), 0u);
        EXPECT_EQ(Get16(boot, 42), 0u);
        EXPECT_EQ(Get32(boot, 44), 2u);
        EXPECT_EQ(Get16(boot, 48), 1u);
        EXPECT_EQ(Get16(boot, 50), 6u);
        ExpectZero(boot, 52, 64);
        EXPECT_EQ(Text(boot, 71, 11), "NO NAME    ");
        EXPECT_EQ(Text(boot, 82, 8), "FAT32   ");
        EXPECT_TRUE(std::equal(fat::kFat32BootProgram.begin(), fat::kFat32BootProgram.end(), boot.begin() + 90));
    }
}

TEST(FatSectorImages, FsInfo)
{
    Sector info;
    info.fill(0xCC);
    fat::BuildFsInfoSector(info);
    ExpectBytes(info, {{0, 0x52}, {1, 0x52}, {2, 0x61}, {3, 0x41}, {484, 0x72}, {485, 0x72}, {486, 0x41},
                       {487, 0x61}, {488, 0xFF}, {489, 0xFF}, {490, 0xFF}, {491, 0xFF}, {492, 2}, {493, 0},
                       {508, 0}, {509, 0}, {510, 0x55}, {511, 0xAA}});
    ExpectZero(info, 4, 484);
    ExpectZero(info, 494, 508);
}

TEST(FatSectorImages, FatFirstSectors)
{
    struct Case { FatType type; std::vector<std::uint8_t> head; };
    const Case cases[] = {
        {FatType::Fat12, {0xF8, 0xFF, 0xFF}},
        {FatType::Fat16, {0xF8, 0xFF, 0xFF, 0xFF}},
        {FatType::Fat32, {0xF8, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F, 0xFF, 0xFF, 0xFF, 0x0F}},
    };
    for (const Case& c : cases) {
        Sector fatSector;
        fatSector.fill(0xCC);
        fat::BuildFatFirstSector(fatSector, c.type);
        EXPECT_TRUE(std::equal(c.head.begin(), c.head.end(), fatSector.begin()));
        ExpectZero(fatSector, c.head.size(), 512);
    }
}

TEST(FatSectorImages, RootSectorLabelEntry)
{
    const std::uint8_t label[16] = {'r', 'e', 'S', 'c', 'U', 'e', ' ', '0', '1', ' ', 'x', 0x7F, 0x7F, 0x7F, 0x7F, 0x7F};
    const std::uint8_t empty[16] = {0, 'A', 'B'};
    Sector root;
    root.fill(0xCC);
    fat::BuildRootSector(root, true, label);
    EXPECT_EQ(Text(root, 0, 11), "reScUe 01 x");  // unchanged: no blank-filling or case change
    EXPECT_EQ(root[11], 0x08);
    EXPECT_EQ(Get16(root, 22), 0x4000u);
    EXPECT_EQ(Get16(root, 24), 0x2EF3u);
    ExpectZero(root, 12, 22);
    ExpectZero(root, 26, 512);

    struct Case { bool first; const std::uint8_t* record; };
    for (const Case& c : {Case{false, label}, Case{true, empty}, Case{true, nullptr}}) {
        root.fill(0xCC);
        fat::BuildRootSector(root, c.first, c.record);
        ExpectZero(root, 0, 512);
    }
}

}  // namespace
