// brimlet_gallery OUTPUT_FOLDER CARRIED_FOLDER: pictures of Brimlet's windows in the system's
// language, as the windows paint themselves: the splash, the licence, the repair dialog (against
// the simulating REZO.dll beside this program) and the message dialog with a success and with an
// error. CARRIED_FOLDER holds the licence texts, read from the current folder as Brimlet does.
// Exit status 0 when every picture was saved and shows something.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "brimlet/agreement_dialog.h"
#include "brimlet/message_dialog.h"
#include "brimlet/repair_dialog.h"
#include "brimlet/resource.h"
#include "brimlet/splash_dialog.h"
#include "rezo/rezo_sim.h"
#include "tests/windows/brimlet/modal_script.h"
#include "tests/windows/support/files.h"
#include "tests/windows/support/window_picture.h"

namespace {

std::string g_output;
int g_missing = 0;

void Picture(HWND window, const char* name)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::string path = g_output + "\\" + name + ".bmp";
    const test_support::WindowPicture picture = test_support::SaveWindowPicture(window, path.c_str());
    std::printf("%s: %s\n", name, picture.saved && picture.varied ? "saved" : "MISSING");
    if (!picture.saved || !picture.varied)
        ++g_missing;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: brimlet_gallery OUTPUT_FOLDER CARRIED_FOLDER\n");
        return 2;
    }
    g_output = argv[1];
    ::CreateDirectoryA(g_output.c_str(), nullptr);
    ::SetCurrentDirectoryA(argv[2]);

    // A device with a firmware and a new image, and a repair that ends well after a moment.
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string profile = std::string(temp) + "brimlet-gallery.profile";
    std::ofstream(profile, std::ios::binary) << "description = \"USBest UT163 USB Flash Disk 2GB\"\r\n"
                                                "firmware = S00650\r\nprogress_step = 20\r\nstep_ms = 60\r\n";
    ::SetEnvironmentVariableA(kRezoSimProfileVariable, profile.c_str());
    std::ofstream(test_support::ProgramFolder() + "Device.ini", std::ios::binary) << "[Device]\r\nSelectDevice=UT163\r\n";

    int stage = 0;
    int settle = 0;
    brimlet_test::ThreadPoller poller(
        [&] {
            if (settle > 0) {
                --settle;
                return false;
            }
            if (CSplashDialog* splash = brimlet_test::FindDialog<CSplashDialog>()) {
                if (stage == 0) {
                    Picture(splash->m_hWnd, "splash");
                    stage = 1;
                }
                brimlet_test::PressKey(splash->m_hWnd, VK_ESCAPE);
                return false;
            }
            if (CAgreementDialog* licence = brimlet_test::FindDialog<CAgreementDialog>()) {
                if (stage == 1) {
                    settle = 10;
                    stage = 2;
                    return false;
                }
                Picture(licence->m_hWnd, "licence");
                brimlet_test::Click(licence->m_hWnd, IDOK);
                return false;
            }
            if (CMessageDialog* message = brimlet_test::FindDialog<CMessageDialog>()) {
                if (stage == 3) {
                    settle = 10;
                    stage = 4;
                    return false;
                }
                Picture(message->m_hWnd, message->m_error ? "message-error" : "message-success");
                brimlet_test::Click(message->m_hWnd, IDC_CLOSE_BUTTON);
                stage = 3;
                return false;
            }
            CRepairManagerDialog* repair = brimlet_test::FindDialog<CRepairManagerDialog>();
            if (repair && stage == 2) {
                settle = 10;
                stage = 5;
                return false;
            }
            if (repair && stage == 5) {
                Picture(repair->m_hWnd, "repair");
                brimlet_test::Click(repair->m_hWnd, IDOK);
                stage = 3;
            }
            return false;
        },
        30);

    CRepairManagerDialog* repair = new CRepairManagerDialog(nullptr);
    AfxGetApp()->m_pMainWnd = repair;
    repair->DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    delete repair;
    ShowMessageDialog("Repair fail, ErrCode=0x4\n", TRUE);
    return g_missing == 0 && stage == 3 ? 0 : 1;
}
