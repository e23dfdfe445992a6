// Vexmend's form, whose construction is the launch: on a refused Windows (run under win2k) the
// information dialog with the version message and its Chinese line, the rights test not even
// asked, nothing written or started, and OnShow closing the form; on an admitted one (run under
// winxp) a user the rights test refuses gets the administrator message and nothing is written or
// started; in a program that carries nothing, the first carried file is missing: "Resource DLL16x
// not found" leaves the construction.
#include "vexmend/main_form.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/windows/support/dialog_watcher.h"
#include "tests/windows/support/files.h"
#include "tests/windows/support/own_application.h"
#include "tests/windows/support/recording_start.h"
#include "vexmend/vexmend_texts.h"

namespace {

using test_support::DialogWatcher;
using test_support::FreshTemporaryFolder;
using test_support::RecordingStart;
using test_support::WindowText;

// What a refusing launch did: its message and button, how often it asked the rights test, and
// what it asked of the pause and the shell.
struct Refusal {
    bool shown = false;
    std::string text;
    std::string button;
    int rightsAsked = 0;
    std::vector<std::string> startEvents;
};

class VexmendForm : public test_support::OwnApplicationTest {
protected:
    // Creates the form with a rights test that answers `administrator`, and presses OK on the
    // information dialog it shows.
    Refusal CreateRefusingForm(bool administrator, TForm1*& form)
    {
        Refusal refusal;
        DialogWatcher watcher("Information", [&](HWND dialog) {
            refusal.text = WindowText(::GetDlgItem(dialog, kMessageDialogTextId));
            refusal.button = WindowText(::GetDlgItem(dialog, IDOK));
        });
        RecordingStart start;
        const auto rights = [&] {
            ++refusal.rightsAsked;
            return administrator;
        };
        application_.CreateForm(form, TForm1::Seams{rights, start.Seams()});
        refusal.shown = watcher.Found();
        refusal.startEvents = start.events;
        return refusal;
    }
};

TEST_F(VexmendForm, RefusedWindowsShowsTheVersionMessageAndWritesNothing)
{
    const std::string temp = FreshTemporaryFolder("vexmend_form_refused");
    TForm1* form = nullptr;
    const Refusal refusal = CreateRefusingForm(true, form);
    ASSERT_TRUE(refusal.shown);
    EXPECT_EQ(refusal.text, std::string("The application only runs on Windows XP and Vista.\r\n") + kVersionMessageChinese);
    EXPECT_EQ(refusal.button, "OK");
    EXPECT_EQ(::GetFileAttributesA((temp + "ZEM_fix").c_str()), INVALID_FILE_ATTRIBUTES);
    // The version message comes first: on 95, 98 and Me the rights test would find nothing to ask.
    EXPECT_EQ(refusal.rightsAsked, 0);
    EXPECT_TRUE(refusal.startEvents.empty());

    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Caption, "Vexmend");
    EXPECT_EQ(form->Width, 154);
    EXPECT_EQ(form->Height, 29);
    EXPECT_EQ(form->BorderIcons, 0u);
    EXPECT_EQ(form->Position, poDesktopCenter);
    EXPECT_EQ(form->Color, clBtnFace);
    EXPECT_EQ(form->Font.Name, "MS Sans Serif");
    EXPECT_EQ(form->Font.Height, -11);
    // Showing the form closes it, which ends the application.
    application_.Run();
    EXPECT_TRUE(application_.Terminated);
    EXPECT_FALSE(form->Visible());
}

TEST_F(VexmendForm, NonAdministratorGetsTheRightsMessageAndNothingIsWrittenOrStarted)
{
    const std::string temp = FreshTemporaryFolder("vexmend_form_administrator");
    TForm1* form = nullptr;
    const Refusal refusal = CreateRefusingForm(false, form);
    ASSERT_TRUE(refusal.shown);
    EXPECT_EQ(refusal.rightsAsked, 1);
    EXPECT_EQ(refusal.text,
              std::string("Please log in as administrator to run this utility.\r\n") + kAdministratorMessageChinese);
    EXPECT_EQ(refusal.button, "OK");
    EXPECT_EQ(::GetFileAttributesA((temp + "ZEM_fix").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(refusal.startEvents.empty()) << "no pause and no start";
    ASSERT_NE(form, nullptr);
    application_.Run();
    EXPECT_TRUE(application_.Terminated);
}

TEST_F(VexmendForm, AMissingCarriedFileLeavesTheConstructionAfterTheFolderIsMade)
{
    const std::string temp = FreshTemporaryFolder("vexmend_form_missing");
    TForm1* form = reinterpret_cast<TForm1*>(1);
    try {
        application_.CreateForm(form);
        ADD_FAILURE() << "no exception";
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message(), "Resource DLL16x not found");
    }
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(application_.MainForm, nullptr);
    // The folder is made first; no file is in it.
    EXPECT_NE(::GetFileAttributesA((temp + "ZEM_fix").c_str()), INVALID_FILE_ATTRIBUTES);
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((temp + "ZEM_fix\\*.*").c_str(), &found);
    int files = 0;
    if (search != INVALID_HANDLE_VALUE) {
        do
            files += !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
        while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    EXPECT_EQ(files, 0);
}

}  // namespace
