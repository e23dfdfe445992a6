// platform/forms/forms.h
// Single-form applications: the application object and its forms.
//
// A program's entry point initialises the application, sets its title, creates its form (the
// first form created is the main form) and runs it; an exception that reaches the entry point
// is shown in the exception box. RunApplication (at the end of this header) does just that:
//
//     try {
//         Application->Initialize();
//         Application->Title = "Vexmend";
//         Application->CreateForm(Form1);
//         Application->Run();
//     } catch (...) {
//         return Application->ShowCurrentException();
//     }
//
// Run shows the main form, which calls its OnShow handler before the message loop starts, and
// runs the loop until the application terminates; closing the main form terminates it. OnShow
// is called directly, never from inside a window procedure, so its exceptions reach the caller.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

#include "platform/forms/components.h"
#include "platform/forms/exceptions.h"
#include "platform/forms/message_dialog.h"
#include "platform/forms/streams.h"

// Colours: an RGB value, or a system colour (its COLOR_ index with the top bit set).
using TColor = std::int32_t;
constexpr TColor clBtnFace = static_cast<TColor>(0x80000000u | COLOR_BTNFACE);
COLORREF ColorToRGB(TColor color);

using TNotifyEvent = std::function<void(TObject* sender)>;

class TFont : public TObject {
public:
    TFont() = default;
    ~TFont() override;
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    std::string Name = "MS Sans Serif";
    int Height = -11;  // in pixels; negative: the character height without internal leading
    // The GDI font for the name and height as they are now; the font owns it.
    HFONT Handle();
    const char* ClassName() const override { return "TFont"; }

private:
    HFONT handle_ = nullptr;
    std::string handleName_;
    int handleHeight_ = 0;
};

enum TPosition { poDesigned, poDesktopCenter };

// The icons of the caption bar.
enum TBorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TBorderIcons = unsigned;

class TForm : public TComponent {
public:
    explicit TForm(TComponent* owner);
    ~TForm() override;

    // Read when the window is made (the first call of Handle()).
    std::string Caption;
    int Left = 0;
    int Top = 0;
    int Width = 320;   // outer size, frame and caption included
    int Height = 240;
    TPosition Position = poDesigned;
    TBorderIcons BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TColor Color = clBtnFace;
    TFont Font;
    TNotifyEvent OnShow;

    // The form's window, made on first use (hidden).
    HWND Handle();
    bool HandleAllocated() const { return window_ != nullptr; }
    bool Visible() const;
    // Calls OnShow, then shows the window unless the application ended meanwhile.
    void Show();
    void Hide();
    // The main form terminates the application; any other form is hidden.
    void Close();
    const char* ClassName() const override { return "TForm"; }

protected:
    virtual void DoShow();

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void RegisterWindowClass();

    HWND window_ = nullptr;
};

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    std::string Title;
    TForm* MainForm = nullptr;
    bool Terminated = false;

    void Initialize();
    // Makes a form owned by the application (further arguments go to its constructor); the first
    // one becomes the main form. An exception of the form's constructor leaves `reference` null
    // and passes on.
    template <class Form, class... Arguments>
    void CreateForm(Form*& reference, Arguments&&... arguments)
    {
        reference = nullptr;
        reference = new Form(this, std::forward<Arguments>(arguments)...);
        if (!MainForm)
            MainForm = reference;
    }
    // Shows the main form and runs the message loop until the application terminates.
    void Run();
    void Terminate();
    // The program's own file path.
    std::string ExeName() const;
    HINSTANCE Instance() const { return instance_; }

    // The exception box: the message, captioned with the title, with the error icon.
    void ShowException(const Exception& exception);
    // In a catch block: shows the exception being handled (anything that is no Exception with an
    // empty message; a standard library exception with its own text) and returns the program's
    // exit code for that end.
    int ShowCurrentException();
    const char* ClassName() const override { return "TApplication"; }

private:
    HINSTANCE instance_;
};

// The program's application object.
extern TApplication* Application;

// The whole entry point of a program of one form: the application titled `title`, the form made
// into `mainForm` and run; the exit code is 0, or the exception box's for an exception that
// reached it.
template <class Form>
int RunApplication(const char* title, Form*& mainForm)
{
    try {
        Application->Initialize();
        Application->Title = title;
        Application->CreateForm(mainForm);
        Application->Run();
    } catch (...) {
        return Application->ShowCurrentException();
    }
    return 0;
}

// The current directory, without a trailing backslash (except at a drive's root).
std::string GetCurrentDir();
