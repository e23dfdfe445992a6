// tests/windows/device/device_layer_test.cpp
// Sarrow's device layer against a scripted port: the records the platform receives, discovery,
// locking, handle hygiene, the ASPI wait rule and the sector I/O pieces, on both paths.
#include <windows.h>

#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/scsi/block_commands.h"
#include "core/scsi/command_status.h"
#include "core/smi/vendor_commands.h"
#include "core/timing/pause.h"
#include "platform/scsi/pass_through.h"
#include "sarrow/device/scsi_device.h"
#include "sarrow/device/sector_io.h"
#include "sarrow/device/vendor_io.h"
#include "scripted_port.h"
#include "tests/native/fat/fakes.h"

namespace {

const char kTemplate[] = "        USB MEMORY BAR";

class DeviceLayer : public testing::Test {
protected:
    void SetUp() override
    {
        ScriptedPort::Reset();
        SetCurrentDriveLetter(0);
        SetAspiEntryMissingNotice(nullptr);
    }
    ScriptedPort& port() { return ScriptedPort::Current(); }

    // An NT context with the volume of `letter` open and locked.
    ScsiDeviceContext OpenNt(char letter)
    {
        port().volumes[letter].inquiry = MakeInquiry("SMI");
        ScsiDeviceContext device;
        EXPECT_TRUE(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId,
                                  &device.aspiModule, &device.driveLetter));
        EXPECT_TRUE(OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
        port().ioctls.clear();
        port().flushes.clear();
        return device;
    }

    ScsiDeviceContext Legacy(BYTE adapter = 0)
    {
        ScsiDeviceContext device;
        device.legacy = TRUE;
        device.hostAdapterId = adapter;
        device.targetId = 0;
        device.aspiModule = ScriptedPort::kAspiModule;
        return device;
    }

