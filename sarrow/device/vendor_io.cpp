// sarrow/device/vendor_io.cpp
#include "sarrow/device/vendor_io.h"

#include <cstring>

BOOL SendVendorCommand(const ScsiDeviceContext& device, const smi::VendorCommand& command,
                       BYTE* data)
{
    ScsiCommandRequest request = MakeScsiCommandRequest(
        device, command.dataLength ? data : nullptr, command.dataLength, command.cdb.data());
    return command.direction == smi::Direction::Out ? ExecuteVendorCdbOut(request)
                                                    : ExecuteVendorCdbIn(request);
}

namespace {
BOOL ReadInto(const ScsiDeviceContext& device, const smi::VendorCommand& command, BYTE* answer)
{
    std::memset(answer, 0, smi::kAnswerSize);
    return SendVendorCommand(device, command, answer);
}
}  // namespace

BOOL VendorReadDeviceInfo(const ScsiDeviceContext& device, VendorAnswer& answer)
{
    return ReadInto(device, smi::ReadDeviceInfo(), answer.data());
}

BOOL VendorReadFirmwareInfo(const ScsiDeviceContext& device, VendorAnswer& answer)
{
    return ReadInto(device, smi::ReadFirmwareInfo(), answer.data());
}

BOOL VendorReadFlashInfo(const ScsiDeviceContext& device, VendorAnswer& answer)
{
    return ReadInto(device, smi::ReadFlashInfo(), answer.data());
}

BOOL VendorIspBegin(const ScsiDeviceContext& device, BYTE n, BYTE m)
{
    VendorAnswer scratch;
    return ReadInto(device, smi::IspBegin(n, m), scratch.data());
}

BOOL VendorIspWriteBank(const ScsiDeviceContext& device, BYTE n, BYTE bank, BYTE m,
                        const VendorWriteBankBlock& block)
{
    // The transport takes a mutable pointer; the block only goes out.
    return SendVendorCommand(device, smi::IspWriteBank(n, bank, m), const_cast<BYTE*>(block.data()));
}

BOOL VendorIspReadBank(const ScsiDeviceContext& device, BYTE n, BYTE bank, BYTE quarter, BYTE m,
                       BYTE* into)
{
    return ReadInto(device, smi::IspReadBank(n, bank, quarter, m), into);
}

BOOL VendorIspEnd(const ScsiDeviceContext& device)
{
    return SendVendorCommand(device, smi::IspEnd(), nullptr);
}
