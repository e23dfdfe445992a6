// sarrow/result_dialogs.h
// The two skinned boxes that end a repair: one for every failure, one for success. Near twins:
// they differ in template, background, text control and the process-wide text they show.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "platform/dialogs/dialogs.h"
#include "sarrow/controls/hover_button.h"

// The texts ShowFailureBox and ShowSuccessBox fill before they run the matching box.
extern CString FailureMessage;
extern CString SuccessMessage;

class CResultDialog : public CBitmapDialog {
public:
    CResultDialog(UINT templateId, UINT backgroundId, int textId, const CString& text, CWnd* parent);

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // Enter and the minimise button minimise the box; it stays open and modal.
    void OnOK() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    DECLARE_MESSAGE_MAP()

    CHoverButton m_minimiseButton;
    CHoverButton m_closeButton;

private:
    UINT m_backgroundId;
    int m_textId;
    const CString& m_text;
    CFont m_textFont;  // made at the first colour request, kept while the box lives
};

class CFailureDialog : public CResultDialog {
public:
    explicit CFailureDialog(CWnd* parent = nullptr);
};

class CSuccessDialog : public CResultDialog {
public:
    explicit CSuccessDialog(CWnd* parent = nullptr);
};

// Loads string `textId` into the box's text and runs the box modally on the calling thread.
void ShowFailureBox(UINT textId);
void ShowSuccessBox(UINT textId);
