// tests/native/fat/volume_builder_test.cpp
#include "core/fat/volume_builder.h"

#include <gtest/gtest.h>

#include "tests/native/fat/fakes.h"

namespace {

using fat::Sector;
using fat_test::Command;
using fat_test::Get16;
using fat_test::Get32;
using fat_test::MemoryDevice;
using fat_test::RecordingDebug;
using fat_test::RecordingPause;
using fat_test::RecordingProgress;
using fat_test::Text;

constexpr std::uint8_t kNoLabel[16] = {};
constexpr std::uint8_t kLabel[16] = {'F', 'L', 'A', 'S', 'H', ' ', 'D', 'R', 'I', 'V', 'E', 'x', 'y', 'z', 0, 0};

struct BuildRun {
    MemoryDevice device;
    RecordingProgress progress{7};
    RecordingPause pause;
    RecordingDebug debug;
    bool result = false;

    void Fat16(std::uint32_t total, const std::uint8_t* label = kNoLabel, bool active = false,
               std::uint8_t lun = 0, std::uint32_t base = 0, bool alignment = true)
    {
        result = fat::BuildFat16Volume(device, total, alignment, progress, label, active, lun, base, pause, debug);
    }

    void Fat32(std::uint32_t total, const std::uint8_t* label = kNoLabel, bool active = false,
               std::uint8_t lun = 0, std::uint32_t base = 0, bool alignment = true)
    {
        result = fat::BuildFat32Volume(device, total, alignment, progress, label, active, lun, base);
    }
};

// What the builders must send, from the figures of a case alone: FAT12/16 writes 0 .. S + 32 + 2F
// in ascending order and reads back 0, S and the root sectors; FAT32 writes 0 .. S + 69 + 2F.
std::vector<Command> ExpectedCommands(bool fat32, std::uint32_t fatSize, std::uint32_t base = 0, std::uint8_t lun = 0)
{
    std::vector<Command> commands;
    const std::uint32_t root = fat32 ? 32 + 38 + 2 * fatSize : 32 + 1 + 2 * fatSize;
    for (std::uint32_t sector = 0; sector < root + 32; ++sector) {
        commands.push_back({true, base + sector, lun});
        if (!fat32 && (sector == 0 || sector == 32 || sector >= root))
            commands.push_back({false, base + sector, lun});
    }
    return commands;
}

void ExpectSameCommands(const std::vector<Command>& actual, const std::vector<Command>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < actual.size(); ++i) {
        ASSERT_EQ(actual[i].write, expected[i].write) << "command " << i;
        ASSERT_EQ(actual[i].sector, expected[i].sector) << "command " << i;
        ASSERT_EQ(actual[i].lun, expected[i].lun) << "command " << i;
    }
}

std::vector<int> Fat32Positions()
{
    std::vector<int> positions;
    for (int k = 1; k <= 31; ++k)
        positions.push_back(k);
    positions.push_back(36);
    positions.push_back(41);
    for (int k = 42; k <= 111; ++k)
        positions.push_back(k);
    positions.push_back(116);
    return positions;
}

struct EdgeCase {
    const char* name;
    bool fat32;
    std::uint32_t total;
    std::uint8_t type;
    std::uint8_t endHead;
    std::uint8_t spc;
    std::uint32_t fatSize;
    std::size_t writes;
    std::size_t reads;
    std::uint32_t numHeads;  // BPB_NumHeads
    const char* fileSystem;  // BS_FilSysType
};

// The two mended bands move SPC only: 32,681..32,760 sectors get 4 instead of 8, and
// 4,194,145..4,194,303 get 128 instead of 64.
const EdgeCase kEdgeCases[] = {
    {"smallest FAT12", false, 20000, 0x01, 3, 8, 8, 81, 34, 4, "FAT12   "},
    {"largest FAT12", false, 32712, 0x01, 5, 8, 12, 89, 34, 6, "FAT12   "},
    {"smallest FAT16, mended", false, 32713, 0x04, 5, 4, 32, 129, 34, 6, "FAT16   "},
    {"last of the low band", false, 32792, 0x04, 5, 4, 32, 129, 34, 6, "FAT16   "},
    {"first above the low band", false, 32793, 0x04, 5, 8, 16, 97, 34, 6, "FAT16   "},
    {"largest 16-bit count", false, 65567, 0x04, 9, 1, 256, 577, 34, 10, "FAT16   "},
    {"first 32-bit count", false, 65568, 0x04, 9, 2, 128, 321, 34, 10, "FAT16   "},
    {"one million", false, 1000000, 0x04, 0x7E, 16, 245, 555, 34, 127, "FAT16   "},
    {"last below the high band", false, 4194176, 0x04, 0x0F, 64, 256, 577, 34, 528, "FAT16   "},
    {"first of the high band", false, 4194177, 0x04, 0x0F, 128, 128, 321, 34, 528, "FAT16   "},
    {"largest FAT16, mended", false, 4194304, 0x04, 0x0F, 128, 128, 321, 34, 528, "FAT16   "},
    {"smallest FAT32 of a repair", true, 4194305, 0x0C, 0x0F, 8, 4096, 8294, 0, 255, "FAT32   "},
    {"eight million", true, 8000000, 0x0C, 0xED, 8, 7813, 15728, 0, 255, "FAT32   "},
    {"FAT32 with SPC 1", true, 532479, 0x0C, 67, 1, 4160, 8422, 0, 255, "FAT32   "},
};

