// tests/windows/device/device_sim_test.cpp
// The simulation flavour's port under Wine: Sarrow's NT path on the simulated drive, and the
// pass-through records decoded as the platform reads them.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/scsi/command_status.h"
#include "core/sim/smi_controller.h"
#include "core/smi/vendor_commands.h"
#include "platform/scsi/pass_through.h"
#include "platform/scsi/simulated_port.h"
#include "sarrow/device/scsi_device.h"
#include "sarrow/device/sector_io.h"
#include "sarrow/device/vendor_io.h"

namespace {

std::unique_ptr<SimulatedDevicePort> g_port;
std::string g_folder;

sim::DriveProfile Profile(char letter, sim::InquiryVariant inquiry = sim::InquiryVariant::UpperSmi)
{
    static int count = 0;
    sim::DriveProfile profile;
    profile.imagePath = g_folder + "\\drive" + std::to_string(++count) + ".img";
    profile.capacitySectors = 8192;
    profile.driveLetter = letter;
    profile.inquiry = inquiry;
    return profile;
}

void UseDrive(const sim::DriveProfile& profile)
{
    g_port = std::make_unique<SimulatedDevicePort>(profile);
}

ScsiDeviceContext Discover()
{
    ScsiDeviceContext device;
    if (FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule,
                      &device.driveLetter))
        OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
    return device;
}

TEST(SimulatedPort, DiscoveryFindsTheDriveAtItsLetter)
{
    struct Case {
        const char* name;
        char letter;
        sim::InquiryVariant inquiry;
        bool found;
    } const cases[] = {
        {"SMI on E:", 'E', sim::InquiryVariant::UpperSmi, true},
        {"smi on W:", 'W', sim::InquiryVariant::LowerSmi, true},
        {"template on D:", 'D', sim::InquiryVariant::ProductTemplate, true},
        {"foreign device", 'F', sim::InquiryVariant::None, false},
        {"beyond W:", 'X', sim::InquiryVariant::UpperSmi, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseDrive(Profile(c.letter, c.inquiry));
        ScsiDeviceContext device;
        EXPECT_EQ(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule,
                                &device.driveLetter) != FALSE,
                  c.found);
        if (c.found) {
            EXPECT_EQ(device.driveLetter, c.letter);
        }
    }
}

TEST(SimulatedPort, VendorCommandsAndSectorsReachTheImage)
{
    const sim::DriveProfile profile = Profile('E');
    UseDrive(profile);
    ScsiDeviceContext device = Discover();
    ASSERT_NE(device.volumeHandle, INVALID_HANDLE_VALUE);
    VendorAnswer flashInfo, deviceInfo;
    ASSERT_TRUE(VendorReadFlashInfo(device, flashInfo));
    EXPECT_EQ(smi::TotalSectors(flashInfo), 8192u);
    ASSERT_TRUE(VendorReadDeviceInfo(device, deviceInfo));
    EXPECT_EQ(smi::DeviceIdentifier(deviceInfo), 0x3538);

    std::vector<BYTE> written(131072), read(131072);
    for (std::size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<BYTE>(i * 13 + i / 512);
    ASSERT_TRUE(WriteSectors(device, 10, written.data(), 131072, 0x2A, 0));
    ASSERT_TRUE(ReadSectors(device, 10, read.data(), 131072, 0x28, 0));
    EXPECT_EQ(read, written);
    EXPECT_EQ(g_port->Controller()->CommandCount(sim::CommandKind::Write10), 2u);
    EXPECT_TRUE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));

    // Closing the volume leaves the sectors in the image.
    std::FILE* image = std::fopen(profile.imagePath.c_str(), "rb");
    ASSERT_NE(image, nullptr);
    std::vector<BYTE> onDisk(131072);
    std::fseek(image, 10 * 512, SEEK_SET);
    EXPECT_EQ(std::fread(onDisk.data(), 1, onDisk.size(), image), onDisk.size());
    std::fclose(image);
    EXPECT_EQ(onDisk, written);
}

