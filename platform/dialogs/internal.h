// platform/dialogs/internal.h
// Helpers that the library's own sources share; programs do not include this header.
#pragma once

#include <windows.h>

namespace dialogs {

bool OnOwnThread(HWND window);

// The top-level window that holds `window` by the chain of parents (owners do not count), the
// window itself when it is top-level, null for no window: what GetAncestor(GA_ROOT) answers.
// Windows 95 and NT 4.0 have no GetAncestor.
HWND RootWindow(HWND window);

// Offers the message to PreTranslateMessage of the object of its window and of each parent's, up
// to the top-level window or stop; TRUE when one took it. stopReached: whether stop was offered.
BOOL PreTranslateUpTo(MSG* msg, HWND stop, bool* stopReached = nullptr);

// The DC a window prints into while its WM_PAINT handler answers WM_PRINTCLIENT on this thread;
// NULL when it is not printing.
HDC PrintingDC(HWND window);

// Marks one WM_PRINTCLIENT of the window on this thread (nested prints restore the outer one).
class PrintScope
{
public:
    PrintScope(HWND window, HDC dc);
    ~PrintScope();
    PrintScope(const PrintScope&) = delete;
    PrintScope& operator=(const PrintScope&) = delete;

private:
    HWND m_previousWindow;
    HDC m_previousDC;
};

}  // namespace dialogs