TEST(FatVolumeBuilder, EdgeCases)
{
    for (const EdgeCase& c : kEdgeCases) {
        SCOPED_TRACE(c.name);
        BuildRun run;
        c.fat32 ? run.Fat32(c.total) : run.Fat16(c.total);
        ASSERT_TRUE(run.result);
        EXPECT_EQ(run.device.Writes(), c.writes);
        EXPECT_EQ(run.device.Reads(), c.reads);
        ExpectSameCommands(run.device.log, ExpectedCommands(c.fat32, c.fatSize));
        EXPECT_TRUE(run.pause.pauses.empty());

        const Sector mbr = run.device.At(0);
        EXPECT_EQ(mbr[446], c.fat32 ? 0x80 : 0x00);
        EXPECT_EQ(mbr[450], c.type);
        EXPECT_EQ(mbr[451], c.endHead);
        EXPECT_EQ(Get32(mbr, 454), 32u);
        EXPECT_EQ(Get32(mbr, 458), c.total - 32);

        const Sector boot = run.device.At(32);
        EXPECT_EQ(boot[13], c.spc);
        EXPECT_EQ(c.fat32 ? Get32(boot, 36) : Get16(boot, 22), c.fatSize);
        EXPECT_EQ(Get16(boot, 510), 0xAA55u);
        EXPECT_EQ(Get16(boot, 26), c.numHeads);
        EXPECT_EQ(Text(boot, c.fat32 ? 82 : 54, 8), c.fileSystem);
        const std::uint32_t length = c.total - 32;
        EXPECT_EQ(Get16(boot, 19), !c.fat32 && length < 65536 ? length : 0u);
        EXPECT_EQ(Get32(boot, 32), c.fat32 || length >= 65536 ? length : 0u);

        const std::uint32_t firstFat = c.fat32 ? 70 : 33;
        for (const std::uint32_t fatStart : {firstFat, firstFat + c.fatSize}) {
            const Sector fatSector = run.device.At(fatStart);
            EXPECT_EQ(fatSector[0], 0xF8) << fatStart;
            EXPECT_EQ(fatSector[1], 0xFF) << fatStart;
            EXPECT_EQ(run.device.At(fatStart + c.fatSize - 1), Sector{}) << "last sector of the FAT";
        }
        const std::uint32_t root = firstFat + 2 * c.fatSize;
        for (std::uint32_t i = 0; i < 32; ++i)
            EXPECT_EQ(run.device.At(root + i), Sector{}) << "root sector " << i;

        if (c.fat32) {
            EXPECT_EQ(Text(run.device.At(33), 0, 4), "RRaA");
            EXPECT_EQ(run.device.At(38), Sector{}) << "no backup boot sector";
            EXPECT_EQ(run.progress.positions, Fat32Positions());
            EXPECT_TRUE(run.debug.lines.empty());
        } else {
            EXPECT_EQ(run.progress.positions, (std::vector<int>{12, 17, 22}));
            EXPECT_EQ(run.debug.lines, std::vector<std::string>{"Init progress 7"});
        }
        EXPECT_TRUE(run.progress.refreshed);
    }
}

