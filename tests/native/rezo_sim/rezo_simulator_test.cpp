// The simulating REZO.dll's behaviour: its profile, the repair's progress and state, removal,
// the call log, and polling from another thread while a repair runs.
#include "core/rezo_sim/simulated_library.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using rezo_sim::DeviceProfile;
using rezo_sim::Removal;
using rezo_sim::SimulatedLibrary;
using ::testing::HasSubstr;

constexpr std::uint32_t kDialogThread = 0x1234;
constexpr std::uint32_t kWorkerThread = 0x5678;
constexpr char kFolder[] = "C:\\Temp\\RadAva\\Boot\\";

// Records what the library asks of its surroundings; sleeps only when told to.
class RecordingEnvironment final : public rezo_sim::Environment {
public:
    void WriteLogLine(std::string_view line) override
    {
        std::lock_guard<std::mutex> lock(mutex);
        lines.emplace_back(line);
    }
    void Sleep(std::uint32_t milliseconds) override
    {
        sleeps.push_back(milliseconds);
        if (onSleep)
            onSleep();
        if (realSleep)
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
    void AnnounceRemoval() override
    {
        ++announcements;
        if (onAnnounce)
            onAnnounce();
    }
    void ScheduleRemoval(std::uint32_t milliseconds) override { scheduled.push_back(milliseconds); }

    std::vector<std::string> Lines()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return lines;
    }
    bool Logged(const std::string& text)
    {
        for (const auto& line : Lines()) {
            if (line.find(text) != std::string::npos)
                return true;
        }
        return false;
    }

    std::mutex mutex;
    std::vector<std::string> lines;
    std::vector<std::uint32_t> sleeps;
    std::vector<std::uint32_t> scheduled;
    std::function<void()> onSleep;
    std::function<void()> onAnnounce;
    bool realSleep = false;
    int announcements = 0;
};

DeviceProfile Parsed(const std::string& text)
{
    DeviceProfile profile;
    std::string error;
    EXPECT_TRUE(rezo_sim::ParseProfile(text, profile, error)) << error;
    return profile;
}

TEST(RezoProfile, DefaultsDescribeAPresentHealthyDrive)
{
    const DeviceProfile p;
    EXPECT_TRUE(p.present);
    EXPECT_EQ(p.chipId, 355);
    EXPECT_EQ(p.firmware, "CS0650");
    EXPECT_EQ(p.images[0], "A2C\\us.bin");
    EXPECT_EQ(p.images[3], "U65\\A0\\us.bin");
    EXPECT_EQ(p.finalState, 0xFF);
    EXPECT_EQ(p.errorCode, 0u);
    EXPECT_EQ(p.removal, Removal::None);
}

TEST(RezoProfile, ReadsEverySetting)
{
    const DeviceProfile p = Parsed(
        "# a drive without firmware\n"
        "present = no\r\n"
        "kind = 0x02\n"
        "drives = 2\n"
        "chip_id = 353\n"
        "chip_version = 17\n"
        "description = \"UT163 # Flash  Disk\"\n"
        "firmware = FFFFFF   # none\n"
        "image0 = A1\\ur.bin\n"
        "image2 = FP\\A2C\\us.bin\n"
        "image3 =\n"
        "progress_step = 25\n"
        "step_ms = 7\n"
        "finish_ms = 0\n"
        "final_state = 0xFE\n"
        "error_code = 0x104\n"
        "bad_blocks = 3000\n"
        "total_blocks = 0\n"
        "block_unit = 65535\n"
        "removal = during 40\n"
        "log = calls.log\n");
    EXPECT_FALSE(p.present);
    EXPECT_EQ(p.kind, 2);
    EXPECT_EQ(p.drives, 2u);
    EXPECT_EQ(p.chipId, 353);
    EXPECT_EQ(p.chipVersion, 17);
    EXPECT_EQ(p.description, "UT163 # Flash  Disk");
    EXPECT_EQ(p.firmware, "FFFFFF");
    EXPECT_EQ(p.images[0], "A1\\ur.bin");
    EXPECT_EQ(p.images[1], "BCD\\us.bin");
    EXPECT_EQ(p.images[2], "FP\\A2C\\us.bin");
    EXPECT_EQ(p.images[3], "");
    EXPECT_EQ(p.progressStep, 25u);
    EXPECT_EQ(p.stepMilliseconds, 7u);
    EXPECT_EQ(p.finishMilliseconds, 0u);
    EXPECT_EQ(p.finalState, 0xFE);
    EXPECT_EQ(p.errorCode, 0x104u);
    EXPECT_EQ(p.badBlocks, 3000u);
    EXPECT_EQ(p.totalBlocks, 0u);
    EXPECT_EQ(p.blockUnit, 65535);
    EXPECT_EQ(p.removal, Removal::During);
    EXPECT_EQ(p.removalAt, 40u);
    EXPECT_EQ(p.logPath, "calls.log");
}

