// platform/setupapi/win32_device_list_port.cpp
#include "platform/setupapi/device_list_port.h"

HDEVINFO Win32DeviceListPort::SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator,
                                                   HWND parent, DWORD flags)
{
    return ::SetupDiGetClassDevsA(classGuid, enumerator, parent, flags);
}

BOOL Win32DeviceListPort::SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device)
{
    return ::SetupDiEnumDeviceInfo(list, index, device);
}

BOOL Win32DeviceListPort::SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device,
                                                            DWORD property, DWORD* type, BYTE* buffer,
                                                            DWORD size, DWORD* required)
{
    return ::SetupDiGetDeviceRegistryPropertyA(list, device, property, type, buffer, size, required);
}

BOOL Win32DeviceListPort::SetupDiDestroyDeviceInfoList(HDEVINFO list)
{
    return ::SetupDiDestroyDeviceInfoList(list);
}
