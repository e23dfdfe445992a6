// vexmend/launcher.h
// The launcher's two admission tests: which Windows runs, and whether the process token lists
// the Administrators group.
#pragma once

#include <windows.h>

#include <functional>

#include "core/launch/windows_version.h"

using launch::WindowsVersionClass;

// Classifies the running Windows into `versionClass` (the caller starts it at NotDetermined) and
// writes a line describing it to standard output.
void GetWindowsVersionClass(WindowsVersionClass& versionClass);

// The NT security functions the rights test calls. Windows 95, 98 and Me lack them, and Vexmend
// must load there to show its version message, so they are looked up when the test runs.
struct SecurityFunctions {
    decltype(&::OpenProcessToken) openProcessToken = nullptr;
    decltype(&::GetTokenInformation) getTokenInformation = nullptr;
    decltype(&::AllocateAndInitializeSid) allocateAndInitializeSid = nullptr;
    decltype(&::EqualSid) equalSid = nullptr;
    decltype(&::FreeSid) freeSid = nullptr;
};

// Finds a function of advapi32 by name; null when this Windows lacks it.
using SecurityFunctionLookup = std::function<FARPROC(const char* name)>;
SecurityFunctions LookUpSecurityFunctions(const SecurityFunctionLookup& lookup);
// In advapi32 as this process has it.
SecurityFunctions LookUpSecurityFunctions();

// The token calls the rights test makes, so tests can hand it group lists.
class TokenPort {
public:
    virtual BOOL OpenProcessToken(HANDLE process, DWORD access, HANDLE* token) = 0;
    virtual BOOL GetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS kind, void* buffer,
                                     DWORD size, DWORD* returned) = 0;
    virtual BOOL CloseHandle(HANDLE handle) = 0;

protected:
    ~TokenPort() = default;
};

// The buffer the token's group list is read into; a longer list fails the test.
constexpr DWORD kTokenGroupsBufferSize = 1024;

// Whether the process token lists S-1-5-32-544 among its groups, whatever the group's attributes
// (a deny-only entry counts). Any failure, a group list over 1,024 bytes or a security function
// this Windows lacks included, gives false.
bool IsUserAdministrator();
// The process token through `functions`.
bool IsUserAdministrator(const SecurityFunctions& functions);
// The token `port` gives; the SID functions of `functions`.
bool IsUserAdministrator(TokenPort& port, const SecurityFunctions& functions = LookUpSecurityFunctions());
