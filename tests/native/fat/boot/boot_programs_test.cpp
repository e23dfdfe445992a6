// tests/native/fat/boot/boot_programs_test.cpp
// The bytes other parts of a sector rely on: the MBR's and the FAT32 sector's address bytes must
// lead to the messages, and the names must stand where the boot sector layout puts them.
#include "core/fat/boot_programs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

namespace {

template <std::size_t N>
std::string ZeroTerminatedAt(const std::array<std::uint8_t, N>& program, std::size_t offset)
{
    std::string text;
    while (offset < N && program[offset] != 0)
        text.push_back(static_cast<char>(program[offset++]));
    return offset < N ? text : "<no terminating zero>";
}

template <std::size_t N>
bool Contains(const std::array<std::uint8_t, N>& program, std::string_view text)
{
    return std::search(program.begin(), program.end(), text.begin(), text.end()) != program.end();
}

struct AddressedMessage {
    std::uint8_t lowAddressByte;
    const char* text;
};

// The MBR builder writes 0x2C, 0x44, 0x63 at 437-439; the program runs relocated to 0x0600.
TEST(MasterBootProgram, AddressBytesOfTheRecordLeadToItsMessages)
{
    const AddressedMessage messages[] = {
        {0x2C, "Invalid partition table"},
        {0x44, "Error loading operating system"},
        {0x63, "Missing operating system"},
    };
    for (const auto& message : messages) {
        const std::size_t offset = 0x0700 + message.lowAddressByte - 0x0600;
        EXPECT_EQ(ZeroTerminatedAt(fat::kMasterBootProgram, offset), message.text);
    }
}

// The sector runs at 0x7C00, so the byte at 505 + i is the low byte of 0x7Dxx.
TEST(Fat32BootProgram, AddressBytesAtTheSectorEndLeadToItsMessages)
{
    const std::string_view messages[] = {
        "\r\nRemove disks or other media.\xFF",
        "\r\nDisk error\xFF",
        "\r\nPress any key to restart\r\n",
    };
    auto sectorByte = [](std::size_t offset) {
        return fat::kFat32BootProgram[offset - fat::kFat32BootProgramOffset];
    };
    for (std::size_t i = 0; i < std::size(messages); ++i) {
        const std::size_t at = 0x7D00 + sectorByte(505 + i) - 0x7C00;
        std::string found;
        for (std::size_t k = 0; k < messages[i].size(); ++k)
            found.push_back(static_cast<char>(sectorByte(at + k)));
        EXPECT_EQ(found, messages[i]) << "message " << i;
    }
}

TEST(Fat32BootProgram, LoaderNameStandsAtOffset368FollowedByZeros)
{
    const std::size_t at = 368 - fat::kFat32BootProgramOffset;
    EXPECT_EQ(std::string(fat::kFat32BootProgram.begin() + at, fat::kFat32BootProgram.begin() + at + 11),
              "NTLDR      ");
    EXPECT_TRUE(std::all_of(fat::kFat32BootProgram.begin() + at + 11,
                            fat::kFat32BootProgram.begin() + (428 - fat::kFat32BootProgramOffset),
                            [](std::uint8_t b) { return b == 0; }));
}

TEST(Fat16BootProgram, SystemFileNamesStandAtOffset472AndMessagesAreCarried)
{
    const std::size_t at = 472 - fat::kFat16BootProgramOffset;
    EXPECT_EQ(std::string(fat::kFat16BootProgram.begin() + at, fat::kFat16BootProgram.begin() + at + 22),
              "IO      SYSMSDOS   SYS");
    for (const char* text : {"Invalid system disk", "Disk I/O error", "Replace the disk, and then press any key"})
        EXPECT_TRUE(Contains(fat::kFat16BootProgram, text)) << text;
}

// BS_jmpBoot (EB 3C 90 and EB 58 90) jumps to the first byte of each boot program.
TEST(BootPrograms, ShortJumpsOfTheBootSectorsLandOnTheProgramStart)
{
    EXPECT_EQ(2 + 0x3C, fat::kFat16BootProgramOffset);
    EXPECT_EQ(2 + 0x58, fat::kFat32BootProgramOffset);
    EXPECT_NE(fat::kFat16BootProgram[0], 0);
    EXPECT_NE(fat::kFat32BootProgram[0], 0);
}

}  // namespace
