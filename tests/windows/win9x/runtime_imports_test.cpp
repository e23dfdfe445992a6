// The three wide-character functions the compiler's runtime imports, as a program that links
// platform/win9x/ansi_runtime_imports.cpp calls them: through the ANSI functions, so a name
// with no ANSI form is refused where the wide function would take it.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

namespace {

// No ANSI code page has it.
const wchar_t kNoAnsiForm[] = L"runtime_imports_\U0001F600";

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

    // kernel32's own CreateSemaphoreW would make this one.
    ::SetLastError(0);
    EXPECT_EQ(::CreateSemaphoreW(nullptr, 1, 1, kNoAnsiForm), nullptr);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
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

TEST(RuntimeImports, NamesWithoutAnAnsiFormOrTooLongAreRefused)
{
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
