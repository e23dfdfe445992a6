// platform/forms/forms.cpp
#include "platform/forms/forms.h"

#include <exception>

namespace {

TApplication g_application;

constexpr DWORD kSystemColorBit = 0x80000000u;

}  // namespace

TApplication* Application = &g_application;

COLORREF ColorToRGB(TColor color)
{
    const DWORD value = static_cast<DWORD>(color);
    if (value & kSystemColorBit)
        return ::GetSysColor(static_cast<int>(value & 0xFF));
    return value;
}

// --- TFont

TFont::~TFont()
{
    if (handle_)
        ::DeleteObject(handle_);
}

HFONT TFont::Handle()
{
    if (handle_ && (handleName_ != Name || handleHeight_ != Height)) {
        ::DeleteObject(handle_);
        handle_ = nullptr;
    }
    if (!handle_) {
        LOGFONTA font = {};
        font.lfHeight = Height;
        font.lfWeight = FW_NORMAL;
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = DEFAULT_QUALITY;
        font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
        lstrcpynA(font.lfFaceName, Name.c_str(), LF_FACESIZE);
        handle_ = ::CreateFontIndirectA(&font);
        handleName_ = Name;
        handleHeight_ = Height;
    }
    return handle_;
}

// --- TForm

TForm::TForm(TComponent* owner) : TComponent(owner) {}

TForm::~TForm()
{
    if (Application && Application->MainForm == this)
        Application->MainForm = nullptr;
    if (window_) {
        ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
        ::DestroyWindow(window_);
    }
}

void TForm::RegisterWindowClass()
{
    WNDCLASSEXA existing = {};
    existing.cbSize = sizeof existing;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    if (::GetClassInfoExA(instance, ClassName(), &existing))
        return;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = ClassName();
    ::RegisterClassExA(&windowClass);
}

HWND TForm::Handle()
{
    if (window_)
        return window_;
    RegisterWindowClass();
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_THICKFRAME | WS_CLIPCHILDREN;
    if (BorderIcons & biSystemMenu) {
        style |= WS_SYSMENU;
        if (BorderIcons & biMinimize)
            style |= WS_MINIMIZEBOX;
        if (BorderIcons & biMaximize)
            style |= WS_MAXIMIZEBOX;
    }
    if (Position == poDesktopCenter) {
        const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
        int height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
        if (width <= 0 || height <= 0) {  // systems before multiple monitors
            width = ::GetSystemMetrics(SM_CXSCREEN);
            height = ::GetSystemMetrics(SM_CYSCREEN);
        }
        Left = left + (width - Width) / 2;
        Top = top + (height - Height) / 2;
    }
    ::CreateWindowExA(0, ClassName(), Caption.c_str(), style, Left, Top, Width, Height, nullptr,
                      nullptr, ::GetModuleHandleA(nullptr), this);
    return window_;
}

bool TForm::Visible() const { return window_ && ::IsWindowVisible(window_); }

void TForm::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TForm::Show()
{
    HWND window = Handle();
    DoShow();
    if (Application && Application->Terminated && Application->MainForm == this)
        return;
    if (window_ == window && window) {
        ::ShowWindow(window, SW_SHOW);
        ::UpdateWindow(window);
    }
}

void TForm::Hide()
{
    if (window_)
        ::ShowWindow(window_, SW_HIDE);
}

void TForm::Close()
{
    if (Application && Application->MainForm == this)
        Application->Terminate();
    else
        Hide();
}

LRESULT CALLBACK TForm::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* form = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        form->window_ = window;
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
    }
    return form->Dispatch(message, wParam, lParam);
}

LRESULT TForm::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND window = window_;
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font.Handle());
    case WM_ERASEBKGND: {
        RECT client;
        ::GetClientRect(window, &client);
        HBRUSH brush = ::CreateSolidBrush(ColorToRGB(Color));
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        ::DeleteObject(brush);
        return 1;
    }
    default:
        return ::DefWindowProcA(window, message, wParam, lParam);
    }
}

// --- TApplication

TApplication::TApplication() : TComponent(nullptr), instance_(::GetModuleHandleA(nullptr)) {}

TApplication::~TApplication() { DestroyComponents(); }

void TApplication::Initialize()
{
    instance_ = ::GetModuleHandleA(nullptr);
    Terminated = false;
}

void TApplication::Run()
{
    if (MainForm)
        MainForm->Show();
    MSG message;
    BOOL got;
    while ((got = ::GetMessageA(&message, nullptr, 0, 0)) != 0 && got != -1) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    Terminated = true;
}

void TApplication::Terminate()
{
    if (!Terminated) {
        Terminated = true;
        ::PostQuitMessage(0);
    }
}

std::string TApplication::ExeName() const
{
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(instance_, path, MAX_PATH);
    return std::string(path, length < MAX_PATH ? length : 0);
}

void TApplication::ShowException(const Exception& exception)
{
    std::string caption = Title;
    if (caption.empty()) {
        caption = ExeName();
        caption = caption.substr(caption.find_last_of('\\') + 1);
    }
    ::MessageBoxA(nullptr, exception.Message().c_str(), caption.c_str(),
                  MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

int TApplication::ShowCurrentException()
{
    try {
        throw;
    } catch (const Exception& exception) {
        ShowException(exception);
    } catch (const std::exception& exception) {
        ShowException(Exception(exception.what()));
    } catch (...) {
        ShowException(Exception(std::string()));
    }
    return 1;
}

std::string GetCurrentDir()
{
    char small[MAX_PATH] = {};
    DWORD length = ::GetCurrentDirectoryA(MAX_PATH, small);
    if (length < MAX_PATH)
        return std::string(small, length);
    std::string text(length, '\0');
    length = ::GetCurrentDirectoryA(length, text.data());
    text.resize(length < text.size() ? length : 0);
    return text;
}
