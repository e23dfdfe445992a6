#include "sarrow/device/cdb_transport.h"

#include <cstdio>

#include "platform/scsi/device_port.h"
#include "platform/scsi/pass_through.h"
#include "platform/win9x/aspi.h"
#include "sarrow/device/aspi_request.h"

namespace {

// One line for the debugger: which command the drive refused, and what it said.
void ReportRefusal(const BYTE* cdb, unsigned aspiStatus, unsigned scsiStatus, const BYTE* sense)
{
    char line[96];
    std::snprintf(line, sizeof line, "SCSI %02X %02X refused: ASPI %02X, status %02X, sense %X/%02X/%02X\n",
                  cdb ? cdb[0] : 0u, cdb ? cdb[1] : 0u, aspiStatus, scsiStatus, sense[2] & 0x0Fu, sense[12],
                  sense[13]);
    OutputDebugStringA(line);
}

}  // namespace

BOOL SendCdb(const ScsiCommandRequest& request, const CdbShape& shape)
{
    if (request.legacy) {
        aspi::SRB_ExecSCSICmd srb;
        const BYTE direction = shape.dataIn ? aspi::SRB_DIR_IN : aspi::SRB_DIR_OUT;
        aspi_request::Fill(srb, request.hostAdapterId, request.targetId, shape.lun,
                           direction | aspi::SRB_EVENT_NOTIFY, request.dataBuffer,
                           request.dataLength, request.cdb, shape.aspiCdbLength);
        if (aspi_request::Execute(request.aspiModule, srb) != aspi_request::Outcome::Completed)
            return FALSE;
        if (shape.statusCounts && srb.SRB_Status != aspi::SS_COMP) {
            ReportRefusal(request.cdb, srb.SRB_Status, srb.SRB_TargStat, srb.SenseArea);
            return FALSE;
        }
        return TRUE;
    }
    passthrough::DirectBuffer buffer;
    passthrough::DirectCommand command;
    command.cdb = request.cdb;
    command.cdbLength = shape.ntCdbLength;
    command.dataIn = shape.dataIn;
    command.data = request.dataBuffer;
    command.dataLength = request.dataLength;
    command.timeoutSeconds = shape.ntTimeoutSeconds;
    command.lun = shape.lun;
    command.senseLength = shape.statusCounts ? static_cast<UCHAR>(sizeof buffer.sense) : 0;
    passthrough::FillDirect(buffer, command);
    if (request.volumeHandle == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL result = passthrough::SendDirect(request.volumeHandle, buffer);
    GetDevicePort().FlushFileBuffers(request.volumeHandle);
    if (result && shape.statusCounts && !passthrough::DirectSucceeded(buffer)) {
        ReportRefusal(request.cdb, 0, buffer.record.ScsiStatus, buffer.sense);
        result = FALSE;
    }
    return result;
}
