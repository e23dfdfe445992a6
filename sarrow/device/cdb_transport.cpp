// sarrow/device/cdb_transport.cpp
#include "sarrow/device/cdb_transport.h"

#include "platform/scsi/device_port.h"
#include "platform/scsi/pass_through.h"
#include "platform/win9x/aspi.h"
#include "sarrow/device/aspi_request.h"

BOOL SendCdb(const ScsiCommandRequest& request, const CdbShape& shape)
{
    if (request.legacy) {
        aspi::SRB_ExecSCSICmd srb;
        const BYTE direction = shape.dataIn ? aspi::SRB_DIR_IN : aspi::SRB_DIR_OUT;
        aspi_request::Fill(srb, request.hostAdapterId, request.targetId, shape.lun,
                           direction | aspi::SRB_EVENT_NOTIFY, request.dataBuffer,
                           request.dataLength, request.cdb, shape.aspiCdbLength);
        return aspi_request::Execute(request.aspiModule, srb) == aspi_request::Outcome::Completed;
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
    passthrough::FillDirect(buffer, command);
    if (request.volumeHandle == INVALID_HANDLE_VALUE)
        return FALSE;
    const BOOL result = passthrough::SendDirect(request.volumeHandle, buffer);
    GetDevicePort().FlushFileBuffers(request.volumeHandle);
    return result;
}
