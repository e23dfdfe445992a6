// quillet/standins/standin.h
// What a stand-in says: a message box with a clear title. Quillet starts its tool hidden; the
// box is a pop-up of its own, which that does not hide.
#pragma once

#include <windows.h>

inline int ShowStandInMessage(const char* title, const char* text)
{
    ::MessageBoxA(nullptr, text, title, MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
    return 0;
}
