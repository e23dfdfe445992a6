/* A program that breaks the rules tools/pe/check-pe.sh enforces, to show that it refuses it
   (PROBE_CLEAN breaks none). */
#ifdef PROBE_POST_XP
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0600 /* declares GetTickCount64, which XP lacks */
#endif
#include <windows.h>

int main(void)
{
#if defined(PROBE_POST_XP)
    return (int)(GetTickCount64() & 1);
#elif defined(PROBE_CLEAN)
    return 0; /* breaks no rule */
#else
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    return TryEnterCriticalSection(&section) ? 0 : 1; /* NT only: Windows 98 lacks it */
#endif
}