TEST(FatVolumeBuilder, Fat16RetriesTheMbrWrite)
{
    struct Case { std::size_t failures; bool result; std::size_t pauses; std::size_t commands; };
    const Case cases[] = {
        {3, true, 3, 3 + 81 + 34},
        {9, true, 9, 9 + 81 + 34},
        {10, false, 9, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failures);
        BuildRun run;
        run.device.fails = [&](const Command& command, std::size_t index) { return index <= c.failures; };
        run.Fat16(20000);
        EXPECT_EQ(run.result, c.result);
        EXPECT_EQ(run.pause.pauses, std::vector<std::uint32_t>(c.pauses, 50));
        EXPECT_EQ(run.device.log.size(), c.commands);
        for (std::size_t i = 0; i < std::min(c.failures, run.device.log.size()); ++i)
            EXPECT_TRUE(run.device.log[i].write && run.device.log[i].sector == 0);
    }
}

TEST(FatVolumeBuilder, Fat32TriesTheMbrOnce)
{
    BuildRun run;
    run.device.fails = [](const Command&, std::size_t) { return true; };
    run.Fat32(8000000);
    EXPECT_FALSE(run.result);
    EXPECT_EQ(run.device.log.size(), 1u);
    EXPECT_TRUE(run.progress.positions.empty());
}

TEST(FatVolumeBuilder, Fat16StopsAtTheFirstFailingCommand)
{
    // T = 20,000: 1 MBR write, 2 its read, 3-33 zero sectors, 34 boot write, 35 its read,
    // 36-51 FAT sectors, then root write/read pairs from 52 to 115.
    struct Case { std::size_t failing; std::vector<int> positions; };
    const Case cases[] = {
        {2, {}}, {3, {}}, {33, {}}, {34, {12}}, {35, {12}}, {36, {12}}, {44, {12}}, {51, {12}},
        {52, {12, 17}}, {53, {12, 17}}, {100, {12, 17}}, {115, {12, 17}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        BuildRun run;
        run.device.fails = [&](const Command&, std::size_t index) { return index == c.failing; };
        run.Fat16(20000);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(run.device.log.size(), c.failing);
        EXPECT_EQ(run.progress.positions, c.positions);
        EXPECT_TRUE(run.pause.pauses.empty());
    }
}

TEST(FatVolumeBuilder, Fat16StopsAtTheFirstDifferingReadBack)
{
    struct Case { std::uint32_t sector; std::size_t offset; std::size_t commands; };
    const Case cases[] = {
        {0, 0, 2},        // nothing after the MBR
        {0, 511, 2},
        {32, 100, 35},    // boot sector
        {57, 0, 53 + 2 * (57 - 49)},  // root sector 8 of 32
        {80, 511, 115},   // last root sector
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sector);
        BuildRun run;
        run.device.corruptSector = c.sector;
        run.device.corruptOffset = c.offset;
        run.Fat16(20000);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(run.device.log.size(), c.commands);
        EXPECT_FALSE(run.device.log.back().write);
        EXPECT_EQ(run.device.log.back().sector, c.sector);
    }
}

// A read that reports success but delivers nothing must not pass as a match, even where the
// sector read before held the same bytes (the zero root sectors).
TEST(FatVolumeBuilder, Fat16ReadThatDeliversNothingFailsTheCompare)
{
    struct Case { std::uint32_t from; std::size_t commands; };
    const Case cases[] = {{0, 2}, {32, 35}, {50, 55}};  // root sector 1 follows the zero root sector 0
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        BuildRun run;
        run.device.silentReadsFrom = c.from;
        run.Fat16(20000);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(run.device.log.size(), c.commands);
    }
}

TEST(FatVolumeBuilder, Fat32StopsAtTheFirstFailingWrite)
{
    // T = 4,194,305: sectors 0-31, boot 32, FSInfo 33, zeros 34-69, FATs 70-8261, root 8262-8293.
    struct Case { std::size_t failing; std::size_t positions; int last; };
    const Case cases[] = {
        {2, 0, 0}, {32, 30, 30}, {33, 32, 36}, {34, 32, 36}, {35, 33, 41}, {70, 68, 76},
        {71, 69, 77}, {4166, 69, 77}, {4167, 70, 78}, {8262, 70, 78}, {8263, 71, 79}, {8264, 72, 80},
        {8294, 102, 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failing);
        BuildRun run;
        run.device.fails = [&](const Command&, std::size_t index) { return index == c.failing; };
        run.Fat32(4194305);
        EXPECT_FALSE(run.result);
        EXPECT_EQ(run.device.log.size(), c.failing);
        EXPECT_EQ(run.progress.positions.size(), c.positions);
        EXPECT_EQ(run.progress.positions.empty() ? 0 : run.progress.positions.back(), c.last);
    }
}

