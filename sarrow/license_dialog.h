// sarrow/license_dialog.h
// The licence agreement, shown after the splash: Agree opens the repair dialog, Not Agree and
// the close button end the program.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "platform/dialogs/dialogs.h"
#include "sarrow/controls/hover_button.h"

class CLicenseDialog : public CBitmapDialog {
public:
    explicit CLicenseDialog(CWnd* parent = nullptr);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnMinimise();
    DECLARE_MESSAGE_MAP()

    CHoverButton m_notAgreeButton;
    CHoverButton m_minimiseButton;
    CHoverButton m_agreeButton;
    CHoverButton m_closeButton;
    HICON m_icon;
};
