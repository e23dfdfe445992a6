// Both REZO.dll flavours as the programs meet them: loaded by path, bound by name (Brimlet) and
// by ordinal (Quillet), version 3.0.5.7; the shipped one presents nothing, the simulating one
// follows its profile, survives polling every 5 ms during a repair, and logs every call.
// The two DLLs lie beside this program in shipped\ and simulating\.
#include <windows.h>

#include <dbt.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "rezo/rezo_api.h"
#include "rezo/rezo_sim.h"
#include "tests/windows/support/files.h"

namespace {

using ::testing::HasSubstr;
using test_support::ProgramFolder;

std::string FlavourPath(const char* flavour) { return ProgramFolder() + flavour + "\\REZO.dll"; }

// A fresh folder under %TEMP%, removed with what it holds.
class TempFolder {
public:
    TempFolder()
    {
        static int counter = 0;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "rezo_test_" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(++counter) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((path_ + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    std::string File(const std::string& name) const { return path_ + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> Lines(const std::string& path)
{
    std::vector<std::string> lines;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool Contains(const std::vector<std::string>& lines, const std::string& text)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
}

// The library's functions, bound by name as Brimlet binds them.
struct Rezo {
    decltype(&REZO_CreateCUSBDevice) CreateCUSBDevice;
    decltype(&REZO_DestroyCUSBDevice) DestroyCUSBDevice;
    decltype(&REZO_DeviceExist) DeviceExist;
    decltype(&REZO_GetDeviceKind) GetDeviceKind;
    decltype(&REZO_GetNumberOfDrive) GetNumberOfDrive;
    decltype(&REZO_GetChipID) GetChipID;
    decltype(&REZO_SetCurrentDriveNumber) SetCurrentDriveNumber;
    decltype(&REZO_GetDeviceString) GetDeviceString;
    decltype(&REZO_GetFwVersion) GetFwVersion;
    decltype(&REZO_GetUpdateFWFile) GetUpdateFWFile;
    decltype(&REZO_RunRepairDevice) RunRepairDevice;
    decltype(&REZO_GetCurrentProgress) GetCurrentProgress;
    decltype(&REZO_GetCurrentState) GetCurrentState;
    decltype(&REZO_GetBADBlockInfomation) GetBADBlockInfomation;
    decltype(&REZO_GetErrorCode) GetErrorCode;
};

const char* const kExportNames[] = {
    "REZO_CreateCUSBDevice", "REZO_DestroyCUSBDevice", "REZO_DeviceExist", "REZO_GetDeviceKind",
    "REZO_GetNumberOfDrive", "REZO_GetChipID", "REZO_SetCurrentDriveNumber", "REZO_GetDeviceString",
    "REZO_GetFwVersion", "REZO_GetUpdateFWFile", "REZO_RunRepairDevice", "REZO_GetCurrentProgress",
    "REZO_GetCurrentState", "REZO_GetBADBlockInfomation", "REZO_GetErrorCode",
};

// Loads one flavour from `path` and frees it afterwards, waiting until the module is really
// gone (the simulating one pins itself while it tells windows of a removal), so the next test
// starts from a fresh library.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::string& path) : path_(path), module_(LoadLibraryA(path.c_str())) {}
    ~LoadedLibrary()
    {
        if (!module_)
            return;
        FreeLibrary(module_);
        for (int i = 0; i < 1000 && GetModuleHandleA(path_.c_str()); ++i)
            Sleep(10);
        EXPECT_EQ(GetModuleHandleA(path_.c_str()), nullptr) << "the library stayed loaded";
    }
    HMODULE Module() const { return module_; }
    FARPROC Get(const char* name) const { return GetProcAddress(module_, name); }
    Rezo Bind() const
    {
        Rezo r{};
        void** slots = reinterpret_cast<void**>(&r);
        for (std::size_t i = 0; i < std::size(kExportNames); ++i)
            slots[i] = reinterpret_cast<void*>(Get(kExportNames[i]));
        return r;
    }

private:
    std::string path_;
    HMODULE module_;
};

// --- both flavours -----------------------------------------------------------------------

class EitherFlavour : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { SetEnvironmentVariableA(kRezoSimProfileVariable, nullptr); }
};

TEST_P(EitherFlavour, ExportsEveryFunctionByNameAndQuilletsFourByOrdinal)
{
    LoadedLibrary library(FlavourPath(GetParam()));
    ASSERT_NE(library.Module(), nullptr) << FlavourPath(GetParam());
    for (const char* name : kExportNames)
        EXPECT_NE(library.Get(name), nullptr) << name;
    const struct {
        WORD ordinal;
        const char* name;
    } ordinals[] = {
        {17, "REZO_CreateCUSBDevice"}, {19, "REZO_DestroyCUSBDevice"}, {20, "REZO_DeviceExist"}, {28, "REZO_GetDeviceKind"},
    };
    for (const auto& o : ordinals) {
        FARPROC byOrdinal = GetProcAddress(library.Module(), MAKEINTRESOURCEA(o.ordinal));
        EXPECT_NE(byOrdinal, nullptr) << o.ordinal;
        EXPECT_EQ(byOrdinal, library.Get(o.name)) << "ordinal " << o.ordinal << " is " << o.name;
    }
    // Undecorated names only: no "_REZO_DeviceExist@4" beside them.
    EXPECT_EQ(library.Get("REZO_DeviceExist@4"), nullptr);
    EXPECT_EQ(library.Get("_REZO_DeviceExist@4"), nullptr);
}

TEST_P(EitherFlavour, VersionResourceReads3057)
{
    std::string path = FlavourPath(GetParam());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(7, 5));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(7, 5));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\FileVersion", reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "3.0.5.7");
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\StringFileInfo\\040904E4\\OriginalFilename", reinterpret_cast<void**>(&text), &length));
    EXPECT_STREQ(text, "REZO.dll");
}

INSTANTIATE_TEST_SUITE_P(Rezo, EitherFlavour, ::testing::Values("shipped", "simulating"));

// --- the shipped library -----------------------------------------------------------------

TEST(ShippedRezo, PresentsNoDeviceAndLeavesOutputsAlone)
{
    LoadedLibrary library(FlavourPath("shipped"));
    const Rezo rezo = library.Bind();
    ASSERT_NE(rezo.CreateCUSBDevice, nullptr);
    const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
    EXPECT_EQ(rezo.DeviceExist(handle), 0);
    short kind = 77, subKind = 78;
    EXPECT_EQ(rezo.GetDeviceKind(handle, &kind, &subKind), 0);
    EXPECT_EQ(kind, 77);
    EXPECT_EQ(subKind, 78);
    EXPECT_EQ(rezo.GetNumberOfDrive(handle), 0);
    short chipId = 5, chipVersion = 6;
    rezo.GetChipID(handle, &chipId, &chipVersion);
    EXPECT_EQ(chipId, 5);
    char text[kRezoDeviceStringSize] = {};
    rezo.GetDeviceString(handle, text);
    EXPECT_STREQ(text, "");
    char path[kRezoFwFilePathSize] = {};
    rezo.GetUpdateFWFile(handle, path, 0);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(rezo.RunRepairDevice(handle, 0x40), 0);
    EXPECT_EQ(rezo.GetCurrentState(handle), 0);
    rezo.DestroyCUSBDevice(handle);
}

// --- the simulating library --------------------------------------------------------------

class SimulatingRezo : public ::testing::Test {
protected:
    void SetUp() override { SetEnvironmentVariableA(kRezoSimProfileVariable, nullptr); }
    void TearDown() override { SetEnvironmentVariableA(kRezoSimProfileVariable, nullptr); }

