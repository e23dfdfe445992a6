// The repair's steps on simulated drives: which commands reach the drive, what ends on it, and
// which result box follows.
#include "core/repair/repair_routine.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/fat/volume_builder.h"
#include "core/sim/smi_controller.h"
#include "tests/native/fat/fakes.h"
#include "tests/native/fat/sim_sector_device.h"
#include "tests/native/support/firmware_image.h"

namespace {

using repair::RepairResult;

using fat_test::RecordingDebug;
using fat_test::RecordingPause;
using fat_test::RecordingProgress;

struct Write {
    std::uint32_t first;
    std::uint32_t bytes;
};

// The routine's port over the simulated controller, as Sarrow's device layer sends commands on
// the NT path (16-byte vendor blocks, 64 KiB WRITE(10) pieces).
class SimRepairPort : public repair::RepairPort {
public:
    SimRepairPort(sim::SmiController& drive, RecordingProgress& progress, RecordingPause& pause)
        : drive_(drive), progress_(progress), pause_(pause), sectors_(drive)
    {
    }

    bool complete = false;
    std::vector<Write> zeroFill;
    std::vector<std::uint32_t> builderTotals;
    std::vector<std::string> debug;

    bool VendorIn(const smi::VendorCommand& command, std::uint8_t* answer) override
    {
        return drive_.Execute(command.cdb, smi::kNtCdbLength, command.direction, answer, command.dataLength);
    }
    bool VendorOut(const smi::VendorCommand& command, const std::uint8_t* data) override
    {
        std::vector<std::uint8_t> copy(data, data + command.dataLength);
        return drive_.Execute(command.cdb, smi::kNtCdbLength, command.direction, copy.data(), command.dataLength);
    }
    bool WriteSectors(std::uint32_t first, const std::uint8_t* data, std::uint32_t bytes) override
    {
        zeroFill.push_back({first, bytes});
        std::vector<std::uint8_t> copy(data, data + bytes);
        return drive_.Execute(scsi::BlockCdb(scsi::kWrite10, first, bytes), scsi::kBlockCdbLength,
                              scsi::Direction::Out, copy.data(), bytes);
    }
    bool BuildVolume(std::uint32_t totalSectors) override
    {
        builderTotals.push_back(totalSectors);
        static const std::uint8_t noLabel[16] = {};
        RecordingDebug quiet;
        if (totalSectors > fat::kLargestFat16Device)
            return fat::BuildFat32Volume(sectors_, totalSectors, true, progress_, noLabel, false, 0, 0);
        return fat::BuildFat16Volume(sectors_, totalSectors, true, progress_, noLabel, false, 0, 0, pause_, quiet);
    }
    bool CompleteModeRequested() override { return complete; }
    void Debug(const char* line) override { debug.emplace_back(line); }

private:
    sim::SmiController& drive_;
    RecordingProgress& progress_;
    RecordingPause& pause_;
    fat_test::SimSectorDevice sectors_;
};

struct Scenario {
    const char* name;
    std::string profile;          // on top of a healthy qualifying drive
    std::uint64_t sectors;
    bool complete;
    RepairResult result;
    bool uploads;                 // the 64 banks went out and the firmware area holds the image
    bool formats;                 // sector 0 ends with a partition table
};

class RepairRoutine : public testing::TestWithParam<Scenario> {
protected:
    void SetUp() override
    {
        // ctest runs the cases in parallel: one folder each.
        std::string name = testing::UnitTest::GetInstance()->current_test_info()->name();
        std::replace(name.begin(), name.end(), '/', '-');
        folder_ = std::filesystem::temp_directory_path() / ("repair-routine-" + name);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::filesystem::path folder_;
};

TEST_P(RepairRoutine, EndsAsExpected)
{
    const Scenario& s = GetParam();
    sim::DriveProfile profile;
    std::string error;
    const std::string text = "image = " + (folder_ / "drive.img").string() + "\ncapacity = " +
                             std::to_string(s.sectors) + "\n" + s.profile;
    ASSERT_TRUE(sim::ParseProfile(text, profile, error)) << error;
    sim::SmiController drive(profile);
    ASSERT_TRUE(drive.Open(error)) << error;

    RecordingProgress progress;
    RecordingPause pause;
    SimRepairPort port(drive, progress, pause);
    port.complete = s.complete;
    const std::vector<std::uint8_t> image = test_support::TestFirmwareImage();

    EXPECT_EQ(repair::RepairOpenedDrive(port, progress, pause, image), s.result);

    using sim::CommandKind;
    EXPECT_EQ(drive.CommandCount(CommandKind::IspWriteBank), s.uploads ? 64u : 0u);
    if (s.uploads && s.result == RepairResult::Success) {
        EXPECT_EQ(drive.CommandCount(CommandKind::IspReadBank), 256u);
        EXPECT_EQ(drive.CommandCount(CommandKind::IspEnd), 1u);
        EXPECT_NE(std::find(pause.pauses.begin(), pause.pauses.end(), 1000u), pause.pauses.end());
        const auto area = drive.FirmwareArea();
        EXPECT_TRUE(std::equal(image.begin(), image.end(), area.begin()));
        EXPECT_TRUE(std::all_of(area.begin() + image.size(), area.end(), [](std::uint8_t b) { return b == 0; }));
    }
    if (!s.uploads) {
        EXPECT_EQ(drive.CommandCount(CommandKind::IspBegin), 0u);
    }

    drive.Flush();
    std::uint8_t sector0[512] = {};
    std::FILE* file = std::fopen((folder_ / "drive.img").string().c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fread(sector0, 1, 512, file), 512u);
    std::fclose(file);
    const bool partitioned = sector0[510] == 0x55 && sector0[511] == 0xAA && sector0[446 + 4] != 0;
    EXPECT_EQ(partitioned, s.formats);
    if (!s.formats && s.result != RepairResult::FormatFailed) {
        EXPECT_EQ(drive.CommandCount(CommandKind::Write10), 0u) << "nothing may be written";
    }
}

const Scenario kScenarios[] = {
    {"FastOnNewFirmware", "firmware = 080411-AB-\n", 131072, false, RepairResult::Success, false, true},
    {"QualifyingDriveGetsTheUpload", "", 524288, false, RepairResult::Success, true, true},
    {"SecondFlashReadWithoutN", "isp_n = 0xFF\n", 131072, false, RepairResult::Success, false, true},
    {"ZeroN", "isp_n = 0\n", 131072, false, RepairResult::Success, false, true},
    {"UnlistedFlashChip", "flash_id = EC D3 55 25\n", 131072, false, RepairResult::Success, false, true},
    {"ReadBackDiffersInTheLastByte", "readback_corrupt = last\n", 131072, false, RepairResult::IspWriteFailed, true, false},
    // The last read lies in the image's zero tail: a read that delivers nothing must not pass.
    {"LastReadBackFails", "fail = isp-read-bank:256\n", 131072, false, RepairResult::IspWriteFailed, true, false},
    {"OtherController", "controller = SM321BB\n", 131072, false, RepairResult::UnsupportedDevice, false, false},
    {"FirmwareInfoFails", "fail = firmware-info:all\n", 131072, false, RepairResult::UnsupportedDevice, false, false},
    {"FlashInfoFailsSoNoCapacity", "firmware = 080411-AB-\nfail = flash-info:all\n", 131072, true,
     RepairResult::CapacityInvalid, false, false},
    {"TooSmallForAVolume", "firmware = 080411-AB-\n", 40, true, RepairResult::CapacityInvalid, false, false},
    {"WritesFail", "firmware = 080411-AB-\nfail = write10:all\n", 131072, false, RepairResult::FormatFailed, false, false},
    {"ZeroFillWriteFails", "firmware = 080411-AB-\nfail = write10:3\n", 131072, true, RepairResult::FormatFailed, false, false},
    {"WritesSilentlyIgnored", "firmware = 080411-AB-\nignore_writes = yes\n", 131072, false,
     RepairResult::FormatFailed, false, false},
    // Drives that refuse writes with CHECK CONDITION, as real ones do.
    {"WriteProtected", "firmware = 080411-AB-\nwrite_protect = yes\n", 131072, false, RepairResult::FormatFailed,
     false, false},
    {"WriteProtectedComplete", "firmware = 080411-AB-\nwrite_protect = yes\n", 131072, true,
     RepairResult::FormatFailed, false, false},
    {"WriteProtectedFat32", "firmware = 080411-AB-\nwrite_protect = yes\n", 16777216, false,
     RepairResult::FormatFailed, false, false},
    {"BadSectorInTheFat", "firmware = 080411-AB-\nbad_sectors = 40-47\n", 131072, false, RepairResult::FormatFailed,
     false, true},
    {"DropsOffDuringTheFormat", "firmware = 080411-AB-\ndisappear_after = 60\n", 131072, false,
     RepairResult::FormatFailed, false, true},
};

INSTANTIATE_TEST_SUITE_P(Drives, RepairRoutine, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) { return info.param.name; });

// A bank the drive refuses, or a read-back it refuses, ends the upload at once: no further bank,
// no end of the session, no format.
TEST_F(RepairRoutine, RefusedBankCommandsEndTheUpload)
{
    struct Case {
        const char* name;
        const char* fault;
        std::uint32_t writes;
        std::uint32_t reads;
    };
    const Case cases[] = {
        {"first bank write", "fail = isp-write-bank:1\n", 1, 0},
        {"bank 17 write", "fail = isp-write-bank:18\n", 18, 0},
        {"a read-back", "fail = isp-read-bank:9\n", 64, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveProfile profile;
        std::string error;
        const auto path = folder_ / (std::string("drive-") + std::to_string(&c - cases) + ".img");
        ASSERT_TRUE(sim::ParseProfile("image = " + path.string() + "\ncapacity = 131072\n" + c.fault, profile, error));
        sim::SmiController drive(profile);
        ASSERT_TRUE(drive.Open(error)) << error;
        RecordingProgress progress;
        RecordingPause pause;
        SimRepairPort port(drive, progress, pause);
        EXPECT_EQ(repair::RepairOpenedDrive(port, progress, pause, test_support::TestFirmwareImage()),
                  RepairResult::IspWriteFailed);
        using sim::CommandKind;
        EXPECT_EQ(drive.CommandCount(CommandKind::IspWriteBank), c.writes);
        EXPECT_EQ(drive.CommandCount(CommandKind::IspReadBank), c.reads);
        EXPECT_EQ(drive.CommandCount(CommandKind::IspEnd), 0u);
        EXPECT_EQ(drive.CommandCount(CommandKind::Write10), 0u);
    }
}

// A program whose image is missing or cut short must not program the controller at all: not
// with zeros, not with part of an image. The result box says "ISP Write Failed!!" (118).
TEST_F(RepairRoutine, AMissingImageProgramsNothing)
{
    const std::vector<std::uint8_t> whole = test_support::TestFirmwareImage();
    const struct {
        const char* name;
        std::vector<std::uint8_t> image;
    } cases[] = {
        {"no image", {}},
        {"one byte short", std::vector<std::uint8_t>(whole.begin(), whole.end() - 1)},
        {"one byte over", [&] { auto longer = whole; longer.push_back(0); return longer; }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveProfile profile;
        std::string error;
        const auto path = folder_ / (std::string("drive-") + std::to_string(&c - cases) + ".img");
        ASSERT_TRUE(sim::ParseProfile("image = " + path.string() + "\ncapacity = 131072\n", profile, error));
        sim::SmiController drive(profile);
        ASSERT_TRUE(drive.Open(error)) << error;
        RecordingProgress progress;
        RecordingPause pause;
        SimRepairPort port(drive, progress, pause);
        const RepairResult result = repair::RepairOpenedDrive(port, progress, pause, c.image);
        EXPECT_EQ(result, RepairResult::IspWriteFailed);
        EXPECT_EQ(repair::ResultStringId(result), 118);
        using sim::CommandKind;
        EXPECT_EQ(drive.CommandCount(CommandKind::IspBegin), 0u);
        EXPECT_EQ(drive.CommandCount(CommandKind::IspWriteBank), 0u);
        EXPECT_EQ(drive.CommandCount(CommandKind::IspEnd), 0u);
        EXPECT_EQ(drive.CommandCount(CommandKind::Write10), 0u);
        const auto area = drive.FirmwareArea();
        EXPECT_TRUE(std::all_of(area.begin(), area.end(), [](std::uint8_t b) { return b == 0; }));
    }
}

class RepairLayout : public RepairRoutine {};

TEST_F(RepairLayout, CompleteModeZeroFillsInChunksOf128BeforeTheBuilder)
{
    sim::DriveProfile profile;
    std::string error;
    ASSERT_TRUE(sim::ParseProfile("image = " + (folder_ / "drive.img").string() + "\ncapacity = 1000\n", profile, error));
    sim::SmiController drive(profile);
    ASSERT_TRUE(drive.Open(error)) << error;
    RecordingProgress progress;
    RecordingPause pause;
    SimRepairPort port(drive, progress, pause);
    port.complete = true;

    EXPECT_EQ(repair::LayoutAndFormat(port, progress), RepairResult::Success);

    ASSERT_EQ(port.zeroFill.size(), 8u);
    for (std::size_t i = 0; i < 7; ++i) {
        EXPECT_EQ(port.zeroFill[i].first, i * 128);
        EXPECT_EQ(port.zeroFill[i].bytes, 128u * 512);
    }
    EXPECT_EQ(port.zeroFill[7].first, 896u);
    EXPECT_EQ(port.zeroFill[7].bytes, 104u * 512);
    EXPECT_EQ(port.builderTotals, std::vector<std::uint32_t>{1000});
    // Positions of the chunks that start at 0, 128, ... 896: trunc(trunc(offset x 100 / 1000) x 0.95).
    const std::vector<int> fill(progress.positions.begin(), progress.positions.begin() + 8);
    EXPECT_EQ(fill, (std::vector<int>{0, 11, 23, 36, 48, 60, 72, 84}));
    ASSERT_EQ(port.debug.size(), 1u);
    EXPECT_EQ(port.debug[0], "Total Sector : 1000 , CDROM : 0 , Reserve:0");
}

TEST_F(RepairLayout, BuilderChoiceAtTheTwoGibibyteThreshold)
{
    for (std::uint32_t total : {4194304u, 4194305u}) {
        SCOPED_TRACE(total);
        sim::DriveProfile profile;
        std::string error;
        const auto path = folder_ / ("drive" + std::to_string(total) + ".img");
        ASSERT_TRUE(sim::ParseProfile("image = " + path.string() + "\ncapacity = " + std::to_string(total) + "\n",
                                      profile, error));
        sim::SmiController drive(profile);
        ASSERT_TRUE(drive.Open(error)) << error;
        RecordingProgress progress;
        RecordingPause pause;
        SimRepairPort port(drive, progress, pause);
        EXPECT_EQ(repair::LayoutAndFormat(port, progress), RepairResult::Success);
        drive.Flush();
        std::uint8_t sector0[512] = {};
        std::FILE* file = std::fopen(path.string().c_str(), "rb");
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(std::fread(sector0, 1, 512, file), 512u);
        std::fclose(file);
        EXPECT_EQ(sector0[446 + 4], total > 4194304 ? 0x0C : 0x04);
        EXPECT_TRUE(port.zeroFill.empty()) << "Fast mode fills nothing";
    }
}

TEST(ZeroFillPosition, StaysRightOnDrivesAboveTwentyGibibytes)
{
    struct Case { std::uint32_t offset; std::uint32_t total; int position; };
    const Case cases[] = {
        {0, 1000, 0}, {128, 1000, 11}, {896, 1000, 84},
        // 32 GB drive, 80 % done: a 32-bit offset x 100 would wrap and fall back towards 0.
        {50000000, 62500000, 76},
        {0xFFFFFF80u, 0xFFFFFFFFu, 94},
        {0, 0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(repair::ZeroFillPosition(c.offset, c.total), c.position) << c.offset << " of " << c.total;
}

TEST(UploadQualification, FlashTableAndSize)
{
    std::array<std::uint8_t, 512> answer{};
    for (const auto& identifier : repair::kUploadFlashIdentifiers) {
        std::copy(identifier.begin(), identifier.end(), answer.begin() + 32);
        EXPECT_TRUE(repair::FlashQualifiesForUpload(answer));
    }
    const std::uint8_t unlisted[] = {0xEC, 0xD3, 0x55, 0x25};
    std::copy(std::begin(unlisted), std::end(unlisted), answer.begin() + 32);
    EXPECT_FALSE(repair::FlashQualifiesForUpload(answer));
    EXPECT_EQ(repair::ComputeIspSize("SM325AB", answer), 256u);
}

TEST(ResultStrings, EveryResultHasItsBox)
{
    EXPECT_EQ(repair::ResultStringId(RepairResult::Success), 107);
    EXPECT_EQ(repair::ResultStringId(RepairResult::OpenFailed), 109);
    EXPECT_EQ(repair::ResultStringId(RepairResult::UnsupportedDevice), 115);
    EXPECT_EQ(repair::ResultStringId(RepairResult::IspWriteFailed), 118);
    EXPECT_EQ(repair::ResultStringId(RepairResult::FormatFailed), 110);
    EXPECT_EQ(repair::ResultStringId(RepairResult::CapacityInvalid), 112);
}

}  // namespace
