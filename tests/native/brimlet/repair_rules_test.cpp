// The repair dialog's rules: family, mode byte, chip refusals, shown progress, verdict and texts.
#include "core/brimlet/repair_rules.h"

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

namespace {

TEST(FamilyFromSelectDevice, CaseSensitivePrefixesInOrder)
{
    const struct {
        const char* value;
        int family;
    } cases[] = {
        {"UT160", 3}, {"UT1600", 3}, {"UT163", 0}, {"UT163X", 0}, {"BCD", 1}, {"BCDE", 1},
        {"FP", 2}, {"FP2", 2}, {"ut160", 0}, {"bcd", 0}, {"", 0}, {"UT16", 0}, {"F", 0},
        {" UT160", 0}, {"XBCD", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::FamilyFromSelectDevice(c.value), c.family) << c.value;
}

TEST(UpdateFlag, OnlyChip355WithTheSwitchTicked)
{
    const struct {
        short chip;
        bool switchTicked;
        bool update;
    } cases[] = {
        {355, true, true}, {355, false, false}, {353, true, false}, {360, true, false}, {0, true, false}, {-355, true, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::UpdateFlag(c.chip, c.switchTicked), c.update) << c.chip << " " << c.switchTicked;
}

TEST(ModeByte, FamilyInBits0And1CompleteInBit6UpdateInBit7)
{
    const struct {
        std::uint8_t family;
        bool complete;
        bool update;
        std::uint8_t mode;
    } cases[] = {
        {0, false, false, 0x00}, {1, false, false, 0x01}, {2, false, false, 0x02}, {3, false, false, 0x03},
        {0, true, false, 0x40},  {1, true, false, 0x41},  {2, true, false, 0x42},  {3, true, false, 0x43},
        {0, false, true, 0x80},  {1, false, true, 0x81},  {2, false, true, 0x82},  {3, false, true, 0x83},
        {0, true, true, 0xC0},   {1, true, true, 0xC1},   {2, true, true, 0xC2},   {3, true, true, 0xC3},
        // A byte that already holds the flags (the last request's mode) gives its family only:
        // a second request does not carry the first one's flags.
        {0xC3, false, false, 0x03}, {0x83, true, false, 0x43}, {0x42, false, true, 0x82}, {0xFF, true, true, 0xC3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(brimlet::ModeByte(c.family, c.complete, c.update), c.mode)
            << std::hex << int(c.family) << " complete=" << c.complete << " update=" << c.update;
    }
}

TEST(CheckChip, RefusedChipsAndBuilds)
{
    using brimlet::ChipVerdict;
    const struct {
        short chip;
        short version;
        std::uint32_t build;
        ChipVerdict verdict;
    } cases[] = {
        {360, 0, 2600, ChipVerdict::Unsupported},   {360, 17, 409, ChipVerdict::Unsupported},
        {353, 17, 2600, ChipVerdict::Supported},    {353, 17, 2601, ChipVerdict::WindowsTooNew},
        {353, 17, 7601, ChipVerdict::WindowsTooNew}, {353, 17, 6000, ChipVerdict::WindowsTooNew},
        {353, 16, 7601, ChipVerdict::Supported},    {355, 17, 7601, ChipVerdict::Supported},
        {0, 0, 7601, ChipVerdict::Supported},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::CheckChip(c.chip, c.version, c.build), c.verdict) << c.chip << "/" << c.version << " " << c.build;
}

TEST(ShownProgress, StopsAt99WhileRunning)
{
    const struct {
        unsigned reported;
        int shown;
    } cases[] = {{0, 0}, {1, 1}, {50, 50}, {98, 98}, {99, 99}, {100, 99}, {101, 99}, {250, 99}, {0xFFFFFFFFu, 99}};
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::ShownProgress(c.reported), c.shown) << c.reported;
}

TEST(RepairEnded, TheFinalStateOrTheReturnOfTheRepairCall)
{
    const struct {
        std::uint8_t state;
        bool returned;
        bool ended;
    } cases[] = {
        {0x00, false, false}, {0x01, false, false}, {0xFE, false, false}, {0xFF, false, true},
        // Still running by its state, but the call came back: nothing more will happen.
        {0x00, true, true}, {0x01, true, true}, {0xFE, true, true}, {0xFF, true, true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::RepairEnded(c.state, c.returned), c.ended) << std::hex << int(c.state) << " " << c.returned;
}

TEST(RepairVerdict, BitsOutside0x13Fail)
{
    const struct {
        std::uint32_t code;
        bool success;
    } cases[] = {
        {0x0, true},  {0x1, true},  {0x2, true},   {0x3, true},   {0x10, true},    {0x11, true},
        {0x13, true}, {0x4, false}, {0x8, false},  {0x100, false}, {0x14, false},  {0x80000000u, false},
        {0xFFFFFFFFu, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(brimlet::RepairSucceeded(c.code), c.success) << std::hex << c.code;
}

TEST(FailureText, CodeInUpperCaseHexadecimal)
{
    EXPECT_EQ(brimlet::FailureText("Repair fail", 0x4), "Repair fail, ErrCode=0x4\n");
    EXPECT_EQ(brimlet::FailureText("Repair fail", 0x100), "Repair fail, ErrCode=0x100\n");
    EXPECT_EQ(brimlet::FailureText("Repair fail", 0xDEADBEEF), "Repair fail, ErrCode=0xDEADBEEF\n");
    EXPECT_EQ(brimlet::FailureText("", 0xabc), ", ErrCode=0xABC\n");
}

TEST(BadBlockShare, BothBranches)
{
    const struct {
        const char* name;
        std::uint32_t bad, total;
        std::uint16_t unit;
        std::uint32_t degrees;
        double percent;
    } cases[] = {
        {"a tenth", 100, 1000, 1, 36, 10.0},
        {"capped at total / unit", 900, 1000, 4, 90, 25.0},
        {"nothing bad", 0, 4096, 8, 0, 0.0},
        {"all bad", 1000, 1000, 1, 360, 100.0},
        // 4,000,000 x 360 does not fit in 32 bits.
        {"large counts", 4000000, 8000000, 1, 180, 50.0},
        // A zero total or unit: the share of 1536, scaled to degrees like the other branch.
        {"zero total", 768, 0, 1, 180, 50.0},
        {"zero unit", 1536, 2048, 0, 360, 100.0},
        {"zero unit capped", 5000, 2048, 0, 360, 100.0},
        {"zero both, one block", 1, 0, 0, 0, 100.0 / 1536},
    };
    for (const auto& c : cases) {
        const brimlet::BadBlockShare share = brimlet::ComputeBadBlockShare(c.bad, c.total, c.unit);
        EXPECT_EQ(share.sliceDegrees, c.degrees) << c.name;
        EXPECT_NEAR(share.percent, c.percent, 1e-4) << c.name;
    }
}

TEST(BadBlockText, TwoDecimals)
{
    EXPECT_EQ(brimlet::BadBlockText("Bad Blocks", 0.0), "Bad Blocks : 0.00 %");
    EXPECT_EQ(brimlet::BadBlockText("Bad Blocks", 12.345678), "Bad Blocks : 12.35 %");
    EXPECT_EQ(brimlet::BadBlockText("Bad Blocks", 100.0), "Bad Blocks : 100.00 %");
    EXPECT_EQ(brimlet::BadBlockText("Bad Blocks",
                                    brimlet::ComputeBadBlockShare(29, 100, 1).percent), "Bad Blocks : 29.00 %");
}

TEST(DeviceText, DescriptionAndFirmware)
{
    EXPECT_EQ(brimlet::DeviceText("USBest UT163 2GB", "BAR665"), "USBest UT163 2GB\n\nFW Ver:BAR665");
    EXPECT_EQ(brimlet::DeviceText("USBest UT163 2GB", "FFFFFF"), "USBest UT163 2GB\n\nFW Ver:NO FIRMWARE");
    EXPECT_EQ(brimlet::DeviceText("d", "FFFFFFAB"), "d\n\nFW Ver:NO FIRMWARE");
    EXPECT_EQ(brimlet::DeviceText("d", "FFFFF"), "d\n\nFW Ver:FFFFF");
    EXPECT_EQ(brimlet::DeviceText("", ""), "\n\nFW Ver:");
    EXPECT_FALSE(brimlet::HasFirmware("FFFFFF"));
    EXPECT_TRUE(brimlet::HasFirmware("A2Q667"));
}

TEST(FirmwareVersionFromTag, SixCharactersAfterTheFamily)
{
    const std::uint8_t tag[16] = {'A', '1', 'B', 'A', 'R', '6', '6', '5', 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(tag, 16), "BAR665");
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(tag, 8), "BAR665");
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(tag, 7), "");
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(tag, 0), "");
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(nullptr, 16), "");
    const std::uint8_t shortTag[16] = {'A', '1', 'B', 'A', 0, '6', '6', '5'};
    EXPECT_EQ(brimlet::FirmwareVersionFromTag(shortTag, 16), "BA");
}

TEST(FirmwareVersionNumber, FromTheFourthCharacter)
{
    EXPECT_EQ(brimlet::FirmwareVersionNumber("BAR665"), 665);
    EXPECT_EQ(brimlet::FirmwareVersionNumber("S00677"), 677);
    EXPECT_EQ(brimlet::FirmwareVersionNumber("A2Q"), 0);
    EXPECT_EQ(brimlet::FirmwareVersionNumber("A2Qxyz"), 0);
    EXPECT_EQ(brimlet::FirmwareVersionNumber(""), 0);
}

}  // namespace
