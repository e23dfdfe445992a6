// sarrow/volume/volume_builder.h
// The repair's last step: a new master boot record and an empty FAT12/16 (BuildFat16Volume) or
// FAT32 (BuildFat32Volume) volume in one partition from sector 32 (1 without alignment) to the
// device's end, written sector by sector with WRITE(10) straight to the device.
#pragma once

#include <windows.h>

#include "core/progress/progress_sink.h"
#include "sarrow/device/scsi_device.h"

// `label` points at a 16-byte record, no label when its first byte is 0 (or the pointer is null);
// `active` sets the boot indicator of the FAT12/16 entry (FAT32's is always active); `lun` goes
// to every command and `baseSector` is added to every sector number. A null `progress` moves no
// bar. TRUE when every write, read and compare succeeded; FALSE at the first that failed, and
// before anything is written when the device cannot hold a volume of that type.
BOOL BuildFat16Volume(const ScsiDeviceContext& device, DWORD totalSectors, BOOL alignment,
                      progress::ProgressSink* progress, const BYTE* label, BOOL active, BYTE lun,
                      DWORD baseSector);
BOOL BuildFat32Volume(const ScsiDeviceContext& device, DWORD totalSectors, BOOL alignment,
                      progress::ProgressSink* progress, const BYTE* label, BOOL active, BYTE lun,
                      DWORD baseSector);
