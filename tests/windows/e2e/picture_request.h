// tests/windows/e2e/picture_request.h
// What windriver and its picture hook (picture_hook.cpp) share: the message that asks a window for
// its picture, and the block, named after windriver's process id, that carries the file path there
// and the outcome back.
#pragma once

#include <windows.h>

#include <cstdio>

namespace picture_request {

constexpr char kMessageName[] = "windriver-picture";
constexpr char kHookDll[] = "windriver_picture.dll";
constexpr char kHookProc[] = "PictureHook";

struct Block {
    char path[1024];
    BOOL answered;
    BOOL rendered;
    BOOL varied;
    BOOL saved;
};

struct Name {
    char text[64];
};

inline Name BlockName(DWORD driverProcessId)
{
    Name name;
    std::snprintf(name.text, sizeof name.text, "windriver-picture-%lu", static_cast<unsigned long>(driverProcessId));
    return name;
}

}  // namespace picture_request
