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
    // The drive's own verdict counts: for the commands that change or verify the drive (sector
    // transfers, firmware banks). A drive that refuses a command (write-protected, a bad sector)
    // still lets the platform call succeed and says so only in the SCSI status and sense data.
    bool statusCounts;
};

// Legacy: TRUE once ASPI has completed the request, and, when the status counts, completed it
// with SS_COMP. NT: the pass-through's result and, when the status counts, a GOOD SCSI status
// without an error in the sense bytes (the record then asks for them). The volume is flushed after
// every command.
BOOL SendCdb(const ScsiCommandRequest& request, const CdbShape& shape);