    // Writes the profile (with a log beside it) and names it in REZO_SIM_PROFILE.
    void UseProfile(const std::string& text)
    {
        WriteFile(folder_.File("device.profile"), "log = calls.log\n" + text);
        SetEnvironmentVariableA(kRezoSimProfileVariable, folder_.File("device.profile").c_str());
    }
    std::vector<std::string> Log() const { return Lines(folder_.File("calls.log")); }

    TempFolder folder_;
};

TEST_F(SimulatingRezo, FollowsItsProfileAndLogsEachCallWithItsArguments)
{
    UseProfile("chip_id = 353\nchip_version = 17\ndescription = UT163 Flash Disk\nfirmware = FFFFFF\n"
               "image1 = BCD\\us.bin\nkind = 2\ndrives = 3\n");
    const std::string dll = FlavourPath("simulating");
    LoadedLibrary library(dll);
    const Rezo rezo = library.Bind();
    const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
    EXPECT_NE(handle, 0u);
    EXPECT_EQ(rezo.DeviceExist(handle), 1);
    short kind = 0, subKind = 0;
    EXPECT_EQ(rezo.GetDeviceKind(handle, &kind, &subKind), 2);
    EXPECT_EQ(rezo.GetNumberOfDrive(handle), 3);
    short chipId = 0, chipVersion = 0;
    rezo.GetChipID(handle, &chipId, &chipVersion);
    EXPECT_EQ(chipId, 353);
    EXPECT_EQ(chipVersion, 17);
    rezo.SetCurrentDriveNumber(handle, 0);
    char text[kRezoDeviceStringSize] = {};
    rezo.GetDeviceString(handle, text);
    EXPECT_STREQ(text, "UT163 Flash Disk");
    char version[kRezoFwVersionSize] = {};
    rezo.GetFwVersion(handle, version);
    EXPECT_STREQ(version, "FFFFFF");
    char path[kRezoFwFilePathSize] = {};
    rezo.GetUpdateFWFile(handle, path, 1);
    const std::string expected = dll.substr(0, dll.find_last_of('\\') + 1) + "Boot\\BCD\\us.bin";
    EXPECT_EQ(std::string(path), expected);
    rezo.DestroyCUSBDevice(handle);
    EXPECT_EQ(rezo.DeviceExist(handle), 0) << "a destroyed handle is unknown";

    const auto log = Log();
    ASSERT_GE(log.size(), 12u);
    EXPECT_THAT(log[0], HasSubstr("rezo_library_test.exe 1 event profile \""));
    EXPECT_EQ(log[1], "rezo_library_test.exe 1 REZO_CreateCUSBDevice() -> 0x10000001");
    EXPECT_TRUE(Contains(log, "REZO_GetChipID(0x10000001) -> chipId=353 chipVersion=17"));
    EXPECT_TRUE(Contains(log, "REZO_SetCurrentDriveNumber(0x10000001, drive=0) -> done"));
    EXPECT_TRUE(Contains(log, "REZO_GetFwVersion(0x10000001) -> \"FFFFFF\""));
    EXPECT_TRUE(Contains(log, "REZO_GetUpdateFWFile(0x10000001, family=1) -> \"" + expected + "\""));
    EXPECT_TRUE(Contains(log, "REZO_DeviceExist(0x10000001) -> 0 (unknown handle)"));
}

struct RepairRun {
    const Rezo* rezo;
    RezoDeviceHandle handle;
    BYTE mode;
};

DWORD WINAPI RunRepair(void* argument)
{
    auto* run = static_cast<RepairRun*>(argument);
    run->rezo->RunRepairDevice(run->handle, run->mode);
    return 0;
}

// Windows' own way to wait while a window of this thread may get messages.
void PumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

TEST_F(SimulatingRezo, PollingEvery5MsFromTheDialogThreadDuringARepair)
{
    UseProfile("progress_step = 10\nstep_ms = 20\nfinish_ms = 120\nerror_code = 0x13\nbad_blocks = 9\n");
    LoadedLibrary library(FlavourPath("simulating"));
    const Rezo rezo = library.Bind();
    RepairRun run{&rezo, rezo.CreateCUSBDevice(), 0xC0};
    EXPECT_EQ(rezo.GetCurrentState(run.handle), 0);
    HANDLE worker = CreateThread(nullptr, 0, RunRepair, &run, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    std::vector<unsigned> progress;
    std::vector<unsigned> states;
    for (int i = 0; i < 4000; ++i) {
        progress.push_back(rezo.GetCurrentProgress(run.handle));
        states.push_back(rezo.GetCurrentState(run.handle));
        if (states.back() == kRezoStateFinished)
            break;
        Sleep(5);
    }
    EXPECT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    CloseHandle(worker);
    ASSERT_EQ(states.back(), kRezoStateFinished);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end())) << "progress never moves backwards";
    EXPECT_GT(std::count(progress.begin(), progress.end(), 100u), 1) << "100 holds before the state turns final";
    EXPECT_EQ(std::count(states.begin(), states.end(), unsigned{kRezoStateFinished}), 1);
    EXPECT_EQ(rezo.GetErrorCode(run.handle), 0x13u);
    DWORD bad = 0, total = 0;
    WORD unit = 0;
    rezo.GetBADBlockInfomation(run.handle, &bad, &total, &unit);
    EXPECT_EQ(bad, 9u);
    EXPECT_EQ(total, 4096u);
    EXPECT_EQ(unit, 1);

