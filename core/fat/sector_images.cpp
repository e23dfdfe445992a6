// core/fat/sector_images.cpp
#include "core/fat/sector_images.h"

#include <algorithm>
#include <cstring>

#include "core/fat/boot_programs.h"

namespace fat {

namespace {

void Put16(Sector& image, std::size_t offset, std::uint32_t value)
{
    image[offset] = static_cast<std::uint8_t>(value);
    image[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(Sector& image, std::size_t offset, std::uint32_t value)
{
    Put16(image, offset, value);
    Put16(image, offset + 2, value >> 16);
}

void PutBytes(Sector& image, std::size_t offset, const char* text, std::size_t length)
{
    std::memcpy(image.data() + offset, text, length);
}

template <std::size_t N>
void PutProgram(Sector& image, std::size_t offset, const std::array<std::uint8_t, N>& program)
{
    std::copy(program.begin(), program.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

void PutSignature(Sector& image)
{
    image[510] = 0x55;
    image[511] = 0xAA;
}

PartitionEntry Entry(const VolumeLayout& layout, std::uint8_t bootIndicator, std::uint8_t type)
{
    return {bootIndicator, type, static_cast<std::uint8_t>(layout.lastHead),
            static_cast<std::uint8_t>(layout.start), layout.start, layout.partitionLength};
}

}  // namespace

PartitionEntry Fat16PartitionEntry(const VolumeLayout& layout, bool active)
{
    return Entry(layout, active ? kActive : 0x00,
                 layout.type == FatType::Fat12 ? kPartitionFat12 : kPartitionFat16);
}

PartitionEntry Fat32PartitionEntry(const VolumeLayout& layout)
{
    return Entry(layout, kActive, kPartitionFat32);
}

void BuildMasterBootRecord(Sector& image, const PartitionEntry& entry)
{
    image.fill(0);
    PutProgram(image, kMasterBootProgramOffset, kMasterBootProgram);
    // Low address bytes of the boot program's three messages.
    image[437] = 0x2C;
    image[438] = 0x44;
    image[439] = 0x63;
    // Disk signature.
    image[440] = 0x18;
    image[441] = 0x2E;
    image[442] = 0x07;
    image[443] = 0xC3;
    const std::size_t e = 446;
    image[e + 0] = entry.bootIndicator;
    image[e + 1] = 1;  // start head
    image[e + 2] = 1;  // start sector, cylinder bits 8-9 zero
    image[e + 3] = 0;  // start cylinder
    image[e + 4] = entry.type;
    image[e + 5] = entry.endHead;
    image[e + 6] = entry.endSector;
    image[e + 7] = 249;  // end cylinder
    Put32(image, e + 8, entry.firstSector);
    Put32(image, e + 12, entry.sectorCount);
    PutSignature(image);
}

void BuildFat16BootSector(Sector& image, const VolumeLayout& layout)
{
    const std::uint32_t length = layout.partitionLength;
    image.fill(0);
    image[0] = 0xEB;
    image[1] = 0x3C;
    image[2] = 0x90;
    PutBytes(image, 3, "MSWIN4.1", 8);
    Put16(image, 11, kSectorBytes);
    image[13] = static_cast<std::uint8_t>(layout.sectorsPerCluster);
    Put16(image, 14, kFat16ReservedSectors);
    image[16] = kNumberOfFats;
    Put16(image, 17, 512);  // root entries
    Put16(image, 19, length < 65536 ? length : 0);
    image[21] = 0xF8;
    Put16(image, 22, layout.fatSize);
    Put16(image, 24, layout.start);
    Put16(image, 26, layout.lastHead + 1);
    Put32(image, 28, layout.start);
    Put32(image, 32, length >= 65536 ? length : 0);
    image[36] = 0x80;
    image[38] = 0x29;
    PutBytes(image, 43, "NO NAME    ", 11);
    PutBytes(image, 54, layout.type == FatType::Fat12 ? "FAT12   " : "FAT16   ", 8);
    PutProgram(image, kFat16BootProgramOffset, kFat16BootProgram);
    PutSignature(image);
}

void BuildFat32BootSector(Sector& image, const VolumeLayout& layout)
{
    image.fill(0);
    image[0] = 0xEB;
    image[1] = 0x58;
    image[2] = 0x90;
    PutBytes(image, 3, "MSDOS5.0", 8);
    Put16(image, 11, kSectorBytes);
    image[13] = static_cast<std::uint8_t>(layout.sectorsPerCluster);
    Put16(image, 14, kFat32ReservedSectors);
    image[16] = kNumberOfFats;
    image[21] = 0xF8;
    Put16(image, 24, 63);
    Put16(image, 26, 255);
    Put32(image, 28, layout.start);
    Put32(image, 32, layout.partitionLength);
    Put32(image, 36, layout.fatSize);
    Put32(image, 44, 2);  // root cluster
    Put16(image, 48, 1);  // FSInfo sector
    Put16(image, 50, 6);  // backup boot sector
    image[64] = 0x00;     // drive number
    image[66] = 0x29;
    image[67] = 0xFC;
    image[68] = 0xF9;
    image[69] = 0xD4;
    image[70] = 0x68;
    PutBytes(image, 71, "NO NAME    ", 11);
    PutBytes(image, 82, "FAT32   ", 8);
    PutProgram(image, kFat32BootProgramOffset, kFat32BootProgram);
    PutSignature(image);
}

void BuildFsInfoSector(Sector& image)
{
    image.fill(0);
    PutBytes(image, 0, "RRaA", 4);
    PutBytes(image, 484, "rrAa", 4);
    Put32(image, 488, 0xFFFFFFFF);  // free count unknown
    Put32(image, 492, 2);           // next free hint
    PutSignature(image);            // bytes 508-511: 00 00 55 AA
}

void BuildFatFirstSector(Sector& image, FatType type)
{
    image.fill(0);
    switch (type) {
    case FatType::Fat12:
        image[0] = 0xF8;
        image[1] = 0xFF;
        image[2] = 0xFF;
        break;
    case FatType::Fat16:
        Put16(image, 0, 0xFFF8);
        Put16(image, 2, 0xFFFF);
        break;
    case FatType::Fat32:
        Put32(image, 0, 0x0FFFFFF8);
        Put32(image, 4, 0x0FFFFFFF);
        Put32(image, 8, 0x0FFFFFFF);  // cluster 2, the root directory, ends its chain
        break;
    }
}

void BuildRootSector(Sector& image, bool first, const std::uint8_t* labelRecord)
{
    image.fill(0);
    if (!first || labelRecord == nullptr || labelRecord[0] == 0)
        return;
    std::memcpy(image.data(), labelRecord, kLabelBytes);
    image[11] = 0x08;         // ATTR_VOLUME_ID
    Put16(image, 22, 0x4000);  // 08:00:00
    Put16(image, 24, 0x2EF3);  // 19 July 2003
}

}  // namespace fat
