// platform/setupapi/simulated_device_list.h
// A list of present devices, each known by its first hardware id, answered as SetupAPI answers:
// any class GUID with DIGCF_ALLCLASSES lists them all, the hardware-id property is a REG_MULTI_SZ,
// and a buffer too small fails with ERROR_INSUFFICIENT_BUFFER and the size required. Nothing of
// the real machine is listed. Test and demo support; never in a production program.
#pragma once

#include <string>
#include <vector>

#include "platform/setupapi/device_list_port.h"

class SimulatedDeviceList : public DeviceListPort {
public:
    explicit SimulatedDeviceList(std::vector<std::string> hardwareIds);

    HDEVINFO SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator, HWND parent,
                                  DWORD flags) override;
    BOOL SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device) override;
    BOOL SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device, DWORD property,
                                           DWORD* type, BYTE* buffer, DWORD size,
                                           DWORD* required) override;
    BOOL SetupDiDestroyDeviceInfoList(HDEVINFO list) override;

    int OpenLists() const { return openLists_; }

protected:
    ~SimulatedDeviceList() = default;

private:
    bool Ours(HDEVINFO list) const { return list == static_cast<HDEVINFO>(const_cast<SimulatedDeviceList*>(this)); }

    std::vector<std::string> hardwareIds_;
    int openLists_ = 0;
};
