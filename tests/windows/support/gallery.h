// tests/windows/support/gallery.h
// What the galleries share: a window's picture saved and judged, and the application object of a
// gallery that shows one dialog, which takes its picture and ends itself.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/dialogs/dialogs.h"
#include "tests/windows/support/window_picture.h"

namespace test_support {

// The window as it paints itself (never the screen, which other tests' windows share) saved at
// `path`. False, with a line on stderr that names `gallery`, when it was not printed, is of one
// colour only (a window that painted nothing) or was not written whole.
inline bool SaveGalleryPicture(HWND window, const char* path, const char* gallery)
{
    const WindowPicture picture = SaveWindowPicture(window, path);
    const bool complete = picture.rendered && picture.varied && picture.saved;
    if (!complete)
        std::fprintf(stderr, "%s: %s: picture %s, %s, file %s\n", gallery, path,
                     picture.rendered ? "rendered" : "not rendered", picture.varied ? "varied" : "uniform",
                     picture.saved ? "saved" : "not saved");
    return complete;
}

// Shows `Dialog` modally with the program's first argument as its picture's path
// (`m_screenshot`); the exit code is 0 when the dialog saved its picture (`m_saved`).
template <class Dialog>
class CGalleryApp : public CWinApp
{
public:
    BOOL InitInstance() override
    {
        Enable3dControlsStatic();
        Dialog dialog;
        dialog.m_screenshot = __argc > 1 ? __argv[1] : nullptr;
        m_pMainWnd = &dialog;
        dialog.DoModal();
        m_pMainWnd = nullptr;
        m_exitCode = dialog.m_saved ? 0 : 1;
        return FALSE;
    }
};

}  // namespace test_support
