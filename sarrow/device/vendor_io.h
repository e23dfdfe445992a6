// sarrow/device/vendor_io.h
// The vendor commands of the Silicon Motion controller, each one call of ExecuteVendorCdbIn (F0)
// or ExecuteVendorCdbOut (F1). Every answer buffer is cleared first, so a failed read is zeros.
#pragma once

#include <windows.h>

#include <array>

#include "core/smi/vendor_commands.h"
#include "sarrow/device/scsi_device.h"

using VendorAnswer = std::array<BYTE, smi::kAnswerSize>;
using VendorWriteBankBlock = std::array<BYTE, smi::kWriteBankBlockSize>;

// Sends one command built by core/smi; `data` holds command.dataLength bytes (null for none).
BOOL SendVendorCommand(const ScsiDeviceContext& device, const smi::VendorCommand& command,
                       BYTE* data);

BOOL VendorReadDeviceInfo(const ScsiDeviceContext& device, VendorAnswer& answer);
BOOL VendorReadFirmwareInfo(const ScsiDeviceContext& device, VendorAnswer& answer);
BOOL VendorReadFlashInfo(const ScsiDeviceContext& device, VendorAnswer& answer);
// The answer of F0 0C is not read, but the command moves 512 bytes in.
BOOL VendorIspBegin(const ScsiDeviceContext& device, BYTE n, BYTE m);
BOOL VendorIspWriteBank(const ScsiDeviceContext& device, BYTE n, BYTE bank, BYTE m,
                        const VendorWriteBankBlock& block);
// Reads bank `bank`, quarter `quarter` into the 512 bytes at `into` (cleared first).
BOOL VendorIspReadBank(const ScsiDeviceContext& device, BYTE n, BYTE bank, BYTE quarter, BYTE m,
                       BYTE* into);
BOOL VendorIspEnd(const ScsiDeviceContext& device);
