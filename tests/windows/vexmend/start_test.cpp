// Vexmend's start of Quillet, run under winxp by a program that carries three small payloads in
// place of REZO.dll, msvcp60.dll and Quillet: the three files are in the work folder before the
// pause; the pause of three seconds is asked of the pause seam once, and only then the shell gets
// the verb "Open", the work folder's Quillet.exe, the parameter text (the current folder, a
// backslash and the launcher's own path), no directory, SW_HIDE and the form's window.
#include "vexmend/main_form.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/windows/support/files.h"
#include "tests/windows/support/own_application.h"
#include "tests/windows/support/recording_start.h"

namespace {

using test_support::FileBytes;
using test_support::FreshTemporaryFolder;
using test_support::RecordingStart;

class VexmendStart : public test_support::OwnApplicationTest {
protected:
    void SetUp() override
    {
        OwnApplicationTest::SetUp();
        ::GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryA(savedDirectory_);
        OwnApplicationTest::TearDown();
    }

private:
    char savedDirectory_[MAX_PATH] = {};
};

TEST_F(VexmendStart, WritesTheThreeFilesThenPausesThreeSecondsAndStartsQuilletHidden)
{
    // The payloads are read by their build path, from the build's drive.
    const std::vector<std::string> names = {"REZO.dll", "msvcp60.dll", "Quillet.exe"};
    const std::vector<std::string> payloads = {FileBytes(VEXMEND_TEST_PAYLOADS "rezo.txt"),
                                               FileBytes(VEXMEND_TEST_PAYLOADS "msvcp60.txt"),
                                               FileBytes(VEXMEND_TEST_PAYLOADS "quillet.txt")};
    for (const std::string& payload : payloads)
        ASSERT_FALSE(payload.empty());

    const std::string temp = FreshTemporaryFolder("vexmend_start");
    const std::string folder = temp + "ZEM_fix\\";
    // Started from the temporary folder: the parameter text begins with it.
    ASSERT_TRUE(::SetCurrentDirectoryA(temp.c_str()));
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);

    RecordingStart start;
    std::vector<std::string> writtenAtPause;
    start.onPause = [&] {
        for (const std::string& name : names)
            writtenAtPause.push_back(FileBytes(folder + name));
    };
    TForm1* form = nullptr;
    application_.CreateForm(form, TForm1::Seams{[] { return true; }, start.Seams()});
    ASSERT_NE(form, nullptr);

    EXPECT_EQ(start.events, (std::vector<std::string>{"pause 3000", "shell"}));
    EXPECT_EQ(writtenAtPause, payloads);
    ASSERT_EQ(start.calls.size(), 1u);
    const RecordingStart::ShellCall& call = start.calls[0];
    EXPECT_EQ(call.info.cbSize, 60u);
    EXPECT_EQ(call.info.fMask, 0u);
    EXPECT_EQ(call.info.hwnd, form->Handle());
    EXPECT_EQ(call.verb, "Open");
    EXPECT_EQ(call.file, folder + "Quillet.exe");
    const std::string startedFrom = temp.substr(0, temp.size() - 1);
    EXPECT_EQ(call.parameters, startedFrom + "\\" + self);
    EXPECT_EQ(call.directory, std::nullopt);
    EXPECT_EQ(call.info.nShow, SW_HIDE);
    EXPECT_TRUE(call.restZero);

    // Showing the form closes it, which ends the application.
    application_.Run();
    EXPECT_TRUE(application_.Terminated);
}

}  // namespace