TEST(RezoProfile, RemovalForms)
{
    EXPECT_EQ(Parsed("removal = after").removal, Removal::After);
    EXPECT_EQ(Parsed("removal = none").removal, Removal::None);
    const DeviceProfile idle = Parsed("removal = idle 1500");
    EXPECT_EQ(idle.removal, Removal::Idle);
    EXPECT_EQ(idle.removalAt, 1500u);
}

TEST(RezoProfile, RefusesBadLinesNamingLineAndKey)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"chip_id = 65536", "line 1: 'chip_id' needs a number from 0 to 65535"},
        {"\nkind = 256", "line 2: 'kind' needs a byte"},
        {"present = maybe", "'present' needs yes or no"},
        {"firmware =", "'firmware' needs 1 to 31 printable characters"},
        {"firmware = 0123456789012345678901234567890123", "'firmware'"},
        {"progress_step = 0", "'progress_step' needs a percentage from 1 to 100"},
        {"progress_step = 101", "'progress_step'"},
        {"removal = during", "'removal' needs none"},
        {"removal = during 101", "'removal'"},
        {"removal = after 3", "'removal'"},
        {"removal = soon", "'removal'"},
        {"image0 = ..\\..\\Windows\\x.bin", "'image0' needs a path inside the firmware tree"},
        {"image1 = C:\\x.bin", "'image1'"},
        {"image2 = \\x.bin", "'image2'"},
        {"image3 = FP/../../x.bin", "'image3'"},
        {"image4 = x.bin", "'image4' is not a known setting"},
        {"colour = red", "'colour' is not a known setting"},
        {"present yes", "line 1: expected key = value"},
        {"description = \"open", "unterminated quoted value"},
        {"= 3", "missing key"},
        {"error_code = 0x100000000", "'error_code' needs a 32-bit number"},
        {"log =", "'log' needs a path"},
    };
    for (const auto& c : cases) {
        DeviceProfile profile;
        std::string error;
        EXPECT_FALSE(rezo_sim::ParseProfile(c.text, profile, error)) << c.text;
        EXPECT_THAT(error, HasSubstr(c.error)) << c.text;
    }
}

TEST(RezoProfile, RelativeLogPathFollowsTheProfile)
{
    DeviceProfile relative = Parsed("log = calls.log");
    rezo_sim::ResolveProfilePaths("Z:\\work\\", relative);
    EXPECT_EQ(relative.logPath, "Z:\\work\\calls.log");
    DeviceProfile absolute = Parsed("log = C:\\logs\\calls.log");
    rezo_sim::ResolveProfilePaths("Z:\\work\\", absolute);
    EXPECT_EQ(absolute.logPath, "C:\\logs\\calls.log");
}

TEST(RezoLog, QuotesAndNumbers)
{
    EXPECT_EQ(rezo_sim::FormatHandle(0x10000001), "0x10000001");
    EXPECT_EQ(rezo_sim::FormatHex(0xC0), "0xC0");
    EXPECT_EQ(rezo_sim::FormatHex(0), "0x0");
    EXPECT_EQ(rezo_sim::Quote("C:\\a \"b\"\n"), "\"C:\\a \\x22b\\x22\\x0A\"");
}

