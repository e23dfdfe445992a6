// platform/dialogs/dialog.h
// CDialog with its own modal loop, and dialog data exchange.
//
// DoModal disables the owner, creates the dialog modeless and hidden from its template (the class
// library's resource module), shows it unless OnInitDialog already ended it (a dialog that ends
// itself there never appears), and runs a loop that offers each message to PreTranslateMessage
// of the window it is for and of that window's parents up to the top-level window (and to the
// dialog's own PreTranslateMessage), then to IsDialogMessage, until EndDialog. So it works on any
// thread, also one that has no other window; a dialog's messages are handled on the thread that
// runs DoModal.
//
// Owner: the parent given to the constructor (its top-level window), else the application's main
// window (AfxGetMainWnd) when it is visible, enabled and belongs to the calling thread. On a
// worker thread a parentless dialog is a top-level window of its own: the main window on the
// other thread stays usable, and neither thread ever waits for the other.
#pragma once

#include <windows.h>

#include "platform/dialogs/wnd.h"

class CDataExchange
{
public:
    CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    HWND PrepareCtrl(int id);
    // A failed exchange makes UpdateData return FALSE.
    void Fail() { m_bFailed = TRUE; }

    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
    BOOL m_bFailed = FALSE;
};

// Subclasses the control of the id into the object (once: a bound object is left alone).
void DDX_Control(CDataExchange* dx, int id, CWnd& control);
void DDX_Text(CDataExchange* dx, int id, CString& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, UINT& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
// value: index of the checked button in the group that starts at id, -1 for none.
void DDX_Radio(CDataExchange* dx, int id, int& value);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    explicit CDialog(LPCSTR templateName, CWnd* parent = nullptr);

    // IDOK, IDCANCEL or what EndDialog was given; -1 when the dialog could not be created.
    virtual INT_PTR DoModal();
    // Modeless: the caller's message loop must pass the dialog's messages to IsDialogMessage.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    BOOL Create(LPCSTR templateName, CWnd* parent = nullptr);
    void EndDialog(int result);

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    LPCSTR m_lpszTemplateName = nullptr;
    CWnd* m_pParentWnd = nullptr;

protected:
    DECLARE_MESSAGE_MAP()
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    // hidden: the template's WS_VISIBLE is left out (DoModal shows the dialog itself).
    BOOL CreateFromTemplate(HWND owner, bool hidden);
    BOOL RunModalLoop();
    BOOL PreTranslateChain(MSG* msg);

    INT_PTR m_nModalResult = -1;
    volatile LONG m_ended = 0;  // EndDialog may come from another thread
    bool m_inModalLoop = false;

    friend INT_PTR CALLBACK DialogsDialogProcedure(HWND, UINT, WPARAM, LPARAM);
};
