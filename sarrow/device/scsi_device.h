// sarrow/device/scsi_device.h
// How Sarrow talks to the drive as a SCSI device: discovery by INQUIRY, volume lock, single
// commands with data in or out. Two paths, chosen by the caller's legacy flag: ASPI and VWIN32 on
// Windows 9x, SCSI pass-through on the NT line. Plain functions; the caller keeps the state.
// Every device call goes through GetDevicePort() (platform/scsi/device_port.h).
#pragma once

#include <windows.h>

#include <cstddef>

namespace timing {
class Pause;
}

struct ScsiDeviceContext {
    BOOL legacy = FALSE;
    BYTE hostAdapterId = 0xFF;  // 0xFF: no ASPI device found
    BYTE targetId = 0;
    HMODULE aspiModule = nullptr;
    HANDLE volumeHandle = INVALID_HANDLE_VALUE;
    HANDLE vwin32Handle = INVALID_HANDLE_VALUE;
    char driveLetter = 0;
};

// One command as the senders take it. `cdb` points at 16 bytes; bytes beyond the command's own
// length are zero. Direction and CDB length are fixed by the operation that sends it.
struct ScsiCommandRequest {
    BOOL legacy = FALSE;
    HMODULE aspiModule = nullptr;
    BYTE hostAdapterId = 0;
    BYTE targetId = 0;
    HANDLE volumeHandle = INVALID_HANDLE_VALUE;
    void* dataBuffer = nullptr;
    DWORD dataLength = 0;
    const BYTE* cdb = nullptr;
};

ScsiCommandRequest MakeScsiCommandRequest(const ScsiDeviceContext& device, void* dataBuffer,
                                          DWORD dataLength, const BYTE* cdb);

BOOL IsLegacyWindows();  // major version 4: 95, 98, Me, NT 4.0
BOOL IsWindowsMe();      // 4.90

// The letter FindSmiDevice found last; OpenAndLockVolume and DismountAndCloseVolume use it.
char CurrentDriveLetter();
void SetCurrentDriveLetter(char letter);

// Legacy: the first ASPI adapter whose target 0 matches, then its letter from the registry (0xFF
// when the registry names none; still found). NT: the first of D: .. W: that matches.
BOOL FindSmiDevice(BOOL legacy, BYTE* hostAdapterId, BYTE* targetId, HMODULE* aspiModule,
                   char* driveLetter);

// INQUIRY over ASPI; `answer` gets INQUIRY data bytes 5 to 31.
constexpr std::size_t kAspiInquiryAnswerSize = 27;
BOOL AspiInquiry(HMODULE aspiModule, BYTE hostAdapterId, BYTE targetId, BYTE lun,
                 BYTE answer[kAspiInquiryAnswerSize]);

// INQUIRY over IOCTL_SCSI_PASS_THROUGH; on success `answer` gets the 36 bytes from INQUIRY data
// byte 5 on (the last 5 are zero).
constexpr std::size_t kPassThroughInquiryAnswerSize = 36;
BOOL PassThroughInquiry(char driveLetter, BYTE answer[kPassThroughInquiryAnswerSize]);

BOOL FindDriveLetterWin9x(BOOL legacy, char* letter);

// NT: opens "\\.\X:" of the current letter and locks it; the handle is stored also when the lock
// fails (commands still go through it), INVALID_HANDLE_VALUE when the open failed.
// Legacy: LockDriveWin9x.
BOOL OpenAndLockVolume(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle);
BOOL LockDriveWin9x(HANDLE* vwin32Handle, char driveLetter);
BOOL LockVolumeWin9x(HANDLE vwin32Handle, BYTE driveNumber, BYTE lockLevel, WORD permissions);
BOOL UnlockVolumeWin9x(HANDLE vwin32Handle, BYTE driveNumber);

// NT: dismount and close; legacy: unlock and close. The closed handle is set to
// INVALID_HANDLE_VALUE, so a second call never reaches a stale handle.
BOOL DismountAndCloseVolume(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle);

// Closes the handle that OpenAndLockVolume left without dismounting or unlocking: for a use that
// only read and whose lock failed (another program has the volume open and keeps its handles).
BOOL CloseVolumeWithoutDismount(BOOL legacy, HANDLE* volumeHandle, HANDLE* vwin32Handle);

BOOL ExecuteVendorCdbIn(ScsiCommandRequest request);
BOOL ExecuteVendorCdbOut(ScsiCommandRequest request);

// Legacy only: frees the module and clears it; FALSE when the flag is clear.
BOOL FreeAspiLibrary(BOOL legacy, HMODULE* aspiModule);

// Closes every Explorer window, then pauses 500 ms.
void CloseExplorerWindows(timing::Pause& pause);

// 0 when the first `count` bytes are equal, 1 at the first difference.
int CompareBytes(const void* first, const void* second, std::size_t count);

// Told when wnaspi32.dll lacks an entry point (the program shows its failure box); no call ever
// goes through a missing entry.
using AspiEntryMissingNotice = void (*)(const char* entryName);
void SetAspiEntryMissingNotice(AspiEntryMissingNotice notice);