    static const SCSI_PASS_THROUGH_DIRECT& Direct(const ScriptedPort::IoctlCall& call)
    {
        return *reinterpret_cast<const SCSI_PASS_THROUGH_DIRECT*>(call.input.data());
    }
    static const aspi::SRB_ExecSCSICmd& Srb(const ScriptedPort::AspiCall& call)
    {
        return *reinterpret_cast<const aspi::SRB_ExecSCSICmd*>(call.contents.data());
    }
};

using fat_test::RecordingPause;

// ---- the pass-through records

TEST_F(DeviceLayer, PassThroughBuffersMatchThePlatformLayout)
{
    EXPECT_EQ(sizeof(SCSI_PASS_THROUGH), 44u);
    EXPECT_EQ(sizeof(SCSI_PASS_THROUGH_DIRECT), 44u);
    EXPECT_EQ(offsetof(SCSI_PASS_THROUGH_DIRECT, DataBuffer), 20u);
    EXPECT_EQ(offsetof(SCSI_PASS_THROUGH_DIRECT, Cdb), 28u);
    EXPECT_EQ(sizeof(passthrough::DirectBuffer), 80u);
    EXPECT_EQ(offsetof(passthrough::DirectBuffer, sense), 48u);
    EXPECT_EQ(sizeof(passthrough::InquiryBuffer), 592u);
    EXPECT_EQ(offsetof(passthrough::InquiryBuffer, data), 80u);
}

TEST_F(DeviceLayer, InquiryGoesThroughTheBufferedRecord)
{
    port().volumes['D'].inquiry = MakeInquiry("SMI");
    BYTE answer[kPassThroughInquiryAnswerSize];
    ASSERT_TRUE(PassThroughInquiry('D', answer));

    ASSERT_EQ(port().opens.size(), 1u);
    const auto& open = port().opens[0];
    EXPECT_EQ(open.name, "\\\\.\\D:");
    EXPECT_EQ(open.access, DWORD{GENERIC_READ | GENERIC_WRITE});
    EXPECT_EQ(open.share, DWORD{FILE_SHARE_READ | FILE_SHARE_WRITE});
    EXPECT_EQ(open.disposition, DWORD{OPEN_EXISTING});
    EXPECT_EQ(open.flags, DWORD{FILE_FLAG_NO_BUFFERING});

    ASSERT_EQ(port().ioctls.size(), 1u);
    const auto& call = port().ioctls[0];
    EXPECT_EQ(call.code, DWORD{IOCTL_SCSI_PASS_THROUGH});
    EXPECT_EQ(call.inSize, 44u);
    EXPECT_EQ(call.outSize, 116u);
    EXPECT_EQ(call.inPointer, call.outPointer);
    const auto& r = *reinterpret_cast<const SCSI_PASS_THROUGH*>(call.input.data());
    EXPECT_EQ(r.Length, 44);
    EXPECT_EQ(r.PathId, 0);
    EXPECT_EQ(r.TargetId, 1);
    EXPECT_EQ(r.Lun, 0);
    EXPECT_EQ(r.CdbLength, 6);
    EXPECT_EQ(r.SenseInfoLength, 0);
    EXPECT_EQ(r.DataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(r.DataTransferLength, 36u);
    EXPECT_EQ(r.TimeOutValue, 2u);
    EXPECT_EQ(r.DataBufferOffset, 80u);
    EXPECT_EQ(r.SenseInfoOffset, 48u);
    EXPECT_EQ(Hex(r.Cdb, 16), "12 00 00 00 24 00 00 00 00 00 00 00 00 00 00 00");
    // The answer is the data from INQUIRY byte 5 on, and the volume is closed again.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(answer), 3), "SMI");
    EXPECT_EQ(port().closes, std::vector<HANDLE>{open.result});
}

struct DirectCase {
    const char* name;
    DWORD expectedLength;  // DataTransferLength
    UCHAR cdbLength;
    UCHAR dataIn;
    ULONG timeout;
    UCHAR senseLength;     // asked for where the drive's verdict counts: the whole sense area
};

TEST_F(DeviceLayer, DirectRecordsPerOperation)
{
    ScsiDeviceContext device = OpenNt('E');
    VendorAnswer answer;
    VendorWriteBankBlock block{};
    std::vector<BYTE> sectors(1024);
    ASSERT_TRUE(VendorReadFlashInfo(device, answer));
    ASSERT_TRUE(VendorIspWriteBank(device, 2, 5, 1, block));
    ASSERT_TRUE(ReadSectors(device, 7, sectors.data(), 1024, scsi::kRead10, 0));
    ASSERT_TRUE(WriteSectors(device, 9, sectors.data(), 512, scsi::kWrite10, 0));
    ASSERT_TRUE(VendorIspEnd(device));

    const DirectCase cases[] = {
        {"vendor in", 512, 16, SCSI_IOCTL_DATA_IN, 300, 0},
        {"vendor out", 2560, 16, SCSI_IOCTL_DATA_OUT, 600, 32},
        {"READ(10)", 1024, 10, SCSI_IOCTL_DATA_IN, 300, 32},
        {"WRITE(10)", 512, 10, SCSI_IOCTL_DATA_OUT, 300, 32},
        {"vendor, no data", 0, 16, SCSI_IOCTL_DATA_IN, 300, 0},
    };
    const void* buffers[] = {answer.data(), block.data(), sectors.data(), sectors.data(), nullptr};
    const auto calls = port().IoctlsWithCode(IOCTL_SCSI_PASS_THROUGH_DIRECT);
    ASSERT_EQ(calls.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        const auto& call = calls[i];
        const auto& r = Direct(call);
        EXPECT_EQ(call.handle, device.volumeHandle);
        EXPECT_EQ(call.inSize, 80u);
        EXPECT_EQ(call.outSize, 80u);
        EXPECT_EQ(call.inPointer, call.outPointer);
        EXPECT_EQ(r.Length, 44);
        EXPECT_EQ(r.PathId, 0);
        EXPECT_EQ(r.TargetId, 1);
        EXPECT_EQ(r.Lun, 0);
        EXPECT_EQ(r.CdbLength, cases[i].cdbLength);
        EXPECT_EQ(r.SenseInfoLength, cases[i].senseLength);
        EXPECT_EQ(r.DataIn, cases[i].dataIn);
        EXPECT_EQ(r.DataTransferLength, cases[i].expectedLength);
        EXPECT_EQ(r.TimeOutValue, cases[i].timeout);
        EXPECT_EQ(r.DataBuffer, buffers[i]);
        EXPECT_EQ(r.SenseInfoOffset, 48u);
    }
    EXPECT_EQ(Hex(Direct(calls[0]).Cdb, 16), "F0 20 00 00 00 00 00 00 00 00 00 01 00 00 00 00");
    EXPECT_EQ(Hex(Direct(calls[1]).Cdb, 12), "F1 0B 03 02 05 00 01 07 00 00 00 05");
    EXPECT_EQ(Hex(Direct(calls[2]).Cdb, 10), "28 00 00 00 00 07 00 00 02 00");
    EXPECT_EQ(Hex(Direct(calls[3]).Cdb, 10), "2A 00 00 00 00 09 00 00 01 00");
    // Every direct command is followed by a flush of the volume.
    EXPECT_EQ(port().flushes, std::vector<HANDLE>(std::size(cases), device.volumeHandle));
}

// A drive that refuses a command still lets the pass-through call succeed; the SCSI status and
// the sense bytes say it failed. That counts for the commands that change or verify the drive;
// a query keeps the call's result, and its answer reads as zeros.
TEST_F(DeviceLayer, DriveRefusalsCountForWritesAndVerifiesOnly)
{
    struct Case {
        const char* name;
        UCHAR status;
        std::vector<BYTE> sense;
        bool changesSucceed;
    };
    const auto fixed = [](scsi::SenseCode code) {
        const scsi::FixedSense sense = scsi::MakeFixedSense(code);
        return std::vector<BYTE>(sense.begin(), sense.end());
    };
    const Case cases[] = {
        {"good", scsi::kStatusGood, {}, true},
        {"check condition, write protected", scsi::kStatusCheckCondition, fixed(scsi::kWriteProtected), false},
        {"check condition without sense", scsi::kStatusCheckCondition, {}, false},
        {"busy", scsi::kStatusBusy, {}, false},
        {"good, but a medium error in the sense", scsi::kStatusGood, fixed(scsi::kWriteError), false},
        {"good with a recovered error", scsi::kStatusGood, fixed({scsi::SenseKey::RecoveredError, 0x17, 0}), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort::Reset();
        port().volumes['E'].inquiry = MakeInquiry("SMI");
        port().volumes['E'].directStatus = c.status;
        port().volumes['E'].directSense = c.sense;
        ScsiDeviceContext device = OpenNt('E');
        VendorAnswer answer;
        answer.fill(0x33);
        VendorWriteBankBlock block{};
        std::vector<BYTE> sectors(512);
        BYTE quarter[512];
        EXPECT_TRUE(VendorReadFlashInfo(device, answer));
        EXPECT_EQ(answer, VendorAnswer{});
        EXPECT_TRUE(VendorIspBegin(device, 1, 0));
        EXPECT_TRUE(VendorIspEnd(device));
        EXPECT_EQ(VendorIspWriteBank(device, 1, 0, 0, block) != FALSE, c.changesSucceed);
        EXPECT_EQ(VendorIspReadBank(device, 1, 0, 0, 0, quarter) != FALSE, c.changesSucceed);
        EXPECT_EQ(WriteSectors(device, 0, sectors.data(), 512, scsi::kWrite10, 0) != FALSE, c.changesSucceed);
        EXPECT_EQ(ReadSectors(device, 0, sectors.data(), 512, scsi::kRead10, 0) != FALSE, c.changesSucceed);
    }
}

// ASPI completes a refused command with SS_ERR: a failure for the same commands.
TEST_F(DeviceLayer, AspiErrorsCountForWritesAndVerifiesOnly)
{
    for (const BYTE status : {aspi::SS_COMP, aspi::SS_ERR, aspi::SS_ABORTED}) {
        SCOPED_TRACE(int{status});
        ScriptedPort::Reset();
        port().aspiCommandStatus = status;
        ScsiDeviceContext device = Legacy();
        const bool good = status == aspi::SS_COMP;
        VendorAnswer answer;
        VendorWriteBankBlock block{};
        std::vector<BYTE> sectors(512);
        BYTE quarter[512];
        EXPECT_TRUE(VendorReadDeviceInfo(device, answer));
        EXPECT_TRUE(VendorIspEnd(device));
        EXPECT_EQ(VendorIspWriteBank(device, 1, 0, 0, block) != FALSE, good);
        EXPECT_EQ(VendorIspReadBank(device, 1, 0, 0, 0, quarter) != FALSE, good);
        EXPECT_EQ(WriteSectors(device, 0, sectors.data(), 512, scsi::kWrite10, 0) != FALSE, good);
        EXPECT_EQ(ReadSectors(device, 0, sectors.data(), 512, scsi::kRead10, 0) != FALSE, good);
    }
}

TEST_F(DeviceLayer, DispatcherProbeRecord)
{
    const BYTE cdb[16] = {0xCA};
    BYTE data[512];
    passthrough::DirectBuffer buffer;
    std::memset(&buffer, 0xEE, sizeof buffer);
    passthrough::DirectCommand probe;
    probe.cdb = cdb;
    probe.cdbLength = 16;
    probe.dataIn = true;
    probe.data = data;
    probe.dataLength = 512;
    probe.timeoutSeconds = 2;
    probe.senseLength = 24;
    passthrough::FillDirect(buffer, probe);
    EXPECT_EQ(buffer.record.Length, 44);
    EXPECT_EQ(buffer.record.TargetId, 1);
    EXPECT_EQ(buffer.record.CdbLength, 16);
    EXPECT_EQ(buffer.record.SenseInfoLength, 24);
    EXPECT_EQ(buffer.record.SenseInfoOffset, 48u);
    EXPECT_EQ(buffer.record.DataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(buffer.record.DataTransferLength, 512u);
    EXPECT_EQ(buffer.record.TimeOutValue, 2u);
    EXPECT_EQ(buffer.record.DataBuffer, data);
    EXPECT_EQ(buffer.record.ScsiStatus, 0);
    EXPECT_EQ(buffer.gap, 0u);  // the whole buffer is cleared first
    EXPECT_EQ(buffer.sense[31], 0);
}

// ---- the ASPI request blocks

TEST_F(DeviceLayer, AspiBlocksPerOperation)
{
    port().aspiDevices[3] = MakeInquiry("SMI");
    BYTE inquiry[kAspiInquiryAnswerSize];
    ASSERT_TRUE(AspiInquiry(ScriptedPort::kAspiModule, 3, 0, 0, inquiry));
    ScsiDeviceContext device = Legacy(3);
    VendorAnswer answer;
    VendorWriteBankBlock block{};
    std::vector<BYTE> sectors(1024);
    ASSERT_TRUE(VendorReadDeviceInfo(device, answer));
    ASSERT_TRUE(VendorIspWriteBank(device, 2, 5, 1, block));
    ASSERT_TRUE(ReadSectors(device, 7, sectors.data(), 1024, scsi::kRead10, 0));
    ASSERT_TRUE(WriteSectors(device, 9, sectors.data(), 512, scsi::kWrite10, 0));

    struct Column {
        const char* name;
        BYTE flags;
        DWORD bufLen;
        BYTE cdbLen;
        std::string cdb;
    } const columns[] = {
        {"INQUIRY", 0x48, 36, 6, "12 00 00 00 24 00 00 00 00 00 00 00 00 00 00 00"},
        {"vendor in", 0x48, 512, 12, "F0 02 00 00 00 00 00 00 00 00 00 01 00 00 00 00"},
        {"vendor out", 0x50, 2560, 12, "F1 0B 03 02 05 00 01 07 00 00 00 05 00 00 00 00"},
        {"READ(10)", 0x48, 1024, 10, "28 00 00 00 00 07 00 00 02 00 00 00 00 00 00 00"},
        {"WRITE(10)", 0x50, 512, 10, "2A 00 00 00 00 09 00 00 01 00 00 00 00 00 00 00"},
    };
    const auto& calls = port().aspiCalls;
    ASSERT_EQ(calls.size(), std::size(columns));
    const void* buffers[] = {static_cast<const BYTE*>(calls[0].block) + 80, answer.data(),
                             block.data(), sectors.data(), sectors.data()};
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        SCOPED_TRACE(columns[i].name);
        const auto& srb = Srb(calls[i]);
        EXPECT_EQ(srb.SRB_Cmd, 2);
        EXPECT_EQ(srb.SRB_Status, 0);
        EXPECT_EQ(srb.SRB_HaId, 3);
        EXPECT_EQ(srb.SRB_Flags, columns[i].flags);
        EXPECT_EQ(srb.SRB_Hdr_Rsvd, 0u);
        EXPECT_EQ(srb.SRB_Target, 0);
        EXPECT_EQ(srb.SRB_Lun, 0);
        EXPECT_EQ(srb.SRB_BufLen, columns[i].bufLen);
        EXPECT_EQ(srb.SRB_BufPointer, buffers[i]);
        EXPECT_EQ(srb.SRB_SenseLen, 14);
        EXPECT_EQ(srb.SRB_CDBLen, columns[i].cdbLen);
        EXPECT_NE(srb.SRB_PostProc, nullptr);
        EXPECT_EQ(Hex(srb.CDBByte, 16), columns[i].cdb);
    }
    // INQUIRY answers bytes 5 to 31.
    EXPECT_EQ(std::string(reinterpret_cast<char*>(inquiry), 3), "SMI");
}

TEST_F(DeviceLayer, AspiRequestsUseTheirOwnEvent)
{
    ScsiDeviceContext device = Legacy();
    VendorAnswer answer;
    ASSERT_TRUE(VendorReadDeviceInfo(device, answer));
    const auto& srb = Srb(port().aspiCalls.at(0));
    char created[32], reset[32], closed[32];
    std::snprintf(created, sizeof created, "create %p", srb.SRB_PostProc);
    std::snprintf(reset, sizeof reset, "reset %p", srb.SRB_PostProc);
    std::snprintf(closed, sizeof closed, "close %p", srb.SRB_PostProc);
    EXPECT_EQ(port().events, (std::vector<std::string>{created, reset, "send", closed}));
    EXPECT_TRUE(port().waits.empty());  // completed at once: no wait
}

TEST_F(DeviceLayer, AspiWaitsForAPendingRequest)
{
    port().aspiCompletesAtOnce = false;
    port().aspiAsyncCompletion = true;
    ScsiDeviceContext device = Legacy();
    VendorAnswer answer;
    EXPECT_TRUE(VendorReadDeviceInfo(device, answer));
    ASSERT_EQ(port().waits.size(), 1u);
    EXPECT_EQ(port().waits[0].milliseconds, 100000u);
    EXPECT_EQ(port().waits[0].handle, Srb(port().aspiCalls.at(0)).SRB_PostProc);
    EXPECT_EQ(port().aspiCalls.size(), 1u);  // no abort
}

// A request still pending after the wait is aborted, and reported as failed, before its block
// and buffer are given back.
TEST_F(DeviceLayer, AspiRequestStillPendingIsAbortedAndFails)
{
    port().aspiCompletesAtOnce = false;
    port().aspiDevices[0] = MakeInquiry("SMI");
    ScsiDeviceContext device = Legacy();
    VendorAnswer answer;
    std::vector<BYTE> sectors(512);
    BYTE inquiry[kAspiInquiryAnswerSize] = {};

    struct Case {
        const char* name;
        std::function<BOOL()> run;
    } const cases[] = {
        {"vendor in", [&] { return VendorReadDeviceInfo(device, answer); }},
        {"vendor out", [&] { return VendorIspWriteBank(device, 1, 0, 0, VendorWriteBankBlock{}); }},
        {"READ(10)", [&] { return ReadSectors(device, 0, sectors.data(), 512, scsi::kRead10, 0); }},
        {"WRITE(10)", [&] { return WriteSectors(device, 0, sectors.data(), 512, scsi::kWrite10, 0); }},
        {"INQUIRY", [&] { return AspiInquiry(ScriptedPort::kAspiModule, 0, 0, 0, inquiry); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        port().aspiCalls.clear();
        port().waits.clear();
        port().events.clear();
        EXPECT_FALSE(c.run());
        ASSERT_EQ(port().aspiCalls.size(), 2u);
        const auto& abort = *reinterpret_cast<const aspi::SRB_Abort*>(port().aspiCalls[1].contents.data());
        EXPECT_EQ(abort.SRB_Cmd, 3);  // SC_ABORT_SRB
        EXPECT_EQ(abort.SRB_HaId, 0);
        EXPECT_EQ(abort.SRB_ToAbort, port().aspiCalls[0].block);
        ASSERT_EQ(port().waits.size(), 1u);
        EXPECT_EQ(port().waits[0].milliseconds, 100000u);
        // The abort goes out before the event is closed.
        const auto& events = port().events;
        ASSERT_EQ(events.size(), 5u);
        EXPECT_EQ(events[3], "abort");
        EXPECT_EQ(events[4].substr(0, 5), "close");
    }
    EXPECT_EQ(std::string(reinterpret_cast<char*>(inquiry), 3), std::string(3, '\0'));
}

// ASPI may take its time over the abort: the block and buffer stay with it until it lets go.
TEST_F(DeviceLayer, AnAbortedRequestIsWaitedForUntilAspiLetsGo)
{
    port().aspiCompletesAtOnce = false;
    port().abortTakesWaits = 3;
    VendorAnswer answer;
    EXPECT_FALSE(VendorReadDeviceInfo(Legacy(), answer));
    EXPECT_EQ(port().aspiCalls.size(), 2u);  // the request and its abort
    std::vector<DWORD> waits;
    for (const auto& wait : port().waits)
        waits.push_back(wait.milliseconds);
    EXPECT_EQ(waits, (std::vector<DWORD>{100000, 5000, 5000, 5000}));  // the last one sees it go
    EXPECT_EQ(port().events.back().substr(0, 5), "close");
}

TEST_F(DeviceLayer, AspiWithoutAnEventSendsNothing)
{
    port().eventsCreate = false;
    ScsiDeviceContext device = Legacy();
    VendorAnswer answer;
    std::vector<BYTE> sectors(512);
    BYTE inquiry[kAspiInquiryAnswerSize];
    EXPECT_FALSE(VendorReadDeviceInfo(device, answer));
    EXPECT_FALSE(VendorIspEnd(device));
    EXPECT_FALSE(WriteSectors(device, 0, sectors.data(), 512, scsi::kWrite10, 0));
    EXPECT_FALSE(AspiInquiry(ScriptedPort::kAspiModule, 0, 0, 0, inquiry));
    EXPECT_TRUE(port().aspiCalls.empty());
}

const char* g_missingEntry = nullptr;

int g_missingReports = 0;

// Every discovery on a library without SendASPI32Command says so once, however many adapters
// it has.
TEST_F(DeviceLayer, AMissingCommandEntryIsReportedOncePerDiscovery)
{
    SetAspiEntryMissingNotice([](const char* name) {
        g_missingEntry = name;
        ++g_missingReports;
    });
    port().aspiEntries = {"GetASPI32SupportInfo"};
    port().aspiAdapters = 4;
    BYTE adapter, target;
    HMODULE module;
    char letter = 0;
    for (int discovery = 1; discovery <= 2; ++discovery) {
        EXPECT_FALSE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
        EXPECT_EQ(g_missingReports, discovery);
    }
    EXPECT_STREQ(g_missingEntry, "SendASPI32Command");
    EXPECT_EQ(port().freedLibraries, (std::vector<HMODULE>{ScriptedPort::kAspiModule, ScriptedPort::kAspiModule}));
    EXPECT_TRUE(port().aspiCalls.empty());
}

TEST_F(DeviceLayer, MissingAspiEntriesAreReportedAndNeverCalled)
{
    SetAspiEntryMissingNotice([](const char* name) { g_missingEntry = name; });
    port().aspiDevices[0] = MakeInquiry("SMI");
    BYTE adapter, target;
    HMODULE module;
    char letter = 0;

    port().aspiEntries = {"SendASPI32Command"};
    g_missingEntry = nullptr;
    EXPECT_FALSE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_STREQ(g_missingEntry, "GetASPI32SupportInfo");
    EXPECT_EQ(port().freedLibraries, std::vector<HMODULE>{ScriptedPort::kAspiModule});

    port().aspiEntries = {"GetASPI32SupportInfo"};
    g_missingEntry = nullptr;
    EXPECT_FALSE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_STREQ(g_missingEntry, "SendASPI32Command");
    g_missingEntry = nullptr;
    VendorAnswer answer;
    EXPECT_FALSE(VendorReadDeviceInfo(Legacy(), answer));
    EXPECT_STREQ(g_missingEntry, "SendASPI32Command");
    g_missingEntry = nullptr;
    std::vector<BYTE> sectors(512);
    EXPECT_FALSE(ReadSectors(Legacy(), 0, sectors.data(), 512, scsi::kRead10, 0));
    EXPECT_STREQ(g_missingEntry, "SendASPI32Command");
    EXPECT_TRUE(port().aspiCalls.empty());
}

// ---- discovery

TEST_F(DeviceLayer, NtScanGoesFromDToW)
{
    char letter = 0;
    BYTE adapter = 0x55, target = 0x55;
    HMODULE module = nullptr;
    port().volumes['X'].inquiry = MakeInquiry("SMI");  // beyond the scan
    EXPECT_FALSE(FindSmiDevice(FALSE, &adapter, &target, &module, &letter));
    ASSERT_EQ(port().opens.size(), 20u);
    for (std::size_t i = 0; i < 20; ++i)
        EXPECT_EQ(port().opens[i].name, std::string("\\\\.\\") + char('D' + i) + ":");
    EXPECT_EQ(letter, 0);
}

TEST_F(DeviceLayer, NtScanTakesTheFirstMatchingLetter)
{
    port().volumes['D'].inquiry = MakeInquiry("SMI");
    port().volumes['D'].inquiryResult = FALSE;  // an inquiry that fails does not match
    port().volumes['E'].inquiry = MakeInquiry("ABC");
    port().volumes['G'].inquiry = MakeInquiry("smi");
    port().volumes['H'].inquiry = MakeInquiry("SMI");
    char letter = 0;
    BYTE adapter, target;
    HMODULE module;
    ASSERT_TRUE(FindSmiDevice(FALSE, &adapter, &target, &module, &letter));
    EXPECT_EQ(letter, 'G');
    EXPECT_EQ(CurrentDriveLetter(), 'G');
    EXPECT_EQ(port().opens.back().name, "\\\\.\\G:");
    EXPECT_TRUE(port().staleCloses.empty());
    EXPECT_EQ(port().closes.size(), 3u);  // every inquiry closes its volume
}

struct MatchCase {
    const char* name;
    ScriptedPort::Inquiry inquiry;
    bool matches;
};

TEST_F(DeviceLayer, MatchRules)
{
    const MatchCase cases[] = {
        {"SMI", MakeInquiry("SMI"), true},
        {"smi", MakeInquiry("smi"), true},
        {"template, any vendor", MakeInquiry("XYZ", kTemplate), true},
        {"Smi", MakeInquiry("Smi"), false},
        {"template with one blank less", MakeInquiry("XYZ", kTemplate + 1), false},
        {"foreign", MakeInquiry("ABC", "USB DISK"), false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort::Reset();
        port().volumes['F'].inquiry = c.inquiry;
        char letter = 0;
        BYTE adapter, target;
        HMODULE module;
        EXPECT_EQ(FindSmiDevice(FALSE, &adapter, &target, &module, &letter) != FALSE, c.matches);
        EXPECT_EQ(letter, c.matches ? 'F' : 0);

        // The same rule on the legacy path.
        ScriptedPort::Reset();
        port().aspiDevices[0] = c.inquiry;
        letter = 0;
        EXPECT_EQ(FindSmiDevice(TRUE, &adapter, &target, &module, &letter) != FALSE, c.matches);
    }
}

void AddNode(ScriptedPort& port, const std::string& name, const std::string& hardwareKey,
             const char* letter)
{
    port.registry["DYN\\Config Manager\\Enum"].subKeys.push_back(name);
    port.registry["DYN\\Config Manager\\Enum\\" + name].values["HardWareKey"] = hardwareKey;
    if (letter)
        port.registry["HKLM\\Enum\\" + hardwareKey].values["CurrentDriveLetterAssignment"] = letter;
}

TEST_F(DeviceLayer, LegacyDiscoveryTakesTheLetterFromTheRegistry)
{
    port().aspiAdapters = 3;
    port().aspiDevices[0] = MakeInquiry("ABC");
    port().aspiDevices[2] = MakeInquiry("SMI");
    AddNode(port(), "C29A3E50", "ROOT\\PRINTER\\0000", "P");
    AddNode(port(), "C29A3E51", "SCSI", nullptr);  // fewer than two backslashes: never ours
    AddNode(port(), "C29A3E52", "SCSI\\DISK&VEN_SMI\\SMIMB&0001", "G");
    AddNode(port(), "C29A3E53", "SCSI\\DISK&VEN_XYZ\\SMIMB&0002", "H");
    BYTE adapter = 0, target = 9;
    HMODULE module = nullptr;
    char letter = 0;
    ASSERT_TRUE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_EQ(adapter, 2);
    EXPECT_EQ(target, 0);
    EXPECT_EQ(module, ScriptedPort::kAspiModule);
    EXPECT_EQ(letter, 'G');
    EXPECT_EQ(CurrentDriveLetter(), 'G');
    EXPECT_EQ(port().aspiCalls.size(), 3u);  // adapters 0, 1 and 2
    EXPECT_EQ(port().registry.OpenKeys(), 0);
    EXPECT_TRUE(port().freedLibraries.empty());
}

TEST_F(DeviceLayer, LegacyDiscoveryWithoutARegistryLetterIsStillFound)
{
    port().aspiDevices[0] = MakeInquiry("smi");
    AddNode(port(), "0001", "ROOT\\PRINTER\\0000", "P");
    BYTE adapter = 7, target = 7;
    HMODULE module = nullptr;
    char letter = 0;
    ASSERT_TRUE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_EQ(adapter, 0);
    EXPECT_EQ(letter, static_cast<char>(0xFF));
    EXPECT_EQ(port().registry.OpenKeys(), 0);
}

TEST_F(DeviceLayer, LegacyDiscoveryWithNoMatchingAdapter)
{
    port().aspiAdapters = 2;
    BYTE adapter = 0, target = 5;
    HMODULE module = nullptr;
    char letter = 0;
    EXPECT_FALSE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_EQ(adapter, 0xFF);
    EXPECT_EQ(target, 0);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(port().freedLibraries, std::vector<HMODULE>{ScriptedPort::kAspiModule});

    ScriptedPort::Reset();
    port().aspiLoads = false;
    EXPECT_FALSE(FindSmiDevice(TRUE, &adapter, &target, &module, &letter));
    EXPECT_EQ(adapter, 0xFF);
}

// Windows matches key names in any case, and a node's HardWareKey need not be spelt as its key.
TEST_F(DeviceLayer, RegistryKeysAreFoundInAnyCase)
{
    port().registry["DYN\\CONFIG MANAGER\\ENUM"].subKeys.push_back("C29A3E52");
    port().registry["DYN\\config manager\\enum\\C29A3E52"].values["HardWareKey"] =
        "SCSI\\Disk&Ven_SMI\\SMIMB&0001";
    port().registry["HKLM\\ENUM\\SCSI\\DISK&VEN_SMI\\SMIMB&0001"]
        .values["CurrentDriveLetterAssignment"] = "G";
    char letter = 0;
    EXPECT_TRUE(FindDriveLetterWin9x(TRUE, &letter));
    EXPECT_EQ(letter, 'G');
    EXPECT_EQ(port().registry.OpenKeys(), 0);
}

TEST_F(DeviceLayer, RegistryWalkStopsAtAFailedReadAndClosesItsKeys)
{
    AddNode(port(), "0001", "ROOT\\PRINTER\\0000", "P");
    port().registry["DYN\\Config Manager\\Enum"].subKeys.push_back("0002");
    port().registry["DYN\\Config Manager\\Enum\\0002"];  // no HardWareKey
    AddNode(port(), "0003", "SCSI\\DISK\\SMIMB", "G");
    char letter = 0;
    EXPECT_FALSE(FindDriveLetterWin9x(TRUE, &letter));
    EXPECT_EQ(letter, static_cast<char>(0xFF));
    EXPECT_EQ(port().registry.OpenKeys(), 0);
    letter = 'Q';
    EXPECT_FALSE(FindDriveLetterWin9x(FALSE, &letter));
    EXPECT_EQ(letter, 'Q');  // not the legacy path: nothing read, nothing written
}

// ---- locking

TEST_F(DeviceLayer, LegacyLockTriesTheFat32CategoryFirst)
{
    struct Case {
        const char* name;
        std::deque<std::pair<BOOL, bool>> answers;
        BOOL locked;
        std::vector<DWORD> categories;
    } const cases[] = {
        {"first try", {{TRUE, false}}, TRUE, {0x484A}},
        {"carry on the first", {{TRUE, true}, {TRUE, false}}, TRUE, {0x484A, 0x084A}},
        {"call fails on the first", {{FALSE, false}, {TRUE, false}}, TRUE, {0x484A, 0x084A}},
        {"both fail", {{TRUE, true}, {TRUE, true}}, FALSE, {0x484A, 0x084A}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort::Reset();
        port().vwin32Answers = c.answers;
        SetCurrentDriveLetter('G');
        HANDLE volume = INVALID_HANDLE_VALUE, vwin32 = INVALID_HANDLE_VALUE;
        EXPECT_EQ(OpenAndLockVolume(TRUE, &volume, &vwin32), c.locked);
        EXPECT_NE(vwin32, INVALID_HANDLE_VALUE);  // stored whatever the lock gave
        EXPECT_EQ(volume, INVALID_HANDLE_VALUE);
        ASSERT_EQ(port().opens.size(), 1u);
        EXPECT_EQ(port().opens[0].name, "\\\\.\\vwin32");
        EXPECT_EQ(port().opens[0].access, 0u);
        EXPECT_EQ(port().opens[0].share, 0u);
        EXPECT_EQ(port().opens[0].disposition, 0u);
        EXPECT_EQ(port().opens[0].flags, DWORD{FILE_FLAG_DELETE_ON_CLOSE});
        ASSERT_EQ(port().ioctls.size(), c.categories.size());
        for (std::size_t i = 0; i < c.categories.size(); ++i) {
            const auto& call = port().ioctls[i];
            EXPECT_EQ(call.code, 1u);
            EXPECT_EQ(call.inSize, 28u);
            EXPECT_EQ(call.outSize, 28u);
            const auto& r = *reinterpret_cast<const vwin32::DIOC_REGISTERS*>(call.input.data());
            EXPECT_EQ(r.reg_EAX, 0x440Du);
            EXPECT_EQ(r.reg_EBX, 7u);  // G: is drive 7, lock level 0
            EXPECT_EQ(r.reg_ECX, c.categories[i]);
            EXPECT_EQ(r.reg_EDX, 0u);
            EXPECT_EQ(r.reg_EDI, 0u);
            EXPECT_EQ(r.reg_ESI, 0u);
            EXPECT_EQ(r.reg_Flags, 0u);
        }
    }
}

TEST_F(DeviceLayer, LegacyUnlockAndClose)
{
    SetCurrentDriveLetter('H');
    HANDLE volume = INVALID_HANDLE_VALUE, vwin32 = INVALID_HANDLE_VALUE;
    ASSERT_TRUE(OpenAndLockVolume(TRUE, &volume, &vwin32));
    const HANDLE opened = vwin32;
    port().ioctls.clear();
    port().vwin32Answers = {{TRUE, true}, {TRUE, false}};
    EXPECT_TRUE(DismountAndCloseVolume(TRUE, &volume, &vwin32));
    ASSERT_EQ(port().ioctls.size(), 2u);
    const auto& r = *reinterpret_cast<const vwin32::DIOC_REGISTERS*>(port().ioctls[1].input.data());
    EXPECT_EQ(r.reg_EAX, 0x440Du);
    EXPECT_EQ(r.reg_EBX, 8u);
    EXPECT_EQ(r.reg_ECX, 0x086Au);
    EXPECT_EQ(port().closes, std::vector<HANDLE>{opened});
    EXPECT_EQ(vwin32, INVALID_HANDLE_VALUE);
    // A second close reaches no stale handle.
    EXPECT_FALSE(DismountAndCloseVolume(TRUE, &volume, &vwin32));
    EXPECT_EQ(port().closes.size(), 1u);
}

TEST_F(DeviceLayer, LegacyLockWithoutVwin32StoresNoHandle)
{
    port().vwin32Opens = false;
    SetCurrentDriveLetter('G');
    HANDLE volume = INVALID_HANDLE_VALUE;
    HANDLE vwin32 = reinterpret_cast<HANDLE>(0x1234);  // left over from an earlier use
    EXPECT_FALSE(OpenAndLockVolume(TRUE, &volume, &vwin32));
    EXPECT_EQ(vwin32, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DismountAndCloseVolume(TRUE, &volume, &vwin32));
    EXPECT_TRUE(port().ioctls.empty());
    EXPECT_TRUE(port().closes.empty());
}

TEST_F(DeviceLayer, NtLockFailureKeepsTheHandleAndCommandsStillGo)
{
    port().volumes['F'].inquiry = MakeInquiry("SMI");
    port().volumes['F'].lockResult = FALSE;  // a file open on the drive
    ScsiDeviceContext device;
    ASSERT_TRUE(FindSmiDevice(FALSE, &device.hostAdapterId, &device.targetId, &device.aspiModule,
                              &device.driveLetter));
    EXPECT_FALSE(OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    ASSERT_NE(device.volumeHandle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(port().IoctlsWithCode(FSCTL_LOCK_VOLUME).size(), 1u);
    VendorAnswer answer;
    EXPECT_TRUE(VendorReadFlashInfo(device, answer));
    const auto direct = port().IoctlsWithCode(IOCTL_SCSI_PASS_THROUGH_DIRECT);
    ASSERT_EQ(direct.size(), 1u);
    EXPECT_EQ(direct[0].handle, device.volumeHandle);

    const HANDLE opened = device.volumeHandle;
    EXPECT_TRUE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(port().IoctlsWithCode(FSCTL_DISMOUNT_VOLUME).size(), 1u);
    EXPECT_EQ(port().closes.back(), opened);
    EXPECT_EQ(device.volumeHandle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(port().staleCloses.empty());
}

TEST_F(DeviceLayer, NtOpenFailureGivesAnInvalidHandleThatNothingUses)
{
    SetCurrentDriveLetter('K');  // no such volume
    ScsiDeviceContext device;
    device.volumeHandle = reinterpret_cast<HANDLE>(0x1234);
    EXPECT_FALSE(OpenAndLockVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(device.volumeHandle, INVALID_HANDLE_VALUE);
    VendorAnswer answer;
    answer.fill(0xAA);
    std::vector<BYTE> sectors(512);
    EXPECT_FALSE(VendorReadFlashInfo(device, answer));
    EXPECT_EQ(answer, VendorAnswer{});  // cleared before the command, so a failure reads zeros
    EXPECT_FALSE(WriteSectors(device, 0, sectors.data(), 512, scsi::kWrite10, 0));
    EXPECT_FALSE(ReadSectors(device, 0, sectors.data(), 512, scsi::kRead10, 0));
    EXPECT_FALSE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_TRUE(port().ioctls.empty());
    EXPECT_TRUE(port().flushes.empty());
    EXPECT_TRUE(port().closes.empty());
}

TEST_F(DeviceLayer, NtDismountTwiceClosesOnce)
{
    ScsiDeviceContext device = OpenNt('F');
    EXPECT_TRUE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_FALSE(DismountAndCloseVolume(FALSE, &device.volumeHandle, &device.vwin32Handle));
    EXPECT_EQ(port().IoctlsWithCode(FSCTL_DISMOUNT_VOLUME).size(), 1u);
    EXPECT_TRUE(port().staleCloses.empty());
}

TEST_F(DeviceLayer, FreeAspiLibraryOnlyOnTheLegacyPath)
{
    HMODULE module = ScriptedPort::kAspiModule;
    EXPECT_FALSE(FreeAspiLibrary(FALSE, &module));
    EXPECT_TRUE(port().freedLibraries.empty());
    EXPECT_TRUE(FreeAspiLibrary(TRUE, &module));
    EXPECT_EQ(module, nullptr);
    EXPECT_FALSE(FreeAspiLibrary(TRUE, &module));
    EXPECT_EQ(port().freedLibraries.size(), 1u);
}

// ---- sector I/O

struct PieceCase {
    const char* name;
    DWORD length;
    std::vector<std::pair<DWORD, DWORD>> commands;  // (sector, block count)
};

// (sector, block count) of every READ(10)/WRITE(10) the port received on one path, each moving
// exactly its blocks, and the buffers they pointed at.
std::vector<std::pair<DWORD, DWORD>> Sent(const ScriptedPort& port, bool legacy,
                                          std::vector<const void*>* buffers)
{
    std::vector<std::pair<DWORD, DWORD>> sent;
    const auto add = [&](const UCHAR* bytes, DWORD length, const void* buffer) {
        scsi::Cdb cdb{};
        std::memcpy(cdb.data(), bytes, cdb.size());
        sent.emplace_back(scsi::BlockCdbSector(cdb), scsi::BlockCdbCount(cdb));
        EXPECT_EQ(length, scsi::BlockCdbCount(cdb) * 512);
        buffers->push_back(buffer);
    };
    if (legacy) {
        for (const auto& call : port.aspiCalls) {
            const auto& srb = *reinterpret_cast<const aspi::SRB_ExecSCSICmd*>(call.contents.data());
            add(srb.CDBByte, srb.SRB_BufLen, srb.SRB_BufPointer);
        }
    } else {
        for (const auto& call : port.IoctlsWithCode(IOCTL_SCSI_PASS_THROUGH_DIRECT)) {
            const auto& r = *reinterpret_cast<const SCSI_PASS_THROUGH_DIRECT*>(call.input.data());
            add(r.Cdb, r.DataTransferLength, r.DataBuffer);
        }
    }
    return sent;
}

TEST_F(DeviceLayer, SectorTransfersAreCutInto64KiBPieces)
{
    const PieceCase cases[] = {
        {"64 KiB", 65536, {{1000, 128}}},
        {"one sector", 512, {{1000, 1}}},
        {"128 KiB", 131072, {{1000, 128}, {1128, 128}}},
        {"64 KiB and a sector", 66048, {{1000, 128}, {1128, 1}}},
        {"nothing", 0, {}},
    };
    std::vector<BYTE> data(131072 + 512);
    for (bool legacy : {false, true}) {
        for (bool write : {true, false}) {
            for (const PieceCase& c : cases) {
                SCOPED_TRACE(std::string(c.name) + (legacy ? " ASPI" : " pass-through") +
                             (write ? " write" : " read"));
                ScriptedPort::Reset();
                ScsiDeviceContext device = legacy ? Legacy() : OpenNt('F');
                const BOOL ok = write ? WriteSectors(device, 1000, data.data(), c.length, scsi::kWrite10, 0)
                                      : ReadSectors(device, 1000, data.data(), c.length, scsi::kRead10, 0);
                EXPECT_TRUE(ok);
                std::vector<const void*> buffers;
                EXPECT_EQ(Sent(port(), legacy, &buffers), c.commands);
                for (std::size_t i = 0; i < buffers.size(); ++i)
                    EXPECT_EQ(buffers[i], data.data() + 65536 * i);
            }
        }
    }
}

TEST_F(DeviceLayer, AFailedPieceEndsTheTransferAndIsReported)
{
    ScsiDeviceContext device = OpenNt('F');
    int commands = 0;
    port().volumes['F'].onDirect = [&](const SCSI_PASS_THROUGH_DIRECT&) { return ++commands != 1; };
    std::vector<BYTE> data(131072);
    EXPECT_FALSE(WriteSectors(device, 0, data.data(), 131072, scsi::kWrite10, 0));
    EXPECT_EQ(commands, 1);
}

TEST_F(DeviceLayer, LegacyCommandsSucceedWhateverTheDeviceSaid)
{
    // The ASPI path reports device errors as success; only the transport counts.
    port().aspiCompletesAtOnce = true;
    ScsiDeviceContext device = Legacy(5);  // no device on that adapter
    VendorAnswer answer;
    EXPECT_TRUE(VendorReadFirmwareInfo(device, answer));
    EXPECT_EQ(answer, VendorAnswer{});
}

// ---- helpers

TEST(DeviceHelpers, CompareBytes)
{
    EXPECT_EQ(CompareBytes("SMIMB&1", "SMIMB", 5), 0);
    EXPECT_EQ(CompareBytes("SMIXB", "SMIMB", 5), 1);
    EXPECT_EQ(CompareBytes("A", "B", 0), 0);
}

TEST(DeviceHelpers, VersionTestsOnThisSystem)
{
    // Run under an XP version: neither legacy nor Me.
    EXPECT_FALSE(IsLegacyWindows());
    EXPECT_FALSE(IsWindowsMe());
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) == SC_CLOSE) {
        SetWindowLongPtrA(window, GWLP_USERDATA, GetWindowLongPtrA(window, GWLP_USERDATA) + 1);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(DeviceHelpers, CloseExplorerWindowsClosesOnlyExplorers)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    std::vector<HWND> windows;
    for (const char* name : {"CabinetWClass", "ExploreWClass", "CabinetWClassX", "Notepad"}) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = CountingProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = name;
        ASSERT_TRUE(RegisterClassA(&windowClass));
        windows.push_back(CreateWindowExA(0, name, name, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                          instance, nullptr));
        ASSERT_NE(windows.back(), nullptr);
    }
    RecordingPause pause;
    CloseExplorerWindows(pause);
    EXPECT_EQ(GetWindowLongPtrA(windows[0], GWLP_USERDATA), 1);
    EXPECT_EQ(GetWindowLongPtrA(windows[1], GWLP_USERDATA), 1);
    EXPECT_EQ(GetWindowLongPtrA(windows[2], GWLP_USERDATA), 0);
    EXPECT_EQ(GetWindowLongPtrA(windows[3], GWLP_USERDATA), 0);
    EXPECT_EQ(pause.pauses, std::vector<std::uint32_t>{500});
    for (HWND window : windows)
        DestroyWindow(window);
}

}  // namespace

// Run with Windows Me reported: its device nodes are named differently.
TEST(WindowsMeRegistry, TheDriveIsAScsiNodeOfUsbStorage)
{
    ASSERT_TRUE(IsWindowsMe());
    ASSERT_TRUE(IsLegacyWindows());
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> nodes;  // hardware key, letter
        char letter;
    } const cases[] = {
        {"SMIMB node is not Me's", {{"SCSI\\DISK&VEN_SMI\\SMIMB&0001", "G"}}, char(0xFF)},
        {"USB storage under SCSI", {{"SCSI\\DISK&VEN_SMI\\SMIMB&0001", "G"}, {"SCSI\\DISK&VEN_SMI\\USBSTOR&DISK&0001", "H"}}, 'H'},
        {"USB storage not under SCSI", {{"USB\\VID_090C\\USBSTOR&DISK&0001", "K"}}, char(0xFF)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPort::Reset();
        ScriptedPort& port = ScriptedPort::Current();
        port.registry["DYN\\Config Manager\\Enum"];
        int index = 0;
        for (const auto& [hardwareKey, letter] : c.nodes)
            AddNode(port, "0000" + std::to_string(index++), hardwareKey, letter.c_str());
        char letter = 0;
        EXPECT_EQ(FindDriveLetterWin9x(TRUE, &letter) != FALSE, c.letter != char(0xFF));
        EXPECT_EQ(letter, c.letter);
        EXPECT_EQ(port.registry.OpenKeys(), 0);
    }
}
