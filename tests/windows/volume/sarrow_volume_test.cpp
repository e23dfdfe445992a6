// tests/windows/volume/sarrow_volume_test.cpp
// Sarrow's volume builders over its own sector I/O under Wine: each sector goes out as one
// SCSI_PASS_THROUGH_DIRECT WRITE(10)/READ(10) to the locked volume, answered by the simulated
// controller on a sparse image.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/scsi/block_commands.h"
#include "core/sim/smi_controller.h"
#include "sarrow/device/scsi_device.h"
#include "sarrow/volume/volume_builder.h"
#include "scripted_port.h"
#include "tests/native/fat/fakes.h"

namespace {

using fat_test::Get16;
using fat_test::Get32;
using fat_test::RecordingProgress;
using fat_test::Text;

class SarrowVolume : public testing::Test {
protected:
    void SetUp() override
    {
        ScriptedPort::Reset();
        SetCurrentDriveLetter(0);
        image_ = std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + ".img";
        std::remove(image_.c_str());
    }

    void TearDown() override
    {
        controller_.reset();
        std::remove(image_.c_str());
    }

    ScriptedPort& port() { return ScriptedPort::Current(); }

    // Drive F: is the simulated controller; the device is found and locked as a repair does.
    ScsiDeviceContext OpenDrive(std::uint32_t sectors)
    {
        sim::DriveProfile profile;
        profile.imagePath = image_;
        profile.capacitySectors = sectors;
        controller_ = std::make_unique<sim::SmiController>(profile);
        std::string error;
        EXPECT_TRUE(controller_->Open(error)) << error;
        ScriptedPort::Volume& volume = port().volumes['F'];
        volume.inquiry = MakeInquiry("SMI");
        volume.onDirect = [this](const SCSI_PASS_THROUGH_DIRECT& record) {
            if (++commands_ == failingCommand_)
                return FALSE;
            scsi::Cdb cdb{};
            std::memcpy(cdb.data(), record.Cdb, record.CdbLength);
            return controller_->Execute(cdb, record.CdbLength,
                                        record.DataIn ? scsi::Direction::In : scsi::Direction::Out,
                                        static_cast<std::uint8_t*>(record.DataBuffer),
                                        record.DataTransferLength)
                       ? TRUE
                       : FALSE;
        };
        ScsiDeviceContext device;
        EXPECT_TRUE(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule,
                                  &device.driveLetter));
        EXPECT_TRUE(OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
        port().ioctls.clear();
        return device;
    }

    std::vector<SCSI_PASS_THROUGH_DIRECT> Commands() const
    {
        std::vector<SCSI_PASS_THROUGH_DIRECT> records;
        for (const ScriptedPort::IoctlCall& call : ScriptedPort::Current().IoctlsWithCode(IOCTL_SCSI_PASS_THROUGH_DIRECT))
            records.push_back(*reinterpret_cast<const SCSI_PASS_THROUGH_DIRECT*>(call.input.data()));
        return records;
    }

    fat::Sector Read(std::uint32_t sector)
    {
        fat::Sector data{};
        EXPECT_TRUE(controller_->Execute(scsi::BlockCdb(scsi::kRead10, sector, 512), 10, scsi::Direction::In,
                                         data.data(), 512));
        return data;
    }

