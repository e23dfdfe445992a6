// tests/windows/device/device_sim_test.cpp
// The simulation flavour's port under Wine: Sarrow's NT path on the simulated drive, and the
// pass-through records decoded as the platform reads them.
#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

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

TEST(SimulatedPort, ARejectedCommandFailsTheCall)
{
    sim::DriveProfile profile = Profile('E');
    profile.failures.push_back({sim::CommandKind::FlashInfo, 1});
    UseDrive(profile);
    ScsiDeviceContext device = Discover();
    VendorAnswer answer;
    answer.fill(0x33);
    SetLastError(0);
    EXPECT_FALSE(VendorReadFlashInfo(device, answer));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_IO_DEVICE});
    EXPECT_EQ(answer, VendorAnswer{});
    EXPECT_TRUE(VendorReadFlashInfo(device, answer));
    EXPECT_EQ(smi::TotalSectors(answer), 8192u);
    // Beyond the end of the drive.
    std::vector<BYTE> sector(512);
    EXPECT_FALSE(ExecuteRead10(device, 8192, sector.data(), 512, 0x28, 0));
    DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle);
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
