// brimlet/library_loader.h
// CLibraryLoader: Brimlet's binding of the device library. The library is loaded on the first
// call (a failed load is remembered and never retried); each function is looked up once, on its
// first use, and a call to a function that is missing is skipped and yields 0.
#pragma once

#include <windows.h>

#include "platform/dialogs/dialogs.h"
#include "rezo/rezo_api.h"

class CLibraryLoader
{
public:
    explicit CLibraryLoader(LPCSTR libraryName);
    ~CLibraryLoader();
    CLibraryLoader(const CLibraryLoader&) = delete;
    CLibraryLoader& operator=(const CLibraryLoader&) = delete;

    // One cache slot per function: 0 not looked up, 1 missing, 2 found.
    enum SlotState : int { kNotLookedUp = 0, kMissing = 1, kFound = 2 };
    struct Slot {
        FARPROC pointer = nullptr;
        int state = kNotLookedUp;
    };

    // The thirteen functions Brimlet binds. `bound` (when given) says whether the call was made.
    RezoDeviceHandle REZO_CreateCUSBDevice(BOOL* bound = nullptr);
    int REZO_DeviceExist(RezoDeviceHandle device, BOOL* bound = nullptr);
    int REZO_GetNumberOfDrive(RezoDeviceHandle device);
    void REZO_GetChipID(RezoDeviceHandle device, short* chipId, short* chipVersion);
    void REZO_SetCurrentDriveNumber(RezoDeviceHandle device, int drive);
    void REZO_GetDeviceString(RezoDeviceHandle device, char* text);
    void REZO_GetFwVersion(RezoDeviceHandle device, char* version);
    BOOL REZO_GetUpdateFWFile(RezoDeviceHandle device, char* path, BYTE family);
    int REZO_RunRepairDevice(RezoDeviceHandle device, BYTE mode);
    unsigned REZO_GetCurrentProgress(RezoDeviceHandle device);
    BYTE REZO_GetCurrentState(RezoDeviceHandle device);
    void REZO_GetBADBlockInfomation(RezoDeviceHandle device, DWORD* bad, DWORD* total, WORD* unit);
    DWORD REZO_GetErrorCode(RezoDeviceHandle device);

    // Looks the function up when its slot has not been, and answers its pointer or NULL.
    FARPROC Resolve(Slot& slot, LPCSTR functionName);
    BOOL IsLoaded() const { return m_module != nullptr; }
    const CString& GetLibraryName() const { return m_libraryName; }
    void FreeLibrary();

private:
    CString m_libraryName;
    HMODULE m_module = nullptr;
    BOOL m_loadFailed = FALSE;
    // The worker looks up the repair call while the dialog thread may look up others.
    CCriticalSection m_lookupLock;

    Slot m_createDevice;
    Slot m_deviceExist;
    Slot m_numberOfDrive;
    Slot m_chipId;
    Slot m_setDriveNumber;
    Slot m_deviceString;
    Slot m_fwVersion;
    Slot m_updateFwFile;
    Slot m_runRepair;
    Slot m_currentProgress;
    Slot m_currentState;
    Slot m_badBlockInformation;
    Slot m_errorCode;
};
