// vexmend/launcher.cpp
#include "vexmend/launcher.h"

#include <optional>
#include <string>

namespace {

// The process's own token through the looked-up functions; a function this Windows lacks fails
// the call as the system would.
class Win32TokenPort final : public TokenPort {
public:
    explicit Win32TokenPort(const SecurityFunctions& functions) : functions_(functions) {}

    BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) override
    {
        if (!functions_.openProcessToken)
            return NotImplemented();
        return functions_.openProcessToken(process, access, token);
    }
    BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer, DWORD size,
                             DWORD* returned) override
    {
        if (!functions_.getTokenInformation)
            return NotImplemented();
        return functions_.getTokenInformation(token, kind, buffer, size, returned);
    }
    BOOL CloseHandle(HANDLE handle) override { return ::CloseHandle(handle); }

private:
    static BOOL NotImplemented()
    {
        ::SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return FALSE;
    }

    const SecurityFunctions& functions_;
};

template <class Function>
void LookUp(const SecurityFunctionLookup& lookup, const char* name, Function& function)
{
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(lookup(name)));
}

std::optional<launch::VersionAnswer> AnswerOf(const OSVERSIONINFOA& info)
{
    return launch::VersionAnswer{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

// The registry's ProductType ("WinNT", "ServerNT", "LanmanNT"); empty when there is none.
std::string ProductType()
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\ProductOptions", 0,
                        KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return {};
    char text[64] = {};
    DWORD size = sizeof text - 1;
    DWORD type = 0;
    const LONG result = ::RegQueryValueExA(key, "ProductType", nullptr, &type, reinterpret_cast<BYTE*>(text), &size);
    ::RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_SZ)
        return {};
    return std::string(text, strnlen(text, sizeof text));
}

void WriteToStandardOutput(const std::string& line)
{
    HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!output || output == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    ::WriteFile(output, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

void GetWindowsVersionClass(WindowsVersionClass& versionClass)
{
    OSVERSIONINFOA basic;
    ::ZeroMemory(&basic, sizeof basic);
    basic.dwOSVersionInfoSize = sizeof basic;  // 148
    std::optional<launch::VersionAnswer> first;
    if (::GetVersionExA(&basic))
        first = AnswerOf(basic);

    OSVERSIONINFOEXA extended;
    ::ZeroMemory(&extended, sizeof extended);
    extended.dwOSVersionInfoSize = sizeof extended;  // 156
    BOOL answered = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended));
    if (!answered) {
        extended.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
        answered = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&extended));
    }
    std::optional<launch::VersionAnswer> second;
    if (answered)
        second = AnswerOf(*reinterpret_cast<OSVERSIONINFOA*>(&extended));
    versionClass = launch::ClassifyWindowsVersion(versionClass, first, second);

    if (answered) {
        launch::VersionDetails details;
        details.version = *second;
        details.build = extended.dwBuildNumber & 0xFFFF;
        details.servicePack.assign(extended.szCSDVersion, strnlen(extended.szCSDVersion, sizeof extended.szCSDVersion));
        if (second->platform == launch::kPlatformNt)
            details.productType = ProductType();
        WriteToStandardOutput(launch::DescribeWindowsVersion(details));
    }
}

SecurityFunctions LookUpSecurityFunctions(const SecurityFunctionLookup& lookup)
{
    SecurityFunctions functions;
    LookUp(lookup, "OpenProcessToken", functions.openProcessToken);
    LookUp(lookup, "GetTokenInformation", functions.getTokenInformation);
    LookUp(lookup, "AllocateAndInitializeSid", functions.allocateAndInitializeSid);
    LookUp(lookup, "EqualSid", functions.equalSid);
    LookUp(lookup, "FreeSid", functions.freeSid);
    return functions;
}

SecurityFunctions LookUpSecurityFunctions()
{
    HMODULE advapi = ::GetModuleHandleA("ADVAPI32.DLL");
    if (!advapi)
        advapi = ::LoadLibraryA("ADVAPI32.DLL");
    return LookUpSecurityFunctions(
        [advapi](const char* name) { return advapi ? ::GetProcAddress(advapi, name) : nullptr; });
}

bool IsUserAdministrator() { return IsUserAdministrator(LookUpSecurityFunctions()); }

bool IsUserAdministrator(const SecurityFunctions& functions)
{
    Win32TokenPort port(functions);
    return IsUserAdministrator(port, functions);
}

bool IsUserAdministrator(TokenPort& port, const SecurityFunctions& functions)
{
    if (!functions.allocateAndInitializeSid || !functions.equalSid || !functions.freeSid)
        return false;
    HANDLE token = nullptr;
    if (!port.OpenProcessToken(::GetCurrentProcess(), TOKEN_READ, &token))
        return false;
    alignas(TOKEN_GROUPS) BYTE buffer[kTokenGroupsBufferSize];
    DWORD size = 0;
    const BOOL read = port.GetTokenInformation(token, TokenGroups, buffer, sizeof buffer, &size);
    port.CloseHandle(token);
    if (!read)
        return false;

    SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
    PSID administrators = nullptr;
    if (!functions.allocateAndInitializeSid(&ntAuthority, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS,
                                            0, 0, 0, 0, 0, 0, &administrators))
        return false;
    const auto* groups = reinterpret_cast<const TOKEN_GROUPS*>(buffer);
    // No more entries than the buffer holds, whatever the count says.
    const DWORD fit = (sizeof buffer - offsetof(TOKEN_GROUPS, Groups)) / sizeof(SID_AND_ATTRIBUTES);
    const DWORD count = groups->GroupCount < fit ? groups->GroupCount : fit;
    bool found = false;
    for (DWORD i = 0; i < count && !found; ++i)
        found = groups->Groups[i].Sid && functions.equalSid(administrators, groups->Groups[i].Sid);
    functions.freeSid(administrators);
    return found;
}
