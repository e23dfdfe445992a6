// platform/scsi/pass_through.h
// The NT SCSI pass-through records as the tools send them: the platform's SCSI_PASS_THROUGH and
// SCSI_PASS_THROUGH_DIRECT, each followed by a sense area at offset 48, in one buffer that goes to
// DeviceIoControl as input and output. Sarrow and the dispatcher fill the same records.
#pragma once

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstddef>
#include <cstdint>

#include "core/scsi/block_commands.h"

namespace passthrough {

constexpr UCHAR kTargetId = 1;
constexpr ULONG kSenseOffset = 48;

#pragma pack(push, 4)
// The record, a gap to keep the sense area where every sender puts it, and the sense area.
struct DirectBuffer {
    SCSI_PASS_THROUGH_DIRECT record;
    ULONG gap;
    UCHAR sense[32];
};

// INQUIRY goes through the buffered IOCTL: the answer comes back inside the same buffer.
struct InquiryBuffer {
    SCSI_PASS_THROUGH record;
    ULONG gap;
    UCHAR sense[32];
    UCHAR data[512];
};
#pragma pack(pop)

static_assert(sizeof(SCSI_PASS_THROUGH) == 44);
static_assert(sizeof(SCSI_PASS_THROUGH_DIRECT) == 44);
static_assert(sizeof(DirectBuffer) == 80);
static_assert(offsetof(DirectBuffer, sense) == kSenseOffset);
static_assert(sizeof(InquiryBuffer) == 592);
static_assert(offsetof(InquiryBuffer, sense) == kSenseOffset);
static_assert(offsetof(InquiryBuffer, data) == 80);

constexpr ULONG kInquiryDataOffset = offsetof(InquiryBuffer, data);
constexpr DWORD kInquiryInputSize = sizeof(SCSI_PASS_THROUGH);   // 44
constexpr DWORD kInquiryOutputSize = kInquiryDataOffset + scsi::kInquiryLength;  // 116: record, sense, answer

// One command of the direct kind. The buffer is cleared first; `cdb` holds 16 bytes, of which the
// first `cdbLength` are the command's own.
struct DirectCommand {
    const std::uint8_t* cdb = nullptr;
    UCHAR cdbLength = 16;
    bool dataIn = true;
    void* data = nullptr;
    ULONG dataLength = 0;
    ULONG timeoutSeconds = 300;
    UCHAR senseLength = 0;
    UCHAR lun = 0;
};

void FillDirect(DirectBuffer& buffer, const DirectCommand& command);

// INQUIRY 12 00 00 00 24 00 with 36 bytes into the buffer at offset 80, time-out 2 s.
void FillInquiry(InquiryBuffer& buffer);

// Sends the filled direct buffer (80 bytes in and out). The result is DeviceIoControl's alone:
// a drive that refuses the command still completes the call (see DirectSucceeded).
BOOL SendDirect(HANDLE volume, DirectBuffer& buffer);

// After a completed call: whether the drive did what it was asked, by the record's ScsiStatus and
// the sense bytes it returned (as many as the record's SenseInfoLength says came back).
bool DirectSucceeded(const DirectBuffer& buffer);

// The device path "\\.\X:" of a drive letter.
struct VolumePath {
    char text[8];
};
VolumePath VolumePathOf(char letter);

// The open every sender makes: read and write, shared, no buffering.
HANDLE OpenVolume(char letter);

}  // namespace passthrough
