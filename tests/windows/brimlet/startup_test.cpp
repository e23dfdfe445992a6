// Brimlet's two refusals before any work: the rights gate for a user who is no administrator
// (string 4), and the repair dialog when REZO.dll cannot be bound ("Can't find REZO.dll"). For
// each, what the user sees and that nothing goes on after it. This program has no REZO.dll
// beside it; the rights gate's question is answered by the test (the Wine user is always an
// administrator).
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "brimlet/message_dialog.h"
#include "brimlet/repair_app.h"
#include "brimlet/repair_dialog.h"
#include "brimlet/resource.h"
#include "tests/windows/brimlet/modal_script.h"
#include "tests/windows/brimlet/repair_run.h"
#include "tests/windows/support/files.h"

namespace {

using brimlet_test::Click;
using brimlet_test::FindDialog;
using brimlet_test::TextOf;
using brimlet_test::ThreadPoller;
using test_support::ProgramFolder;
using test_support::RemoveTree;

// A standard message box as the user met it; closed with OK once read.
struct Box {
    std::string text;
    bool okOnly = false;
};

Box ReadAndClose(HWND box)
{
    Box seen;
    seen.text = std::string(TextOf(::GetDlgItem(box, 0xFFFF)));
    seen.okOnly = ::GetDlgItem(box, IDOK) && !::GetDlgItem(box, IDCANCEL) && !::GetDlgItem(box, IDYES);
    ::PostMessageA(box, WM_COMMAND, IDOK, 0);
    return seen;
}

// Every box that opens on this thread while it lives.
class BoxReader
{
public:
    BoxReader()
        : m_poller([this] {
              if (HWND box = brimlet_test::FindMessageBox())
                  m_boxes.push_back(ReadAndClose(box));
              return false;
          })
    {
    }
    const std::vector<Box>& Boxes() const { return m_boxes; }

private:
    std::vector<Box> m_boxes;
    ThreadPoller m_poller;
};

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, folder);
    return folder;
}

// A temporary folder of the test's own, named to GetTempPathA through TMP and TEMP.
class TemporaryFolder
{
public:
    TemporaryFolder()
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        m_saved = temp;
        m_folder = std::string(temp) + "brimlet_startup_" + std::to_string(::GetCurrentProcessId());
        RemoveTree(m_folder);
        ::CreateDirectoryA(m_folder.c_str(), nullptr);
        ::SetEnvironmentVariableA("TMP", m_folder.c_str());
        ::SetEnvironmentVariableA("TEMP", m_folder.c_str());
        m_current = CurrentFolder();
    }
    ~TemporaryFolder()
    {
        ::SetCurrentDirectoryA(m_current.c_str());
        ::SetEnvironmentVariableA("TMP", m_saved.c_str());
        ::SetEnvironmentVariableA("TEMP", m_saved.c_str());
        RemoveTree(m_folder);
    }
    const std::string& Path() const { return m_folder; }
    const std::string& StartFolder() const { return m_current; }

private:
    std::string m_folder;
    std::string m_saved;
    std::string m_current;
};

int g_questions = 0;
BOOL NotAnAdministrator()
{
    ++g_questions;
    return FALSE;
}
BOOL AnAdministrator()
{
    ++g_questions;
    return TRUE;
}

// The start-up with the rights gate's question answered by `answer`.
struct StartUp {
    BOOL result = TRUE;
    int questions = 0;
    std::vector<Box> boxes;
    std::string currentFolder;  // afterwards
};

StartUp RunStartUp(BOOL (*answer)())
{
    StartUp run;
    CRepairManagerApp& app = *GetRepairManagerApp();
    app.m_isAdministrator = answer;
    g_questions = 0;
    {
        BoxReader reader;
        run.result = app.InitInstance();
        run.boxes = reader.Boxes();
    }
    app.m_isAdministrator = IsUserAdministrator;
    run.questions = g_questions;
    run.currentFolder = CurrentFolder();
    return run;
}

