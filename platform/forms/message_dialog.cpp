// platform/forms/message_dialog.cpp
// The dialog is built in memory and laid out in pixels once its font is known: the text is
// measured with the system's message font, which is also the font it is drawn in, so lines in
// any code page the system shows fit their box.
#include "platform/forms/message_dialog.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

struct DialogState {
    const std::string* text;
    const char* caption;
    LPCSTR icon;
    HFONT font;
};

// A DLGTEMPLATE and its items, each item on a DWORD boundary.
class TemplateWriter {
public:
    void Header(DWORD style, WORD items)
    {
        DLGTEMPLATE header = {};
        header.style = style;
        header.cdit = items;
        Append(&header, sizeof header);
        Word(0);  // no menu
        Word(0);  // the dialog class
        Word(0);  // no title (set when laid out)
    }
    void Item(DWORD style, WORD id, WORD classAtom, const char* text)
    {
        Align();
        DLGITEMTEMPLATE item = {};
        item.style = style | WS_CHILD | WS_VISIBLE;
        item.cx = 10;
        item.cy = 10;
        item.id = id;
        Append(&item, sizeof item);
        Word(0xFFFF);
        Word(classAtom);
        for (const char* c = text; *c; ++c)
            Word(static_cast<unsigned char>(*c));
        Word(0);
        Word(0);  // no creation data
    }
    const DLGTEMPLATE* Get()
    {
        Align();
        return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
    }

private:
    void Word(WORD value) { words_.push_back(value); }
    void Append(const void* data, std::size_t size)
    {
        const std::size_t at = words_.size();
        words_.resize(at + size / sizeof(WORD));
        std::memcpy(words_.data() + at, data, size);
    }
    void Align()
    {
        if (words_.size() % 2)
            Word(0);
    }
    std::vector<WORD> words_;
};

void LayOut(HWND dialog, DialogState& state)
{
    ::SetWindowTextA(dialog, state.caption);
    HWND text = ::GetDlgItem(dialog, kMessageDialogTextId);
    HWND icon = ::GetDlgItem(dialog, kMessageDialogIconId);
    HWND button = ::GetDlgItem(dialog, IDOK);
    for (HWND control : {text, button})
        ::SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(state.font), FALSE);
    ::SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(::LoadIconA(nullptr, state.icon)), 0);

    RECT measured = {0, 0, ::GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    HDC dc = ::GetDC(text);
    HGDIOBJ previous = ::SelectObject(dc, state.font);
    ::DrawTextA(dc, state.text->c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    ::SelectObject(dc, previous);
    ::ReleaseDC(text, dc);

    const int textLeft = kMargin + kIconSize + kGap;
    const int textWidth = measured.right - measured.left + 2;
    const int textHeight = measured.bottom - measured.top;
    const int bodyHeight = textHeight > kIconSize ? textHeight : kIconSize;
    int clientWidth = textLeft + textWidth + kMargin;
    if (clientWidth < kButtonWidth + 2 * kMargin)
        clientWidth = kButtonWidth + 2 * kMargin;
    const int buttonTop = kMargin + bodyHeight + kGap;
    const int clientHeight = buttonTop + kButtonHeight + kMargin;

    ::MoveWindow(icon, kMargin, kMargin, kIconSize, kIconSize, FALSE);
    ::MoveWindow(text, textLeft, kMargin + (bodyHeight - textHeight) / 2, textWidth, textHeight, FALSE);
    ::MoveWindow(button, (clientWidth - kButtonWidth) / 2, buttonTop, kButtonWidth, kButtonHeight, FALSE);

    RECT outer = {0, 0, clientWidth, clientHeight};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongA(dialog, GWL_EXSTYLE)));
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    ::SetWindowPos(dialog, nullptr, (::GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                   (::GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER);
    ::SetWindowTextA(text, state.text->c_str());
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        LayOut(dialog, *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, mrOk);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext)
{
    (void)type;
    (void)buttons;
    (void)helpContext;
    NONCLIENTMETRICSA metrics = {};
    metrics.cbSize = sizeof metrics;
    HFONT font = nullptr;
    if (::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = ::CreateFontIndirectA(&metrics.lfMessageFont);
    DialogState state{&text, "Information", IDI_ASTERISK,
                      font ? font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT))};

    TemplateWriter writer;
    writer.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND, 3);
    writer.Item(SS_ICON, kMessageDialogIconId, 0x0082, "");
    writer.Item(SS_LEFT | SS_NOPREFIX, kMessageDialogTextId, 0x0082, "");
    writer.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, 0x0080, "OK");
    const INT_PTR result = ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), writer.Get(),
                                                     ::GetActiveWindow(), DialogProcedure,
                                                     reinterpret_cast<LPARAM>(&state));
    if (font)
        ::DeleteObject(font);
    return result == -1 ? 0 : static_cast<int>(result);
}
