// brimlet/repair_dialog.cpp
#include "brimlet/repair_dialog.h"

#include <dbt.h>
#include <shlwapi.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "brimlet/agreement_dialog.h"
#include "brimlet/dialog_skin.h"
#include "brimlet/message_dialog.h"
#include "brimlet/repair_app.h"
#include "brimlet/resource.h"
#include "brimlet/splash_dialog.h"
#include "core/brimlet/repair_rules.h"
#include "core/brimlet/startup_rules.h"

namespace {

constexpr COLORREF kBadBlockColour = RGB(255, 0, 0);
static_assert(brimlet::kStateFinished == kRezoStateFinished);

RepairSharedState g_state;

void Trace(LPCSTR format, ...)
{
    char line[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    ::OutputDebugStringA(line);
}

CString LoadText(UINT id, int bufferSize)
{
    CString text;
    ::LoadStringA(AfxGetResourceHandle(), id, text.GetBuffer(bufferSize), bufferSize);
    text.ReleaseBuffer();
    return text;
}

bool IsLeadByte(unsigned char byte)
{
    return ::IsDBCSLeadByte(byte) != FALSE;
}

}  // namespace

RepairSharedState& RepairState()
{
    return g_state;
}

CRepairManagerDialog::CRepairManagerDialog(CWnd* parent)
    : CBitmapDialog(IDD_REPAIR_MANAGER, parent), m_loader("REZO"),
      m_icon(::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_BRIMLET)))
{
}

CRepairManagerDialog::~CRepairManagerDialog()
{
    if (m_worker) {
        ::WaitForSingleObject(m_worker->m_hThread, INFINITE);
        delete m_worker;
        m_worker = nullptr;
    }
}

BEGIN_MESSAGE_MAP(CRepairManagerDialog, CBitmapDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_BN_CLICKED(IDOK, &CRepairManagerDialog::StartRepair)
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_BN_CLICKED(IDC_CLOSE_BUTTON, &CRepairManagerDialog::OnCloseButton)
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(IDC_MINIMISE_BUTTON, &CRepairManagerDialog::OnMinimiseButton)
    ON_WM_DEVICECHANGE()
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

void CRepairManagerDialog::DoDataExchange(CDataExchange* dx)
{
    CBitmapDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_MINIMISE_BUTTON, m_minimiseButton);
    DDX_Control(dx, IDC_PROGRESS, m_progress);
    DDX_Control(dx, IDC_CLOSE_BUTTON, m_closeButton);
    DDX_Control(dx, IDC_DEVICE_INFO, m_deviceInfo);
    DDX_Control(dx, IDC_OPTION_FRAME, m_optionFrame);
    DDX_Control(dx, IDC_DEVICE_FRAME, m_deviceFrame);
    DDX_Control(dx, IDOK, m_repairButton);
    DDX_Control(dx, IDCANCEL, m_closeTextButton);
    DDX_Control(dx, IDC_FAST, m_fastOption);
    DDX_Control(dx, IDC_COMPLETE, m_completeOption);
    DDX_Control(dx, IDC_BAD_BLOCK_TEXT, m_badBlockStatic);
    DDX_Control(dx, IDC_BAD_BLOCK_LEGEND, m_legendStatic);
    DDX_Control(dx, IDC_NEW_FIRMWARE, m_newFirmwareStatic);
    DDX_Control(dx, IDC_UPDATE_FIRMWARE, m_firmwareSwitch);
    DDX_Control(dx, IDC_TEXT_PROGRESS, m_textProgress);
    DDX_Text(dx, IDC_BAD_BLOCK_TEXT, m_badBlockText);
    DDX_Text(dx, IDC_DEVICE_INFO, m_deviceText);
}