TEST(RightsGate, ANonAdministratorIsToldWhyAndNothingGoesOn)
{
    TemporaryFolder temp;
    for (const char* name : {"REZO.dll", "Device.ini", "BootCode.r"})
        ASSERT_FALSE(Exists(ProgramFolder() + name)) << name << " lies beside the test before it runs";
    const StartUp run = RunStartUp(NotAnAdministrator);
    ASSERT_EQ(GetRepairManagerApp()->m_osBuildNumber, 2600u) << "the test runs on Windows XP, where the gate asks";
    EXPECT_EQ(run.questions, 1);
    EXPECT_FALSE(run.result);
    ASSERT_EQ(run.boxes.size(), 1u);
    EXPECT_EQ(run.boxes[0].text, "This program can only be executed with administrative privilege!");
    EXPECT_TRUE(run.boxes[0].okOnly);
    // Nothing after it: no work folder, no change of folder, no carried file, no mutex.
    EXPECT_FALSE(Exists(temp.Path() + "\\RadAva"));
    EXPECT_EQ(run.currentFolder, temp.StartFolder());
    for (const char* name : {"REZO.dll", "Device.ini", "BootCode.r"})
        EXPECT_FALSE(Exists(ProgramFolder() + name)) << name;
    HANDLE mutex = ::OpenMutexA(SYNCHRONIZE, FALSE, kBrimletMutexName);
    EXPECT_EQ(mutex, nullptr);
    if (mutex)
        ::CloseHandle(mutex);
}

TEST(RightsGate, AnAdministratorGoesOnToTheWorkFolderWithoutABox)
{
    TemporaryFolder temp;
    // The copy into the work folder fails on a folder of the program's name, so the first stage
    // ends there, silently, without starting anything.
    const std::string work = temp.Path() + "\\RadAva";
    ASSERT_TRUE(::CreateDirectoryA(work.c_str(), nullptr));
    ASSERT_TRUE(::CreateDirectoryA((work + "\\Brimlet.exe").c_str(), nullptr));
    const StartUp run = RunStartUp(AnAdministrator);
    EXPECT_EQ(run.questions, 1);
    EXPECT_FALSE(run.result);
    EXPECT_TRUE(run.boxes.empty()) << run.boxes.front().text;
    EXPECT_EQ(lstrcmpiA(run.currentFolder.c_str(), work.c_str()), 0) << run.currentFolder;
}

TEST(RepairDialog, WithoutREZOdllItSaysSoAndEndsBeforeAnyDeviceWork)
{
    HMODULE found = ::LoadLibraryA("REZO");
    if (found)
        ::FreeLibrary(found);
    ASSERT_EQ(found, nullptr) << "a REZO.dll is found from this program";
    std::vector<Box> boxes;
    bool repairShown = false;
    bool messageShown = false;
    const brimlet_test::RepairRun run = brimlet_test::RunRepairDialog([&](HWND repair) {
        if (repair) {
            repairShown = true;
            Click(repair, IDCANCEL);
            return true;
        }
        if (CMessageDialog* message = FindDialog<CMessageDialog>()) {
            messageShown = true;
            Click(message->m_hWnd, IDC_CLOSE_BUTTON);
        }
        // Polled on until the dialog ends: a repair dialog that went on would show here.
        if (HWND box = brimlet_test::FindMessageBox())
            boxes.push_back(ReadAndClose(box));
        return false;
    });
    EXPECT_EQ(run.result, 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Can't find REZO.dll");
    EXPECT_TRUE(boxes[0].okOnly);
    EXPECT_FALSE(repairShown) << "the repair dialog showed";
    EXPECT_FALSE(messageShown);
    EXPECT_EQ(::GetModuleHandleA("REZO"), nullptr);
    EXPECT_FALSE(RepairState().busy);
}

}  // namespace
