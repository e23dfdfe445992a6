// tests/windows/device/device_legacy_test.cpp
// Sarrow's legacy path end to end under Wine reporting Windows 98: discovery, lock, vendor
// commands in and out and sector I/O through our wnaspi32.dll over the simulated drive.
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/smi/vendor_commands.h"
#include "platform/scsi/simulated_port.h"
#include "sarrow/device/scsi_device.h"
#include "sarrow/device/sector_io.h"
#include "sarrow/device/vendor_io.h"
#include "sim_drive_fixture.h"

namespace {

// The simulated port, with the ASPI waits recorded and, when asked, cut short.
class LegacyTestPort final : public SimulatedDevicePort {
public:
    DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) override
    {
        waits.push_back(milliseconds);
        return Win32DevicePort::WaitForSingleObject(handle, shortWaits ? 20 : milliseconds);
    }
    std::vector<DWORD> waits;
    bool shortWaits = false;
};

SimDriveFixture g_drive;

LegacyTestPort& Port() { return static_cast<LegacyTestPort&>(GetDevicePort()); }

using Counters = void(__cdecl*)(DWORD*, DWORD*);
DWORD Aborted()
{
    auto counters = reinterpret_cast<Counters>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("wnaspi32.dll"), "WnaspiTestCounters")));
    DWORD sent = 0, aborted = 0;
    if (counters)
        counters(&sent, &aborted);
    return aborted;
}

class LegacyPath : public testing::Test {
protected:
    void SetUp() override
    {
        SetEnvironmentVariableA("WNASPI32_ADAPTERS", "3");
        SetEnvironmentVariableA("WNASPI32_DRIVE_ADAPTER", "1");
        SetEnvironmentVariableA("WNASPI32_COMPLETION", "thread");
        Port().waits.clear();
        Port().shortWaits = false;
        device.legacy = IsLegacyWindows();
        ASSERT_TRUE(FindSmiDevice(device.legacy, &device.hostAdapterId, &device.targetId,
                                  &device.aspiModule, &device.driveLetter));
        ASSERT_TRUE(OpenAndLockVolume(device.legacy, &device.volumeHandle, &device.vwin32Handle));
    }
    void TearDown() override
    {
        EXPECT_TRUE(DismountAndCloseVolume(device.legacy, &device.volumeHandle, &device.vwin32Handle));
        EXPECT_TRUE(FreeAspiLibrary(device.legacy, &device.aspiModule));
    }
    ScsiDeviceContext device;
};

