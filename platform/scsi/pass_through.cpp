// platform/scsi/pass_through.cpp
#include "platform/scsi/pass_through.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "core/scsi/block_commands.h"
#include "core/scsi/command_status.h"
#include "platform/scsi/device_port.h"

namespace passthrough {

void FillDirect(DirectBuffer& buffer, const DirectCommand& command)
{
    std::memset(&buffer, 0, sizeof buffer);
    SCSI_PASS_THROUGH_DIRECT& r = buffer.record;
    r.Length = sizeof(SCSI_PASS_THROUGH_DIRECT);
    r.PathId = 0;
    r.TargetId = kTargetId;
    r.Lun = command.lun;
    r.CdbLength = command.cdbLength;
    r.SenseInfoLength = command.senseLength;
    r.DataIn = command.dataIn ? SCSI_IOCTL_DATA_IN : SCSI_IOCTL_DATA_OUT;
    r.DataTransferLength = command.dataLength;
    r.TimeOutValue = command.timeoutSeconds;
    r.DataBuffer = command.data;
    r.SenseInfoOffset = offsetof(DirectBuffer, sense);
    if (command.cdb)
        std::memcpy(r.Cdb, command.cdb, sizeof r.Cdb);
}

void FillInquiry(InquiryBuffer& buffer)
{
    std::memset(&buffer, 0, sizeof buffer);
    SCSI_PASS_THROUGH& r = buffer.record;
    r.Length = sizeof(SCSI_PASS_THROUGH);
    r.PathId = 0;
    r.TargetId = kTargetId;
    r.Lun = 0;
    r.CdbLength = scsi::kInquiryCdbLength;
    r.SenseInfoLength = 0;
    r.DataIn = SCSI_IOCTL_DATA_IN;
    r.DataTransferLength = scsi::kInquiryLength;
    r.TimeOutValue = 2;
    r.DataBufferOffset = offsetof(InquiryBuffer, data);
    r.SenseInfoOffset = offsetof(InquiryBuffer, sense);
    const scsi::Cdb cdb = scsi::InquiryCdb();
    std::memcpy(r.Cdb, cdb.data(), sizeof r.Cdb);
}

BOOL SendDirect(HANDLE volume, DirectBuffer& buffer)
{
    DWORD returned = 0;
    return GetDevicePort().DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH_DIRECT, &buffer,
                                           sizeof buffer, &buffer, sizeof buffer, &returned);
}

bool DirectSucceeded(const DirectBuffer& buffer)
{
    const std::size_t returned = std::min<std::size_t>(buffer.record.SenseInfoLength, sizeof buffer.sense);
    return scsi::CommandSucceeded(buffer.record.ScsiStatus, std::span<const std::uint8_t>(buffer.sense, returned));
}

VolumePath VolumePathOf(char letter)
{
    VolumePath path{{'\\', '\\', '.', '\\', letter, ':', 0, 0}};
    return path;
}

HANDLE OpenVolume(char letter)
{
    return GetDevicePort().CreateFileA(VolumePathOf(letter).text, GENERIC_READ | GENERIC_WRITE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING,
                                       FILE_FLAG_NO_BUFFERING);
}

}  // namespace passthrough
