// platform/launch/work_folder.h
// The work folder "ZEM_fix\" under the temporary directory, and the hidden start of the next
// program through the shell, as the launcher and the dispatcher do them.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "core/timing/pause.h"

using TempPathFunction = DWORD(WINAPI*)(DWORD size, LPSTR buffer);

// The folder path (the temporary path followed by "ZEM_fix\"). Raises Exception, before anything
// is written, when Windows gives no temporary path, or when the folder path followed by the
// longest of `fileNames` would not fit in 260 characters.
std::string WorkFolderOrRaise(std::initializer_list<std::string_view> fileNames,
                              TempPathFunction getTempPath = ::GetTempPathA);

// The shell's start of a program, behind a seam: tests see what the launcher and the dispatcher
// hand the shell without starting anything.
class ShellPort {
public:
    virtual BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) = 0;

protected:
    ~ShellPort() = default;
};

// What the start of the next program asks of the system: the pause before it and the shell.
struct StartSeams {
    timing::Pause& pause;
    ShellPort& shell;
};
// The real pause and the real shell.
StartSeams SystemStartSeams();

// After a pause of `pauseMilliseconds`, ShellExecuteExA with verb "Open", no directory (the
// program inherits the caller's current directory) and SW_HIDE, without waiting. The result is
// the shell's.
BOOL StartHidden(const StartSeams& seams, DWORD pauseMilliseconds, HWND owner, const std::string& path,
                 const char* parameters);
