// tests/windows/support/open_menu.h
// The window of the popup menu open now: the system makes it (class "#32768") for the thread
// that tracks the menu, so it is looked for among this thread's windows.
#pragma once

#include <windows.h>

#include <cstring>

namespace test_support {

namespace open_menu_detail {

inline BOOL CALLBACK TakeMenuWindow(HWND window, LPARAM result)
{
    char name[16] = {};
    ::GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32768") != 0 || !::IsWindowVisible(window))
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

}  // namespace open_menu_detail

// Null when no menu of this thread is open.
inline HWND OpenMenuWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), open_menu_detail::TakeMenuWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace test_support
