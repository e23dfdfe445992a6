// tests/windows/wnaspi32/wnaspi32.cpp
// A wnaspi32.dll for the tests: ASPI for Win32 over the simulated drive of the profile
// (platform/scsi/sim_profile.h, looked up by this DLL itself), so Sarrow's legacy path runs for
// real under Wine. Never shipped.
//
// Test settings, read from the environment at each call:
//   WNASPI32_ADAPTERS      number of host adapters (default 1)
//   WNASPI32_DRIVE_ADAPTER the adapter whose target 0 is the drive (default the last); target 0
//                          of the other adapters is a foreign CD-ROM drive
//   WNASPI32_COMPLETION    thread (default): SS_PENDING, completed from a thread and the event
//                          set; immediate: done before SendASPI32Command returns; never: the
//                          request stays pending until SC_ABORT_SRB
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "core/sim/smi_controller.h"
#include "core/sync/mutex.h"
#include "platform/scsi/sim_profile.h"
#include "platform/win9x/aspi.h"

namespace {

HMODULE g_module = nullptr;
core::Mutex g_mutex;  // one command at a time reaches the drive
std::unique_ptr<sim::SmiController> g_drive;
bool g_tried = false;
aspi::SRB_ExecSCSICmd* g_pending = nullptr;
DWORD g_sent = 0;
DWORD g_aborted = 0;

enum class Completion { Thread, Immediate, Never };

std::string Setting(const char* name)
{
    char value[64] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value) : std::string();
}

BYTE AdapterCount()
{
    const std::string value = Setting("WNASPI32_ADAPTERS");
    const int count = value.empty() ? 1 : std::atoi(value.c_str());
    return static_cast<BYTE>(count < 1 ? 1 : count > 8 ? 8 : count);
}

BYTE DriveAdapter()
{
    const std::string value = Setting("WNASPI32_DRIVE_ADAPTER");
    return value.empty() ? static_cast<BYTE>(AdapterCount() - 1)
                         : static_cast<BYTE>(std::atoi(value.c_str()));
}

Completion CompletionMode()
{
    const std::string value = Setting("WNASPI32_COMPLETION");
    if (value == "immediate")
        return Completion::Immediate;
    if (value == "never")
        return Completion::Never;
    return Completion::Thread;
}

// Opens the drive at the first call. The DLL stays loaded from then on: a completion thread
// must never outlive the code it runs, whatever FreeLibrary the caller makes.
sim::SmiController* Drive()
{
    if (!g_tried) {
        g_tried = true;
        HMODULE pinned = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(&Drive), &pinned);
        sim::DriveProfile profile;
        std::string path, error;
        if (FindSimProfile(g_module, profile, path, error)) {
            auto drive = std::make_unique<sim::SmiController>(profile);
            if (drive->Open(error))
                g_drive = std::move(drive);
        }
        if (!g_drive && !error.empty())
            OutputDebugStringA(("wnaspi32: " + error + "\n").c_str());
    }
    return g_drive.get();
}

// A foreign device on the other adapters: a CD-ROM drive that answers INQUIRY only.
bool ForeignDevice(aspi::SRB_ExecSCSICmd& srb)
{
    if (srb.CDBByte[0] != 0x12 || !srb.SRB_BufPointer)
        return false;
    BYTE inquiry[36] = {0x05, 0x80, 0x02, 0x02, 31};
    std::memcpy(inquiry + 8, "WINE    CD-ROM          1.0 ", 28);
    std::memcpy(srb.SRB_BufPointer, inquiry, std::min<DWORD>(srb.SRB_BufLen, sizeof inquiry));
    return true;
}

// Host adapter status of a request whose target did not answer its selection.
constexpr BYTE kSelectionTimeout = 0x11;

// Answers as ASPI does for a real drive: SS_COMP for a command that ended GOOD; SS_ERR with the
// target's status and its sense data for one it refused; SS_ERR with a selection time-out when
// the drive has dropped off the bus. The status is set last: from then on the block is the
// caller's again.
void Run(aspi::SRB_ExecSCSICmd& srb)
{
    sim::CommandOutcome outcome;
    {
        std::lock_guard<core::Mutex> lock(g_mutex);
        if (srb.SRB_HaId != DriveAdapter()) {
            if (!ForeignDevice(srb)) {
                outcome.status = scsi::kStatusCheckCondition;
                outcome.sense = scsi::kInvalidOpcode;
            }
        } else if (sim::SmiController* drive = Drive()) {
            scsi::Cdb cdb{};
            std::memcpy(cdb.data(), srb.CDBByte, cdb.size());
            const scsi::Direction direction = (srb.SRB_Flags & aspi::SRB_DIR_OUT)
                                                  ? scsi::Direction::Out
                                                  : scsi::Direction::In;
            outcome = drive->Submit(cdb, srb.SRB_CDBLen, direction, srb.SRB_BufPointer, srb.SRB_BufLen);
        } else {
            outcome.answered = false;
        }
    }
    srb.SRB_HaStat = outcome.answered ? 0 : kSelectionTimeout;
    srb.SRB_TargStat = outcome.status;
    if (!outcome.Good() && outcome.answered) {
        const scsi::FixedSense sense = outcome.SenseData();
        std::memcpy(srb.SenseArea, sense.data(),
                    std::min<std::size_t>({srb.SRB_SenseLen, sizeof srb.SenseArea, sense.size()}));
    }
    srb.SRB_Status = outcome.Good() ? aspi::SS_COMP : aspi::SS_ERR;
}

