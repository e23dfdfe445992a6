// platform/launch/work_folder.cpp
#include "platform/launch/work_folder.h"

#include <optional>

#include "core/launch/work_folder.h"
#include "platform/forms/exceptions.h"
#include "platform/timing/sleep_pause.h"

namespace {

// "Windows error 206: The filename or extension is too long."
std::string SystemErrorText(DWORD error)
{
    std::string text = "Windows error " + std::to_string(error);
    char* message = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        error, 0, reinterpret_cast<LPSTR>(&message), 0, nullptr);
    if (length && message) {
        std::string description(message, length);
        while (!description.empty() && (description.back() == '\n' || description.back() == '\r' ||
                                        description.back() == ' ' || description.back() == '.'))
            description.pop_back();
        if (!description.empty())
            text += ": " + description;
    }
    if (message)
        ::LocalFree(message);
    return text;
}

}  // namespace

std::string WorkFolderOrRaise(std::initializer_list<std::string_view> fileNames,
                              TempPathFunction getTempPath)
{
    char temp[MAX_PATH] = {};
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length = getTempPath(MAX_PATH, temp);
    if (length == 0) {
        const DWORD error = ::GetLastError();
        throw Exception(Exception::Format(
            "The temporary folder's path could not be read (%s), so nothing was written and no "
            "program was started.",
            SystemErrorText(error)));
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

StartSeams SystemStartSeams()
{
    class Win32Shell final : public ShellPort {
    public:
        BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) override { return ::ShellExecuteExA(info); }
    };
    static timing::SleepPause pause;
    static Win32Shell shell;
    return {pause, shell};
}

BOOL StartHidden(const StartSeams& seams, DWORD pauseMilliseconds, HWND owner, const std::string& path,
                 const char* parameters)
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
    seams.pause.Sleep(pauseMilliseconds);
    return seams.shell.ShellExecuteExA(&start);
}
