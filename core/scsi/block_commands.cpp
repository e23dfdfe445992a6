// core/scsi/block_commands.cpp
#include "core/scsi/block_commands.h"

namespace scsi {

Cdb InquiryCdb()
{
    Cdb cdb{};
    cdb[0] = kInquiry;
    cdb[4] = kInquiryLength;
    return cdb;
}

Cdb BlockCdb(std::uint8_t opcode, std::uint32_t firstSector, std::uint32_t lengthBytes)
{
    const std::uint32_t count = lengthBytes / kSectorSize;
    Cdb cdb{};
    cdb[0] = opcode;
    cdb[2] = static_cast<std::uint8_t>(firstSector >> 24);
    cdb[3] = static_cast<std::uint8_t>(firstSector >> 16);
    cdb[4] = static_cast<std::uint8_t>(firstSector >> 8);
    cdb[5] = static_cast<std::uint8_t>(firstSector);
    cdb[7] = static_cast<std::uint8_t>(count >> 8);
    cdb[8] = static_cast<std::uint8_t>(count);
    return cdb;
}

std::uint32_t BlockCdbSector(const Cdb& cdb)
{
    return std::uint32_t{cdb[2]} << 24 | std::uint32_t{cdb[3]} << 16 | std::uint32_t{cdb[4]} << 8 | cdb[5];
}

std::uint32_t BlockCdbCount(const Cdb& cdb)
{
    return std::uint32_t{cdb[7]} << 8 | cdb[8];
}

}  // namespace scsi
