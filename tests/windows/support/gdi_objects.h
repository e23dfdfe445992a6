// tests/windows/support/gdi_objects.h
// How many GDI objects a process holds, for the leak tests. Windows answers GetGuiResources; Wine
// answers it with 0, but keeps the process's GDI handles in the table that the process block
// names (GdiSharedHandleTable, 24-byte entries with the object type at offset 14), so there the
// used entries are counted.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <vector>

namespace test_support {

inline DWORD CountGdiObjects(HANDLE process)
{
    if (DWORD count = GetGuiResources(process, GR_GDIOBJECTS))
        return count;
    using QueryProcess = LONG(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0)
        return 0;
    constexpr SIZE_T kGdiTableOffset = 0x94;  // in the 32-bit process block
    BYTE* table = nullptr;
    if (!ReadProcessMemory(process, reinterpret_cast<BYTE*>(basic.PebBaseAddress) + kGdiTableOffset, &table,
                           sizeof table, nullptr) || !table)
        return 0;
    MEMORY_BASIC_INFORMATION region = {};
    if (!VirtualQueryEx(process, table, &region, sizeof region))
        return 0;
    const SIZE_T size = static_cast<BYTE*>(region.BaseAddress) + region.RegionSize - table;
    std::vector<BYTE> entries(size);
    if (!ReadProcessMemory(process, table, entries.data(), size, nullptr))
        return 0;
    constexpr SIZE_T kEntrySize = 24, kTypeOffset = 14;
    DWORD count = 0;
    for (SIZE_T entry = 0; entry + kEntrySize <= size; entry += kEntrySize)
        count += entries[entry + kTypeOffset] != 0;
    return count;
}

inline DWORD CountGdiObjects() { return CountGdiObjects(GetCurrentProcess()); }

}  // namespace test_support
