// tests/windows/support/recording_start.h
// The pause and the shell through which the launcher and the dispatcher start the next program,
// recorded in the order they are asked for, without waiting or starting anything.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/launch/work_folder.h"

namespace test_support {

class RecordingStart final : public timing::Pause, public ShellPort {
public:
    // What ShellExecuteExA received, its texts copied (nullopt for a null pointer).
    struct ShellCall {
        SHELLEXECUTEINFOA info;
        std::optional<std::string> verb, file, parameters, directory;
        // Every field but cbSize, hwnd, lpVerb, lpFile, lpParameters, lpDirectory and nShow is 0.
        bool restZero;
    };

    // "pause <ms>" and "shell", in the order asked.
    std::vector<std::string> events;
    std::vector<ShellCall> calls;
    // Runs at each pause (a test looks at the disk then).
    std::function<void()> onPause;

    StartSeams Seams() { return {*this, *this}; }

    void Sleep(std::uint32_t milliseconds) override
    {
        events.push_back("pause " + std::to_string(milliseconds));
        if (onPause)
            onPause();
    }

    BOOL ShellExecuteExA(SHELLEXECUTEINFOA* info) override
    {
        events.push_back("shell");
        ShellCall call{*info, Text(info->lpVerb), Text(info->lpFile), Text(info->lpParameters),
                       Text(info->lpDirectory), false};
        SHELLEXECUTEINFOA rest = *info;
        rest.cbSize = 0;
        rest.hwnd = nullptr;
        rest.lpVerb = rest.lpFile = rest.lpParameters = rest.lpDirectory = nullptr;
        rest.nShow = 0;
        SHELLEXECUTEINFOA zero;
        std::memset(&zero, 0, sizeof zero);
        call.restZero = std::memcmp(&rest, &zero, sizeof rest) == 0;
        calls.push_back(call);
        return TRUE;
    }

private:
    static std::optional<std::string> Text(const char* text)
    {
        return text ? std::optional<std::string>(text) : std::nullopt;
    }
};

}  // namespace test_support
