/* Programs that break the rules tools/pe/check-pe.sh enforces, one rule each, to show that it
   refuses them. PROBE_CLEAN breaks none (the versions and the debug section come from the link). */
#ifdef PROBE_POST_XP
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600 /* declares GetTickCount64, which XP lacks */
#endif
#include <windows.h>
#include <string.h>

int main(void)
{
#if defined(PROBE_POST_XP)
    return (int)(GetTickCount64() & 1);
#elif defined(PROBE_NT_ONLY)
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    return TryEnterCriticalSection(&section) ? 0 : 1; /* NT only: Windows 98 lacks it */
#elif defined(PROBE_SECURITY)
    HANDLE token = NULL; /* what Vexmend's rights test imported before it looked them up */
    return OpenProcessToken(GetCurrentProcess(), TOKEN_READ, &token) ? 0 : 1;
#elif defined(PROBE_WIN9X_STUB)
    return CreateSemaphoreW(NULL, 0, 1, NULL) ? 0 : 1; /* a stub that fails on 95, 98 and Me */
#elif defined(PROBE_LEGACY)
    /* What Windows 98 and 2000 added: 95 and NT 4.0 refuse to load a program that imports it. */
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA("C:\\", GetFileExInfoStandard, &data))
        return 1;
    return GetAncestor(GetDesktopWindow(), GA_ROOT) ? 0 : 1;
#elif defined(PROBE_UNGUARDED)
    /* Declared for XP by the headers, though XP lacks them. */
    DWORD value = 0, size = sizeof value;
    SetThreadErrorMode(0, NULL);
    RegGetValueA(HKEY_CURRENT_USER, "Software", "Probe", RRF_RT_REG_DWORD, NULL, &value, &size);
    return (int)GetThreadId(GetCurrentThread()) & 1;
#elif defined(PROBE_SECURE_CRT)
    char text[8];
    strcpy_s(text, sizeof text, "probe"); /* Vista's msvcrt has it, XP's has not */
    return text[0] == 'p' ? 0 : 1;
#elif defined(PROBE_BUILD_PATH)
    static const char path[] = PROBE_BUILD_PATH; /* as __FILE__ would leave it */
    return lstrlenA(path) & 1;
#else
    return 0;
#endif
}
