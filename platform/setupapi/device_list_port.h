// platform/setupapi/device_list_port.h
// The narrow port through which the dispatcher lists the present devices and reads their
// hardware ids: the SetupAPI calls it makes and nothing else. Each program flavour links one
// definition of GetDeviceListPort(): the production programs the Win32 one
// (device_list_port_production), the simulation flavour a simulated list, tests a scripted fake.
// Failures set the thread's last error, as the platform does.
#pragma once

#include <windows.h>
#include <setupapi.h>

class DeviceListPort {
public:
    virtual HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator, HWND parent,
                                          DWORD flags) = 0;
    virtual BOOL SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device) = 0;
    virtual BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device,
                                                   DWORD property, DWORD* type, BYTE* buffer,
                                                   DWORD size, DWORD* required) = 0;
    virtual BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) = 0;

protected:
    ~DeviceListPort() = default;
};

DeviceListPort& GetDeviceListPort();

// Forwards every call to SetupAPI.
class Win32DeviceListPort : public DeviceListPort {
public:
    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator, HWND parent,
                                  DWORD flags) override;
    BOOL SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device) override;
    BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device, DWORD property,
                                           DWORD* type, BYTE* buffer, DWORD size,
                                           DWORD* required) override;
    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override;

protected:
    ~Win32DeviceListPort() = default;
};
