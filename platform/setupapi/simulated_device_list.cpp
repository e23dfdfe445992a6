// platform/setupapi/simulated_device_list.cpp
#include "platform/setupapi/simulated_device_list.h"

#include <cstring>

SimulatedDeviceList::SimulatedDeviceList(std::vector<std::string> hardwareIds)
    : hardwareIds_(std::move(hardwareIds))
{
}

HDEVINFO SimulatedDeviceList::SetupDiGetClassDevsA(const GUID*, PCSTR, HWND, DWORD flags)
{
    if (!(flags & DIGCF_ALLCLASSES)) {
        // Only the walk over every class is simulated.
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    ++openLists_;
    return static_cast<HDEVINFO>(this);
}

BOOL SimulatedDeviceList::SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device)
{
    if (!Ours(list) || !device || device->cbSize != sizeof(SP_DEVINFO_DATA)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (index >= hardwareIds_.size()) {
        ::SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    device->DevInst = index + 1;
    device->Reserved = 0;
    return TRUE;
}

BOOL SimulatedDeviceList::SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device,
                                                            DWORD property, DWORD* type, BYTE* buffer,
                                                            DWORD size, DWORD* required)
{
    if (!Ours(list) || !device || device->DevInst == 0 || device->DevInst > hardwareIds_.size()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (property != SPDRP_HARDWAREID) {
        ::SetLastError(ERROR_INVALID_DATA);
        return FALSE;
    }
    const std::string& id = hardwareIds_[device->DevInst - 1];
    const DWORD needed = static_cast<DWORD>(id.size() + 2);  // the id, its zero, the list's zero
    if (required)
        *required = needed;
    if (type)
        *type = REG_MULTI_SZ;
    if (!buffer || size < needed) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::memcpy(buffer, id.c_str(), id.size() + 1);
    buffer[id.size() + 1] = 0;
    return TRUE;
}

BOOL SimulatedDeviceList::SetupDiDestroyDeviceInfoList(HDEVINFO list)
{
    if (!Ours(list)) {
        ::SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --openLists_;
    return TRUE;
}
