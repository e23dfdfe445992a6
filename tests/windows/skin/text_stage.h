// tests/windows/skin/text_stage.h
// A skinned dialog with the text controls bound, as the repair, message and licence dialogs
// bind theirs: a label, two radio buttons, the licence's text box and a link label.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/color_edit.h"
#include "brimlet/skin/color_label.h"
#include "brimlet/skin/link_label.h"
#include "tests/windows/skin/control_test_support.h"

#include <string>
#include <utility>
#include <vector>

namespace skin_test {

class CProbeLabel : public CColorLabel
{
public:
    using CColorLabelCommon::m_tooltip;
};

class CProbeEdit : public CColorEdit
{
public:
    using CColorEdit::m_backgroundBrush;
    using CColorEdit::m_backgroundColour;
    using CColorEdit::m_textColour;
};

class CProbeLink : public CLinkLabel
{
public:
    using CLinkLabel::m_backgroundBrush;
    using CLinkLabel::m_flashMode;
    using CLinkLabel::m_flashPhase;
    using CLinkLabel::m_linkKind;
    using CLinkLabel::m_logFont;
    using CLinkLabel::m_notifyParent;
    using CLinkLabel::m_text;
    using CLinkLabel::m_timerRunning;
    using CLinkLabel::m_transparent;
    int m_paints = 0;
    // What clicks handed to the shell: the verb ("" for none) and the file; passed on to the
    // shell itself only while forwarding.
    std::vector<std::pair<std::string, std::string>> m_opened;
    bool m_forwardToShell = true;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT)
            ++m_paints;
        return CLinkLabel::WindowProc(message, wParam, lParam);
    }

protected:
    void OpenInShell(LPCSTR verb, LPCSTR file) override
    {
        m_opened.emplace_back(verb ? verb : "", file ? file : "");
        if (m_forwardToShell)
            CLinkLabel::OpenInShell(verb, file);
    }
};

class CTextStage : public CBitmapDialog
{
public:
    CTextStage() : CBitmapDialog(kTextStage, nullptr) {}

    CProbeLabel m_device;
    CColorLabelButton m_fast;
    CColorLabelButton m_complete;
    CProbeEdit m_text;
    CProbeLink m_link;
    int m_linkClicks = 0;
    NMHDR m_lastNotify = {};

    // Modeless, on top, in a place of its own on the shared display.
    bool Open()
    {
        if (!Create(kTextStage, nullptr))
            return false;
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 700, 120, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow();
        return true;
    }
    // A control's place in this dialog's client area.
    CRect PlaceOf(CWnd& control)
    {
        CRect rect;
        control.GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect;
    }

protected:
    DECLARE_MESSAGE_MAP()
    void DoDataExchange(CDataExchange* dx) override
    {
        CBitmapDialog::DoDataExchange(dx);
        DDX_Control(dx, 1007, m_device);
        DDX_Control(dx, 1004, m_fast);
        DDX_Control(dx, 1005, m_complete);
        DDX_Control(dx, 1011, m_text);
        DDX_Control(dx, 1018, m_link);
    }
    BOOL OnInitDialog() override
    {
        CBitmapDialog::OnInitDialog();
        SetBitmap(kBackground);
        SetBitmapStyle(4);
        return TRUE;
    }
    void OnLinkClick(NMHDR* header, LRESULT* result)
    {
        ++m_linkClicks;
        m_lastNotify = *header;
    }
};

}  // namespace skin_test