TEST_F(LegacyPath, FindsTheDriveOnItsAdapterWithItsRegistryLetter)
{
    EXPECT_TRUE(device.legacy);
    EXPECT_FALSE(IsWindowsMe());
    EXPECT_EQ(device.hostAdapterId, 1);  // adapter 0 holds a CD-ROM drive
    EXPECT_EQ(device.targetId, 0);
    EXPECT_NE(device.aspiModule, nullptr);
    EXPECT_EQ(device.driveLetter, 'G');
    EXPECT_EQ(CurrentDriveLetter(), 'G');
    EXPECT_NE(device.vwin32Handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(device.volumeHandle, INVALID_HANDLE_VALUE);
    // The requests went pending and were waited for.
    ASSERT_FALSE(Port().waits.empty());
    EXPECT_EQ(Port().waits[0], 100000u);
}

TEST_F(LegacyPath, VendorCommandsIn)
{
    VendorAnswer deviceInfo, firmwareInfo, flashInfo;
    ASSERT_TRUE(VendorReadDeviceInfo(device, deviceInfo));
    ASSERT_TRUE(VendorReadFirmwareInfo(device, firmwareInfo));
    ASSERT_TRUE(VendorReadFlashInfo(device, flashInfo));
    EXPECT_EQ(smi::VendorText(deviceInfo), "SMI     ");
    EXPECT_EQ(smi::ProductText(deviceInfo), "USB DISK        ");
    EXPECT_EQ(smi::ControllerModel(firmwareInfo), "SM325AB");
    EXPECT_EQ(smi::FirmwareVersion(firmwareInfo), "071228-AB-");
    EXPECT_EQ(smi::TotalSectors(flashInfo), 4096u);
    EXPECT_EQ(smi::FlashIdentifier(flashInfo), (std::array<std::uint8_t, 4>{0xEC, 0xD5, 0x14, 0xB6}));
}

TEST_F(LegacyPath, VendorCommandsOutAndTheirReadBack)
{
    VendorAnswer flashInfo;
    ASSERT_TRUE(VendorReadFlashInfo(device, flashInfo));
    const BYTE n = smi::IspParameterN(flashInfo);
    const BYTE m = smi::IspParameterM(flashInfo);
    ASSERT_TRUE(VendorIspBegin(device, n, m));
    std::array<std::uint8_t, smi::kBankSize> bank;
    for (std::size_t i = 0; i < bank.size(); ++i)
        bank[i] = static_cast<std::uint8_t>(i * 7 + 3);
    VendorWriteBankBlock block;
    smi::BuildWriteBankBlock(bank, block);
    ASSERT_TRUE(VendorIspWriteBank(device, n, 5, m, block));
    std::array<BYTE, smi::kBankSize> readBack{};
    for (BYTE quarter = 0; quarter < 4; ++quarter)
        ASSERT_TRUE(VendorIspReadBank(device, n, 5, quarter, m, readBack.data() + quarter * 512));
    EXPECT_EQ(readBack, bank);
    EXPECT_TRUE(VendorIspEnd(device));
}

TEST_F(LegacyPath, SectorsThroughAspi)
{
    std::vector<BYTE> written(131072), read(131072);
    for (std::size_t i = 0; i < written.size(); ++i)
        written[i] = static_cast<BYTE>(i / 512 + i);
    ASSERT_TRUE(WriteSectors(device, 100, written.data(), 131072, 0x2A, 0));
    ASSERT_TRUE(ReadSectors(device, 100, read.data(), 131072, 0x28, 0));
    EXPECT_EQ(read, written);
    // ASPI completes a command the drive refuses with SS_ERR: a sector transfer reports it, and
    // the buffer keeps what it held.
    std::vector<BYTE> beyond(512, 0x5A);
    EXPECT_FALSE(ExecuteRead10(device, 5000, beyond.data(), 512, 0x28, 0));
    EXPECT_EQ(beyond, std::vector<BYTE>(512, 0x5A));
}

// Outside an ISP session the drive refuses the session's commands: the bank read-back reports
// it; the end of the session, no bank transfer, reports done as every vendor query does.
TEST_F(LegacyPath, RefusedBankReadFailsWhileOtherVendorCommandsReportDone)
{
    VendorAnswer flashInfo;
    ASSERT_TRUE(VendorReadFlashInfo(device, flashInfo));
    const BYTE n = smi::IspParameterN(flashInfo);
    const BYTE m = smi::IspParameterM(flashInfo);
    BYTE quarter[512];
    std::memset(quarter, 0x21, sizeof quarter);
    EXPECT_FALSE(VendorIspReadBank(device, n, 0, 0, m, quarter));
    EXPECT_TRUE(VendorIspEnd(device));
}

TEST_F(LegacyPath, ImmediateCompletionIsNotWaitedFor)
{
    SetEnvironmentVariableA("WNASPI32_COMPLETION", "immediate");
    Port().waits.clear();
    VendorAnswer answer;
    ASSERT_TRUE(VendorReadDeviceInfo(device, answer));
    EXPECT_EQ(smi::VendorText(answer), "SMI     ");
    EXPECT_TRUE(Port().waits.empty());
}

// A request still pending after the 100 s wait is aborted and fails, before its block and
// buffer go back to the caller (the wait itself is cut short here).
TEST_F(LegacyPath, ARequestThatNeverCompletesIsAbortedAfterTheWait)
{
    SetEnvironmentVariableA("WNASPI32_COMPLETION", "never");
    Port().waits.clear();
    Port().shortWaits = true;
    const DWORD abortedBefore = Aborted();
    VendorAnswer answer;
    answer.fill(0x77);
    EXPECT_FALSE(VendorReadDeviceInfo(device, answer));
    EXPECT_EQ(answer, VendorAnswer{});
    std::vector<BYTE> sectors(512);
    EXPECT_FALSE(WriteSectors(device, 0, sectors.data(), 512, 0x2A, 0));
    BYTE inquiry[kAspiInquiryAnswerSize];
    EXPECT_FALSE(AspiInquiry(device.aspiModule, device.hostAdapterId, 0, 0, inquiry));
    EXPECT_EQ(Aborted() - abortedBefore, 3u);
    EXPECT_EQ(Port().waits, (std::vector<DWORD>{100000, 100000, 100000}));
}

}  // namespace

DevicePort& GetDevicePort()
{
    static LegacyTestPort port;
    return port;
}

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (!g_drive.Create("sarrow-legacy", "capacity = 4096\nletter = G\n")) {
        std::fprintf(stderr, "cannot make the simulated drive\n");
        return 1;
    }
    const int result = RUN_ALL_TESTS();
    if (!Port().HasDrive())
        std::fprintf(stderr, "no simulated drive: %s\n", Port().Error().c_str());
    return result;
}
