// core/smi/vendor_commands.h
// The Silicon Motion vendor command set: 16-byte command blocks (F0 = data in or none, F1 = data
// out; byte 1 the sub-command; byte 11 the data length in 512-byte units) and the answer fields
// the tools read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/scsi/block_commands.h"

namespace smi {

using scsi::Cdb;
using scsi::Direction;

constexpr std::uint8_t kVendorIn = 0xF0;
constexpr std::uint8_t kVendorOut = 0xF1;

enum SubCommand : std::uint8_t {
    kReadDeviceInfo = 0x02,
    kReadFirmwareInfo = 0x04,
    kIspReadBank = 0x0A,
    kIspWriteBank = 0x0B,
    kIspBegin = 0x0C,
    kReadFlashInfo = 0x20,
    kIspEnd = 0x2C,
};

constexpr std::uint32_t kAnswerSize = 512;        // every data-in vendor command reads 512 bytes
constexpr std::uint32_t kBankSize = 2048;         // one bank of the firmware image
constexpr std::uint32_t kQuarterSize = 512;       // what one read-back command returns
constexpr std::uint32_t kWriteBankBlockSize = 2560;
constexpr std::uint32_t kNtCdbLength = 16;        // the legacy (ASPI) path says 12
constexpr std::uint32_t kAspiCdbLength = 12;

// One vendor command as the senders take it.
struct VendorCommand {
    Cdb cdb{};
    std::uint32_t dataLength = 0;
    Direction direction = Direction::In;
};

// The bank write and its read-back program and verify the controller's firmware: for them the
// drive's status counts, unlike the queries, whose failure only reads as zeros. `cdb` holds 16 bytes.
constexpr bool ProgramsOrVerifiesFirmware(const std::uint8_t* cdb)
{
    return (cdb[0] == kVendorOut && cdb[1] == kIspWriteBank) || (cdb[0] == kVendorIn && cdb[1] == kIspReadBank);
}

// Sarrow's pass-through time-out: 300 s for an F0, 600 s for an F1.
constexpr std::uint32_t NtTimeoutSeconds(Direction direction)
{
    return direction == Direction::Out ? 600 : 300;
}

VendorCommand ReadDeviceInfo();
VendorCommand ReadFirmwareInfo();
VendorCommand ReadFlashInfo();
VendorCommand IspBegin(std::uint8_t n, std::uint8_t m);
VendorCommand IspWriteBank(std::uint8_t n, std::uint8_t bank, std::uint8_t m);
VendorCommand IspReadBank(std::uint8_t n, std::uint8_t bank, std::uint8_t quarter, std::uint8_t m);
VendorCommand IspEnd();

using Answer = std::span<const std::uint8_t, kAnswerSize>;

// F0 02 answer
std::string_view VendorText(Answer deviceInfo);       // bytes 248-255
std::string_view ProductText(Answer deviceInfo);      // bytes 256-271
std::uint16_t DeviceIdentifier(Answer deviceInfo);    // bytes 8-9, little-endian
// F0 04 answer
std::string_view ControllerModel(Answer firmwareInfo);   // bytes 430-436
std::string_view FirmwareVersion(Answer firmwareInfo);   // bytes 404-413
// F0 20 answer
std::uint32_t TotalSectors(Answer flashInfo);            // bytes 20-23, big-endian
std::array<std::uint8_t, 4> FlashIdentifier(Answer flashInfo);  // bytes 32-35
std::uint8_t IspParameterN(Answer flashInfo);            // byte 7
std::uint8_t IspParameterM(Answer flashInfo);            // index of the first nonzero of 384-399

constexpr std::uint32_t CapacityMegabytes(std::uint32_t totalSectors) { return totalSectors >> 11; }
// n of 0 or 0xFF means the controller takes no upload.
constexpr bool IspParameterAllowsUpload(std::uint8_t n) { return n != 0 && n != 0xFF; }

// Bank b covers image bytes b * 2048 ..; its quarter q is read back from b * 2048 + q * 512.
constexpr std::size_t BankOffset(std::uint32_t bank) { return std::size_t{bank} * kBankSize; }
constexpr std::size_t QuarterOffset(std::uint32_t bank, std::uint32_t quarter)
{
    return BankOffset(bank) + std::size_t{quarter} * kQuarterSize;
}

// The F1 0B data block: the bank's 2048 image bytes, then E4 24 24, then zeros.
void BuildWriteBankBlock(std::span<const std::uint8_t, kBankSize> bank,
                         std::span<std::uint8_t, kWriteBankBlockSize> block);

// INQUIRY identification. `fromByte5` are the INQUIRY data bytes from byte 5 on (at least 25):
// "SMI" or "smi" at bytes 5-7, or bytes 8-29 equal to eight blanks and "USB MEMORY BAR".
constexpr std::string_view kInquiryProductTemplate = "        USB MEMORY BAR";
bool MatchesSmiInquiry(std::span<const std::uint8_t> fromByte5);

}  // namespace smi
