// The form class library with real windows under Wine: streams and their errors, the form's
// window, the application's run, the information dialog and the exception box.
#include "platform/forms/forms.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/windows/support/dialog_watcher.h"
#include "tests/windows/support/own_application.h"

namespace {

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the temporary directory for one test.
std::string TestFolder(const char* name)
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    std::string folder = std::string(temp) + "forms_test_" + name + "\\";
    ::CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

std::string WindowText(HWND window)
{
    char text[1024] = {};
    ::GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[128] = {};
    ::GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK AddChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    ::EnumChildWindows(parent, AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

using test_support::DialogWatcher;

// --- streams

TEST(ResourceStream, FindsNameAndTypeWhateverTheirCaseAndReadsTheWholeResource)
{
    const std::string expected = ReadFileBytes(FORMS_TEST_PAYLOAD);
    ASSERT_FALSE(expected.empty());
    for (const char* name : {"DLL16x", "dll16X", "DLL16X"}) {
        for (const char* type : {"DLLFILE", "dllFile"}) {
            SCOPED_TRACE(std::string(name) + " " + type);
            TResourceStream stream(::GetModuleHandleA(nullptr), name, type);
            ASSERT_EQ(stream.Size(), static_cast<long>(expected.size()));
            EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), expected.size()), expected);
        }
    }
}

TEST(ResourceStream, AMissingResourceRaisesResourceNotFoundWithItsName)
{
    struct Case {
        const char* name;
        const char* type;
    } cases[] = {{"EXESMI", "EXEFILE"}, {"DLL16x", "EXEFILE"}, {"DLL16", "DLLFILE"}};
    for (const Case& c : cases) {
        try {
            TResourceStream stream(::GetModuleHandleA(nullptr), c.name, c.type);
            ADD_FAILURE() << c.name << " was found";
        } catch (const EResNotFound& error) {
            EXPECT_EQ(error.Message(), std::string("Resource ") + c.name + " not found");
        }
    }
}

TEST(ResourceStream, SaveToFileWritesTheResourceAndReplacesAnEarlierLongerFile)
{
    const std::string path = TestFolder("save") + "REZO.dll";
    {
        std::ofstream earlier(path, std::ios::binary);
        earlier << std::string(5000, 'x');
    }
    TResourceStream stream(::GetModuleHandleA(nullptr), "DLL16x", "DLLFILE");
    stream.SaveToFile(path);
    EXPECT_EQ(ReadFileBytes(path), ReadFileBytes(FORMS_TEST_PAYLOAD));
}

TEST(FileStream, CreateModeSharesNothingWhileOpen)
{
    const std::string path = TestFolder("share") + "Quillet.exe";
    TFileStream stream(path, fmCreate);
    stream.WriteBuffer("abc", 3);
    HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                 OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(other, INVALID_HANDLE_VALUE);
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    if (other != INVALID_HANDLE_VALUE)
        ::CloseHandle(other);
    try {
        TFileStream second(path, fmCreate);
        ADD_FAILURE() << "a second create succeeded";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + path);
    }
    EXPECT_EQ(stream.Size(), 3);
}

TEST(FileStream, AFileThatCannotBeCreatedRaisesCannotCreateFileWithThePath)
{
    const std::string path = TestFolder("missing") + "no such folder\\QuilletV1.00.exe";
    try {
        TFileStream stream(path, fmCreate);
        ADD_FAILURE() << "created";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.Message(), "Cannot create file " + path);
    }
}

// --- forms

class TestForm : public TForm {
public:
    explicit TestForm(TComponent* owner) : TForm(owner)
    {
        Caption = "Vexmend";
        Width = 184;
        Height = 28;
        BorderIcons = 0;
        Position = poDesktopCenter;
        Color = clBtnFace;
        Font.Name = "MS Sans Serif";
        Font.Height = -11;
    }
    const char* ClassName() const override { return "TTestForm"; }
};

class FailingForm : public TForm {
public:
    explicit FailingForm(TComponent* owner) : TForm(owner)
    {
        Handle();
        throw EResNotFound("DLLMSVC");
    }
};

