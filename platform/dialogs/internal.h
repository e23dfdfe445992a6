// platform/dialogs/internal.h
// Helpers that the library's own sources share; programs do not include this header.
#pragma once

#include <windows.h>

namespace dialogs {

bool OnOwnThread(HWND window);

// Offers the message to PreTranslateMessage of the object of its window and of each parent's, up
// to the top-level window or stop; TRUE when one took it. stopReached: whether stop was offered.
BOOL PreTranslateUpTo(MSG* msg, HWND stop, bool* stopReached = nullptr);

}  // namespace dialogs
