#include "core/scsi/command_status.h"

#include <vector>

#include <gtest/gtest.h>

namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<std::uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::uint8_t>(v));
    return bytes;
}

std::vector<std::uint8_t> Fixed(scsi::SenseCode code)
{
    const scsi::FixedSense sense = scsi::MakeFixedSense(code);
    return {sense.begin(), sense.end()};
}

}  // namespace

TEST(CommandStatus, FixedSenseOfWriteProtect)
{
    const scsi::FixedSense sense = scsi::MakeFixedSense(scsi::kWriteProtected);
    EXPECT_EQ(sense[0], 0x70);
    EXPECT_EQ(sense[2], 0x07);
    EXPECT_EQ(sense[7], 10);
    EXPECT_EQ(sense[12], 0x27);
    EXPECT_EQ(sense[13], 0x00);
}

TEST(CommandStatus, SenseIsReadInBothFormats)
{
    struct Case {
        const char* name;
        std::vector<std::uint8_t> sense;
        bool present;
        int key, asc, ascq;
    };
    const Case cases[] = {
        {"fixed, current", Fixed(scsi::kUnrecoveredReadError), true, 0x3, 0x11, 0x00},
        {"fixed, deferred, valid bit", Bytes({0xF1, 0, 0x04, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x44, 0x00}), true, 0x4, 0x44, 0},
        {"fixed, key only", Bytes({0x70, 0, 0x06}), true, 0x6, 0, 0},
        {"descriptor", Bytes({0x72, 0x05, 0x24, 0x00, 0, 0, 0, 0}), true, 0x5, 0x24, 0},
        {"no sense data", std::vector<std::uint8_t>(18, 0), false, 0, 0, 0},
        {"unknown response code", Bytes({0x7F, 0, 0x07}), false, 0, 0, 0},
        {"empty", {}, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        const auto code = scsi::ReadSense(c.sense);
        ASSERT_EQ(code.has_value(), c.present) << c.name;
        if (!code)
            continue;
        EXPECT_EQ(static_cast<int>(code->key), c.key) << c.name;
        EXPECT_EQ(code->asc, c.asc) << c.name;
        EXPECT_EQ(code->ascq, c.ascq) << c.name;
    }
}

TEST(CommandStatus, OnlyGoodWithoutAnErrorInTheSenseSucceeds)
{
    struct Case {
        const char* name;
        std::uint8_t status;
        std::vector<std::uint8_t> sense;
        bool succeeded;
    };
    const std::vector<std::uint8_t> none(32, 0);
    const Case cases[] = {
        {"good, no sense", scsi::kStatusGood, none, true},
        {"good, recovered error", scsi::kStatusGood, Fixed({scsi::SenseKey::RecoveredError, 0x17, 0x01}), true},
        {"good, no sense key", scsi::kStatusGood, Fixed({scsi::SenseKey::NoSense, 0, 0}), true},
        {"check condition, write protect", scsi::kStatusCheckCondition, Fixed(scsi::kWriteProtected), false},
        {"check condition without sense", scsi::kStatusCheckCondition, none, false},
        {"busy", scsi::kStatusBusy, none, false},
        {"good status, but a medium error in the sense", scsi::kStatusGood, Fixed(scsi::kWriteError), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(scsi::CommandSucceeded(c.status, c.sense), c.succeeded) << c.name;
}