    const auto log = Log();
    EXPECT_TRUE(Contains(log, "rezo_library_test.exe 2 REZO_RunRepairDevice(0x10000001, mode=0xC0) -> running"));
    EXPECT_TRUE(Contains(log, "rezo_library_test.exe 2 REZO_RunRepairDevice(0x10000001, mode=0xC0) -> 0 state=0xFF errorCode=0x13"));
    const auto polls = std::count_if(log.begin(), log.end(), [](const std::string& l) {
        return l.rfind("rezo_library_test.exe 1 REZO_GetCurrentProgress(0x10000001) -> ", 0) == 0;
    });
    EXPECT_EQ(static_cast<std::size_t>(polls), progress.size()) << "every poll is logged whole";
}

TEST_F(SimulatingRezo, TheLogEndsWhenTheProgramFreesTheLibrary)
{
    UseProfile("progress_step = 50\nstep_ms = 1\nfinish_ms = 1\n");
    {
        LoadedLibrary library(FlavourPath("simulating"));
        const Rezo rezo = library.Bind();
        const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
        rezo.RunRepairDevice(handle, 0x40);
    }
    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "rezo_library_test.exe 1 event library-freed");
}

// What a program that frees the library under its worker leaves in the log. The worker sleeps
// in the library's first step; it is ended before it could wake into the unloaded code.
TEST_F(SimulatingRezo, FreeingTheLibraryDuringARepairIsLogged)
{
    UseProfile("step_ms = 60000\n");
    HANDLE worker = nullptr;
    {
        LoadedLibrary library(FlavourPath("simulating"));
        static Rezo rezo;
        rezo = library.Bind();
        static RepairRun run;
        run = RepairRun{&rezo, rezo.CreateCUSBDevice(), 0x40};
        worker = CreateThread(nullptr, 0, RunRepair, &run, 0, nullptr);
        ASSERT_NE(worker, nullptr);
        for (int i = 0; i < 500 && !Contains(Log(), "-> running"); ++i)
            Sleep(10);
    }
    TerminateThread(worker, 1);
    WaitForSingleObject(worker, 5000);
    CloseHandle(worker);
    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "rezo_library_test.exe 1 event library-freed while a repair runs");
}

