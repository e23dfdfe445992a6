// platform/launch/work_folder.h
// The work folder "ZEM_fix\" under the temporary directory, and the hidden start of the next
// program through the shell, as the launcher and the dispatcher do them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

using TempPathFunction = DWORD(WINAPI*)(DWORD size, LPSTR buffer);

// The folder path (the temporary path followed by "ZEM_fix\"). Raises Exception, before anything
// is written, when Windows gives no temporary path, or when the folder path followed by the
// longest of `fileNames` would not fit in 260 characters.
std::string WorkFolderOrRaise(std::initializer_list<std::string_view> fileNames,
                              TempPathFunction getTempPath = ::GetTempPathA);

// ShellExecuteExA with verb "Open", no directory (the program inherits the caller's current
// directory) and SW_HIDE, without waiting. The result is the shell's.
BOOL StartHidden(HWND owner, const std::string& path, const char* parameters);
