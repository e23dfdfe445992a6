// sarrow/device/sector_io.cpp
#include "sarrow/device/sector_io.h"

#include <algorithm>

#include "core/scsi/block_commands.h"
#include "sarrow/device/cdb_transport.h"

namespace {

constexpr DWORD kBlockTimeoutSeconds = 300;
constexpr DWORD kSectorsPerPiece = scsi::kMaxTransferBytes / scsi::kSectorSize;

BOOL ExecuteBlockCommand(const ScsiDeviceContext& device, DWORD sector, BYTE* buffer, DWORD length,
                         BYTE opcode, BYTE lun, bool dataIn)
{
    const scsi::Cdb cdb = scsi::BlockCdb(opcode, sector, length);
    return SendCdb(MakeScsiCommandRequest(device, buffer, length, cdb.data()),
                   {scsi::kBlockCdbLength, scsi::kBlockCdbLength, lun, dataIn, kBlockTimeoutSeconds, true});
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
