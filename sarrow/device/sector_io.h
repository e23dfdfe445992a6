// sarrow/device/sector_io.h
// Sector transfers straight to the device with READ(10) and WRITE(10), over ASPI or pass-through
// as the device's legacy flag says. Sectors are 512 bytes; one command moves at most 64 KiB.
#pragma once

#include <windows.h>

#include "sarrow/device/scsi_device.h"

// In pieces of at most 65,536 bytes: piece i goes to sector first + 128 * i. Stops at the first
// failed piece and reports it; a zero length sends nothing and succeeds.
BOOL WriteSectors(const ScsiDeviceContext& device, DWORD firstSector, const BYTE* buffer,
                  DWORD length, BYTE opcode, BYTE lun);
BOOL ReadSectors(const ScsiDeviceContext& device, DWORD firstSector, BYTE* buffer, DWORD length,
                 BYTE opcode, BYTE lun);

// One command of at most 65,536 bytes (length / 512 sectors).
BOOL ExecuteWrite10(const ScsiDeviceContext& device, DWORD sector, const BYTE* buffer, DWORD length,
                    BYTE opcode, BYTE lun);
BOOL ExecuteRead10(const ScsiDeviceContext& device, DWORD sector, BYTE* buffer, DWORD length,
                   BYTE opcode, BYTE lun);
