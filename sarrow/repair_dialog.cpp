// sarrow/repair_dialog.cpp
#include "sarrow/repair_dialog.h"

#include <cstdio>
#include <cstring>

#include "core/fat/geometry.h"
#include "core/repair/repair_routine.h"
#include "platform/timing/sleep_pause.h"
#include "sarrow/device/sector_io.h"
#include "sarrow/device/vendor_io.h"
#include "sarrow/resource.h"
#include "sarrow/resources/isp_image.h"
#include "sarrow/result_dialogs.h"
#include "sarrow/skin.h"
#include "sarrow/volume/volume_builder.h"

namespace {

constexpr int kMaxDeviceText = 511;

// The repair routine's view of the opened drive and of this dialog.
class DeviceRepairPort final : public repair::RepairPort {
public:
    DeviceRepairPort(const ScsiDeviceContext& device, progress::ProgressSink* progress, const volatile BOOL& complete)
        : m_device(device), m_progress(progress), m_complete(complete)
    {
    }

    bool VendorIn(const smi::VendorCommand& command, std::uint8_t* answer) override
    {
        return SendVendorCommand(m_device, command, answer) != FALSE;
    }
    bool VendorOut(const smi::VendorCommand& command, const std::uint8_t* data) override
    {
        return SendVendorCommand(m_device, command, const_cast<BYTE*>(data)) != FALSE;
    }
    bool WriteSectors(std::uint32_t firstSector, const std::uint8_t* data, std::uint32_t bytes) override
    {
        return ::WriteSectors(m_device, firstSector, data, bytes, scsi::kWrite10, 0) != FALSE;
    }
    bool BuildVolume(std::uint32_t totalSectors) override
    {
        static const BYTE noLabel[16] = {};
        if (repair::UsesFat32(totalSectors))
            return BuildFat32Volume(m_device, totalSectors, TRUE, m_progress, noLabel, FALSE, 0, 0) != FALSE;
        return BuildFat16Volume(m_device, totalSectors, TRUE, m_progress, noLabel, FALSE, 0, 0) != FALSE;
    }
    bool CompleteModeRequested() override { return m_complete != FALSE; }
    void Debug(const char* line) override { OutputDebugStringA(line); }

private:
    const ScsiDeviceContext& m_device;
    progress::ProgressSink* m_progress;
    const volatile BOOL& m_complete;
};

}  // namespace

CAboutDialog::CAboutDialog() : CDialog(IDD_ABOUTBOX) {}

CString DeviceBoxText(char letter, BOOL flashInfoRead, const BYTE* flashInfo, BOOL deviceInfoRead,
                      const BYTE* deviceInfo)
{
    if (!deviceInfoRead)
        return CString();
    char text[kMaxDeviceText + 1] = {};
    if (flashInfoRead) {
        const smi::Answer answer(flashInfo, smi::kAnswerSize);
        std::snprintf(text, sizeof text, "[%c:] %uMB", letter,
                      static_cast<unsigned>(smi::CapacityMegabytes(smi::TotalSectors(answer))));
    }
    if (text[0] != '\0')
        std::strncat(text, "\r\n", sizeof text - std::strlen(text) - 1);
    const smi::Answer answer(deviceInfo, smi::kAnswerSize);
    const std::string_view vendor = smi::VendorText(answer);
    const std::string_view product = smi::ProductText(answer);
    std::snprintf(text + std::strlen(text), sizeof text - std::strlen(text), "%.*s  %.*s",
                  static_cast<int>(vendor.size()), vendor.data(), static_cast<int>(product.size()), product.data());
    return CString(text);
}

CRepairDialog::CRepairDialog(CWnd* parent)
    : CBitmapDialog(IDD_REPAIR, parent), m_icon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME)))
{
}

CRepairDialog::~CRepairDialog()
{
    delete m_progress;
}

BEGIN_MESSAGE_MAP(CRepairDialog, CBitmapDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_CLOSE, &CRepairDialog::OnCancel)
    ON_BN_CLICKED(IDC_START, &CRepairDialog::OnStartButton)
    ON_WM_CTLCOLOR()
    ON_BN_CLICKED(IDC_END, &CRepairDialog::OnCancel)
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDC_COMPLETE, &CRepairDialog::OnCompleteMode)
    ON_BN_CLICKED(IDC_FAST, &CRepairDialog::OnFastMode)
    ON_BN_CLICKED(IDC_MINIMISE, &CRepairDialog::OnMinimise)
END_MESSAGE_MAP()

void CRepairDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PROGRESS, m_progressPlaceholder);
    DDX_Control(dx, IDC_MINIMISE, m_minimiseButton);
    DDX_Control(dx, IDC_CLOSE, m_closeButton);
    DDX_Control(dx, IDC_END, m_endButton);
    DDX_Control(dx, IDC_START, m_startButton);
}

BOOL CRepairDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();
    AlignControlsToSkin(*this, kSansSerifPixelsPerTwoUnits);

    m_progress = new (std::nothrow) CBitmapProgressCtrl(&m_progressPlaceholder, m_progressUpper, nullptr, FALSE,
                                                        nullptr, "", -3);

    CString aboutItem;
    aboutItem.LoadString(IDS_ABOUTBOX);
    if (CMenu* systemMenu = GetSystemMenu(FALSE); systemMenu && !aboutItem.IsEmpty()) {
        systemMenu->AppendMenu(MF_SEPARATOR);
        systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutItem);
    }
    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    ApplySkin(*this, IDB_REPAIR_BACKGROUND);

    LoadCaptionedKey(m_startButton, IDS_START);
    LoadCaptionedKey(m_endButton, IDS_END);
    LoadCornerKeys(m_closeButton, m_minimiseButton);

    const struct {
        int control;
        UINT text;
    } texts[] = {{IDC_DEVICE_CAPTION, IDS_DEVICE}, {IDC_OPTION_CAPTION, IDS_OPTION},
                 {IDC_FAST, IDS_FAST}, {IDC_COMPLETE, IDS_COMPLETE}};
    for (const auto& item : texts) {
        CString text;
        text.LoadString(item.text);
        SetDlgItemText(item.control, text);
    }
    SetDlgItemText(IDC_STATUS, "");
    SetWindowText("Vexmend");
    UseSkinFont(GetDlgItem(IDC_FAST), m_radioFont, 24);
    UseSkinFont(GetDlgItem(IDC_COMPLETE), m_radioFont, 24);
    for (int control : {IDC_DEVICE_BOX, IDC_OPTION_CAPTION, IDC_DEVICE_CAPTION})
        UseSkinFont(GetDlgItem(control), m_boxFont, 22);
    UseSkinFont(GetDlgItem(IDC_STATUS), m_statusFont, 18);

    m_device.legacy = IsLegacyWindows();
    m_busy = 0;
    m_complete = FALSE;
    SendDlgItemMessage(IDC_FAST, BM_SETCHECK, BST_CHECKED);

    RefreshDeviceInfo();
    return TRUE;
}

void CRepairDialog::OnOK()
{
    if (RunInProgress()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    CBitmapDialog::OnOK();
}

void CRepairDialog::OnCancel()
{
    if (RunInProgress()) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    CBitmapDialog::OnCancel();
}

void CRepairDialog::OnSysCommand(UINT id, LPARAM lParam)
{
    if ((id & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDialog about;
        about.DoModal();
        return;
    }
    Default();
}

void CRepairDialog::OnPaint()
{
    if (IsIconic())
        PaintIconicWindow(*this, m_icon);
    else
        Default();
}

HCURSOR CRepairDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_icon);
}

HBRUSH CRepairDialog::OnCtlColor(CDC* dc, CWnd* control, UINT kind)
{
    HBRUSH brush = CBitmapDialog::OnCtlColor(dc, control, kind);
    if (kind != CTLCOLOR_STATIC)
        return brush;
    switch (control->GetDlgCtrlID()) {
    case IDC_FAST:
    case IDC_COMPLETE:
        PrepareSkinText(*dc, m_radioFont, 24, kKeepTextColour);
        break;
    case IDC_DEVICE_BOX:
    case IDC_OPTION_CAPTION:
    case IDC_DEVICE_CAPTION:
        PrepareSkinText(*dc, m_boxFont, 22, RGB(0, 0, 0));
        break;
    case IDC_STATUS:
        PrepareSkinText(*dc, m_statusFont, 18, RGB(0, 0, 0));
        break;
    default:
        return brush;
    }
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));  // the skin shows behind the text
}

void CRepairDialog::OnDestroy()
{
    CBitmapDialog::OnDestroy();
    delete m_progress;
    m_progress = nullptr;
}

void CRepairDialog::OnTimer(UINT_PTR id)
{
    if (id == kRefreshTimer) {
        KillTimer(id);
        RefreshDeviceInfo();
    }
    Default();
}

void CRepairDialog::OnCompleteMode()
{
    m_complete = TRUE;
}

void CRepairDialog::OnFastMode()
{
    m_complete = FALSE;
}

void CRepairDialog::OnMinimise()
{
    ShowWindow(SW_MINIMIZE);
}

