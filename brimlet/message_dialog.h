// brimlet/message_dialog.h
// CMessageDialog: Brimlet's skinned message box for the outcome of its work. One text over a
// success or an error background, with a close and a minimise button.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/color_label.h"
#include "brimlet/skin/image_button.h"

class CMessageDialog : public CBitmapDialog
{
public:
    explicit CMessageDialog(CWnd* parent = nullptr);

    CString m_text;
    BOOL m_error = FALSE;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnCloseButton();
    void OnMinimiseButton();
    DECLARE_MESSAGE_MAP()

    CImageButton m_minimiseButton;
    CColorLabel m_textLabel;
    CImageButton m_closeButton;
};

// Runs the message box modally with the text over the success or the error picture; 0.
int ShowMessageDialog(LPCSTR text, BOOL error);