TEST(RezoLibrary, ASessionLogsEveryCallWithItsArguments)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("progress_step = 50\nstep_ms = 3\nfinish_ms = 4\nerror_code = 0x10"), "Brimlet.exe",
                             kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 1);
    short chipId = 0, chipVersion = 0;
    library.GetChipId(kDialogThread, handle, &chipId, &chipVersion);
    library.SetCurrentDriveNumber(kDialogThread, handle, 0);
    char path[rezo_sim::kFwFilePathSize] = {};
    library.GetUpdateFwFile(kDialogThread, handle, path, 2);
    EXPECT_EQ(library.RunRepair(kWorkerThread, handle, 0xC2), 0);
    EXPECT_EQ(library.GetCurrentState(kDialogThread, handle), 0xFF);
    EXPECT_EQ(library.GetErrorCode(kDialogThread, handle), 0x10u);

    EXPECT_EQ(environment.Lines(), (std::vector<std::string>{
        "Brimlet.exe 1 REZO_CreateCUSBDevice() -> 0x10000001",
        "Brimlet.exe 1 REZO_DeviceExist(0x10000001) -> 1",
        "Brimlet.exe 1 REZO_GetChipID(0x10000001) -> chipId=355 chipVersion=1",
        "Brimlet.exe 1 REZO_SetCurrentDriveNumber(0x10000001, drive=0) -> done",
        "Brimlet.exe 1 REZO_GetUpdateFWFile(0x10000001, family=2) -> \"C:\\Temp\\RadAva\\Boot\\FP\\us.bin\"",
        "Brimlet.exe 2 REZO_RunRepairDevice(0x10000001, mode=0xC2) -> running",
        "Brimlet.exe 2 REZO_RunRepairDevice(0x10000001, mode=0xC2) -> 0 state=0xFF errorCode=0x10",
        "Brimlet.exe 1 REZO_GetCurrentState(0x10000001) -> 0xFF",
        "Brimlet.exe 1 REZO_GetErrorCode(0x10000001) -> 0x10",
    }));
    EXPECT_EQ(environment.sleeps, (std::vector<std::uint32_t>{3, 3, 4}));
}

TEST(RezoLibrary, OutputsComeFromTheProfile)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("chip_id = 353\nchip_version = 17\ndescription = UT163 Disk\nfirmware = FFFFFF\n"
                                    "bad_blocks = 7\ntotal_blocks = 100\nblock_unit = 2\nkind = 3"),
                             "Quillet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    short chipId = 0, chipVersion = 0, kind = 0, subKind = 0;
    library.GetChipId(kDialogThread, handle, &chipId, &chipVersion);
    EXPECT_EQ(chipId, 353);
    EXPECT_EQ(chipVersion, 17);
    EXPECT_EQ(library.GetDeviceKind(kDialogThread, handle, &kind, &subKind), 3);
    char text[rezo_sim::kDeviceStringSize];
    std::memset(text, 'x', sizeof text);
    library.GetDeviceString(kDialogThread, handle, text);
    EXPECT_STREQ(text, "UT163 Disk");
    char version[rezo_sim::kFwVersionSize] = {};
    library.GetFwVersion(kDialogThread, handle, version);
    EXPECT_STREQ(version, "FFFFFF");
    std::uint32_t bad = 0, total = 0;
    std::uint16_t unit = 0;
    library.GetBadBlockInformation(kDialogThread, handle, &bad, &total, &unit);
    EXPECT_EQ(bad, 7u);
    EXPECT_EQ(total, 100u);
    EXPECT_EQ(unit, 2);
    // Null outputs are left alone rather than written through.
    library.GetChipId(kDialogThread, handle, nullptr, nullptr);
    library.GetBadBlockInformation(kDialogThread, handle, nullptr, nullptr, nullptr);
}

TEST(RezoLibrary, ImagePathsPerFamily)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("image1 =\nimage3 = " + std::string(200, 'a')), "Brimlet.exe",
                             std::string(320, 'F') + "\\", environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    const auto pathFor = [&](std::uint8_t family) {
        char path[rezo_sim::kFwFilePathSize];
        std::memset(path, 'x', sizeof path);
        library.GetUpdateFwFile(kDialogThread, handle, path, family);
        return std::string(path);
    };
    EXPECT_EQ(pathFor(0), std::string(320, 'F') + "\\A2C\\us.bin");
    EXPECT_EQ(pathFor(1), "") << "a family without an image";
    EXPECT_EQ(pathFor(3), "") << "521 characters do not fit the caller's 512 bytes";
    EXPECT_EQ(pathFor(4), "") << "families are 0-3";
}