BOOL CRepairManagerDialog::OnInitDialog()
{
    CBitmapDialog::OnInitDialog();

    {
        CSplashDialog splash(nullptr);
        splash.DoModal();
    }
    BOOL accepted = FALSE;
    {
        // The licence keeps its text pieces in itself: too large for the stack of a dialog.
        CAgreementDialog* agreement = new CAgreementDialog(nullptr);
        agreement->DoModal();
        accepted = agreement->m_accepted;
        delete agreement;
    }
    Trace("OnInitDialog 0");
    if (!accepted) {
        EndDialog(1);
        return TRUE;
    }

    ApplyDialogSkin(*this, IDB_REPAIR_BACKGROUND);

    SetUpTextButton(m_closeTextButton);
    SetUpTextButton(m_repairButton);
    SetUpCornerButtons(m_closeButton, m_minimiseButton);

    m_progress.SetBitmapChannel(IDB_PROGRESS_CHANNEL, IDB_PROGRESS_ACTIVE, TRUE, 0xFF000000, 0, 0);
    m_progress.SetVertical(FALSE);
    m_progress.SetRange(0, 100, FALSE);
    m_progress.SetMarginTop(4);

    SetIcon(m_icon, TRUE);
    SetIcon(m_icon, FALSE);

    m_pieChart.SubclassDlgItem(IDC_PIE_CHART, this);

    BOOL bound = FALSE;
    const RezoDeviceHandle device = m_loader.REZO_CreateCUSBDevice(&bound);
    if (!bound) {
        AfxMessageBox("Can't find REZO.dll", MB_OK, 0);
        EndDialog(1);
        return TRUE;
    }
    m_device = device;
    m_workerRecord.device = m_device;
    m_deviceReady = TRUE;
    Trace("OnInitDialog 1");

    const BOOL present = m_loader.REZO_DeviceExist(m_device, &bound) != 0 && bound;
    Trace("OnInitDialog 2");
    m_loader.REZO_GetNumberOfDrive(m_device);
    Trace("OnInitDialog 3");

    g_state = RepairSharedState();

    if (!present) {
        ShowWindow(SW_HIDE);
        ShowMessageDialog(LoadText(IDS_DEVICE_NOT_FOUND, 256), TRUE);
        EndDialog(2);
        return TRUE;
    }

    // The module's own path rather than the command line's first word, which is cut at a space
    // when the line was not quoted.
    char program[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        if (const auto title = brimlet::TitleFromProgramPath(program, IsLeadByte)) {
            lstrcpynA(g_state.title, title->c_str(), sizeof g_state.title);
            SetWindowText(g_state.title);
        }
    }

    ReadDeviceIni();
    SendDlgItemMessage(IDC_COMPLETE, BM_SETCHECK, BST_CHECKED);
    ShowDeviceInfo();
    Trace("OnInitDialog 4");

    m_loader.REZO_GetChipID(m_device, &g_state.chipId, &g_state.chipVersion);
    Trace("chipID=%d,chipVer=%d", g_state.chipId, g_state.chipVersion);
    switch (brimlet::CheckChip(g_state.chipId, g_state.chipVersion, GetRepairManagerApp()->m_osBuildNumber)) {
    case brimlet::ChipVerdict::Unsupported:
        AfxMessageBox(LoadText(IDS_DEVICE_NOT_SUPPORTED, 256), MB_OK, 0);
        EndDialog(2);
        return TRUE;
    case brimlet::ChipVerdict::WindowsTooNew:
        AfxMessageBox(LoadText(IDS_WINDOWS_NOT_SUPPORTED, 256), MB_OK, 0);
        EndDialog(2);
        return TRUE;
    case brimlet::ChipVerdict::Supported:
        break;
    }
    Trace("OnInitDialog 5");
    return TRUE;
}

void CRepairManagerDialog::ReadDeviceIni()
{
    char folder[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, folder, 259);
    ::PathRemoveFileSpecA(folder);
    char path[MAX_PATH + 16] = {};
    std::snprintf(path, sizeof path, "%s\\Device.ini", folder);
    char value[64] = {};
    ::GetPrivateProfileStringA("Device", "SelectDevice", "", value, sizeof value, path);
    g_state.family = value[0] ? brimlet::FamilyFromSelectDevice(value) : 0;
    g_state.mode = g_state.family;
    Trace("SelectDevice=%d", g_state.family);
}

