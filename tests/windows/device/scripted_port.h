// tests/windows/device/scripted_port.h
// A device port whose devices are a script: volumes with INQUIRY answers and lock results, an
// ASPI library with adapters, the VWIN32 answers and a Windows 9x registry. It records every call
// the device layer makes, so tests check the records exactly as the platform would receive them.
#pragma once

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/scsi/device_port.h"
#include "platform/scsi/fake_win9x_registry.h"
#include "platform/win9x/aspi.h"
#include "platform/win9x/vwin32.h"

class ScriptedPort final : public DevicePort {
public:
    using Inquiry = std::array<BYTE, 36>;  // INQUIRY data bytes 0 to 35

    struct Volume {
        Inquiry inquiry{};
        BOOL inquiryResult = TRUE;
        BOOL lockResult = TRUE;
        // Answers a direct pass-through; default: success, data untouched.
        std::function<BOOL(const SCSI_PASS_THROUGH_DIRECT&)> onDirect;
        // What the drive says of a direct command the call delivered: its SCSI status, and the
        // sense data put into the record's sense area (as much as the record asks for).
        UCHAR directStatus = 0;
        std::vector<BYTE> directSense;
    };

    struct OpenCall {
        std::string name;
        DWORD access, share, disposition, flags;
        HANDLE result;
    };
    struct IoctlCall {
        HANDLE handle;
        DWORD code;
        std::vector<BYTE> input;  // copy of the input buffer as it was sent
        void* inPointer;
        DWORD inSize;
        void* outPointer;
        DWORD outSize;
    };
    struct AspiCall {
        void* block;                  // the pointer SendASPI32Command received
        std::vector<BYTE> contents;   // its bytes at the call (80 for a command, 12 for an abort)
    };
    struct WaitCall {
        HANDLE handle;
        DWORD milliseconds;
    };

    static inline const HMODULE kAspiModule = reinterpret_cast<HMODULE>(0x5A000000);

    // The script.
    std::map<char, Volume> volumes;
    bool vwin32Opens = true;
    std::deque<std::pair<BOOL, bool>> vwin32Answers;  // (call result, carry set); default TRUE, clear
    bool aspiLoads = true;
    std::set<std::string> aspiEntries{"GetASPI32SupportInfo", "SendASPI32Command"};
    BYTE aspiAdapters = 1;
    std::map<BYTE, Inquiry> aspiDevices;  // adapter -> INQUIRY of its target 0
    bool aspiCompletesAtOnce = true;      // else the request stays pending until aborted
    BYTE aspiCommandStatus = aspi::SS_COMP;  // how commands other than INQUIRY complete at once
    bool aspiAsyncCompletion = false;     // pending, completed by the wait
    int abortTakesWaits = 0;              // an abort lets go of the request only after this many waits
    bool eventsCreate = true;
    FakeWin9xRegistry registry;

    // What happened.
    std::vector<OpenCall> opens;
    std::vector<IoctlCall> ioctls;
    std::vector<HANDLE> flushes;
    std::vector<HANDLE> closes;
    std::vector<HANDLE> staleCloses;  // closes of handles not open
    std::vector<AspiCall> aspiCalls;
    std::vector<WaitCall> waits;
    std::vector<HMODULE> freedLibraries;
    std::vector<std::string> events;  // "create h", "reset h", "close h", "send", "abort"

    ScriptedPort();
    static ScriptedPort& Current();
    static void Reset();

    std::vector<IoctlCall> IoctlsWithCode(DWORD code) const;

    HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                       DWORD flags) override;
    BOOL DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                         DWORD outSize, DWORD* returned) override;
    BOOL FlushFileBuffers(HANDLE file) override;
    BOOL CloseHandle(HANDLE handle) override;
    HMODULE LoadLibraryA(LPCSTR name) override;
    FARPROC GetProcAddress(HMODULE module, LPCSTR name) override;
    BOOL FreeLibrary(HMODULE module) override;
    HANDLE CreateEventA(BOOL manualReset, BOOL initialState) override;
    BOOL ResetEvent(HANDLE event) override;
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override;
    LONG RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM access, HKEY* key) override;
    LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount) override;
    LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength) override;
    LONG RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                          DWORD* dataLength) override;
    LONG RegCloseKey(HKEY key) override;

    DWORD SendAspi(void* srb);

private:
    HANDLE NewHandle();
    std::map<HANDLE, char> openVolumes_;
    std::set<HANDLE> openOthers_;
    HANDLE vwin32Handle_ = nullptr;
    aspi::SRB_ExecSCSICmd* pending_ = nullptr;
    bool aborting_ = false;
    UINT_PTR nextHandle_ = 0x10000;
};

// INQUIRY data with `at5` at bytes 5.. and `at8` at bytes 8.. (either may be empty).
ScriptedPort::Inquiry MakeInquiry(const char* at5, const char* at8 = "");

std::string Hex(const BYTE* bytes, std::size_t count);