void Post(aspi::SRB_ExecSCSICmd& srb)
{
    if ((srb.SRB_Flags & aspi::SRB_EVENT_NOTIFY) && srb.SRB_PostProc)
        SetEvent(static_cast<HANDLE>(srb.SRB_PostProc));
}

struct Job {
    aspi::SRB_ExecSCSICmd* srb;
    HANDLE event;  // our own reference: the caller may close its handle once the status is set
};

DWORD WINAPI CompleteLater(void* parameter)
{
    std::unique_ptr<Job> job(static_cast<Job*>(parameter));
    Sleep(2);  // the caller sees SS_PENDING and waits
    Run(*job->srb);  // the status is set last; from then on the block is the caller's again
    if (job->event) {
        SetEvent(job->event);
        CloseHandle(job->event);
    }
    return 0;
}

DWORD Execute(aspi::SRB_ExecSCSICmd& srb)
{
    {
        std::lock_guard<core::Mutex> lock(g_mutex);
        ++g_sent;
    }
    if (srb.SRB_HaId >= AdapterCount())
        return srb.SRB_Status = aspi::SS_INVALID_HA;
    if (srb.SRB_Target != 0 || srb.SRB_Lun != 0 || srb.SRB_CDBLen == 0 || srb.SRB_CDBLen > 16)
        return srb.SRB_Status = aspi::SS_NO_DEVICE;
    switch (CompletionMode()) {
    case Completion::Immediate:
        Run(srb);
        Post(srb);
        return srb.SRB_Status;
    case Completion::Never: {
        std::lock_guard<core::Mutex> lock(g_mutex);
        srb.SRB_Status = aspi::SS_PENDING;
        g_pending = &srb;
        return aspi::SS_PENDING;
    }
    case Completion::Thread:
        break;
    }
    auto job = std::make_unique<Job>(Job{&srb, nullptr});
    if ((srb.SRB_Flags & aspi::SRB_EVENT_NOTIFY) && srb.SRB_PostProc)
        DuplicateHandle(GetCurrentProcess(), static_cast<HANDLE>(srb.SRB_PostProc),
                        GetCurrentProcess(), &job->event, 0, FALSE, DUPLICATE_SAME_ACCESS);
    srb.SRB_Status = aspi::SS_PENDING;
    HANDLE thread = CreateThread(nullptr, 0, CompleteLater, job.get(), 0, nullptr);
    if (!thread) {
        if (job->event)
            CloseHandle(job->event);
        Run(srb);
        Post(srb);
        return srb.SRB_Status;
    }
    job.release();
    CloseHandle(thread);
    return aspi::SS_PENDING;
}

DWORD Abort(aspi::SRB_Abort& abort)
{
    std::lock_guard<core::Mutex> lock(g_mutex);
    if (!g_pending || abort.SRB_ToAbort != g_pending)
        return abort.SRB_Status = aspi::SS_ABORT_FAIL;
    aspi::SRB_ExecSCSICmd& srb = *g_pending;
    g_pending = nullptr;
    ++g_aborted;
    srb.SRB_Status = aspi::SS_ABORTED;
    Post(srb);
    return abort.SRB_Status = aspi::SS_COMP;
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, void*)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}

DWORD __cdecl GetASPI32SupportInfo()
{
    if (!Drive())
        return DWORD{aspi::SS_NO_ADAPTERS} << 8;
    return (DWORD{aspi::SS_COMP} << 8) | AdapterCount();
}

DWORD __cdecl SendASPI32Command(void* block)
{
    if (!block)
        return aspi::SS_INVALID_SRB;
    auto* header = static_cast<aspi::SRB_Header*>(block);
    switch (header->SRB_Cmd) {
    case aspi::SC_EXEC_SCSI_CMD:
        return Execute(*static_cast<aspi::SRB_ExecSCSICmd*>(block));
    case aspi::SC_ABORT_SRB:
        return Abort(*static_cast<aspi::SRB_Abort*>(block));
    default:
        return header->SRB_Status = aspi::SS_INVALID_CMD;
    }
}

// Test support: how many requests came in and how many of them were aborted.
void __cdecl WnaspiTestCounters(DWORD* sent, DWORD* aborted)
{
    std::lock_guard<core::Mutex> lock(g_mutex);
    *sent = g_sent;
    *aborted = g_aborted;
}

}  // extern "C"