    std::string image_;
    std::unique_ptr<sim::SmiController> controller_;
    int commands_ = 0;
    int failingCommand_ = 0;
};

scsi::Cdb CdbOf(const SCSI_PASS_THROUGH_DIRECT& r)
{
    scsi::Cdb cdb{};
    std::memcpy(cdb.data(), r.Cdb, cdb.size());
    return cdb;
}

std::uint32_t CdbSector(const SCSI_PASS_THROUGH_DIRECT& r)
{
    return scsi::BlockCdbSector(CdbOf(r));
}

TEST_F(SarrowVolume, Fat16OneSectorPerCommandWithReadBack)
{
    const ScsiDeviceContext device = OpenDrive(20000);
    RecordingProgress progress(3);
    const BYTE noLabel[16] = {};
    ASSERT_TRUE(BuildFat16Volume(device, 20000, TRUE, &progress, noLabel, FALSE, 0, 0));

    const auto records = Commands();
    ASSERT_EQ(records.size(), 81u + 34u);
    std::size_t writes = 0;
    for (const SCSI_PASS_THROUGH_DIRECT& r : records) {
        const bool write = r.Cdb[0] == scsi::kWrite10;
        ASSERT_TRUE(write || r.Cdb[0] == scsi::kRead10);
        EXPECT_EQ(r.DataIn, write ? 0 : 1);
        EXPECT_EQ(r.CdbLength, 10);
        EXPECT_EQ(r.DataTransferLength, 512u);
        EXPECT_EQ(scsi::BlockCdbCount(CdbOf(r)), 1u);
        writes += write ? 1 : 0;
    }
    EXPECT_EQ(writes, 81u);
    EXPECT_EQ(CdbSector(records[0]), 0u);
    EXPECT_EQ(CdbSector(records[1]), 0u);
    EXPECT_EQ(records[1].Cdb[0], scsi::kRead10);
    EXPECT_EQ(port().flushes.size(), records.size()) << "every command is followed by a flush";
    EXPECT_EQ(progress.positions, (std::vector<int>{8, 13, 18}));

    const fat::Sector mbr = Read(0);
    EXPECT_EQ(mbr[446], 0x00);
    EXPECT_EQ(mbr[450], 0x01);
    EXPECT_EQ(Get32(mbr, 458), 19968u);
    const fat::Sector boot = Read(32);
    EXPECT_EQ(Text(boot, 54, 8), "FAT12   ");
    EXPECT_EQ(Get16(boot, 22), 8u);
}

TEST_F(SarrowVolume, Fat32WithLabelLunAndBase)
{
    const std::uint32_t total = 4194305;
    const ScsiDeviceContext device = OpenDrive(total + 100);
    RecordingProgress progress;
    const BYTE label[16] = {'S', 'A', 'R', 'R', 'O', 'W', ' ', 'D', 'I', 'S', 'K'};
    ASSERT_TRUE(BuildFat32Volume(device, total, TRUE, &progress, label, FALSE, 2, 100));

    const auto records = Commands();
    ASSERT_EQ(records.size(), 8294u);
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(records[i].Cdb[0], scsi::kWrite10);
        ASSERT_EQ(CdbSector(records[i]), 100 + i) << "ascending from the base";
        ASSERT_EQ(records[i].Lun, 2);
    }
    EXPECT_EQ(progress.positions.back(), 116);

    const fat::Sector mbr = Read(100);
    EXPECT_EQ(mbr[446], 0x80);
    EXPECT_EQ(mbr[450], 0x0C);
    EXPECT_EQ(Get32(mbr, 454), 32u);
    EXPECT_EQ(Get32(Read(132), 36), 4096u);
    const fat::Sector root = Read(100 + 32 + 38 + 2 * 4096);
    EXPECT_EQ(Text(root, 0, 11), "SARROW DISK");
    EXPECT_EQ(root[11], 0x08);
}

TEST_F(SarrowVolume, FailingCommandsEndTheBuilders)
{
    ScsiDeviceContext device = OpenDrive(8000000);
    port().volumes['F'].onDirect = [](const SCSI_PASS_THROUGH_DIRECT&) { return FALSE; };
    EXPECT_FALSE(BuildFat32Volume(device, 8000000, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_EQ(Commands().size(), 1u);

    // A read that reports success but delivers nothing fails the compare.
    port().ioctls.clear();
    port().volumes['F'].onDirect = [](const SCSI_PASS_THROUGH_DIRECT&) { return TRUE; };
    EXPECT_FALSE(BuildFat16Volume(device, 1000000, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_EQ(Commands().size(), 2u);

    port().ioctls.clear();
    device = OpenDrive(1000000);
    failingCommand_ = 40;
    EXPECT_FALSE(BuildFat16Volume(device, 1000000, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_EQ(Commands().size(), 40u);

    port().ioctls.clear();
    device.volumeHandle = INVALID_HANDLE_VALUE;  // the open failed: nothing is sent
    EXPECT_FALSE(BuildFat32Volume(device, 8000000, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(SarrowVolume, TooSmallDeviceSendsNothing)
{
    const ScsiDeviceContext device = OpenDrive(20000);
    EXPECT_FALSE(BuildFat16Volume(device, 40, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_FALSE(BuildFat32Volume(device, 20000, TRUE, nullptr, nullptr, FALSE, 0, 0));
    EXPECT_TRUE(Commands().empty());
}

}  // namespace