void CRepairManagerDialog::ShowDeviceInfo()
{
    m_loader.REZO_SetCurrentDriveNumber(m_device, 0);
    char description[kRezoDeviceStringSize] = {};
    m_loader.REZO_GetDeviceString(m_device, description);
    description[sizeof description - 1] = '\0';
    char version[kRezoFwVersionSize] = {};
    m_loader.REZO_GetFwVersion(m_device, version);
    version[sizeof version - 1] = '\0';
    m_deviceText = brimlet::DeviceText(description, version).c_str();

    char newVersion[kRezoFwVersionSize] = {};
    ReadNewFWVersion(newVersion);
    CString newText;
    newText.Format("New FW Ver:%s", newVersion);
    SetDlgItemText(IDC_NEW_FIRMWARE, newText);
    if (brimlet::HasFirmware(version))
        Trace("fwv=%d, newfwv=%d", brimlet::FirmwareVersionNumber(version), brimlet::FirmwareVersionNumber(newVersion));

    m_firmwareSwitch.SetCheck(BST_CHECKED);
    if (!brimlet::HasFirmware(version))
        m_firmwareSwitch.EnableWindow(FALSE);

    m_badBlockText = brimlet::BadBlockText(LoadText(IDS_BAD_BLOCKS, 64).GetString(), 0.0).c_str();

    const struct {
        int control;
        UINT text;
    } texts[] = {{IDC_DEVICE_FRAME, IDS_DEVICE_INFORMATION}, {IDC_OPTION_FRAME, IDS_REPAIR_OPTION},
                 {IDC_FAST, IDS_FAST}, {IDC_COMPLETE, IDS_COMPLETE}, {IDOK, IDS_UPDATE}, {IDCANCEL, IDS_CLOSE}};
    for (const auto& item : texts)
        SetDlgItemText(item.control, LoadText(item.text, 64));

    UpdateData(FALSE);
    UpdateDialogControls(this, FALSE);
}

void CRepairManagerDialog::ReadNewFWVersion(char* version)
{
    Trace("Enter ReadNewFWVersion");
    version[0] = '\0';
    char path[kRezoFwFilePathSize] = {};
    if (!m_loader.REZO_GetUpdateFWFile(m_device, path, g_state.family))
        return;
    path[sizeof path - 1] = '\0';
    Trace("%s", path);
    std::FILE* image = std::fopen(path, "rb");
    if (!image)
        return;
    std::uint8_t tag[brimlet::kFirmwareTagRead] = {};
    std::size_t read = 0;
    if (std::fseek(image, brimlet::kFirmwareTagOffset, SEEK_SET) == 0)
        read = std::fread(tag, 1, sizeof tag, image);
    std::fclose(image);
    const std::string found = brimlet::FirmwareVersionFromTag(tag, read);
    lstrcpynA(version, found.c_str(), brimlet::kFirmwareVersionLength + 1);
}

void CRepairManagerDialog::GetInput()
{
    g_state.complete = SendDlgItemMessage(IDC_COMPLETE, BM_GETCHECK) == BST_CHECKED;
    g_state.update = brimlet::UpdateFlag(g_state.chipId, SendDlgItemMessage(IDC_UPDATE_FIRMWARE, BM_GETCHECK) == BST_CHECKED);
    g_state.mode = brimlet::ModeByte(g_state.family, g_state.complete != FALSE, g_state.update != FALSE);
    Trace("In GetInput, bflag=%d", g_state.mode);
}