// As on a real drive, a command the drive refuses completes the call; the record's status and
// sense area say why.
TEST(SimulatedPort, ARefusedCommandEndsInCheckCondition)
{
    sim::DriveProfile profile = Profile('E');
    profile.failures.push_back({sim::CommandKind::FlashInfo, 0});
    UseDrive(profile);
    ScsiDeviceContext device = Discover();

    const smi::VendorCommand command = smi::ReadFlashInfo();
    std::vector<BYTE> data(512, 0x33);
    passthrough::DirectBuffer direct;
    passthrough::DirectCommand fields;
    fields.cdb = command.cdb.data();
    fields.data = data.data();
    fields.dataLength = 512;
    fields.senseLength = sizeof direct.sense;
    passthrough::FillDirect(direct, fields);
    DWORD returned = 0;
    ASSERT_TRUE(g_port->DeviceIoControl(device.volumeHandle, IOCTL_SCSI_PASS_THROUGH_DIRECT, &direct, 80, &direct, 80,
                                        &returned));
    EXPECT_EQ(direct.record.ScsiStatus, scsi::kStatusCheckCondition);
    EXPECT_EQ(direct.record.SenseInfoLength, scsi::kFixedSenseLength);
    EXPECT_EQ(direct.record.DataTransferLength, 0u);
    const auto sense = scsi::ReadSense(std::span<const std::uint8_t>(direct.sense, direct.record.SenseInfoLength));
    ASSERT_TRUE(sense);
    EXPECT_EQ(sense->key, scsi::SenseKey::AbortedCommand);
    EXPECT_EQ(data, std::vector<BYTE>(512, 0x33));
    EXPECT_FALSE(passthrough::DirectSucceeded(direct));

    // A query keeps the call's result; its answer reads as zeros.
    VendorAnswer answer;
    answer.fill(0x33);
    EXPECT_TRUE(VendorReadFlashInfo(device, answer));
    EXPECT_EQ(answer, VendorAnswer{});
    // A read beyond the end of the drive is refused, and READ(10) reports it.
    std::vector<BYTE> sector(512);
    EXPECT_FALSE(ExecuteRead10(device, 8192, sector.data(), 512, 0x28, 0));
    DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
}

TEST(SimulatedPort, WriteProtectedAndBadSectorsRefuseWhatTheyMust)
{
    struct Case {
        const char* name;
        bool writeProtected;
        std::vector<sim::SectorRange> bad;
        bool writes;
        bool reads;
    } const cases[] = {
        {"healthy", false, {}, true, true},
        {"write-protected", true, {}, false, true},
        {"a bad sector in the range", false, {{40, 40}}, false, false},
        {"bad sectors elsewhere", false, {{100, 200}}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::DriveProfile profile = Profile('E');
        profile.writeProtected = c.writeProtected;
        profile.badSectors = c.bad;
        UseDrive(profile);
        ScsiDeviceContext device = Discover();
        std::vector<BYTE> sectors(16 * 512, 0x6B);
        EXPECT_EQ(WriteSectors(device, 32, sectors.data(), sectors.size(), 0x2A, 0) != FALSE, c.writes);
        EXPECT_EQ(ReadSectors(device, 32, sectors.data(), sectors.size(), 0x28, 0) != FALSE, c.reads);
        DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
    }
}

// Only a drive that has left the bus fails the call itself.
TEST(SimulatedPort, ADriveThatDropsOffFailsTheCall)
{
    sim::DriveProfile profile = Profile('E');
    profile.disappearAfter = 2;
    UseDrive(profile);
    ScsiDeviceContext device = Discover();  // the INQUIRY is the first command
    VendorAnswer answer;
    EXPECT_TRUE(VendorReadDeviceInfo(device, answer));
    SetLastError(0);
    EXPECT_FALSE(VendorReadFlashInfo(device, answer));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_DEVICE_NOT_CONNECTED});
    std::vector<BYTE> sector(512);
    EXPECT_FALSE(WriteSectors(device, 0, sector.data(), 512, 0x2A, 0));
    DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
}

