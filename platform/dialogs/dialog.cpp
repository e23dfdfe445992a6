// platform/dialogs/dialog.cpp
#include "platform/dialogs/dialog.h"

#include "platform/dialogs/app.h"
#include "platform/dialogs/internal.h"

#include <cstring>
#include <vector>

// --- dialog data exchange

HWND CDataExchange::PrepareCtrl(int id)
{
    HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, id);
    if (!control)
        Fail();
    return control;
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control)
{
    if (control.m_hWnd)
        return;
    HWND item = dx->PrepareCtrl(id);
    if (item && !control.SubclassWindow(item))
        dx->Fail();
}

void DDX_Text(CDataExchange* dx, int id, CString& value)
{
    HWND item = dx->PrepareCtrl(id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        CWnd::FromHandle(item)->GetWindowText(value);
    else
        ::SetWindowTextA(item, value);
}

void DDX_Text(CDataExchange* dx, int id, int& value)
{
    if (!dx->PrepareCtrl(id))
        return;
    HWND dialog = dx->m_pDlgWnd->m_hWnd;
    if (dx->m_bSaveAndValidate) {
        BOOL translated = FALSE;
        int read = static_cast<int>(::GetDlgItemInt(dialog, id, &translated, TRUE));
        if (translated)
            value = read;
        else
            dx->Fail();
    } else {
        ::SetDlgItemInt(dialog, id, static_cast<UINT>(value), TRUE);
    }
}

void DDX_Text(CDataExchange* dx, int id, UINT& value)
{
    if (!dx->PrepareCtrl(id))
        return;
    HWND dialog = dx->m_pDlgWnd->m_hWnd;
    if (dx->m_bSaveAndValidate) {
        BOOL translated = FALSE;
        UINT read = ::GetDlgItemInt(dialog, id, &translated, FALSE);
        if (translated)
            value = read;
        else
            dx->Fail();
    } else {
        ::SetDlgItemInt(dialog, id, value, FALSE);
    }
}

void DDX_Check(CDataExchange* dx, int id, int& value)
{
    HWND item = dx->PrepareCtrl(id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageA(item, BM_GETCHECK, 0, 0));
    else
        ::SendMessageA(item, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* dx, int id, int& value)
{
    HWND item = dx->PrepareCtrl(id);
    if (!item)
        return;
    if (dx->m_bSaveAndValidate)
        value = -1;
    int index = 0;
    for (HWND button = item; button; button = ::GetWindow(button, GW_HWNDNEXT), ++index) {
        if (button != item && (::GetWindowLongA(button, GWL_STYLE) & WS_GROUP))
            break;
        if (dx->m_bSaveAndValidate) {
            if (::SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED)
                value = index;
        } else {
            ::SendMessageA(button, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
}

// --- CDialog

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

// The dialog procedure that DefDlgProc calls for what our window procedure passed on: nothing is
// left to do there. It routes a dialog only if the creation hook did not (then from WM_INITDIALOG).
INT_PTR CALLBACK DialogsDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG && !CWnd::FromHandlePermanent(window)) {
        auto* dialog = reinterpret_cast<CDialog*>(lParam);
        if (dialog && !dialog->m_hWnd) {
            dialog->RouteWindow(window);
            return dialog->HandleInitDialog(wParam, lParam);
        }
    }
    return FALSE;
}

CDialog::CDialog(UINT templateId, CWnd* parent)
    : m_lpszTemplateName(MAKEINTRESOURCEA(templateId)), m_pParentWnd(parent)
{
}

CDialog::CDialog(LPCSTR templateName, CWnd* parent) : m_lpszTemplateName(templateName), m_pParentWnd(parent) {}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) { return OnInitDialog(); }

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    if (m_inModalLoop) {
        InterlockedExchange(&m_ended, 1);
        if (m_hWnd)
            ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop, also from another thread
    } else if (m_hWnd) {
        ::EndDialog(m_hWnd, result);
    }
}

BOOL CDialog::CreateFromTemplate(HWND owner, bool hidden)
{
    dialogs::InitCommonControlsOnce();
    HINSTANCE module = AfxGetResourceHandle();
    HRSRC resource = ::FindResourceA(module, m_lpszTemplateName, MAKEINTRESOURCEA(5) /* RT_DIALOG */);
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    auto* dialogTemplate = loaded ? static_cast<LPCDLGTEMPLATEA>(::LockResource(loaded)) : nullptr;
    DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!dialogTemplate || size < sizeof(DLGTEMPLATE))
        return FALSE;
    // Windows shows a WS_VISIBLE template as soon as WM_INITDIALOG returns, also when the dialog
    // ended itself there; a modal dialog comes up hidden and the modal loop shows it.
    std::vector<DWORD> copy;
    if (hidden) {
        copy.resize((size + sizeof(DWORD) - 1) / sizeof(DWORD));
        std::memcpy(copy.data(), dialogTemplate, size);
        auto* words = reinterpret_cast<const WORD*>(copy.data());
        bool extended = words[0] == 1 && words[1] == 0xFFFF;  // DLGTEMPLATEEX
        size_t styleOffset = extended ? 12 : 0;                // after version, signature, help id, exStyle
        if (size < styleOffset + sizeof(DWORD))
            return FALSE;
        DWORD style;
        std::memcpy(&style, reinterpret_cast<BYTE*>(copy.data()) + styleOffset, sizeof style);
        style &= ~WS_VISIBLE;
        std::memcpy(reinterpret_cast<BYTE*>(copy.data()) + styleOffset, &style, sizeof style);
        dialogTemplate = reinterpret_cast<LPCDLGTEMPLATEA>(copy.data());
    }
    HWND window;
    {
        dialogs::CreationScope scope(this);
        window = ::CreateDialogIndirectParamA(module, dialogTemplate, owner, DialogsDialogProcedure,
                                              reinterpret_cast<LPARAM>(this));
    }
    if (!window)
        return FALSE;
    if (m_hWnd != window)
        return SubclassWindow(window);
    return TRUE;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) { return Create(MAKEINTRESOURCEA(templateId), parent); }

