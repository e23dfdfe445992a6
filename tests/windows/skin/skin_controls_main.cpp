// The skin control tests' program: the application object they run in, and the helpers of
// control_test_support.h.
#include "tests/windows/skin/control_test_support.h"

#include <gtest/gtest.h>

#include "platform/dialogs/dialogs.h"
#include "tests/windows/support/files.h"

namespace skin_test {

void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    MSG msg;
    do {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!AfxGetApp()->PreTranslateMessage(&msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
        if (GetTickCount() - start >= milliseconds)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (true);
}

bool PumpUntil(const std::function<bool()>& condition, DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds)
            return false;
        Pump(10);
    }
    return true;
}

std::string BesideProgram(const char* name) { return test_support::ProgramFolder() + name; }

std::string LinkProbePath() { return BesideProgram("link_probe.exe"); }
std::string LinkProbeMarker() { return LinkProbePath() + ".ran"; }

bool PlacePointer(int x, int y)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetCursorPos(x, y);
        Pump(50);
        POINT at;
        GetCursorPos(&at);
        if (at.x == x && at.y == y)
            return true;
    }
    return false;
}

}  // namespace skin_test

// The tests run inside the application object, as the programs do.
class CSkinTestApp : public CWinApp
{
};
CSkinTestApp theApp;

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
