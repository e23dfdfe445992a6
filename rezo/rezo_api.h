// rezo/rezo_api.h
// The interface of the device library REZO.dll, which drives USBest controllers. Every function
// is stdcall with an undecorated export name. Brimlet binds them by name at run time; Quillet
// imports four by ordinal (rezo.def gives the ordinals of library version 3.0.5.7).
#pragma once

#include <windows.h>

// The device object of REZO_CreateCUSBDevice; opaque, 32 bits, passed first to every other call.
typedef DWORD RezoDeviceHandle;

// Sizes of the callers' buffers the library fills.
enum : int {
    kRezoDeviceStringSize = 256,
    kRezoFwVersionSize = 32,
    kRezoFwFilePathSize = 512,
};

// REZO_GetCurrentState when the repair has ended.
enum : BYTE { kRezoStateFinished = 0xFF };

extern "C" {
RezoDeviceHandle WINAPI REZO_CreateCUSBDevice(void);
void WINAPI REZO_DestroyCUSBDevice(RezoDeviceHandle device);
// Nonzero when a device is present.
int WINAPI REZO_DeviceExist(RezoDeviceHandle device);
// Nonzero for a supported device; the two outputs are the library's own.
BYTE WINAPI REZO_GetDeviceKind(RezoDeviceHandle device, short* kind, short* subKind);
int WINAPI REZO_GetNumberOfDrive(RezoDeviceHandle device);
void WINAPI REZO_GetChipID(RezoDeviceHandle device, short* chipId, short* chipVersion);
void WINAPI REZO_SetCurrentDriveNumber(RezoDeviceHandle device, int drive);
// Zero-terminated description into kRezoDeviceStringSize bytes.
void WINAPI REZO_GetDeviceString(RezoDeviceHandle device, char* text);
// Six characters into kRezoFwVersionSize bytes; "FFFFFF" when the drive has no firmware.
void WINAPI REZO_GetFwVersion(RezoDeviceHandle device, char* version);
// Zero-terminated path of the image to flash for the family, into kRezoFwFilePathSize bytes.
void WINAPI REZO_GetUpdateFWFile(RezoDeviceHandle device, char* path, BYTE family);
// Blocks until the repair ends. mode: bits 0-1 family, bit 6 complete repair, bit 7 update.
int WINAPI REZO_RunRepairDevice(RezoDeviceHandle device, BYTE mode);
// The two calls another thread may make while REZO_RunRepairDevice runs.
unsigned WINAPI REZO_GetCurrentProgress(RezoDeviceHandle device);
BYTE WINAPI REZO_GetCurrentState(RezoDeviceHandle device);
void WINAPI REZO_GetBADBlockInfomation(RezoDeviceHandle device, DWORD* bad, DWORD* total, WORD* unit);
// Bits outside 0x13 mean the repair failed.
DWORD WINAPI REZO_GetErrorCode(RezoDeviceHandle device);
}
