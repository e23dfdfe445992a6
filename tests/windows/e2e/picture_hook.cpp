// tests/windows/e2e/picture_hook.cpp — windriver_picture.dll, loaded by windriver and, through its
// hook, by the program whose window it pictures. Under Wine a device context belongs to one process,
// so PrintWindow works only from inside the window's own process: windriver hooks the window's
// thread with PictureHook and sends it kPictureMessage; the hook, now running in that thread,
// renders the window into the file that windriver named in a shared block. Test support only.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "tests/windows/e2e/picture_request.h"
#include "tests/windows/support/window_picture.h"

extern "C" LRESULT CALLBACK PictureHook(int code, WPARAM wParam, LPARAM lParam)
{
    static const UINT message = RegisterWindowMessageA(picture_request::kMessageName);
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == message) {
            const picture_request::Name name = picture_request::BlockName(static_cast<DWORD>(call->wParam));
            if (HANDLE mapping = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, name.text)) {
                if (auto* block = static_cast<picture_request::Block*>(
                        MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(picture_request::Block)))) {
                    block->path[sizeof block->path - 1] = '\0';
                    const test_support::WindowPicture picture = test_support::SaveWindowPicture(call->hwnd, block->path);
                    block->rendered = picture.rendered;
                    block->varied = picture.varied;
                    block->saved = picture.saved;
                    block->answered = TRUE;
                    UnmapViewOfFile(block);
                }
                CloseHandle(mapping);
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
