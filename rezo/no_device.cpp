// rezo/no_device.cpp
// The REZO.dll that ships: the vendor's library drives controllers whose protocol we do not
// have, so this one presents no device. Every presence test answers no, so Brimlet reports that
// no device is there and Quillet's first probe moves on; the other calls leave their outputs
// alone and report nothing done.
#include "rezo/rezo_api.h"

extern "C" {

RezoDeviceHandle WINAPI REZO_CreateCUSBDevice(void) { return 1; }
void WINAPI REZO_DestroyCUSBDevice(RezoDeviceHandle) {}
int WINAPI REZO_DeviceExist(RezoDeviceHandle) { return 0; }
BYTE WINAPI REZO_GetDeviceKind(RezoDeviceHandle, short*, short*) { return 0; }
int WINAPI REZO_GetNumberOfDrive(RezoDeviceHandle) { return 0; }
void WINAPI REZO_GetChipID(RezoDeviceHandle, short*, short*) {}
void WINAPI REZO_SetCurrentDriveNumber(RezoDeviceHandle, int) {}
void WINAPI REZO_GetDeviceString(RezoDeviceHandle, char*) {}
void WINAPI REZO_GetFwVersion(RezoDeviceHandle, char*) {}
void WINAPI REZO_GetUpdateFWFile(RezoDeviceHandle, char*, BYTE) {}
int WINAPI REZO_RunRepairDevice(RezoDeviceHandle, BYTE) { return 0; }
unsigned WINAPI REZO_GetCurrentProgress(RezoDeviceHandle) { return 0; }
BYTE WINAPI REZO_GetCurrentState(RezoDeviceHandle) { return 0; }
void WINAPI REZO_GetBADBlockInfomation(RezoDeviceHandle, DWORD*, DWORD*, WORD*) {}
DWORD WINAPI REZO_GetErrorCode(RezoDeviceHandle) { return 0; }

}  // extern "C"
