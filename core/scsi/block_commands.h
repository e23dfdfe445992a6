// core/scsi/block_commands.h
// The standard SCSI commands the tools send besides the vendor set: INQUIRY, READ(10), WRITE(10).
#pragma once

#include <array>
#include <cstdint>

namespace scsi {

constexpr std::uint32_t kSectorSize = 512;

// A command block as the transports take it: 16 bytes, unused bytes zero.
using Cdb = std::array<std::uint8_t, 16>;

enum class Direction : std::uint8_t { In, Out };

enum Opcode : std::uint8_t {
    kInquiry = 0x12,
    kRead10 = 0x28,
    kWrite10 = 0x2A,
};

constexpr std::uint32_t kInquiryCdbLength = 6;
constexpr std::uint32_t kInquiryLength = 36;  // allocation length of every INQUIRY we send
constexpr std::uint32_t kBlockCdbLength = 10;
constexpr std::uint32_t kMaxTransferBytes = 65536;  // one READ(10)/WRITE(10) moves at most 64 KiB

// 12 00 00 00 24 00
Cdb InquiryCdb();

// READ(10) or WRITE(10): opcode, first block big-endian in bytes 2-5, block count (bytes / 512)
// big-endian in bytes 7-8.
Cdb BlockCdb(std::uint8_t opcode, std::uint32_t firstSector, std::uint32_t lengthBytes);

// The fields of a READ(10)/WRITE(10) block, as a device reads them.
std::uint32_t BlockCdbSector(const Cdb& cdb);
std::uint32_t BlockCdbCount(const Cdb& cdb);

}  // namespace scsi
