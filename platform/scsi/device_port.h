// platform/scsi/device_port.h
// The narrow port through which the device layers reach the platform: the Win32 calls they make
// for devices and nothing else. Each program flavour links exactly one definition of
// GetDevicePort(): the production programs the Win32 one (library scsi_port_production), the
// simulation flavour the simulated one (scsi_port_simulation), test programs a scripted fake.
#pragma once

#include <windows.h>

class DevicePort {
public:
    // Volumes ("\\.\X:") and "\\.\vwin32".
    virtual HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                               DWORD flags) = 0;
    virtual BOOL DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                                 DWORD outSize, DWORD* returned) = 0;
    virtual BOOL FlushFileBuffers(HANDLE file) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;

    // wnaspi32.dll and its entry points.
    virtual HMODULE LoadLibraryA(LPCSTR name) = 0;
    virtual FARPROC GetProcAddress(HMODULE module, LPCSTR name) = 0;
    virtual BOOL FreeLibrary(HMODULE module) = 0;

    // The completion events of ASPI requests (closed with CloseHandle).
    virtual HANDLE CreateEventA(BOOL manualReset, BOOL initialState) = 0;
    virtual BOOL ResetEvent(HANDLE event) = 0;
    virtual DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) = 0;

    // The Windows 9x registry walk that finds the drive letter.
    virtual LONG RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM access, HKEY* key) = 0;
    virtual LONG RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount) = 0;
    virtual LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength) = 0;
    virtual LONG RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                  DWORD* dataLength) = 0;
    virtual LONG RegCloseKey(HKEY key) = 0;

protected:
    ~DevicePort() = default;
};

DevicePort& GetDevicePort();

// Forwards every call to Win32.
class Win32DevicePort : public DevicePort {
public:
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

protected:
    ~Win32DevicePort() = default;
};
