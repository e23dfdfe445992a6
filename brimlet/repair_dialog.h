// brimlet/repair_dialog.h
// CRepairManagerDialog: Brimlet's main window. It shows the splash and the licence, binds the
// device library, shows the device's description and firmware version, runs the repair on a
// worker thread while a 5 ms timer moves the progress bar, and reports the result.
#pragma once

#include "brimlet/library_loader.h"
#include "brimlet/skin/bitmap_dialog.h"
#include "brimlet/skin/bitmap_slider.h"
#include "brimlet/skin/color_label.h"
#include "brimlet/skin/image_button.h"
#include "brimlet/skin/pie_chart_ctrl.h"
#include "brimlet/skin/text_progress_ctrl.h"
#include "rezo/rezo_api.h"

// What the worker needs: written before it starts, only read by it.
struct RepairWorkerRecord {
    RezoDeviceHandle device = 0;
    CLibraryLoader* loader = nullptr;
};

// State the dialog's operations and the worker share, zero at start.
struct RepairSharedState {
    short chipId = 0;
    short chipVersion = 0;
    char title[260] = {};
    BYTE family = 0;
    BYTE mode = 0;
    BOOL complete = FALSE;
    BOOL update = FALSE;
    // From the start of a repair until its result message was closed; dialog thread only.
    BOOL busy = FALSE;
};
RepairSharedState& RepairState();

class CRepairManagerDialog : public CBitmapDialog
{
public:
    explicit CRepairManagerDialog(CWnd* parent = nullptr);
    // Waits for a repair still running before the library is released.
    ~CRepairManagerDialog() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnTimer(UINT_PTR id);
    void StartRepair();
    void OnDestroy();
    void OnSize(UINT type, int cx, int cy);
    void OnCloseButton();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnMinimiseButton();
    BOOL OnDeviceChange(UINT event, DWORD_PTR data);
    void OnWindowPosChanging(WINDOWPOS* position);
    DECLARE_MESSAGE_MAP()

    void GetInput();
    void ShowDeviceInfo();
    void ReadDeviceIni();
    void ReadNewFWVersion(char* version);
    // The worker is back from REZO_RunRepairDevice.
    BOOL RepairCallReturned() const;

    CPieChartCtrl m_pieChart;
    RezoDeviceHandle m_device = 0;
    CLibraryLoader m_loader;
    RepairWorkerRecord m_workerRecord;
    CImageButton m_minimiseButton;
    CBitmapSlider m_progress;
    CImageButton m_closeButton;
    CColorLabel m_deviceInfo;
    CButton m_optionFrame;
    CButton m_deviceFrame;
    CImageButton m_repairButton;
    CImageButton m_closeTextButton;
    CColorLabelButton m_fastOption;
    CColorLabelButton m_completeOption;
    CStatic m_badBlockStatic;
    CStatic m_legendStatic;
    CStatic m_newFirmwareStatic;
    CButton m_firmwareSwitch;
    CTextProgressCtrl m_textProgress;
    CString m_badBlockText;
    CString m_deviceText;
    HICON m_icon;

    // The handle exists: device notifications before it (splash, licence) are not for us.
    BOOL m_deviceReady = FALSE;
    // The running worker, kept so that the dialog can wait for it.
    CWinThread* m_worker = nullptr;
};

UINT __cdecl RepairThreadProc(LPVOID record);

constexpr UINT_PTR kProgressTimerId = 1;
constexpr UINT kProgressTimerMilliseconds = 5;
