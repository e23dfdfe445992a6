// Vexmend's form, whose construction is the launch: on a refused Windows (run under win2k) the
// information dialog with the version message and its Chinese line, nothing written, and OnShow
// closing the form; on an admitted one (run under winxp) in a program that carries nothing, the
// first carried file is missing: "Resource DLL16x not found" leaves the construction.
#include "vexmend/main_form.h"

#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/windows/support/dialog_watcher.h"
#include "tests/windows/support/own_application.h"
#include "vexmend/vexmend_texts.h"

namespace {

using test_support::DialogWatcher;
using test_support::WindowText;

// A fresh temporary folder for this process: what GetTempPathA gives from now on.
std::string FreshTemp(const char* name)
{
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    const std::string temp = std::string(base) + name;
    ::CreateDirectoryA(temp.c_str(), nullptr);
    ::RemoveDirectoryA((temp + "\\ZEM_fix").c_str());
    ::SetEnvironmentVariableA("TMP", temp.c_str());
    ::SetEnvironmentVariableA("TEMP", temp.c_str());
    return temp + "\\";
}

class VexmendForm : public test_support::OwnApplicationTest {};

TEST_F(VexmendForm, RefusedWindowsShowsTheVersionMessageAndWritesNothing)
{
    const std::string temp = FreshTemp("vexmend_form_refused");
    std::string text;
    std::string button;
    DialogWatcher watcher("Information", [&](HWND dialog) {
        text = WindowText(::GetDlgItem(dialog, kMessageDialogTextId));
        button = WindowText(::GetDlgItem(dialog, IDOK));
    });
    TForm1* form = nullptr;
    application_.CreateForm(form);
    ASSERT_TRUE(watcher.Found());
    EXPECT_EQ(text, std::string("The application only runs on Windows XP and Vista.\r\n") + kVersionMessageChinese);
    EXPECT_EQ(button, "OK");
    EXPECT_EQ(::GetFileAttributesA((temp + "ZEM_fix").c_str()), INVALID_FILE_ATTRIBUTES);

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

TEST_F(VexmendForm, AMissingCarriedFileLeavesTheConstructionAfterTheFolderIsMade)
{
    const std::string temp = FreshTemp("vexmend_form_missing");
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