BOOL CRepairDialog::OpenRepairDevice(BOOL quiet)
{
    if (!FindSmiDevice(m_device.legacy, &m_device.hostAdapterId, &m_device.targetId, &m_device.aspiModule,
                       &m_device.driveLetter)) {
        if (!quiet)
            ShowFailureBox(IDS_NO_DISK);
        return FALSE;
    }
    m_locked = OpenAndLockVolume(m_device.legacy, &m_device.volumeHandle, &m_device.vwin32Handle);
    return TRUE;
}

void CRepairDialog::CloseRepairDevice()
{
    DismountAndCloseVolume(m_device.legacy, &m_device.volumeHandle, &m_device.vwin32Handle);
    FreeAspiLibrary(m_device.legacy, &m_device.aspiModule);
}

void CRepairDialog::RefreshDeviceInfo()
{
    if (m_busy)
        return;
    m_busy = 1;
    if (!OpenRepairDevice(TRUE)) {
        SetDlgItemText(IDC_DEVICE_BOX, "No Disk!");
        m_busy = 0;
        return;
    }
    VendorAnswer flashInfo;
    VendorAnswer deviceInfo;
    const BOOL flashRead = VendorReadFlashInfo(m_device, flashInfo);
    const BOOL deviceRead = VendorReadDeviceInfo(m_device, deviceInfo);
    SetDlgItemText(IDC_DEVICE_BOX,
                   DeviceBoxText(m_device.driveLetter, flashRead, flashInfo.data(), deviceRead, deviceInfo.data()));
    // A refresh only reads. When the lock failed another program has the drive open (a copy in
    // progress, say): a forced dismount would invalidate its handles, so close without one.
    if (!m_locked)
        CloseVolumeWithoutDismount(m_device.legacy, &m_device.volumeHandle, &m_device.vwin32Handle);
    CloseRepairDevice();
    m_busy = 0;
}

void CRepairDialog::OnStartButton()
{
    // The last run's worker enables Start again a few steps before it ends; a run started in
    // between would lose its close guard when that worker clears it.
    if (RunInProgress())
        return;
    if (!OpenRepairDevice(FALSE))
        return;
    CloseRepairDevice();
    if (m_busy)
        return;
    timing::SleepPause pause;
    CloseExplorerWindows(pause);
    Sleep(1000);
    m_startButton.EnableWindow(FALSE);
    m_busy = 1;
    InterlockedExchange(&m_runInProgress, 1);
    if (!AfxBeginThread(RepairThreadEntry, this, THREAD_PRIORITY_TIME_CRITICAL, 0, 0, nullptr)) {
        InterlockedExchange(&m_runInProgress, 0);
        m_busy = 0;
        m_startButton.EnableWindow(TRUE);
    }
}

UINT __cdecl RepairThreadEntry(LPVOID dialog)
{
    static_cast<CRepairDialog*>(dialog)->RunRepair();
    return 0;
}

void CRepairDialog::RunRepair()
{
    progress::UnseenProgress noProgress;  // when the bar could not be made
    progress::ProgressSink& bar = m_progress ? static_cast<progress::ProgressSink&>(*m_progress) : noProgress;
    if (m_progress)
        m_progress->SetRange(0, 100, FALSE, TRUE);
    bar.SetPos(0, true);
    repair::RepairResult result = repair::RepairResult::Success;

    if (!OpenRepairDevice(FALSE)) {
        result = repair::RepairResult::OpenFailed;
    } else {
        CString status;
        status.LoadString(IDS_REPAIRING);
        SetDlgItemText(IDC_STATUS, status);
        std::size_t imageSize = 0;
        const unsigned char* image = FindIspFirmwareImage(&imageSize);
        DeviceRepairPort port(m_device, m_progress, m_complete);
        timing::SleepPause pause;
        result = repair::RepairOpenedDrive(port, bar, pause, std::span<const std::uint8_t>(image, image ? imageSize : 0));
    }

    for (int position = 2; position <= 100; position += 2)
        bar.SetPos(position, true);

    m_busy = 0;
    CString startText;
    startText.LoadString(IDS_START_BUTTON);
    m_startButton.SetWindowText(startText);
    CloseRepairDevice();

    if (result == repair::RepairResult::Success)
        ShowSuccessBox(repair::ResultStringId(result));
    else
        ShowFailureBox(repair::ResultStringId(result));

    bar.SetPos(100, true);
    SetTimer(kRefreshTimer, kRefreshDelay);  // the library hands it to the dialog's own thread
    m_startButton.EnableWindow(TRUE);
    m_busy = 0;
    SetDlgItemText(IDC_STATUS, "");
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    InterlockedExchange(&m_runInProgress, 0);
}
