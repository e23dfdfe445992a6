// vexmend/launcher.h
// The launcher's two admission tests: which Windows runs, and whether the process token lists
// the Administrators group.
#pragma once

#include <windows.h>

#include "core/launch/windows_version.h"

using launch::WindowsVersionClass;

// Classifies the running Windows into `versionClass` (the caller starts it at NotDetermined) and
// writes a line describing it to standard output.
void GetWindowsVersionClass(WindowsVersionClass& versionClass);

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
// (a deny-only entry counts). Any failure, a group list over 1,024 bytes included, gives false.
bool IsUserAdministrator();
bool IsUserAdministrator(TokenPort& port);
