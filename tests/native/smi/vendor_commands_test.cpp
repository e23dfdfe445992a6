// Every vendor command block byte for byte, and the answer fields at their offsets.
#include "core/smi/vendor_commands.h"

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<int>;

struct CommandCase {
    const char* name;
    smi::VendorCommand command;
    Bytes cdb;  // bytes 0 to 11; 12 to 15 must be zero
    std::uint32_t dataLength;
    scsi::Direction direction;
    std::uint32_t timeout;
};

TEST(VendorCommands, BlocksLengthsDirectionsAndTimeouts)
{
    using scsi::Direction;
    const CommandCase cases[] = {
        {"ReadDeviceInfo", smi::ReadDeviceInfo(), {0xF0, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 512, Direction::In, 300},
        {"ReadFirmwareInfo", smi::ReadFirmwareInfo(), {0xF0, 0x04, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 512, Direction::In, 300},
        {"ReadFlashInfo", smi::ReadFlashInfo(), {0xF0, 0x20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 512, Direction::In, 300},
        {"IspBegin", smi::IspBegin(0x5A, 9), {0xF0, 0x0C, 3, 0x5A, 0, 0, 9, 0, 0, 0, 0, 1}, 512, Direction::In, 300},
        {"IspWriteBank", smi::IspWriteBank(0x5A, 63, 9), {0xF1, 0x0B, 3, 0x5A, 63, 0, 9, 7, 0, 0, 0, 5}, 2560, Direction::Out, 600},
        {"IspReadBank", smi::IspReadBank(0x5A, 17, 3, 9), {0xF0, 0x0A, 3, 0x5A, 17, 3, 9, 0, 0, 0, 0, 1}, 512, Direction::In, 300},
        {"IspEnd", smi::IspEnd(), {0xF0, 0x2C, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, Direction::In, 300},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        for (std::size_t i = 0; i < 16; ++i)
            EXPECT_EQ(c.command.cdb[i], i < c.cdb.size() ? c.cdb[i] : 0) << "byte " << i;
        EXPECT_EQ(c.command.dataLength, c.dataLength);
        EXPECT_EQ(c.command.direction, c.direction);
        EXPECT_EQ(smi::NtTimeoutSeconds(c.command.direction), c.timeout);
    }
}

// Only the bank write and its read-back stand or fall by the drive's status.
TEST(VendorCommands, StatusCountsForTheFirmwareBanksOnly)
{
    const struct {
        smi::VendorCommand command;
        bool counts;
    } cases[] = {
        {smi::ReadDeviceInfo(), false}, {smi::ReadFirmwareInfo(), false}, {smi::ReadFlashInfo(), false},
        {smi::IspBegin(1, 0), false},   {smi::IspWriteBank(1, 0, 0), true}, {smi::IspReadBank(1, 0, 0, 0), true},
        {smi::IspEnd(), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(smi::ProgramsOrVerifiesFirmware(c.command.cdb.data()), c.counts) << int{c.command.cdb[1]};
    // The sub-command alone does not decide: F0 0B and F1 0A are no bank transfers.
    const std::uint8_t swapped[2][16] = {{0xF0, 0x0B}, {0xF1, 0x0A}};
    EXPECT_FALSE(smi::ProgramsOrVerifiesFirmware(swapped[0]));
    EXPECT_FALSE(smi::ProgramsOrVerifiesFirmware(swapped[1]));
}

struct Answer {
    std::array<std::uint8_t, 512> bytes{};
    Answer& Put(std::size_t offset, std::string_view text)
    {
        std::memcpy(bytes.data() + offset, text.data(), text.size());
        return *this;
    }
    Answer& Put(std::size_t offset, Bytes values)
    {
        for (std::size_t i = 0; i < values.size(); ++i)
            bytes[offset + i] = static_cast<std::uint8_t>(values[i]);
        return *this;
    }
};

TEST(VendorAnswers, DeviceInfoFields)
{
    Answer a;
    a.Put(247, "!").Put(248, "SMI Corp").Put(256, "USB DISK 2.0    ").Put(272, "!");
    a.Put(8, {0x38, 0x35});
    EXPECT_EQ(smi::VendorText(a.bytes), "SMI Corp");
    EXPECT_EQ(smi::ProductText(a.bytes), "USB DISK 2.0    ");
    EXPECT_EQ(smi::DeviceIdentifier(a.bytes), 0x3538);
}

TEST(VendorAnswers, FirmwareInfoFields)
{
    Answer a;
    a.Put(404, "071228-AB-").Put(414, "x").Put(430, "SM325AB").Put(437, "x");
    EXPECT_EQ(smi::FirmwareVersion(a.bytes), "071228-AB-");
    EXPECT_EQ(smi::ControllerModel(a.bytes), "SM325AB");
}

TEST(VendorAnswers, FlashInfoCapacityAndIdentifier)
{
    Answer a;
    a.Put(20, {0x00, 0x1D, 0xCD, 0x65}).Put(32, {0xEC, 0xD5, 0x14, 0xB6}).Put(7, {0x42});
    EXPECT_EQ(smi::TotalSectors(a.bytes), 1953125u);
    EXPECT_EQ(smi::CapacityMegabytes(smi::TotalSectors(a.bytes)), 953u);
    EXPECT_EQ(smi::FlashIdentifier(a.bytes), (std::array<std::uint8_t, 4>{0xEC, 0xD5, 0x14, 0xB6}));
    EXPECT_EQ(smi::IspParameterN(a.bytes), 0x42);
    EXPECT_EQ(smi::TotalSectors(Answer{}.bytes), 0u);
}

TEST(VendorAnswers, IspParameterM)
{
    struct Case { Bytes nonzeroAt; std::uint8_t m; };
    const Case cases[] = {{{}, 0}, {{384}, 0}, {{399}, 15}, {{390, 392}, 6}, {{383, 400}, 0}};
    for (const Case& c : cases) {
        Answer a;
        for (int offset : c.nonzeroAt)
            a.bytes[offset] = 0x11;
        EXPECT_EQ(smi::IspParameterM(a.bytes), c.m);
    }
}

TEST(VendorAnswers, UploadNeedsAnNOtherThanZeroAndFF)
{
    EXPECT_FALSE(smi::IspParameterAllowsUpload(0x00));
    EXPECT_FALSE(smi::IspParameterAllowsUpload(0xFF));
    EXPECT_TRUE(smi::IspParameterAllowsUpload(0x01));
    EXPECT_TRUE(smi::IspParameterAllowsUpload(0xFE));
}

TEST(VendorBanks, AddressingAndWriteBlock)
{
    EXPECT_EQ(smi::BankOffset(63), 129024u);
    EXPECT_EQ(smi::QuarterOffset(63, 3), 130560u);
    std::array<std::uint8_t, smi::kBankSize> bank;
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::array<std::uint8_t, smi::kWriteBankBlockSize> block;
    block.fill(0xCC);
    smi::BuildWriteBankBlock(bank, block);
    EXPECT_TRUE(std::equal(bank.begin(), bank.end(), block.begin()));
    EXPECT_EQ(block[2048], 0xE4);
    EXPECT_EQ(block[2049], 0x24);
    EXPECT_EQ(block[2050], 0x24);
    EXPECT_TRUE(std::all_of(block.begin() + 2051, block.end(), [](std::uint8_t b) { return b == 0; }));
}

TEST(SmiInquiry, MatchRules)
{
    struct Case { const char* name; std::string fromByte5; bool matches; };
    const std::string blanks8 = "        ";
    const Case cases[] = {
        {"upper-case vendor", "SMI     USB DISK", true},
        {"lower-case vendor", "smi     USB DISK", true},
        {"mixed case does not", "Smi     USB DISK      ", false},
        {"product template", "ABC" + blanks8 + "USB MEMORY BAR   ", true},
        {"template shifted by one", "ABC " + blanks8 + "USB MEMORY BAR  ", false},
        {"nothing", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::array<std::uint8_t, 36> a{};
        std::memcpy(a.data(), c.fromByte5.data(), std::min(c.fromByte5.size(), a.size()));
        EXPECT_EQ(smi::MatchesSmiInquiry(a), c.matches);
    }
}

}  // namespace
