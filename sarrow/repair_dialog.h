// sarrow/repair_dialog.h
// Sarrow's main window: which drive was found and its size, Fast or Complete, and Start. The
// repair runs on a worker thread that reports back through this dialog.
#pragma once

#include "brimlet/skin/bitmap_dialog.h"
#include "platform/dialogs/dialogs.h"
#include "sarrow/controls/bitmap_progress_ctrl.h"
#include "sarrow/controls/hover_button.h"
#include "sarrow/device/scsi_device.h"

class CAboutDialog : public CDialog {
public:
    CAboutDialog();
};

class CRepairDialog : public CBitmapDialog {
public:
    explicit CRepairDialog(CWnd* parent = nullptr);
    ~CRepairDialog() override;

    // Part of the repair run by the worker thread (RepairThreadEntry).
    void RunRepair();

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    // From Start until the run's last step the dialog refuses to close: the worker still uses it,
    // and the program must not end in the middle of a write.
    void OnOK() override;
    void OnCancel() override;

    void OnSysCommand(UINT id, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* dc, CWnd* control, UINT kind);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    void OnStartButton();
    void OnCompleteMode();
    void OnFastMode();
    void OnMinimise();
    DECLARE_MESSAGE_MAP()

    void RefreshDeviceInfo();
    // FindSmiDevice and, when found, OpenAndLockVolume; TRUE when found, whatever the lock gave.
    // Not found and not quiet: the "No Disk !" box first.
    BOOL OpenRepairDevice(BOOL quiet);
    void CloseRepairDevice();
    bool RunInProgress() const { return m_runInProgress != 0; }

    ScsiDeviceContext m_device;
    volatile BOOL m_complete = FALSE;  // read by the worker when it reaches the format
    volatile BYTE m_busy = 0;          // a refresh or a repair uses the device
    volatile LONG m_runInProgress = 0;
    BOOL m_locked = FALSE;             // what the last OpenAndLockVolume gave
    int m_progressUpper = 30000;
    CStatic m_progressPlaceholder;
    CHoverButton m_minimiseButton;
    CHoverButton m_closeButton;
    CHoverButton m_endButton;
    CHoverButton m_startButton;
    HICON m_icon;
    CBitmapProgressCtrl* m_progress = nullptr;
    CFont m_radioFont;
    CFont m_boxFont;
    CFont m_statusFont;
};

UINT __cdecl RepairThreadEntry(LPVOID dialog);

// The device box's text: "[F:] 953MB", a line break, the vendor and product texts.
CString DeviceBoxText(char letter, BOOL flashInfoRead, const BYTE* flashInfo, BOOL deviceInfoRead,
                      const BYTE* deviceInfo);

constexpr UINT_PTR kRefreshTimer = 0x999;
constexpr UINT kRefreshDelay = 200;