TEST(FatVolumeBuilder, LabelEntry)
{
    for (const bool fat32 : {false, true}) {
        SCOPED_TRACE(fat32 ? "FAT32" : "FAT16");
        BuildRun run;
        fat32 ? run.Fat32(8000000, kLabel) : run.Fat16(1000000, kLabel);
        ASSERT_TRUE(run.result);
        const std::uint32_t root = fat32 ? 15696 : 33 + 2 * 245;
        const Sector first = run.device.At(root);
        EXPECT_EQ(Text(first, 0, 11), "FLASH DRIVE");
        EXPECT_EQ(first[11], 0x08);
        EXPECT_EQ(Get16(first, 22), 0x4000u);
        EXPECT_EQ(Get16(first, 24), 0x2EF3u);
        Sector expected{};
        std::copy(first.begin(), first.begin() + 32, expected.begin());
        EXPECT_EQ(first, expected) << "only entry 0 is set";
        EXPECT_EQ(run.device.At(root + 1), Sector{});
        EXPECT_EQ(Text(run.device.At(32), fat32 ? 71 : 43, 11), "NO NAME    ");
    }
}

TEST(FatVolumeBuilder, ActiveArgument)
{
    struct Case { bool fat32; bool active; std::uint8_t indicator; };
    const Case cases[] = {{false, false, 0x00}, {false, true, 0x80}, {true, false, 0x80}, {true, true, 0x80}};
    for (const Case& c : cases) {
        BuildRun run;
        c.fat32 ? run.Fat32(4194305, kNoLabel, c.active) : run.Fat16(20000, kNoLabel, c.active);
        ASSERT_TRUE(run.result);
        EXPECT_EQ(run.device.At(0)[446], c.indicator);
    }
}

TEST(FatVolumeBuilder, BaseSectorAndLunReachEveryCommand)
{
    for (const bool fat32 : {false, true}) {
        BuildRun run;
        fat32 ? run.Fat32(4194305, kNoLabel, false, 3, 1000) : run.Fat16(20000, kNoLabel, false, 3, 1000);
        ASSERT_TRUE(run.result);
        ExpectSameCommands(run.device.log, ExpectedCommands(fat32, fat32 ? 4096 : 8, 1000, 3));
        EXPECT_EQ(Get32(run.device.At(1000), 454), 32u) << "the table does not include the base";
        EXPECT_EQ(Get32(run.device.At(1032), 28), 32u);
    }
}

TEST(FatVolumeBuilder, UnalignedStartsAtSectorOne)
{
    BuildRun run;
    run.Fat16(20000, kNoLabel, false, 0, 0, false);
    ASSERT_TRUE(run.result);
    const Sector mbr = run.device.At(0);
    EXPECT_EQ(mbr[452], 1);
    EXPECT_EQ(Get32(mbr, 454), 1u);
    EXPECT_EQ(Get32(mbr, 458), 19999u);
    EXPECT_EQ(Get16(run.device.At(1), 24), 1u);
    EXPECT_EQ(run.device.Writes(), 1u + 1 + 2 * 8 + 32);
}

TEST(FatVolumeBuilder, RefusesLayoutsThatDoNotFitBeforeWriting)
{
    struct Case { bool fat32; std::uint32_t total; std::uint32_t base; };
    const Case cases[] = {
        {false, 0, 0}, {false, 31, 0}, {false, 32, 0}, {false, 74, 0},  // too small
        {false, 8387777, 0}, {false, 0xFFFFFFFF, 0},                  // too many clusters for FAT16
        {true, 0, 0}, {true, 20000, 0}, {true, 66636, 0},              // too few clusters for FAT32
        {true, 2151686150, 0},                                          // too many for FAT32
        {false, 20000, 0xFFFFFFFF - 19998}, {true, 4194305, 0xFFFFFFFF},  // past sector 2^32 - 1
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.total << " from " << c.base);
        BuildRun run;
        c.fat32 ? run.Fat32(c.total, kNoLabel, false, 0, c.base) : run.Fat16(c.total, kNoLabel, false, 0, c.base);
        EXPECT_FALSE(run.result);
        EXPECT_TRUE(run.device.log.empty());
        EXPECT_TRUE(run.progress.positions.empty());
        EXPECT_TRUE(run.debug.lines.empty());
    }
    BuildRun smallest;
    smallest.Fat16(75);
    EXPECT_TRUE(smallest.result);
    BuildRun lastSector;
    lastSector.Fat16(20000, kNoLabel, false, 0, 0xFFFFFFFF - 19999);
    EXPECT_TRUE(lastSector.result);
}

}  // namespace
