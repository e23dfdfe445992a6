// core/smi/vendor_commands.cpp
#include "core/smi/vendor_commands.h"

#include <algorithm>
#include <cstring>

namespace smi {
namespace {

VendorCommand Command(std::uint8_t opcode, std::uint8_t subCommand, std::uint32_t dataLength)
{
    VendorCommand command;
    command.cdb[0] = opcode;
    command.cdb[1] = subCommand;
    command.cdb[11] = static_cast<std::uint8_t>(dataLength / 512);
    command.dataLength = dataLength;
    command.direction = opcode == kVendorOut ? Direction::Out : Direction::In;
    return command;
}

std::string_view Text(Answer answer, std::size_t offset, std::size_t length)
{
    return {reinterpret_cast<const char*>(answer.data()) + offset, length};
}

}  // namespace

VendorCommand ReadDeviceInfo() { return Command(kVendorIn, kReadDeviceInfo, kAnswerSize); }
VendorCommand ReadFirmwareInfo() { return Command(kVendorIn, kReadFirmwareInfo, kAnswerSize); }
VendorCommand ReadFlashInfo() { return Command(kVendorIn, kReadFlashInfo, kAnswerSize); }

VendorCommand IspBegin(std::uint8_t n, std::uint8_t m)
{
    VendorCommand command = Command(kVendorIn, kIspBegin, kAnswerSize);
    command.cdb[2] = 0x03;
    command.cdb[3] = n;
    command.cdb[6] = m;
    return command;
}

VendorCommand IspWriteBank(std::uint8_t n, std::uint8_t bank, std::uint8_t m)
{
    VendorCommand command = Command(kVendorOut, kIspWriteBank, kWriteBankBlockSize);
    command.cdb[2] = 0x03;
    command.cdb[3] = n;
    command.cdb[4] = bank;
    command.cdb[6] = m;
    command.cdb[7] = 0x07;
    return command;
}

VendorCommand IspReadBank(std::uint8_t n, std::uint8_t bank, std::uint8_t quarter, std::uint8_t m)
{
    VendorCommand command = Command(kVendorIn, kIspReadBank, kQuarterSize);
    command.cdb[2] = 0x03;
    command.cdb[3] = n;
    command.cdb[4] = bank;
    command.cdb[5] = quarter;
    command.cdb[6] = m;
    return command;
}

VendorCommand IspEnd() { return Command(kVendorIn, kIspEnd, 0); }

std::string_view VendorText(Answer deviceInfo) { return Text(deviceInfo, 248, 8); }
std::string_view ProductText(Answer deviceInfo) { return Text(deviceInfo, 256, 16); }

std::uint16_t DeviceIdentifier(Answer deviceInfo)
{
    return static_cast<std::uint16_t>(deviceInfo[8] | deviceInfo[9] << 8);
}

std::string_view ControllerModel(Answer firmwareInfo) { return Text(firmwareInfo, 430, 7); }
std::string_view FirmwareVersion(Answer firmwareInfo) { return Text(firmwareInfo, 404, 10); }

std::uint32_t TotalSectors(Answer flashInfo)
{
    return std::uint32_t{flashInfo[20]} << 24 | std::uint32_t{flashInfo[21]} << 16 |
           std::uint32_t{flashInfo[22]} << 8 | flashInfo[23];
}

std::array<std::uint8_t, 4> FlashIdentifier(Answer flashInfo)
{
    return {flashInfo[32], flashInfo[33], flashInfo[34], flashInfo[35]};
}

std::uint8_t IspParameterN(Answer flashInfo) { return flashInfo[7]; }

std::uint8_t IspParameterM(Answer flashInfo)
{
    for (std::uint8_t index = 0; index < 16; ++index)
        if (flashInfo[384 + index] != 0)
            return index;
    return 0;
}

void BuildWriteBankBlock(std::span<const std::uint8_t, kBankSize> bank,
                         std::span<std::uint8_t, kWriteBankBlockSize> block)
{
    std::copy(bank.begin(), bank.end(), block.begin());
    std::fill(block.begin() + kBankSize, block.end(), std::uint8_t{0});
    block[kBankSize] = 0xE4;
    block[kBankSize + 1] = 0x24;
    block[kBankSize + 2] = 0x24;
}

bool MatchesSmiInquiry(std::span<const std::uint8_t> a)
{
    if (a.size() < 3 + kInquiryProductTemplate.size())
        return false;
    if (std::memcmp(a.data(), "SMI", 3) == 0 || std::memcmp(a.data(), "smi", 3) == 0)
        return true;
    return std::memcmp(a.data() + 3, kInquiryProductTemplate.data(), kInquiryProductTemplate.size()) == 0;
}

}  // namespace smi