// Records the removal notices a top-level window of this process gets.
std::atomic<int> g_removalNotices{0};
std::atomic<int> g_otherDeviceChanges{0};

LRESULT CALLBACK NoticeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DEVICECHANGE) {
        const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        if (wParam == DBT_DEVICEREMOVECOMPLETE && header && header->dbch_devicetype == DBT_DEVTYP_VOLUME)
            ++g_removalNotices;
        else
            ++g_otherDeviceChanges;
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class NoticeWindow {
public:
    NoticeWindow()
    {
        g_removalNotices = 0;
        g_otherDeviceChanges = 0;
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = NoticeWindowProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "RezoNoticeWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowA("RezoNoticeWindow", "notices", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    }
    ~NoticeWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    HWND window_;
};

TEST_F(SimulatingRezo, RemovalDuringTheRepairTellsTheProgramsWindows)
{
    UseProfile("progress_step = 10\nstep_ms = 20\nfinish_ms = 50\nremoval = during 30\n");
    NoticeWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    LoadedLibrary library(FlavourPath("simulating"));
    const Rezo rezo = library.Bind();
    RepairRun run{&rezo, rezo.CreateCUSBDevice(), 0x40};
    HANDLE worker = CreateThread(nullptr, 0, RunRepair, &run, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    // The progress read before and after each presence: two calls are never one moment, so a
    // sample is judged by the progress on the side that bounds it.
    struct Sample {
        unsigned before;
        int present;
        unsigned after;
    };
    std::vector<Sample> seen;
    while (rezo.GetCurrentState(run.handle) != kRezoStateFinished && seen.size() < 2000) {
        Sample sample;
        sample.before = rezo.GetCurrentProgress(run.handle);
        sample.present = rezo.DeviceExist(run.handle);
        sample.after = rezo.GetCurrentProgress(run.handle);
        seen.push_back(sample);
        PumpFor(5);
    }
    EXPECT_EQ(WaitForSingleObject(worker, 10000), WAIT_OBJECT_0);
    CloseHandle(worker);
    for (int i = 0; i < 200 && !Contains(Log(), "event removal-announced"); ++i)
        PumpFor(10);
    EXPECT_EQ(g_removalNotices, 1);
    EXPECT_EQ(g_otherDeviceChanges, 0);
    // Present until the step to 30% takes the device: never once 30% has shown, never back, and
    // gone at the earliest while 20% shows.
    bool gone = false;
    for (const Sample& sample : seen) {
        if (sample.present) {
            EXPECT_LT(sample.before, 30u) << "present after 30% showed";
            EXPECT_FALSE(gone) << "present again at " << sample.before << "%";
        } else {
            EXPECT_GE(sample.after, 20u) << "gone before the step to 30%";
            gone = true;
        }
    }
    EXPECT_TRUE(gone);
    EXPECT_EQ(rezo.DeviceExist(run.handle), 0);
    const auto log = Log();
    EXPECT_TRUE(Contains(log, "event device-removed during the repair at 30%"));
    // Every top-level window of the process is told (Wine may own one more than the test).
    const auto announced = std::find_if(log.begin(), log.end(), [](const std::string& l) {
        return l.find("event removal-announced") != std::string::npos;
    });
    ASSERT_NE(announced, log.end());
    int windows = 0, answered = 0;
    EXPECT_EQ(std::sscanf(announced->c_str() + announced->find("windows="), "windows=%d answered=%d", &windows, &answered), 2);
    EXPECT_GE(windows, 1);
    EXPECT_EQ(answered, windows);
    EXPECT_TRUE(Contains(log, "-> 0 state=0xFF errorCode=0x0")) << "the repair still ends";
}

TEST_F(SimulatingRezo, IdleRemovalComesAfterItsTime)
{
    UseProfile("removal = idle 300\n");
    NoticeWindow window;
    LoadedLibrary library(FlavourPath("simulating"));
    const Rezo rezo = library.Bind();
    const DWORD start = GetTickCount();
    const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
    EXPECT_EQ(rezo.DeviceExist(handle), 1);
    while (g_removalNotices == 0 && GetTickCount() - start < 10000)
        PumpFor(10);
    EXPECT_EQ(g_removalNotices, 1);
    EXPECT_GE(GetTickCount() - start, 250u);
    EXPECT_EQ(rezo.DeviceExist(handle), 0);
    for (int i = 0; i < 200 && !Contains(Log(), "event removal-announced"); ++i)
        PumpFor(10);
    EXPECT_TRUE(Contains(Log(), "event device-removed while idle after 300 ms"));
}

TEST_F(SimulatingRezo, AProfileBesideTheLibraryServesWhenNoVariableIsSet)
{
    // A copy of the library with its own profile beside it.
    TempFolder beside;
    ASSERT_TRUE(CopyFileA(FlavourPath("simulating").c_str(), beside.File("REZO.dll").c_str(), FALSE));
    WriteFile(beside.File(kRezoSimProfileFileName), "present = no\nlog = beside.log\n");
    {
        LoadedLibrary library(beside.File("REZO.dll"));
        const Rezo rezo = library.Bind();
        EXPECT_EQ(rezo.DeviceExist(rezo.CreateCUSBDevice()), 0);
    }
    const auto log = Lines(beside.File("beside.log"));
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log[0], HasSubstr("event profile \"" + beside.File(kRezoSimProfileFileName) + "\""));
    EXPECT_TRUE(Contains(log, "REZO_DeviceExist(0x10000001) -> 0"));
}

TEST_F(SimulatingRezo, TheVariableWinsOverTheProfileBesideTheLibrary)
{
    TempFolder beside;
    ASSERT_TRUE(CopyFileA(FlavourPath("simulating").c_str(), beside.File("REZO.dll").c_str(), FALSE));
    WriteFile(beside.File(kRezoSimProfileFileName), "present = no\n");
    UseProfile("chip_id = 360\n");
    LoadedLibrary library(beside.File("REZO.dll"));
    const Rezo rezo = library.Bind();
    const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
    EXPECT_EQ(rezo.DeviceExist(handle), 1);
    short chipId = 0, chipVersion = 0;
    rezo.GetChipID(handle, &chipId, &chipVersion);
    EXPECT_EQ(chipId, 360);
}

TEST_F(SimulatingRezo, WithoutAnyProfileItPresentsTheDefaultDevice)
{
    LoadedLibrary library(FlavourPath("simulating"));
    const Rezo rezo = library.Bind();
    const RezoDeviceHandle handle = rezo.CreateCUSBDevice();
    EXPECT_EQ(rezo.DeviceExist(handle), 1);
    char version[kRezoFwVersionSize] = {};
    rezo.GetFwVersion(handle, version);
    EXPECT_STREQ(version, "CS0650");
}

TEST_F(SimulatingRezo, ABrokenOrMissingProfilePresentsNoDevice)
{
    UseProfile("chip_id = lots\n");
    {
        LoadedLibrary library(FlavourPath("simulating"));
        const Rezo rezo = library.Bind();
        EXPECT_EQ(rezo.DeviceExist(rezo.CreateCUSBDevice()), 0);
    }
    const auto log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_THAT(log[0], HasSubstr("event profile-error"));
    EXPECT_THAT(log[0], HasSubstr("line 2: 'chip_id' needs a number"));

    SetEnvironmentVariableA(kRezoSimProfileVariable, folder_.File("missing.profile").c_str());
    LoadedLibrary library(FlavourPath("simulating"));
    const Rezo rezo = library.Bind();
    EXPECT_EQ(rezo.DeviceExist(rezo.CreateCUSBDevice()), 0);
}

}  // namespace
