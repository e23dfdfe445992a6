// brimlet/library_loader.cpp
#include "brimlet/library_loader.h"

namespace {

// The pointer of a found function as its own type.
template <typename Function>
Function As(FARPROC pointer)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(pointer));
}

}  // namespace

CLibraryLoader::CLibraryLoader(LPCSTR libraryName) : m_libraryName(libraryName) {}

CLibraryLoader::~CLibraryLoader()
{
    FreeLibrary();
}

FARPROC CLibraryLoader::Resolve(Slot& slot, LPCSTR functionName)
{
    CSingleLock lock(&m_lookupLock, TRUE);
    if (slot.state == kNotLookedUp) {
        if (!m_module && !m_loadFailed) {
            m_module = ::LoadLibraryA(m_libraryName);
            m_loadFailed = m_module == nullptr;
        }
        slot.pointer = m_module ? ::GetProcAddress(m_module, functionName) : nullptr;
        slot.state = slot.pointer ? kFound : kMissing;
    }
    return slot.state == kFound ? slot.pointer : nullptr;
}

void CLibraryLoader::FreeLibrary()
{
    CSingleLock lock(&m_lookupLock, TRUE);
    if (m_module) {
        ::FreeLibrary(m_module);
        m_module = nullptr;
    }
    // A released library is neither called nor loaded again.
    for (Slot* slot : {&m_createDevice, &m_deviceExist, &m_numberOfDrive, &m_chipId, &m_setDriveNumber,
                       &m_deviceString, &m_fwVersion, &m_updateFwFile, &m_runRepair, &m_currentProgress,
                       &m_currentState, &m_badBlockInformation, &m_errorCode}) {
        slot->pointer = nullptr;
        slot->state = kMissing;
    }
}

RezoDeviceHandle CLibraryLoader::REZO_CreateCUSBDevice(BOOL* bound)
{
    auto function = As<decltype(&::REZO_CreateCUSBDevice)>(Resolve(m_createDevice, "REZO_CreateCUSBDevice"));
    if (bound)
        *bound = function != nullptr;
    return function ? function() : 0;
}

int CLibraryLoader::REZO_DeviceExist(RezoDeviceHandle device, BOOL* bound)
{
    auto function = As<decltype(&::REZO_DeviceExist)>(Resolve(m_deviceExist, "REZO_DeviceExist"));
    if (bound)
        *bound = function != nullptr;
    return function ? function(device) : 0;
}

int CLibraryLoader::REZO_GetNumberOfDrive(RezoDeviceHandle device)
{
    auto function = As<decltype(&::REZO_GetNumberOfDrive)>(Resolve(m_numberOfDrive, "REZO_GetNumberOfDrive"));
    return function ? function(device) : 0;
}

void CLibraryLoader::REZO_GetChipID(RezoDeviceHandle device, short* chipId, short* chipVersion)
{
    if (auto function = As<decltype(&::REZO_GetChipID)>(Resolve(m_chipId, "REZO_GetChipID")))
        function(device, chipId, chipVersion);
}

void CLibraryLoader::REZO_SetCurrentDriveNumber(RezoDeviceHandle device, int drive)
{
    if (auto function = As<decltype(&::REZO_SetCurrentDriveNumber)>(Resolve(m_setDriveNumber, "REZO_SetCurrentDriveNumber")))
        function(device, drive);
}

void CLibraryLoader::REZO_GetDeviceString(RezoDeviceHandle device, char* text)
{
    if (auto function = As<decltype(&::REZO_GetDeviceString)>(Resolve(m_deviceString, "REZO_GetDeviceString")))
        function(device, text);
}

void CLibraryLoader::REZO_GetFwVersion(RezoDeviceHandle device, char* version)
{
    if (auto function = As<decltype(&::REZO_GetFwVersion)>(Resolve(m_fwVersion, "REZO_GetFwVersion")))
        function(device, version);
}

BOOL CLibraryLoader::REZO_GetUpdateFWFile(RezoDeviceHandle device, char* path, BYTE family)
{
    auto function = As<decltype(&::REZO_GetUpdateFWFile)>(Resolve(m_updateFwFile, "REZO_GetUpdateFWFile"));
    if (!function)
        return FALSE;
    function(device, path, family);
    return TRUE;
}

int CLibraryLoader::REZO_RunRepairDevice(RezoDeviceHandle device, BYTE mode)
{
    auto function = As<decltype(&::REZO_RunRepairDevice)>(Resolve(m_runRepair, "REZO_RunRepairDevice"));
    return function ? function(device, mode) : 0;
}

unsigned CLibraryLoader::REZO_GetCurrentProgress(RezoDeviceHandle device)
{
    auto function = As<decltype(&::REZO_GetCurrentProgress)>(Resolve(m_currentProgress, "REZO_GetCurrentProgress"));
    return function ? function(device) : 0;
}

BYTE CLibraryLoader::REZO_GetCurrentState(RezoDeviceHandle device)
{
    auto function = As<decltype(&::REZO_GetCurrentState)>(Resolve(m_currentState, "REZO_GetCurrentState"));
    return function ? function(device) : 0;
}

void CLibraryLoader::REZO_GetBADBlockInfomation(RezoDeviceHandle device, DWORD* bad, DWORD* total, WORD* unit)
{
    if (auto function = As<decltype(&::REZO_GetBADBlockInfomation)>(Resolve(m_badBlockInformation, "REZO_GetBADBlockInfomation")))
        function(device, bad, total, unit);
}

DWORD CLibraryLoader::REZO_GetErrorCode(RezoDeviceHandle device)
{
    auto function = As<decltype(&::REZO_GetErrorCode)>(Resolve(m_errorCode, "REZO_GetErrorCode"));
    return function ? function(device) : 0;
}
