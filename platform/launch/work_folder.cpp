// platform/launch/work_folder.cpp
#include "platform/launch/work_folder.h"

#include <optional>

#include "core/launch/work_folder.h"
#include "platform/forms/exceptions.h"

std::string WorkFolderOrRaise(std::initializer_list<std::string_view> fileNames,
                              TempPathFunction getTempPath)
{
    char temp[MAX_PATH] = {};
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = getTempPath(MAX_PATH, temp);
    if (length == 0) {
        throw Exception(Exception::Format(
            "The temporary folder cannot be found (Windows error %s), so nothing was written and "
            "no program was started.",
            std::to_string(::GetLastError())));
    }
    if (length >= MAX_PATH) {
        throw Exception(
            "The temporary folder's path is longer than 259 characters, so the work folder "
            "cannot be made there: nothing was written and no program was started.");
    }
    const std::optional<std::string> folder = launch::WorkFolderPath(std::string_view(temp, length), fileNames);
    if (!folder) {
        throw Exception(Exception::Format(
            "The work folder %s leaves no room for its files within 260 characters, so nothing was "
            "written and no program was started.",
            std::string(temp, length) + std::string(launch::kWorkFolderName)));
    }
    return *folder;
}

BOOL StartHidden(HWND owner, const std::string& path, const char* parameters)
{
    SHELLEXECUTEINFOA start;
    static_assert(sizeof start == 60);
    ::ZeroMemory(&start, sizeof start);
    start.cbSize = sizeof start;
    start.fMask = 0;
    start.hwnd = owner;
    start.lpVerb = "Open";
    start.lpFile = path.c_str();
    start.lpParameters = parameters;
    start.lpDirectory = nullptr;
    start.nShow = SW_HIDE;
    return ::ShellExecuteExA(&start);
}