TEST(RezoLibrary, AnAbsentDeviceAnswersNo)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("present = no"), "Quillet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    short kind = -1, subKind = -1;
    EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 0);
    EXPECT_EQ(library.GetDeviceKind(kDialogThread, handle, &kind, &subKind), 0);
    EXPECT_EQ(library.GetNumberOfDrive(kDialogThread, handle), 0);
    EXPECT_EQ(kind, -1);
    library.DestroyDevice(kDialogThread, handle);
    EXPECT_TRUE(environment.Logged("Quillet.exe 1 REZO_DestroyCUSBDevice(0x10000001) -> done"));
}

TEST(RezoLibrary, UnknownHandlesAreLoggedAndChangeNothing)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(DeviceProfile{}, "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    library.DestroyDevice(kDialogThread, handle);
    short chipId = -1, chipVersion = -1;
    library.GetChipId(kDialogThread, handle, &chipId, &chipVersion);
    EXPECT_EQ(chipId, -1);
    EXPECT_EQ(library.DeviceExist(kDialogThread, 0), 0);
    EXPECT_EQ(library.RunRepair(kWorkerThread, 7, 0x40), 1);
    EXPECT_TRUE(environment.sleeps.empty()) << "no repair ran";
    EXPECT_TRUE(environment.Logged("REZO_GetChipID(0x10000001) -> nothing (unknown handle)"));
    EXPECT_TRUE(environment.Logged("REZO_DeviceExist(0x00000000) -> 0 (unknown handle)"));
    EXPECT_TRUE(environment.Logged("REZO_RunRepairDevice(0x00000007, mode=0x40) -> 1 (unknown handle)"));
}

// Progress and state as the dialog would see them at each step of the repair.
TEST(RezoLibrary, ProgressClimbsInStepsAndHoldsAt100BeforeTheFinalState)
{
    const struct {
        const char* profile;
        std::vector<unsigned> progress;  // seen at each pause, then after the run
    } cases[] = {
        {"progress_step = 30", {0, 30, 60, 90, 100, 100}},
        {"progress_step = 50", {0, 50, 100, 100}},
        {"progress_step = 100", {0, 100, 100}},
        {"progress_step = 34", {0, 34, 68, 100, 100}},
    };
    for (const auto& c : cases) {
        RecordingEnvironment environment;
        SimulatedLibrary library(Parsed(c.profile), "Brimlet.exe", kFolder, environment);
        const std::uint32_t handle = library.CreateDevice(kDialogThread);
        std::vector<unsigned> progress;
        std::vector<unsigned> states;
        environment.onSleep = [&] {
            progress.push_back(library.GetCurrentProgress(kDialogThread, handle));
            states.push_back(library.GetCurrentState(kDialogThread, handle));
            EXPECT_EQ(library.GetErrorCode(kDialogThread, handle), 0u) << "no verdict while running";
        };
        EXPECT_EQ(library.GetCurrentState(kDialogThread, handle), rezo_sim::kStateIdle);
        library.RunRepair(kWorkerThread, handle, 0x40);
        progress.push_back(library.GetCurrentProgress(kDialogThread, handle));
        EXPECT_EQ(progress, c.progress) << c.profile;
        EXPECT_EQ(states, std::vector<unsigned>(c.progress.size() - 1, rezo_sim::kStateRunning)) << c.profile;
        EXPECT_EQ(library.GetCurrentState(kDialogThread, handle), 0xFF) << c.profile;
    }
}

TEST(RezoLibrary, ASecondRepairWhileOneRunsIsRefused)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("progress_step = 50"), "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    int second = -1;
    environment.onSleep = [&] {
        if (second == -1)
            second = library.RunRepair(kWorkerThread + 1, handle, 0x80);
    };
    EXPECT_EQ(library.RunRepair(kWorkerThread, handle, 0x40), 0);
    EXPECT_EQ(second, 1);
    EXPECT_EQ(environment.sleeps.size(), 3u) << "one repair's pauses only";
    EXPECT_TRUE(environment.Logged("REZO_RunRepairDevice(0x10000001, mode=0x80) -> refused: a repair is running"));
    // Once it has ended a new repair may run.
    EXPECT_EQ(library.RunRepair(kWorkerThread, handle, 0x40), 0);
}

