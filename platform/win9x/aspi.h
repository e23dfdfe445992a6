// platform/win9x/aspi.h
// ASPI for Win32 (wnaspi32.dll) as the library publishes it: the request blocks Sarrow sends and
// the two entry points it looks up at run time. Byte-packed, 32-bit pointers.
#pragma once

#include <windows.h>

#include <cstddef>

namespace aspi {

// SRB_Cmd
constexpr BYTE SC_HA_INQUIRY = 0x00;
constexpr BYTE SC_GET_DEV_TYPE = 0x01;
constexpr BYTE SC_EXEC_SCSI_CMD = 0x02;
constexpr BYTE SC_ABORT_SRB = 0x03;
constexpr BYTE SC_RESET_DEV = 0x04;

// SRB_Status
constexpr BYTE SS_PENDING = 0x00;
constexpr BYTE SS_COMP = 0x01;
constexpr BYTE SS_ABORTED = 0x02;
constexpr BYTE SS_ABORT_FAIL = 0x03;
constexpr BYTE SS_ERR = 0x04;
constexpr BYTE SS_INVALID_CMD = 0x80;
constexpr BYTE SS_INVALID_HA = 0x81;
constexpr BYTE SS_NO_DEVICE = 0x82;
constexpr BYTE SS_INVALID_SRB = 0xE0;
constexpr BYTE SS_BUFFER_ALIGN = 0xE1;
constexpr BYTE SS_NO_ADAPTERS = 0xE8;

// SRB_Flags
constexpr BYTE SRB_POSTING = 0x01;
constexpr BYTE SRB_ENABLE_RESIDUAL_COUNT = 0x04;
constexpr BYTE SRB_DIR_IN = 0x08;
constexpr BYTE SRB_DIR_OUT = 0x10;
constexpr BYTE SRB_EVENT_NOTIFY = 0x40;

constexpr std::size_t SENSE_LEN = 14;

#pragma pack(push, 1)

// Common header of every request block.
struct SRB_Header {
    BYTE SRB_Cmd;
    BYTE SRB_Status;
    BYTE SRB_HaId;
    BYTE SRB_Flags;
    DWORD SRB_Hdr_Rsvd;
};

struct SRB_ExecSCSICmd {
    BYTE SRB_Cmd;
    BYTE SRB_Status;
    BYTE SRB_HaId;
    BYTE SRB_Flags;
    DWORD SRB_Hdr_Rsvd;
    BYTE SRB_Target;
    BYTE SRB_Lun;
    WORD SRB_Rsvd1;
    DWORD SRB_BufLen;
    BYTE* SRB_BufPointer;
    BYTE SRB_SenseLen;
    BYTE SRB_CDBLen;
    BYTE SRB_HaStat;
    BYTE SRB_TargStat;
    void* SRB_PostProc;  // the event to set, with SRB_EVENT_NOTIFY
    void* SRB_Rsvd2;
    BYTE SRB_Rsvd3[16];
    BYTE CDBByte[16];
    BYTE SenseArea[SENSE_LEN + 2];
};

struct SRB_Abort {
    BYTE SRB_Cmd;
    BYTE SRB_Status;
    BYTE SRB_HaId;
    BYTE SRB_Flags;
    DWORD SRB_Hdr_Rsvd;
    void* SRB_ToAbort;
};

#pragma pack(pop)

static_assert(sizeof(SRB_Header) == 8);
static_assert(sizeof(SRB_ExecSCSICmd) == 80);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_Target) == 8);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufLen) == 12);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_BufPointer) == 16);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_SenseLen) == 20);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_CDBLen) == 21);
static_assert(offsetof(SRB_ExecSCSICmd, SRB_PostProc) == 24);
static_assert(offsetof(SRB_ExecSCSICmd, CDBByte) == 48);
static_assert(offsetof(SRB_ExecSCSICmd, SenseArea) == 64);
static_assert(sizeof(SRB_Abort) == 12);
static_assert(offsetof(SRB_Abort, SRB_ToAbort) == 8);

// GetASPI32SupportInfo: bits 8-15 status (SS_COMP when ASPI is usable), bits 0-7 adapter count.
using GetASPI32SupportInfoFunction = DWORD(__cdecl*)();
using SendASPI32CommandFunction = DWORD(__cdecl*)(void* srb);

constexpr BYTE SupportInfoAdapterCount(DWORD info) { return static_cast<BYTE>(info & 0xFF); }

}  // namespace aspi
