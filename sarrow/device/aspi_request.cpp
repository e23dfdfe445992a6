// sarrow/device/aspi_request.cpp
#include "sarrow/device/aspi_request.h"

#include <cstring>

#include "platform/scsi/device_port.h"
#include "sarrow/device/scsi_device.h"

namespace {
AspiEntryMissingNotice g_entryMissingNotice = nullptr;

// The step in which an aborted request is waited for.
constexpr DWORD kAbortWaitMilliseconds = 5000;
}  // namespace

void SetAspiEntryMissingNotice(AspiEntryMissingNotice notice) { g_entryMissingNotice = notice; }

namespace aspi_request {

void ReportMissingEntry(const char* name)
{
    if (g_entryMissingNotice)
        g_entryMissingNotice(name);
}

void Fill(aspi::SRB_ExecSCSICmd& srb, BYTE hostAdapterId, BYTE targetId, BYTE lun, BYTE flags,
          void* data, DWORD dataLength, const BYTE* cdb, BYTE cdbLength)
{
    std::memset(&srb, 0, sizeof srb);
    srb.SRB_Cmd = aspi::SC_EXEC_SCSI_CMD;
    srb.SRB_HaId = hostAdapterId;
    srb.SRB_Flags = flags;
    srb.SRB_Target = targetId;
    srb.SRB_Lun = lun;
    srb.SRB_BufLen = dataLength;
    srb.SRB_BufPointer = static_cast<BYTE*>(data);
    srb.SRB_SenseLen = aspi::SENSE_LEN;
    srb.SRB_CDBLen = cdbLength;
    if (cdb)
        std::memcpy(srb.CDBByte, cdb, sizeof srb.CDBByte);
}

Outcome Execute(HMODULE aspiModule, aspi::SRB_ExecSCSICmd& srb)
{
    DevicePort& port = GetDevicePort();
    HANDLE event = port.CreateEventA(TRUE, FALSE);
    if (!event)
        return Outcome::NoEvent;
    srb.SRB_PostProc = event;
    auto send = reinterpret_cast<aspi::SendASPI32CommandFunction>(
        reinterpret_cast<void*>(port.GetProcAddress(aspiModule, "SendASPI32Command")));
    if (!send) {
        port.CloseHandle(event);
        ReportMissingEntry("SendASPI32Command");
        return Outcome::EntryMissing;
    }
    port.ResetEvent(event);
    send(&srb);
    Outcome outcome = Outcome::Completed;
    if (srb.SRB_Status == aspi::SS_PENDING) {
        port.WaitForSingleObject(event, kWaitMilliseconds);
        if (srb.SRB_Status == aspi::SS_PENDING) {
            aspi::SRB_Abort abort{};
            abort.SRB_Cmd = aspi::SC_ABORT_SRB;
            abort.SRB_HaId = srb.SRB_HaId;
            abort.SRB_ToAbort = &srb;
            send(&abort);
            // Until ASPI posts the aborted request it owns block and buffer: never hand them back
            // earlier, however long the driver takes.
            while (srb.SRB_Status == aspi::SS_PENDING)
                port.WaitForSingleObject(event, kAbortWaitMilliseconds);
            outcome = Outcome::Aborted;
        }
    }
    port.CloseHandle(event);
    return outcome;
}

}  // namespace aspi_request