TEST(RezoLibrary, RemovalDuringTheRepair)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("progress_step = 20\nremoval = during 40"), "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    std::vector<int> present;
    environment.onSleep = [&] { present.push_back(library.DeviceExist(kDialogThread, handle)); };
    // Gone before the progress shows 40: a program that reads 40 never reads it present.
    std::vector<unsigned> progressWhenGone;
    environment.onAnnounce = [&] { progressWhenGone.push_back(library.GetCurrentProgress(kDialogThread, handle)); };
    EXPECT_EQ(library.RunRepair(kWorkerThread, handle, 0x40), 0);
    // Pauses before 20, 40 (removed), 60, 80, 100, then the hold at 100.
    EXPECT_EQ(present, (std::vector<int>{1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(progressWhenGone, (std::vector<unsigned>{20}));
    EXPECT_EQ(environment.announcements, 1);
    EXPECT_EQ(library.GetCurrentState(kDialogThread, handle), 0xFF) << "the repair goes on to its end";
    EXPECT_TRUE(environment.Logged("Brimlet.exe 2 event device-removed during the repair at 40%"));
    EXPECT_TRUE(environment.scheduled.empty());
}

TEST(RezoLibrary, RemovalAfterTheRepair)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("progress_step = 50\nremoval = after"), "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    environment.onSleep = [&] { EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 1); };
    library.RunRepair(kWorkerThread, handle, 0x40);
    EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 0);
    EXPECT_EQ(environment.announcements, 1);
    const auto lines = environment.Lines();
    const auto ended = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("-> 0 state=0xFF") != std::string::npos; });
    const auto removed = std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.find("event device-removed after the repair") != std::string::npos; });
    ASSERT_NE(ended, lines.end());
    ASSERT_NE(removed, lines.end());
    EXPECT_LT(ended, removed) << "the state is final before the device goes";
}

TEST(RezoLibrary, IdleRemovalIsScheduledOnceAndHappensOnce)
{
    RecordingEnvironment environment;
    SimulatedLibrary library(Parsed("removal = idle 1500"), "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    library.CreateDevice(kDialogThread);
    EXPECT_EQ(environment.scheduled, std::vector<std::uint32_t>{1500});
    EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 1);
    library.RemoveDevice(kWorkerThread, "idle");
    library.RemoveDevice(kWorkerThread, "idle");
    EXPECT_EQ(library.DeviceExist(kDialogThread, handle), 0);
    EXPECT_EQ(environment.announcements, 1);
}

TEST(RezoLibrary, ThreadsAreNumberedInOrderOfTheirFirstCall)
{
    rezo_sim::ThreadNumbers numbers;
    EXPECT_EQ(numbers.NumberOf(900), 1u);
    EXPECT_EQ(numbers.NumberOf(17), 2u);
    EXPECT_EQ(numbers.NumberOf(900), 1u);
    EXPECT_EQ(numbers.NumberOf(3), 3u);
}

// The dialog's way: the repair blocks a worker while another thread polls every 5 ms.
TEST(RezoLibrary, PollingEvery5MsDuringARepairSeesMonotoneProgressThenTheFinalState)
{
    RecordingEnvironment environment;
    environment.realSleep = true;
    SimulatedLibrary library(Parsed("progress_step = 10\nstep_ms = 15\nfinish_ms = 60\nerror_code = 0x4"),
                             "Brimlet.exe", kFolder, environment);
    const std::uint32_t handle = library.CreateDevice(kDialogThread);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        library.RunRepair(kWorkerThread, handle, 0x40);
        done = true;
    });
    std::vector<unsigned> progress;
    std::vector<unsigned> states;
    for (int i = 0; i < 2000; ++i) {
        progress.push_back(library.GetCurrentProgress(kDialogThread, handle));
        states.push_back(library.GetCurrentState(kDialogThread, handle));
        if (states.back() == 0xFF)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    worker.join();
    ASSERT_EQ(states.back(), 0xFFu);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_GT(std::count(progress.begin(), progress.end(), 100u), 1) << "100 is held before the end";
    EXPECT_EQ(progress.back(), 100u);
    for (std::size_t i = 0; i + 1 < states.size(); ++i)
        EXPECT_NE(states[i], 0xFFu);
    EXPECT_EQ(library.GetErrorCode(kDialogThread, handle), 0x4u);
    EXPECT_TRUE(done);
    // Every poll reached the log, from its own thread number.
    std::size_t polls = 0;
    for (const auto& line : environment.Lines()) {
        if (line.rfind("Brimlet.exe 1 REZO_GetCurrentProgress(", 0) == 0)
            ++polls;
    }
    EXPECT_EQ(polls, progress.size());
}

}  // namespace