BOOL CDialog::Create(LPCSTR templateName, CWnd* parent)
{
    if (m_hWnd)
        return FALSE;
    m_lpszTemplateName = templateName;
    m_pParentWnd = parent;
    return CreateFromTemplate(parent->GetSafeHwnd(), false);
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd || !m_lpszTemplateName)
        return -1;
    HWND owner = nullptr;
    if (m_pParentWnd && m_pParentWnd->m_hWnd) {
        owner = dialogs::RootWindow(m_pParentWnd->m_hWnd);
    } else if (CWnd* main = AfxGetMainWnd()) {
        // Only a main window of this thread: an owner on another thread would tie the two
        // threads' input together and make this thread wait on the other one.
        HWND mainWindow = main->GetSafeHwnd();
        if (mainWindow && ::IsWindowVisible(mainWindow) && ::IsWindowEnabled(mainWindow) &&
            dialogs::OnOwnThread(mainWindow))
            owner = mainWindow;
    }
    bool ownerDisabled = false;
    if (owner && ::IsWindowEnabled(owner)) {
        ::EnableWindow(owner, FALSE);
        ownerDisabled = true;
    }

    m_nModalResult = -1;
    InterlockedExchange(&m_ended, 0);
    m_inModalLoop = true;
    if (CreateFromTemplate(owner, true)) {
        if (!m_ended && m_hWnd && !::IsWindowVisible(m_hWnd))
            ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    m_inModalLoop = false;

    // The owner comes back before the dialog goes, so that activation returns to it.
    if (ownerDisabled)
        ::EnableWindow(owner, TRUE);
    if (m_hWnd) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        if (owner && dialogs::OnOwnThread(owner))
            ::SetActiveWindow(owner);
        DestroyWindow();
    }
    return m_nModalResult;
}

BOOL CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_ended && m_hWnd) {
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1)
            return FALSE;
        if (got == 0) {
            // WM_QUIT ends the dialog and is left for the loop outside.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return FALSE;
        }
        if (!PreTranslateChain(&msg) && !(m_hWnd && ::IsDialogMessageA(m_hWnd, &msg))) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return TRUE;
}

BOOL CDialog::PreTranslateChain(MSG* msg)
{
    bool dialogSeen = false;
    if (dialogs::PreTranslateUpTo(msg, m_hWnd, &dialogSeen))
        return TRUE;
    return !dialogSeen && PreTranslateMessage(msg);
}
