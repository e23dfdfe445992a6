// sarrow/device/sector_io.cpp
#include "sarrow/device/sector_io.h"

#include <algorithm>

#include "core/scsi/block_commands.h"
#include "platform/scsi/device_port.h"
#include "platform/scsi/pass_through.h"
#include "platform/win9x/aspi.h"
#include "sarrow/device/aspi_request.h"

namespace {

constexpr DWORD kBlockTimeoutSeconds = 300;
constexpr DWORD kSectorsPerPiece = scsi::kMaxTransferBytes / scsi::kSectorSize;

BOOL ExecuteBlockCommand(const ScsiDeviceContext& device, DWORD sector, BYTE* buffer, DWORD length,
                         BYTE opcode, BYTE lun, bool dataIn)
{
    const scsi::Cdb cdb = scsi::BlockCdb(opcode, sector, length);
    if (device.legacy) {
        aspi::SRB_ExecSCSICmd srb;
        aspi_request::Fill(srb, device.hostAdapterId, device.targetId, lun,
                           dataIn ? (aspi::SRB_DIR_IN | aspi::SRB_EVENT_NOTIFY)
                                  : (aspi::SRB_DIR_OUT | aspi::SRB_EVENT_NOTIFY),
                           buffer, length, cdb.data(), scsi::kBlockCdbLength);
        // The request's own status is not looked at on this path.
        return aspi_request::Execute(device.aspiModule, srb) == aspi_request::Outcome::Completed;
    }
    passthrough::DirectBuffer request;
    passthrough::DirectCommand command;
    command.cdb = cdb.data();
    command.cdbLength = scsi::kBlockCdbLength;
    command.dataIn = dataIn;
    command.data = buffer;
    command.dataLength = length;
    command.timeoutSeconds = kBlockTimeoutSeconds;
    command.lun = lun;
    passthrough::FillDirect(request, command);
    if (device.volumeHandle == INVALID_HANDLE_VALUE)
        return FALSE;
    const BOOL result = passthrough::SendDirect(device.volumeHandle, request);
    GetDevicePort().FlushFileBuffers(device.volumeHandle);
    return result;
}

template <typename Piece>
BOOL InPieces(DWORD firstSector, DWORD length, Piece piece)
{
    for (DWORD i = 0, offset = 0; offset < length; ++i, offset += scsi::kMaxTransferBytes) {
        const DWORD size = std::min<DWORD>(length - offset, scsi::kMaxTransferBytes);
        if (!piece(firstSector + kSectorsPerPiece * i, offset, size))
            return FALSE;
    }
    return TRUE;
}

}  // namespace

BOOL ExecuteWrite10(const ScsiDeviceContext& device, DWORD sector, const BYTE* buffer, DWORD length,
                    BYTE opcode, BYTE lun)
{
    // The transports take mutable pointers; on a write the data only goes out.
    return ExecuteBlockCommand(device, sector, const_cast<BYTE*>(buffer), length, opcode, lun,
                               false);
}

BOOL ExecuteRead10(const ScsiDeviceContext& device, DWORD sector, BYTE* buffer, DWORD length,
                   BYTE opcode, BYTE lun)
{
    return ExecuteBlockCommand(device, sector, buffer, length, opcode, lun, true);
}

BOOL WriteSectors(const ScsiDeviceContext& device, DWORD firstSector, const BYTE* buffer,
                  DWORD length, BYTE opcode, BYTE lun)
{
    return InPieces(firstSector, length, [&](DWORD sector, DWORD offset, DWORD size) {
        return ExecuteWrite10(device, sector, buffer + offset, size, opcode, lun);
    });
}

BOOL ReadSectors(const ScsiDeviceContext& device, DWORD firstSector, BYTE* buffer, DWORD length,
                 BYTE opcode, BYTE lun)
{
    return InPieces(firstSector, length, [&](DWORD sector, DWORD offset, DWORD size) {
        return ExecuteRead10(device, sector, buffer + offset, size, opcode, lun);
    });
}
