#include "core/scsi/block_commands.h"

#include <gtest/gtest.h>

TEST(BlockCommands, InquiryAsks36Bytes)
{
    const scsi::Cdb expected{0x12, 0, 0, 0, 0x24, 0};
    EXPECT_EQ(scsi::InquiryCdb(), expected);
}

TEST(BlockCommands, Read10AndWrite10Fields)
{
    struct Case { std::uint8_t opcode; std::uint32_t sector; std::uint32_t bytes; scsi::Cdb cdb; };
    const Case cases[] = {
        {0x2A, 0, 512, {0x2A, 0, 0, 0, 0, 0, 0, 0, 1, 0}},
        {0x28, 0x01020304, 65536, {0x28, 0, 1, 2, 3, 4, 0, 0, 0x80, 0}},
        {0x2A, 0xFFFFFFFF, 53248, {0x2A, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0x68, 0}},
    };
    for (const Case& c : cases) {
        const scsi::Cdb cdb = scsi::BlockCdb(c.opcode, c.sector, c.bytes);
        EXPECT_EQ(cdb, c.cdb);
        EXPECT_EQ(scsi::BlockCdbSector(cdb), c.sector);
        EXPECT_EQ(scsi::BlockCdbCount(cdb), c.bytes / 512);
    }
}
