// platform/dialogs/dialogs.h
// The C-prefixed dialog class library in one include.
//
// How a dialog is written:
//   class CMyDialog : public CDialog {            // header
//   public:
//       CMyDialog() : CDialog(IDD_MY) {}
//   protected:
//       DECLARE_MESSAGE_MAP()
//       void DoDataExchange(CDataExchange* dx) override { CDialog::DoDataExchange(dx); DDX_Control(dx, 1004, m_start); }
//       BOOL OnInitDialog() override;               // call CDialog::OnInitDialog() first (it runs DDX)
//       void OnTimer(UINT_PTR id);                  // names and signatures fixed by the ON_WM_ macros
//       HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
//       void OnStart();
//       CButton m_start;
//   };
//   BEGIN_MESSAGE_MAP(CMyDialog, CDialog)            // source: one entry a line
//       ON_WM_TIMER()
//       ON_WM_CTLCOLOR()
//       ON_BN_CLICKED(1004, &CMyDialog::OnStart)
//       ON_BN_CLICKED(1002, &CDialog::OnCancel)
//       ON_MESSAGE(WM_MOUSELEAVE, &CMyDialog::OnMouseLeave)   // LRESULT (WPARAM, LPARAM)
//   END_MESSAGE_MAP()
//
// A handler that wants the default processing calls the base class's handler of the same name
// (or Default()); a message no entry takes gets it anyway. Controls take their reflected
// notifications with ON_CONTROL_REFLECT(_EX), ON_WM_CTLCOLOR_REFLECT, ON_NOTIFY_REFLECT, and
// owner-drawn buttons and statics paint in DrawItem. See wnd.h (routing, threads) and dialog.h
// (the modal loop, owners).
#pragma once

#include "platform/dialogs/app.h"
#include "platform/dialogs/collections.h"
#include "platform/dialogs/controls.h"
#include "platform/dialogs/cstring.h"
#include "platform/dialogs/dialog.h"
#include "platform/dialogs/file.h"
#include "platform/dialogs/gdi.h"
#include "platform/dialogs/geometry.h"
#include "platform/dialogs/object.h"
#include "platform/dialogs/sync.h"
#include "platform/dialogs/toolbar.h"
#include "platform/dialogs/wnd.h"