// Another program holds the volume: the lock is refused on both paths, and a dismount is still
// possible (which is why a use that only reads must not make one).
TEST(SimulatedPort, AVolumeInUseRefusesTheLock)
{
    sim::DriveProfile profile = Profile('E');
    profile.volumeInUse = true;
    UseDrive(profile);
    ScsiDeviceContext device;
    ASSERT_TRUE(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule, &device.driveLetter));
    SetLastError(0);
    EXPECT_FALSE(OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
    ASSERT_NE(device.volumeHandle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseVolumeWithoutDismount(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(g_port->Locks(), 0u);
    EXPECT_EQ(g_port->Dismounts(), 0u);

    HANDLE vwin32 = INVALID_HANDLE_VALUE;
    EXPECT_FALSE(LockDriveWin9x(&vwin32, 'E'));
    EXPECT_TRUE(g_port->CloseHandle(vwin32));

    ASSERT_TRUE(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule, &device.driveLetter));
    OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
    EXPECT_TRUE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(g_port->Dismounts(), 1u);
}

TEST(SimulatedPort, RecordsAreCheckedAsThePlatformChecksThem)
{
    UseDrive(Profile('E'));
    HANDLE volume = passthrough::OpenVolume('E');
    ASSERT_NE(volume, INVALID_HANDLE_VALUE);
    DWORD returned = 0;

    passthrough::InquiryBuffer inquiry;
    passthrough::FillInquiry(inquiry);
    ASSERT_TRUE(g_port->DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH, &inquiry, 44, &inquiry, 116,
                                        &returned));
    EXPECT_EQ(returned, 116u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(inquiry.data + 5), 3), "SMI");

    struct Case {
        const char* name;
        std::function<BOOL()> send;
        DWORD error;
    } const cases[] = {
        {"answer beyond the output buffer", [&] {
             passthrough::FillInquiry(inquiry);
             return g_port->DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH, &inquiry, 44, &inquiry,
                                            115, &returned);
         }, ERROR_INVALID_PARAMETER},
        {"wrong record length", [&] {
             passthrough::FillInquiry(inquiry);
             inquiry.record.Length = 40;
             return g_port->DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH, &inquiry, 44, &inquiry,
                                            116, &returned);
         }, ERROR_REVISION_MISMATCH},
        {"direct record without a data buffer", [&] {
             passthrough::DirectBuffer direct;
             const smi::VendorCommand command = smi::ReadFlashInfo();
             passthrough::DirectCommand fields;
             fields.cdb = command.cdb.data();
             fields.dataLength = 512;
             passthrough::FillDirect(direct, fields);
             return g_port->DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH_DIRECT, &direct, 80,
                                            &direct, 80, &returned);
         }, ERROR_INVALID_PARAMETER},
        {"direct record too short", [&] {
             passthrough::DirectBuffer direct;
             passthrough::FillDirect(direct, passthrough::DirectCommand{});
             return g_port->DeviceIoControl(volume, IOCTL_SCSI_PASS_THROUGH_DIRECT, &direct, 40,
                                            &direct, 80, &returned);
         }, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_FALSE(c.send());
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_EQ(g_port->Controller()->CommandCount(sim::CommandKind::FlashInfo), 0u);
    EXPECT_TRUE(g_port->CloseHandle(volume));
}

TEST(SimulatedPort, LegacyRegistryAndVwin32NameTheDrive)
{
    UseDrive(Profile('J'));
    char letter = 0;
    ASSERT_TRUE(FindDriveLetterWin9x(TRUE, &letter));
    EXPECT_EQ(letter, 'J');
    HANDLE vwin32 = INVALID_HANDLE_VALUE;
    EXPECT_TRUE(LockDriveWin9x(&vwin32, 'J'));
    EXPECT_TRUE(UnlockVolumeWin9x(vwin32, 'J' - 64));
    EXPECT_FALSE(LockVolumeWin9x(vwin32, 'K' - 64, 0, 0));
    EXPECT_TRUE(g_port->CloseHandle(vwin32));
}

}  // namespace

DevicePort& GetDevicePort() { return *g_port; }

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    g_folder = std::string(temp) + "sarrow-sim-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(g_folder.c_str(), nullptr);
    UseDrive(Profile('E'));
    return RUN_ALL_TESTS();
}