class FormsTest : public test_support::OwnApplicationTest {};

TEST_F(FormsTest, WindowHasItsClassCaptionOuterSizeNoBorderIconsAndSitsInTheDesktopCentre)
{
    TestForm* form = nullptr;
    application_.CreateForm(form);
    ASSERT_EQ(application_.MainForm, form);
    HWND window = form->Handle();
    ASSERT_TRUE(window);
    EXPECT_EQ(ClassOf(window), "TTestForm");
    EXPECT_EQ(WindowText(window), "Vexmend");
    RECT rect;
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 184);
    EXPECT_EQ(rect.bottom - rect.top, 28);
    const int screenWidth = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_EQ(rect.left, ::GetSystemMetrics(SM_XVIRTUALSCREEN) + (screenWidth - 184) / 2);
    EXPECT_EQ(rect.top, ::GetSystemMetrics(SM_YVIRTUALSCREEN) + (screenHeight - 28) / 2);
    const LONG style = ::GetWindowLongA(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(::IsWindowVisible(window));
}

TEST_F(FormsTest, BorderIconsGiveTheCaptionBoxes)
{
    TestForm form(&application_);
    form.BorderIcons = biSystemMenu | biMinimize;
    const LONG style = ::GetWindowLongA(form.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(FormsTest, FontAndBackgroundColour)
{
    TestForm form(&application_);
    form.Width = 200;
    form.Height = 150;
    form.Color = clBtnFace;
    HWND window = form.Handle();
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
    ASSERT_TRUE(font);
    LOGFONTA logical = {};
    ASSERT_TRUE(::GetObjectA(font, sizeof logical, &logical));
    EXPECT_EQ(logical.lfHeight, -11);
    EXPECT_STREQ(logical.lfFaceName, "MS Sans Serif");

    // The background as the form erases it, into a memory bitmap.
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 150);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    RECT all = {0, 0, 200, 150};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0));
    EXPECT_EQ(::GetPixel(memory, 5, 5), ::GetSysColor(COLOR_BTNFACE));
    form.Color = RGB(10, 20, 30);
    ::SendMessageA(window, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(::GetPixel(memory, 5, 5), RGB(10, 20, 30));
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

TEST_F(FormsTest, RunCallsOnShowOnceBeforeTheLoopAndCloseOfTheMainFormEndsIt)
{
    TestForm* form = nullptr;
    application_.CreateForm(form);
    int shows = 0;
    bool visibleDuringShow = true;
    form->OnShow = [&](TObject* sender) {
        ++shows;
        EXPECT_EQ(sender, form);
        visibleDuringShow = form->Visible();
        form->Close();
    };
    application_.Run();
    EXPECT_EQ(shows, 1);
    EXPECT_FALSE(visibleDuringShow);
    EXPECT_TRUE(application_.Terminated);
    EXPECT_FALSE(form->Visible());
}

TEST_F(FormsTest, AClosingMessageToTheMainFormEndsTheLoop)
{
    TestForm* form = nullptr;
    application_.CreateForm(form);
    form->OnShow = [&](TObject*) { ::PostMessageA(form->Handle(), WM_CLOSE, 0, 0); };
    application_.Run();
    EXPECT_TRUE(application_.Terminated);
    EXPECT_TRUE(form->Visible());  // shown, then the loop ended; the window goes with the form
}

TEST_F(FormsTest, CloseOfAnotherFormOnlyHidesIt)
{
    TestForm* main = nullptr;
    TestForm* second = nullptr;
    application_.CreateForm(main);
    application_.CreateForm(second);
    EXPECT_EQ(application_.MainForm, main);
    second->Show();
    EXPECT_TRUE(second->Visible());
    second->Close();
    EXPECT_FALSE(second->Visible());
    EXPECT_FALSE(application_.Terminated);
}

TEST_F(FormsTest, AnExceptionOfTheConstructorLeavesNoFormBehind)
{
    FailingForm* form = reinterpret_cast<FailingForm*>(1);
    try {
        application_.CreateForm(form);
        ADD_FAILURE() << "no exception";
    } catch (const EResNotFound& error) {
        EXPECT_EQ(error.Message(), "Resource DLLMSVC not found");
    }
    EXPECT_EQ(form, nullptr);
    EXPECT_EQ(application_.MainForm, nullptr);
    EXPECT_EQ(application_.ComponentCount(), 0);
    EXPECT_FALSE(test_support::FindProcessWindow("TForm", nullptr));
}

TEST_F(FormsTest, AnExceptionOfOnShowLeavesRun)
{
    TestForm* form = nullptr;
    application_.CreateForm(form);
    form->OnShow = [](TObject*) { throw EFCreateError("C:\\x\\QuilletV1.00.exe"); };
    EXPECT_THROW(application_.Run(), EFCreateError);
}

// --- the information dialog and the exception box

TEST(MessageDialog, InformationCaptionOneOkButtonAndTheTextOnTwoLines)
{
    const std::string text = "The application only runs on Windows XP and Vista.\r\nSecond line";
    HWND seen = nullptr;
    std::string caption, body;
    std::vector<std::string> buttons;
    bool icon = false;
    int textHeight = 0, lineHeight = 0;
    DialogWatcher watcher("Information", [&](HWND dialog) {
        seen = dialog;
        caption = WindowText(dialog);
        body = WindowText(::GetDlgItem(dialog, kMessageDialogTextId));
        icon = ::SendMessageA(::GetDlgItem(dialog, kMessageDialogIconId), STM_GETICON, 0, 0) != 0;
        for (HWND child : Children(dialog)) {
            if (ClassOf(child) == "Button")
                buttons.push_back(WindowText(child));
        }
        RECT rect;
        HWND textControl = ::GetDlgItem(dialog, kMessageDialogTextId);
        ::GetClientRect(textControl, &rect);
        textHeight = rect.bottom;
        HDC dc = ::GetDC(textControl);
        HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(textControl, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics;
        ::GetTextMetricsA(dc, &metrics);
        lineHeight = metrics.tmHeight;
        ::SelectObject(dc, old);
        ::ReleaseDC(textControl, dc);
    });
    EXPECT_EQ(MessageDlg(text, mtInformation, mbOK, 0), mrOk);
    ASSERT_TRUE(watcher.Found());
    EXPECT_EQ(caption, "Information");
    EXPECT_EQ(body, text);
    EXPECT_EQ(buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(icon);
    EXPECT_GE(textHeight, 2 * lineHeight);
}

class ExceptionBoxTest : public ::testing::Test {
protected:
    // Runs `raise` inside a try block whose handler shows the exception; returns the box's texts.
    std::vector<std::string> BoxTexts(const std::string& title, const std::function<void()>& raise)
    {
        TApplication application;
        application.Title = title;
        std::vector<std::string> texts;
        std::string caption;
        DialogWatcher watcher(title, [&](HWND box) {
            caption = WindowText(box);
            for (HWND child : Children(box)) {
                if (ClassOf(child) == "Static" && !WindowText(child).empty())
                    texts.push_back(WindowText(child));
            }
        });
        int code = 0;
        try {
            raise();
        } catch (...) {
            code = application.ShowCurrentException();
        }
        EXPECT_TRUE(watcher.Found());
        EXPECT_EQ(caption, title);
        EXPECT_EQ(code, 1);
        return texts;
    }
};

TEST_F(ExceptionBoxTest, ShowsTheMessageCaptionedWithTheTitle)
{
    EXPECT_EQ(BoxTexts("Vexmend", [] { throw EResNotFound("EXELF"); }),
              std::vector<std::string>{"Resource EXELF not found"});
}

TEST_F(ExceptionBoxTest, AnObjectThatIsNoExceptionShowsAnEmptyMessage)
{
    EXPECT_EQ(BoxTexts("Quillet test", [] { throw 42; }), std::vector<std::string>{});
}

TEST_F(ExceptionBoxTest, AStandardExceptionShowsItsText)
{
    EXPECT_EQ(BoxTexts("Quillet test 2", [] { throw std::runtime_error("out of memory"); }),
              std::vector<std::string>{"out of memory"});
}

}  // namespace
