// sarrow/device/aspi_request.h
// One ASPI request of the legacy path, from the event to its release.
#pragma once

#include <windows.h>

#include "platform/win9x/aspi.h"

namespace aspi_request {

// How long a pending request is waited for before it is aborted.
constexpr DWORD kWaitMilliseconds = 100000;

enum class Outcome {
    NoEvent,       // the completion event could not be made; nothing was sent
    EntryMissing,  // wnaspi32.dll has no SendASPI32Command (reported, see below)
    Completed,     // done, whatever its status
    Aborted,       // still pending after the wait; aborted, and ASPI let go of block and buffer
};

// Sends `srb` (filled by the caller except SRB_PostProc) and waits for it. A request still
// pending after kWaitMilliseconds is aborted with SC_ABORT_SRB, and the block and the data buffer
// are given back to the caller only once ASPI has let go of them.
Outcome Execute(HMODULE aspiModule, aspi::SRB_ExecSCSICmd& srb);

// Tells the notice of SetAspiEntryMissingNotice (scsi_device.h) that `name` is missing.
void ReportMissingEntry(const char* name);

void Fill(aspi::SRB_ExecSCSICmd& srb, BYTE hostAdapterId, BYTE targetId, BYTE lun, BYTE flags,
          void* data, DWORD dataLength, const BYTE* cdb, BYTE cdbLength);

}  // namespace aspi_request
