// sarrow/device/cdb_transport.h
// One command block to the drive over the path the request names. The vendor and the sector
// commands differ only in the block's lengths, the LUN, the direction and the time-out.
#pragma once

#include <windows.h>

#include "sarrow/device/scsi_device.h"

struct CdbShape {
    BYTE aspiCdbLength;
    BYTE ntCdbLength;
    BYTE lun;
    bool dataIn;
    DWORD ntTimeoutSeconds;
};

// Legacy: TRUE once ASPI has completed the request, whatever its status. NT: the pass-through's
// result; the volume is flushed after every command.
BOOL SendCdb(const ScsiCommandRequest& request, const CdbShape& shape);
