// platform/win9x/ansi_runtime_imports.cpp
// The compiler's runtime calls three wide-character functions of kernel32: libgcc makes the
// semaphores of its locks (unwinder, emulated thread-local storage) with CreateSemaphoreW, and
// mingw's C runtime finds msvcrt.dll and advapi32.dll with GetModuleHandleW and LoadLibraryW.
// Windows 95, 98 and Me have these only as stubs that fail, so a program that carries the 9x road
// defines their import slots here: the linker then takes these instead of kernel32's, the program
// imports none of the three. On the 9x family the calls go to the ANSI functions; on the NT line
// to kernel32's own wide functions, found at run time: there a name need not have an ANSI form,
// and the ANSI code page may be UTF-8, where the conversion below fails.
// Link this object into the program itself (an object library), never through a static library:
// the runtime's references come after every library of ours on the link line.
#include <windows.h>

namespace {

// kernel32's own function of that name on the NT line; null on the 9x family, where it is a stub.
// Looked up at each call: a cache would need a guarded static, whose lock the runtime makes with
// CreateSemaphoreW itself.
template <typename Function>
Function WideFunction(const char* name)
{
    if (::GetVersion() & 0x80000000u)
        return nullptr;
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    return kernel ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(kernel, name))) : nullptr;
}

// The name in the system's ANSI code page, in `buffer`; null with ERROR_NO_UNICODE_TRANSLATION
// when a character has no ANSI form (another module or object must not be opened in its place)
// or with ERROR_FILENAME_EXCED_RANGE when it does not fit.
const char* AnsiName(LPCWSTR name, char (&buffer)[MAX_PATH])
{
    BOOL defaulted = FALSE;
    const int length = ::WideCharToMultiByte(CP_ACP, 0, name, -1, buffer, sizeof buffer, nullptr, &defaulted);
    if (length == 0) {
        ::SetLastError(::GetLastError() == ERROR_INSUFFICIENT_BUFFER ? ERROR_FILENAME_EXCED_RANGE
                                                                     : ERROR_NO_UNICODE_TRANSLATION);
        return nullptr;
    }
    if (defaulted) {
        ::SetLastError(ERROR_NO_UNICODE_TRANSLATION);
        return nullptr;
    }
    return buffer;
}

HANDLE WINAPI CreateSemaphoreThroughAnsi(LPSECURITY_ATTRIBUTES attributes, LONG initialCount, LONG maximumCount,
                                         LPCWSTR name)
{
    using Wide = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, LONG, LONG, LPCWSTR);
    if (Wide wide = WideFunction<Wide>("CreateSemaphoreW"))
        return wide(attributes, initialCount, maximumCount, name);
    if (!name)
        return ::CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
    char buffer[MAX_PATH];
    const char* ansi = AnsiName(name, buffer);
    return ansi ? ::CreateSemaphoreA(attributes, initialCount, maximumCount, ansi) : nullptr;
}

HMODULE WINAPI GetModuleHandleThroughAnsi(LPCWSTR name)
{
    using Wide = HMODULE(WINAPI*)(LPCWSTR);
    if (Wide wide = WideFunction<Wide>("GetModuleHandleW"))
        return wide(name);
    if (!name)
        return ::GetModuleHandleA(nullptr);
    char buffer[MAX_PATH];
    const char* ansi = AnsiName(name, buffer);
    return ansi ? ::GetModuleHandleA(ansi) : nullptr;
}

HMODULE WINAPI LoadLibraryThroughAnsi(LPCWSTR name)
{
    using Wide = HMODULE(WINAPI*)(LPCWSTR);
    if (Wide wide = WideFunction<Wide>("LoadLibraryW"))
        return wide(name);
    if (!name) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    char buffer[MAX_PATH];
    const char* ansi = AnsiName(name, buffer);
    return ansi ? ::LoadLibraryA(ansi) : nullptr;
}

}  // namespace

// The import slots, under the names the runtime's dllimport references use.
extern "C" {
extern void* const CreateSemaphoreWSlot __asm__("__imp__CreateSemaphoreW@16");
extern void* const GetModuleHandleWSlot __asm__("__imp__GetModuleHandleW@4");
extern void* const LoadLibraryWSlot __asm__("__imp__LoadLibraryW@4");
void* const CreateSemaphoreWSlot = reinterpret_cast<void*>(&CreateSemaphoreThroughAnsi);
void* const GetModuleHandleWSlot = reinterpret_cast<void*>(&GetModuleHandleThroughAnsi);
void* const LoadLibraryWSlot = reinterpret_cast<void*>(&LoadLibraryThroughAnsi);
}
