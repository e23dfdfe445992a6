// tests/windows/quillet/scripted_device_list.cpp
#include "scripted_device_list.h"

#include <memory>

namespace {
std::unique_ptr<ScriptedDeviceList> g_list;
const HDEVINFO kList = reinterpret_cast<HDEVINFO>(0x4D00);
}  // namespace

DeviceListPort& GetDeviceListPort() { return ScriptedDeviceList::Current(); }

ScriptedDeviceList& ScriptedDeviceList::Current()
{
    if (!g_list)
        g_list = std::make_unique<ScriptedDeviceList>();
    return *g_list;
}

void ScriptedDeviceList::Reset() { g_list = std::make_unique<ScriptedDeviceList>(); }

HDEVINFO ScriptedDeviceList::SetupDiGetClassDevsA(const GUID* classGuid, PCSTR enumerator, HWND,
                                                  DWORD flagsGiven)
{
    guids.push_back(classGuid);
    if (classGuid)
        guid = *classGuid;
    enumerators.push_back(enumerator);
    flags.push_back(flagsGiven);
    if (!listOpens) {
        ::SetLastError(ERROR_INVALID_DATA);
        return INVALID_HANDLE_VALUE;
    }
    return kList;
}

BOOL ScriptedDeviceList::SetupDiEnumDeviceInfo(HDEVINFO list, DWORD index, SP_DEVINFO_DATA* device)
{
    enumerated.push_back(index);
    enumCbSizes.push_back(device ? device->cbSize : 0);
    if (list != kList || index >= devices.size()) {
        ::SetLastError(ERROR_NO_MORE_ITEMS);
        return FALSE;
    }
    device->DevInst = index + 1;
    return TRUE;
}

BOOL ScriptedDeviceList::SetupDiGetDeviceRegistryPropertyA(HDEVINFO list, SP_DEVINFO_DATA* device,
                                                           DWORD property, DWORD* type, BYTE* buffer,
                                                           DWORD size, DWORD* required)
{
    const DWORD index = device ? device->DevInst - 1 : 0;
    bool zeroed = true;
    for (DWORD i = 0; buffer && i < size; ++i)
        zeroed = zeroed && buffer[i] == 0;
    propertyCalls.push_back({index, property, size, buffer != nullptr, zeroed});
    if (list != kList || index >= devices.size()) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Device& scripted = devices[index];
    if (scripted.failure) {
        ::SetLastError(scripted.failure);
        return FALSE;
    }
    DWORD needed = static_cast<DWORD>(scripted.hardwareIds.size());
    if (scripted.growsEachTime)
        needed = size + 16;
    if (required)
        *required = needed;
    if (type)
        *type = REG_MULTI_SZ;
    if (!buffer || size < needed) {
        ::SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::copy(scripted.hardwareIds.begin(), scripted.hardwareIds.end(), buffer);
    return TRUE;
}

BOOL ScriptedDeviceList::SetupDiDestroyDeviceInfoList(HDEVINFO list)
{
    ++destroyed;
    return list == kList;
}

std::string MultiSz(std::initializer_list<const char*> ids)
{
    std::string text;
    for (const char* id : ids) {
        text += id;
        text += '\0';
    }
    text += '\0';
    return text;
}
