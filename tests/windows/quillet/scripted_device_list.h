// tests/windows/quillet/scripted_device_list.h
// A device list whose devices are a script: each with the answers its hardware-id property
// gives. Every call is recorded with its arguments.
#pragma once

#include <windows.h>
#include <setupapi.h>

#include <string>
#include <vector>

#include "platform/setupapi/device_list_port.h"

class ScriptedDeviceList final : public DeviceListPort {
public:
    struct Device {
        std::string hardwareIds;     // the REG_MULTI_SZ bytes, zeros included
        DWORD failure = 0;           // an error other than a short buffer, or 0
        bool growsEachTime = false;  // every answer asks for a larger buffer (a device that lies)
    };

    struct PropertyCall {
        DWORD index;     // the device (by its DevInst - 1)
        DWORD property;
        DWORD size;
        bool buffer;     // a buffer was given
        bool zeroed;     // every byte of it was zero
    };

    // The script.
    bool listOpens = true;
    std::vector<Device> devices;

    // What happened.
    std::vector<const GUID*> guids;
    GUID guid{};
    std::vector<DWORD> flags;
    std::vector<const char*> enumerators;
    std::vector<DWORD> enumerated;
    std::vector<DWORD> enumCbSizes;
    std::vector<PropertyCall> propertyCalls;
    int destroyed = 0;

    static ScriptedDeviceList& Current();
    static void Reset();

    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator, HWND parent,
                                  DWORD flags) override;
    BOOL SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device) override;
    BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device, DWORD property,
                                           DWORD* type, BYTE* buffer, DWORD size,
                                           DWORD* required) override;
    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override;
};

// "USB\VID_090C&PID_1000" -> the id, its zero and the list's zero.
std::string MultiSz(std::initializer_list<const char*> ids);