void CRepairManagerDialog::StartRepair()
{
    // One repair at a time: the library runs one, and the button stays enabled while it does.
    if (g_state.busy || !m_deviceReady)
        return;
    GetInput();
    m_workerRecord.device = m_device;
    m_workerRecord.loader = &m_loader;
    m_progress.SetPos(0);
    SetTimer(kProgressTimerId, kProgressTimerMilliseconds);
    g_state.busy = TRUE;
    // Started suspended so that the thread object outlives the thread: the dialog waits for it
    // before the library is released.
    if (m_worker) {
        // The last repair's worker is at most returning from the library.
        ::WaitForSingleObject(m_worker->m_hThread, INFINITE);
        delete m_worker;
    }
    m_worker = AfxBeginThread(RepairThreadProc, &m_workerRecord, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (!m_worker) {
        KillTimer(kProgressTimerId);
        g_state.busy = FALSE;
        return;
    }
    m_worker->m_bAutoDelete = FALSE;
    m_worker->ResumeThread();
}

UINT __cdecl RepairThreadProc(LPVOID record)
{
    const RepairWorkerRecord& worker = *static_cast<RepairWorkerRecord*>(record);
    const BYTE mode = g_state.mode;
    worker.loader->REZO_RunRepairDevice(worker.device, mode);
    return 0;
}

void CRepairManagerDialog::OnTimer(UINT_PTR id)
{
    if (id != kProgressTimerId) {
        CBitmapDialog::OnTimer(id);
        return;
    }
    // A dialog ended by its close buttons reports nothing more.
    if (m_ended)
        return;
    m_progress.SetPos(brimlet::ShownProgress(m_loader.REZO_GetCurrentProgress(m_device)));
    const BYTE state = m_loader.REZO_GetCurrentState(m_device);
    if (!brimlet::RepairEnded(state, RepairCallReturned()))
        return;

    KillTimer(kProgressTimerId);
    m_progress.SetPos(100);
    DWORD bad = 0;
    DWORD total = 0;
    WORD unit = 0;
    m_loader.REZO_GetBADBlockInfomation(m_device, &bad, &total, &unit);
    const brimlet::BadBlockShare share = brimlet::ComputeBadBlockShare(bad, total, unit);
    m_pieChart.RemoveAllPieces();
    m_pieChart.AddPiece(kBadBlockColour, RGB(0, 0, 0), static_cast<int>(share.sliceDegrees), CString());
    UpdateData(TRUE);
    m_badBlockText = brimlet::BadBlockText(LoadText(IDS_BAD_BLOCKS, 64).GetString(), share.percent).c_str();
    UpdateData(FALSE);

    ::Sleep(1000);

    const DWORD errorCode = m_loader.REZO_GetErrorCode(m_device);
    if (!brimlet::RepairSucceeded(errorCode))
        ShowMessageDialog(brimlet::FailureText(LoadText(IDS_REPAIR_FAIL, 255).GetString(), errorCode).c_str(), TRUE);
    else
        ShowMessageDialog(LoadText(IDS_REPAIR_COMPLETE, 64), FALSE);
    // Only now: a removal while the result shows must not open a second box over it.
    g_state.busy = FALSE;
    EndDialog(2);
}

BOOL CRepairManagerDialog::RepairCallReturned() const
{
    return m_worker && ::WaitForSingleObject(m_worker->m_hThread, 0) == WAIT_OBJECT_0;
}

BOOL CRepairManagerDialog::OnDeviceChange(UINT event, DWORD_PTR data)
{
    if (event != DBT_DEVICEREMOVECOMPLETE || g_state.busy || !m_deviceReady)
        return TRUE;
    BOOL bound = FALSE;
    const BOOL present = m_loader.REZO_DeviceExist(m_device, &bound) != 0 && bound;
    m_loader.REZO_GetNumberOfDrive(m_device);
    if (!present) {
        ShowWindow(SW_HIDE);
        AfxMessageBox(LoadText(IDS_DEVICE_NOT_FOUND, 64), MB_OK, 0);
        EndDialog(2);
        return FALSE;
    }
    UpdateData(FALSE);
    UpdateDialogControls(this, FALSE);
    return TRUE;
}

void CRepairManagerDialog::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    const int x = (client.right - client.left - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_icon);
}

HCURSOR CRepairManagerDialog::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_icon);
}

void CRepairManagerDialog::OnDestroy()
{
    CBitmapDialog::OnDestroy();
}

void CRepairManagerDialog::OnSize(UINT type, int cx, int cy)
{
    CBitmapDialog::OnSize(type, cx, cy);
    if (!m_repairButton.GetSafeHwnd())
        return;
    const int d = (cx - 80) / 2;
    const struct {
        int id;
        int x, y, width, height;
        bool keepSize;
    } layout[] = {
        {IDC_CLOSE_BUTTON, cx - 65, 19, 0, 0, true},
        {IDC_MINIMISE_BUTTON, cx - 118, 19, 0, 0, true},
        {IDC_DEVICE_FRAME, 30, 100, d, cy - 270, false},
        {IDC_OPTION_FRAME, 250, 100, d, cy - 270, false},
        {IDC_DEVICE_INFO, 50, 130, d - 40, cy - 300, false},
        {IDC_FAST, 270, 130, 0, 0, true},
        {IDC_COMPLETE, 270, 170, 0, 0, true},
        {IDC_PROGRESS, 40, cy - 155, 0, 0, true},
        {IDOK, 100, cy - 98, 0, 0, true},
        {IDCANCEL, cx - 203, cy - 98, 0, 0, true},
    };
    for (const auto& item : layout) {
        if (HWND control = ::GetDlgItem(m_hWnd, item.id))
            ::SetWindowPos(control, nullptr, item.x, item.y, item.width, item.height,
                           SWP_NOZORDER | SWP_NOACTIVATE | (item.keepSize ? SWP_NOSIZE : 0));
    }
}

void CRepairManagerDialog::OnCloseButton()
{
    OnCancel();
}

BOOL CRepairManagerDialog::OnEraseBkgnd(CDC* dc)
{
    CBitmapDialog::OnEraseBkgnd(dc);
    return TRUE;
}

void CRepairManagerDialog::OnMinimiseButton()
{
    ShowWindow(SW_MINIMIZE);
}

void CRepairManagerDialog::OnWindowPosChanging(WINDOWPOS* position)
{
    // Consumed: no default processing.
}
