// quillet/standins/standin.h
// What a stand-in says: a message box with a clear title, shown even when the program was
// started hidden.
#pragma once

#include <windows.h>

inline int ShowStandInMessage(const char* title, const char* text)
{
    // A program started with SW_HIDE would apply it to its first window; this consumes it.
    ::ShowWindow(::GetDesktopWindow(), SW_SHOWNORMAL);
    ::MessageBoxA(nullptr, text, title, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}
