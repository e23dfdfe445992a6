// platform/scsi/win32_device_port.cpp
#include "platform/scsi/device_port.h"

HANDLE Win32DevicePort::CreateFileA(LPCSTR name, DWORD access, DWORD share, DWORD disposition,
                                    DWORD flags)
{
    return ::CreateFileA(name, access, share, nullptr, disposition, flags, nullptr);
}

BOOL Win32DevicePort::DeviceIoControl(HANDLE device, DWORD code, void* in, DWORD inSize, void* out,
                                      DWORD outSize, DWORD* returned)
{
    return ::DeviceIoControl(device, code, in, inSize, out, outSize, returned, nullptr);
}

BOOL Win32DevicePort::FlushFileBuffers(HANDLE file) { return ::FlushFileBuffers(file); }
BOOL Win32DevicePort::CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }
HMODULE Win32DevicePort::LoadLibraryA(LPCSTR name) { return ::LoadLibraryA(name); }

FARPROC Win32DevicePort::GetProcAddress(HMODULE module, LPCSTR name)
{
    return ::GetProcAddress(module, name);
}

BOOL Win32DevicePort::FreeLibrary(HMODULE module) { return ::FreeLibrary(module); }

HANDLE Win32DevicePort::CreateEventA(BOOL manualReset, BOOL initialState)
{
    return ::CreateEventA(nullptr, manualReset, initialState, nullptr);
}

BOOL Win32DevicePort::ResetEvent(HANDLE event) { return ::ResetEvent(event); }

DWORD Win32DevicePort::WaitForSingleObject(HANDLE handle, DWORD milliseconds)
{
    return ::WaitForSingleObject(handle, milliseconds);
}

LONG Win32DevicePort::RegOpenKeyExA(HKEY parent, LPCSTR subKey, REGSAM access, HKEY* key)
{
    return ::RegOpenKeyExA(parent, subKey, 0, access, key);
}

LONG Win32DevicePort::RegQueryInfoKeyA(HKEY key, DWORD* subKeyCount)
{
    return ::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, subKeyCount, nullptr, nullptr,
                              nullptr, nullptr, nullptr, nullptr, nullptr);
}

LONG Win32DevicePort::RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, DWORD* nameLength)
{
    return ::RegEnumKeyExA(key, index, name, nameLength, nullptr, nullptr, nullptr, nullptr);
}

LONG Win32DevicePort::RegQueryValueExA(HKEY key, LPCSTR value, DWORD* type, BYTE* data,
                                       DWORD* dataLength)
{
    return ::RegQueryValueExA(key, value, nullptr, type, data, dataLength);
}

LONG Win32DevicePort::RegCloseKey(HKEY key) { return ::RegCloseKey(key); }
