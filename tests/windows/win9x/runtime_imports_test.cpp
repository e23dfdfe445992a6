// The three wide-character functions the compiler's runtime imports, as a program that links
// platform/win9x/ansi_runtime_imports.cpp calls them. On the 9x family (run with the Windows
// version win98) they go through the ANSI functions, so a name with no ANSI form is refused; on
// the NT line they are kernel32's own, which take it.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// No ANSI code page has it.
const wchar_t kNoAnsiForm[] = L"runtime_imports_\U0001F600";

bool NtLine() { return (::GetVersion() & 0x80000000u) == 0; }

TEST(RuntimeImports, UnnamedSemaphoreCountsAsTheRuntimesLocksNeedIt)
{
    HANDLE semaphore = ::CreateSemaphoreW(nullptr, 0, 65535, nullptr);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(::WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(::ReleaseSemaphore(semaphore, 1, nullptr));
    EXPECT_EQ(::WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    ::CloseHandle(semaphore);
}

TEST(RuntimeImports, NamedSemaphoreGoesThroughItsAnsiName)
{
    HANDLE semaphore = ::CreateSemaphoreW(nullptr, 1, 1, L"runtime_imports_test");
    ASSERT_NE(semaphore, nullptr);
    HANDLE same = ::OpenSemaphoreA(SEMAPHORE_ALL_ACCESS, FALSE, "runtime_imports_test");
    EXPECT_NE(same, nullptr);
    ::CloseHandle(same);
    ::CloseHandle(semaphore);

    ::SetLastError(0);
    HANDLE wide = ::CreateSemaphoreW(nullptr, 1, 1, kNoAnsiForm);
    if (NtLine()) {
        ASSERT_NE(wide, nullptr) << "kernel32's own CreateSemaphoreW takes any name";
        HANDLE found = ::OpenSemaphoreW(SEMAPHORE_ALL_ACCESS, FALSE, kNoAnsiForm);
        EXPECT_NE(found, nullptr);
        ::CloseHandle(found);
        ::CloseHandle(wide);
    } else {
        EXPECT_EQ(wide, nullptr);
        EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
}

TEST(RuntimeImports, ModulesAreFoundAndLoadedByTheirAnsiNames)
{
    EXPECT_EQ(::GetModuleHandleW(nullptr), ::GetModuleHandleA(nullptr));
    EXPECT_NE(::GetModuleHandleW(L"msvcrt.dll"), nullptr);
    EXPECT_EQ(::GetModuleHandleW(L"msvcrt.dll"), ::GetModuleHandleA("msvcrt.dll"));
    HMODULE version = ::LoadLibraryW(L"version.dll");
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version, ::GetModuleHandleA("version.dll"));
    ::FreeLibrary(version);
}

TEST(RuntimeImports, OnThe9xFamilyNamesWithoutAnAnsiFormOrTooLongAreRefused)
{
    if (NtLine()) {
        // kernel32's own functions: neither name is a module.
        EXPECT_EQ(::GetModuleHandleW(kNoAnsiForm), nullptr);
        EXPECT_EQ(::LoadLibraryW(kNoAnsiForm), nullptr);
        EXPECT_EQ(::LoadLibraryW(nullptr), nullptr);
        return;
    }
    struct Case {
        const char* what;
        std::wstring name;
        DWORD error;
    } cases[] = {
        {"no ANSI form", kNoAnsiForm, ERROR_NO_UNICODE_TRANSLATION},
        {"longer than a path", std::wstring(MAX_PATH + 10, L'a') + L".dll", ERROR_FILENAME_EXCED_RANGE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ::SetLastError(0);
        EXPECT_EQ(::GetModuleHandleW(c.name.c_str()), nullptr);
        EXPECT_EQ(::GetLastError(), c.error);
        ::SetLastError(0);
        EXPECT_EQ(::LoadLibraryW(c.name.c_str()), nullptr);
        EXPECT_EQ(::GetLastError(), c.error);
    }
    ::SetLastError(0);
    EXPECT_EQ(::LoadLibraryW(nullptr), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace
