// platform/win9x/vwin32.h
// The VWIN32 device of Windows 9x: DeviceIoControl on "\\.\vwin32" runs a DOS interrupt with the
// registers of a DIOC_REGISTERS record, as Windows 9x publishes them.
#pragma once

#include <windows.h>

#include <cstddef>

namespace vwin32 {

constexpr DWORD VWIN32_DIOC_DOS_IOCTL = 1;  // int 21h, function 44h (IOCTL)
constexpr DWORD VWIN32_DIOC_DOS_INT25 = 2;
constexpr DWORD VWIN32_DIOC_DOS_INT26 = 3;
constexpr DWORD VWIN32_DIOC_DOS_INT13 = 4;
constexpr DWORD VWIN32_DIOC_DOS_DRIVEINFO = 6;

constexpr char kDevicePath[] = "\\\\.\\vwin32";
// HKEY_DYN_DATA: the device nodes of the configuration manager.
constexpr char kEnumPath[] = "Config Manager\\Enum";

constexpr DWORD kCarryFlag = 0x0001;

// int 21h AX=440Dh: generic IOCTL for block devices; CH = category, CL = minor code.
constexpr DWORD kGenericIoctlBlockDevice = 0x440D;
constexpr BYTE kCategoryFat32 = 0x48;  // the FAT32-aware category of Windows 95 OSR2 and later
constexpr BYTE kCategoryDisk = 0x08;
constexpr BYTE kLockLogicalVolume = 0x4A;
constexpr BYTE kUnlockLogicalVolume = 0x6A;

#pragma pack(push, 1)
struct DIOC_REGISTERS {
    DWORD reg_EBX;
    DWORD reg_EDX;
    DWORD reg_ECX;
    DWORD reg_EAX;
    DWORD reg_EDI;
    DWORD reg_ESI;
    DWORD reg_Flags;
};
#pragma pack(pop)

static_assert(sizeof(DIOC_REGISTERS) == 28);
static_assert(offsetof(DIOC_REGISTERS, reg_EBX) == 0);
static_assert(offsetof(DIOC_REGISTERS, reg_EDX) == 4);
static_assert(offsetof(DIOC_REGISTERS, reg_ECX) == 8);
static_assert(offsetof(DIOC_REGISTERS, reg_EAX) == 12);
static_assert(offsetof(DIOC_REGISTERS, reg_Flags) == 24);

}  // namespace vwin32
