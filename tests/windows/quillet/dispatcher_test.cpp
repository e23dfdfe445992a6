// Quillet's probes with scripted volumes and a scripted device list: the records the probes send,
// the letters they reach and in which order, the replies that match, the hardware-id walk, and
// the device-library test against the simulating REZO.dll.
#include "quillet/dispatcher.h"

#include <windows.h>
#include <winioctl.h>
#include <ntddscsi.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../device/scripted_port.h"
#include "scripted_device_list.h"

namespace {

constexpr std::size_t kRecordSize = 80;  // the record, a gap and the sense area

// A volume whose direct commands answer with `reply` at `offset` of the data when their first
// CDB byte is `opcode`; every other command succeeds and leaves the data alone.
ScriptedPort::Volume Answering(BYTE opcode, std::initializer_list<int> reply, std::size_t offset = 0,
                               BOOL result = TRUE)
{
    ScriptedPort::Volume volume;
    std::vector<BYTE> bytes;
    for (int b : reply)
        bytes.push_back(static_cast<BYTE>(b));
    volume.onDirect = [opcode, bytes, offset, result](const SCSI_PASS_THROUGH_DIRECT& record) {
        if (record.Cdb[0] == opcode && record.DataBuffer)
            std::memcpy(static_cast<BYTE*>(record.DataBuffer) + offset, bytes.data(), bytes.size());
        return result;
    };
    return volume;
}

ScriptedPort::Volume Silent() { return ScriptedPort::Volume{}; }

class Probes : public ::testing::Test {
protected:
    void SetUp() override
    {
        ScriptedPort::Reset();
        ScriptedDeviceList::Reset();
    }
    ScriptedPort& port() { return ScriptedPort::Current(); }
    ScriptedDeviceList& list() { return ScriptedDeviceList::Current(); }

    // The drive letters opened, in order.
    std::string OpenedLetters()
    {
        std::string letters;
        for (const auto& open : port().opens)
            letters += open.name.size() == 6 ? open.name[4] : '?';
        return letters;
    }
};

TEST_F(Probes, ChipQueryRecordAsThePlatformReceivesIt)
{
    port().volumes['E'] = Silent();
    EXPECT_EQ(ProbeCaReplyA('E'), nullptr);
    ASSERT_EQ(port().opens.size(), 1u);
    const auto& open = port().opens[0];
    EXPECT_EQ(open.name, "\\\\.\\E:");
    EXPECT_EQ(open.access, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
    EXPECT_EQ(open.share, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
    EXPECT_EQ(open.disposition, static_cast<DWORD>(OPEN_EXISTING));
    EXPECT_EQ(open.flags, 0u);

    ASSERT_EQ(port().ioctls.size(), 1u);
    const auto& call = port().ioctls[0];
    EXPECT_EQ(call.code, static_cast<DWORD>(IOCTL_SCSI_PASS_THROUGH_DIRECT));
    EXPECT_EQ(call.inSize, kRecordSize);
    EXPECT_EQ(call.outSize, kRecordSize);
    EXPECT_EQ(call.inPointer, call.outPointer);
    SCSI_PASS_THROUGH_DIRECT record;
    std::memcpy(&record, call.input.data(), sizeof record);
    EXPECT_EQ(record.Length, 44);
    EXPECT_EQ(record.PathId, 0);
    EXPECT_EQ(record.TargetId, 1);
    EXPECT_EQ(record.Lun, 0);
    EXPECT_EQ(record.CdbLength, 16);
    EXPECT_EQ(record.SenseInfoLength, 24);
    EXPECT_EQ(record.DataIn, SCSI_IOCTL_DATA_IN);
    EXPECT_EQ(record.DataTransferLength, 512u);
    EXPECT_EQ(record.TimeOutValue, 2u);
    EXPECT_NE(record.DataBuffer, nullptr);
    EXPECT_EQ(record.SenseInfoOffset, 48u);
    EXPECT_EQ(Hex(record.Cdb, 16), Hex(std::vector<BYTE>{0xCA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}.data(), 16));
    for (std::size_t i = sizeof record; i < kRecordSize; ++i)
        EXPECT_EQ(call.input[i], 0) << "byte " << i;
    // The probe reads no sense and flushes nothing; the volume that did not match is closed.
    EXPECT_TRUE(port().flushes.empty());
    EXPECT_EQ(port().closes, std::vector<HANDLE>{open.result});
}

TEST_F(Probes, DeviceInformationRecord)
{
    port().volumes['G'] = Answering(0xF0, {0x38, 0x35}, 8);
    HANDLE volume = ProbeVendorId('G');
    ASSERT_NE(volume, nullptr);
    ASSERT_EQ(port().ioctls.size(), 1u);
    SCSI_PASS_THROUGH_DIRECT record;
    std::memcpy(&record, port().ioctls[0].input.data(), sizeof record);
    const BYTE expected[16] = {0xF0, 0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0};
    EXPECT_EQ(Hex(record.Cdb, 16), Hex(expected, 16));
    EXPECT_EQ(record.CdbLength, 16);
    EXPECT_EQ(record.DataTransferLength, 512u);
    EXPECT_EQ(record.TimeOutValue, 2u);
    EXPECT_EQ(record.SenseInfoLength, 24);
    // The matching volume stays open.
    EXPECT_TRUE(port().closes.empty());
    EXPECT_EQ(volume, port().opens[0].result);
}

TEST_F(Probes, ReplyPatternsOfTheThreeChipQueryProbes)
{
    struct Case {
        std::initializer_list<int> reply;
        bool a, b, c;
    } cases[] = {
        {{0x28, 0x06, 0x77, 0x00}, true, false, false},
        {{0x28, 0x06, 0x00, 0x01}, false, false, false},
        {{0x16, 0x03}, false, true, false},
        {{0x02, 0x01}, false, false, true},
        {{0x05, 0x02}, false, false, true},
        {{0x35, 0x38}, false, false, false},
    };
    for (const Case& c : cases) {
        ScriptedPort::Reset();
        port().volumes['H'] = Answering(0xCA, c.reply);
        EXPECT_EQ(ProbeCaReplyA('H') != nullptr, c.a);
        EXPECT_EQ(ProbeCaReplyB('H') != nullptr, c.b);
        EXPECT_EQ(ProbeCaReplyC('H') != nullptr, c.c);
        EXPECT_EQ(port().opens.size(), 3u);  // each probe opens the volume itself
    }
}

TEST_F(Probes, AFailedCommandIsNoMatchWhateverTheDataHolds)
{
    port().volumes['E'] = Answering(0xCA, {0x16, 0x03}, 0, FALSE);
    port().volumes['F'] = Answering(0xF0, {0x0C, 0x09}, 8, FALSE);
    EXPECT_EQ(ProbeCaReplyB('E'), nullptr);
    EXPECT_EQ(ProbeVendorId('F'), nullptr);
    EXPECT_EQ(port().closes.size(), 2u);
}

TEST_F(Probes, TheAnswerBufferIsClearedBeforeEachCommand)
{
    // A drive that writes nothing: a cleared buffer reads 00 00 and matches nothing.
    port().volumes['E'] = Answering(0xCA, {0x16, 0x03});
    EXPECT_NE(ProbeCaReplyB('E'), nullptr);
    port().volumes['F'] = Silent();
    EXPECT_EQ(ProbeCaReplyB('F'), nullptr);
    EXPECT_EQ(ProbeVendorId('F'), nullptr);
}

TEST_F(Probes, IdentifierBytesEightAndNineLittleEndian)
{
    struct Case {
        std::initializer_list<int> bytes;
        bool match;
    } cases[] = {{{0x38, 0x35}, true}, {{0x35, 0x38}, false}, {{0x0C, 0x09}, true}, {{0x09, 0x0C}, false}};
    for (const Case& c : cases) {
        ScriptedPort::Reset();
        port().volumes['E'] = Answering(0xF0, c.bytes, 8);
        EXPECT_EQ(ProbeVendorId('E') != nullptr, c.match);
    }
}

TEST_F(Probes, SequenceReachesOnlyDToZAndLetterOrderDecides)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        port().volumes[letter] = Silent();
    port().volumes['E'] = Answering(0xCA, {0x16, 0x03});
    port().volumes['F'] = Answering(0xCA, {0x28, 0x06, 0x00, 0x00});
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::CaReplyB);
    EXPECT_EQ(OpenedLetters(), "DDDEE");
    EXPECT_EQ(MatchedVolume(), port().opens.back().result);
}

TEST_F(Probes, ChipQueryOnZBeatsIdentifierOnDAndNoLetterBeforeDIsTouched)
{
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        port().volumes[letter] = Answering(0xF0, {0x38, 0x35}, 8);
    port().volumes['Z'] = Answering(0xCA, {0x02, 0x01});
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::CaReplyC);
    std::string expected;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        expected += std::string(3, letter);
    EXPECT_EQ(OpenedLetters(), expected);
    for (const auto& open : port().opens)
        EXPECT_GE(open.name[4], 'D') << open.name;
}

TEST_F(Probes, IdentifierPassAfterTheChipQueryPass)
{
    port().volumes['K'] = Answering(0xF0, {0x0C, 0x09}, 8);
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::DeviceInfoId);
    // Volumes that do not exist are opened once per probe and fail; K answers the identifier.
    std::string expected;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        expected += std::string(3, letter);
    for (char letter = 'D'; letter <= 'K'; ++letter)
        expected += letter;
    EXPECT_EQ(OpenedLetters(), expected);
}

TEST_F(Probes, NothingAnswersGivesNone)
{
    port().volumes['E'] = Silent();
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::None);
    EXPECT_EQ(port().opens.size(), 23u * 4);
    // Every volume that opened was closed again.
    EXPECT_EQ(port().closes.size(), 4u);
    EXPECT_TRUE(port().staleCloses.empty());
}

// --- the hardware-id walk

TEST_F(Probes, HardwareIdWalkListsEveryPresentDeviceOfEveryClass)
{
    list().devices = {{MultiSz({"ROOT\\LEGACY_BEEP\\0000"})}, {MultiSz({"USB\\VID_090C&PID_1000&REV_1100", "USB\\VID_090C"})}};
    EXPECT_EQ(DetectByHardwareId(), ToolIndex::ExeSmi);
    ASSERT_EQ(list().flags.size(), 1u);
    EXPECT_EQ(list().flags[0], 6u);  // DIGCF_PRESENT | DIGCF_ALLCLASSES
    EXPECT_EQ(list().enumerators[0], nullptr);
    const GUID volumes = {0x53F5630D, 0xB6BF, 0x11D0, {0x94, 0xF2, 0x00, 0xA0, 0xC9, 0x1E, 0xFB, 0x8B}};
    EXPECT_EQ(std::memcmp(&list().guid, &volumes, sizeof volumes), 0);
    EXPECT_EQ(list().enumCbSizes, (std::vector<DWORD>{28, 28}));
    EXPECT_EQ(list().enumerated, (std::vector<DWORD>{0, 1}));  // the walk ends at the match
    EXPECT_EQ(list().destroyed, 1);
    // Each device: first asked with no buffer, then with a zero-filled one of the size it asked for.
    ASSERT_EQ(list().propertyCalls.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& call = list().propertyCalls[i];
        EXPECT_EQ(call.property, static_cast<DWORD>(SPDRP_HARDWAREID));
        EXPECT_EQ(call.buffer, i % 2 == 1);
        EXPECT_TRUE(call.zeroed);
    }
    EXPECT_EQ(list().propertyCalls[3].size, list().devices[1].hardwareIds.size());
}

TEST_F(Probes, VendorTextsOfTheFirstHardwareId)
{
    struct Case {
        std::string ids;
        ToolIndex tool;
    } cases[] = {
        {MultiSz({"USB\\VID_2168&PID_0001"}), ToolIndex::ExeOti},
        {MultiSz({"USB\\VID_1516&PID_1226"}), ToolIndex::ExeSky},
        {MultiSz({"USB\\VID_1307&PID_0163"}), ToolIndex::ExeUsbest},
        {MultiSz({"USB\\VID_0457&PID_0151"}), ToolIndex::ExeUsbest},
        {MultiSz({"usb\\vid_090c&pid_1000"}), ToolIndex::None},
        {MultiSz({"USB\\VID_845E&PID_0001", "USB\\VID_090C"}), ToolIndex::None},  // only the first id
        {MultiSz({"USB\\VID_090"}), ToolIndex::None},
        {std::string("USB\\VID_090C&PID_1000"), ToolIndex::ExeSmi},  // no terminating zero
    };
    for (const Case& c : cases) {
        ScriptedDeviceList::Reset();
        list().devices = {{c.ids}};
        EXPECT_EQ(DetectByHardwareId(), c.tool) << c.ids;
    }
}

TEST_F(Probes, UnreadableDevicesAndAnUnavailableListFindNothing)
{
    list().listOpens = false;
    EXPECT_EQ(DetectByHardwareId(), ToolIndex::None);
    EXPECT_TRUE(list().enumerated.empty());

    ScriptedDeviceList::Reset();
    ScriptedDeviceList::Device failing{MultiSz({"USB\\VID_090C"}), ERROR_INVALID_DATA};
    ScriptedDeviceList::Device lying{MultiSz({"USB\\VID_090C"}), 0, true};
    list().devices = {failing, lying, {MultiSz({"USB\\VID_1516"})}};
    EXPECT_EQ(DetectByHardwareId(), ToolIndex::ExeSky);
    // The device whose answer never settles is asked a bounded number of times.
    std::size_t askedLying = 0;
    for (const auto& call : list().propertyCalls)
        askedLying += call.index == 1;
    EXPECT_GE(askedLying, 2u);
    EXPECT_LE(askedLying, 8u);
}

// --- the device library, against the simulating REZO.dll (one device per test run)

// The library keeps its log open, so each test reads from where the log ended when it began.
std::streamoff LogEnd()
{
    std::ifstream log(std::getenv("QUILLET_TEST_REZO_LOG"), std::ios::binary | std::ios::ate);
    return log ? static_cast<std::streamoff>(log.tellg()) : 0;
}

std::streamoff g_logStart = 0;

std::vector<std::string> RezoCalls()
{
    std::vector<std::string> calls;
    std::ifstream log(std::getenv("QUILLET_TEST_REZO_LOG"), std::ios::binary);
    log.seekg(g_logStart);
    std::string line;
    while (std::getline(log, line)) {
        const std::size_t name = line.find("REZO_");
        if (name != std::string::npos)
            calls.push_back(line.substr(name, line.find('(', name) - name));
    }
    return calls;
}

class DeviceLibrary : public Probes {
protected:
    void SetUp() override
    {
        Probes::SetUp();
        ASSERT_NE(std::getenv("QUILLET_TEST_REZO_LOG"), nullptr);
        g_logStart = LogEnd();
    }
};

TEST_F(DeviceLibrary, AbsentDeviceIsDestroyedAndTheDrivesAreProbed)
{
    EXPECT_EQ(OpenRezoDevice(), 0u);
    EXPECT_EQ(RezoCalls(), (std::vector<std::string>{"REZO_CreateCUSBDevice", "REZO_DeviceExist",
                                                      "REZO_DestroyCUSBDevice"}));
    port().volumes['E'] = Answering(0xF0, {0x0C, 0x09}, 8);
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::DeviceInfoId);
}

TEST_F(DeviceLibrary, PresentDeviceWinsOverEveryDriveAndStaysAlive)
{
    port().volumes['D'] = Answering(0xCA, {0x16, 0x03});
    ProbeDevices();
    EXPECT_EQ(GetDetectedKind(), DeviceKind::RezoDevice);
    EXPECT_TRUE(port().opens.empty());
    EXPECT_EQ(RezoCalls(), (std::vector<std::string>{"REZO_CreateCUSBDevice", "REZO_DeviceExist",
                                                      "REZO_GetDeviceKind"}));
    // A second test keeps the device object it holds.
    EXPECT_NE(OpenRezoDevice(), 0u);
    EXPECT_EQ(RezoCalls().size(), 4u);
}

TEST_F(DeviceLibrary, UnsupportedDeviceKindIsDestroyed)
{
    EXPECT_EQ(OpenRezoDevice(), 0u);
    EXPECT_EQ(RezoCalls(), (std::vector<std::string>{"REZO_CreateCUSBDevice", "REZO_DeviceExist",
                                                      "REZO_GetDeviceKind", "REZO_DestroyCUSBDevice"}));
}

}  // namespace

// --- the form

#include "quillet/main_form.h"
#include "tests/windows/support/files.h"
#include "tests/windows/support/recording_start.h"

namespace {

TEST(QuilletForm, CaptionSizePlaceBorderIconsColourFontAndOnShow)
{
    TApplication application;
    TApplication* saved = Application;
    Application = &application;
    TForm1* form = nullptr;
    application.CreateForm(form);
    EXPECT_EQ(application.MainForm, form);
    EXPECT_EQ(form->Caption, "Vexmend");
    EXPECT_EQ(form->Width, 184);
    EXPECT_EQ(form->Height, 28);
    EXPECT_EQ(form->BorderIcons, 0u);
    EXPECT_EQ(form->Position, poDesktopCenter);
    EXPECT_EQ(form->Color, clBtnFace);
    EXPECT_EQ(form->Font.Name, "MS Sans Serif");
    EXPECT_EQ(form->Font.Height, -11);
    EXPECT_TRUE(static_cast<bool>(form->OnShow));
    HWND window = form->Handle();
    char className[64] = {};
    ::GetClassNameA(window, className, sizeof className);
    EXPECT_STREQ(className, "TForm1");
    RECT rect;
    ::GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, 184);
    EXPECT_EQ(rect.bottom - rect.top, 28);
    EXPECT_FALSE(::GetWindowLongA(window, GWL_STYLE) & WS_SYSMENU);
    Application = saved;
}

// The start of the chosen tool, by this program, which carries small payloads in place of the
// tools and the Disk.ini template: the tool (and Disk.ini for Sarrow) is in the work folder
// before the pause; the pause of two seconds is asked of the pause seam once, and only then the
// shell gets the verb "Open", the tool's path, no parameters, no directory, SW_HIDE and the form's
// window; then the form closes.
// Each case runs on an application object of its own; the one before and the current folder
// come back after the test.
class QuilletStart : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedApplication_ = Application;
        ScriptedDeviceList::Reset();
        ::GetCurrentDirectoryA(MAX_PATH, savedDirectory_);
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryA(savedDirectory_);
        Application = savedApplication_;
    }

    char savedDirectory_[MAX_PATH] = {};

private:
    TApplication* savedApplication_ = nullptr;
};

TEST_F(QuilletStart, WritesTheChosenToolThenPausesTwoSecondsAndStartsItHidden)
{
    struct Case {
        const char* name;
        std::function<void()> drives;
        const char* tool;
        bool diskIni;
    } cases[] = {
        {"nothing found", [] {}, "EXEOTI", false},
        {"a Silicon Motion drive", [] { ScriptedPort::Current().volumes['E'] = Answering(0xF0, {0x38, 0x35}, 8); },
         "EXESMI", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // The payloads are read by their build path, from the build's drive.
        ::SetCurrentDirectoryA(savedDirectory_);
        const std::string tool = test_support::FileBytes(std::string(QUILLET_TEST_PAYLOADS) + c.tool + ".txt");
        const std::string template_ = test_support::FileBytes(QUILLET_TEST_PAYLOADS "INISMI.txt");
        ASSERT_FALSE(tool.empty());
        ScriptedPort::Reset();
        c.drives();
        const std::string folder = test_support::FreshTemporaryFolder("quillet_start") + "ZEM_fix\\";

        TApplication application;
        Application = &application;
        application.Initialize();
        test_support::RecordingStart start;
        TForm1* form = nullptr;
        std::string toolAtPause;
        std::string diskIniAtPause;
        HWND windowAtPause = nullptr;
        start.onPause = [&] {
            toolAtPause = test_support::FileBytes(folder + "QuilletV1.00.exe");
            diskIniAtPause = test_support::FileBytes(folder + "Disk.ini");
            windowAtPause = form->HandleAllocated() ? form->Handle() : nullptr;
        };
        application.CreateForm(form, start.Seams());
        application.Run();
        EXPECT_TRUE(application.Terminated);

        EXPECT_EQ(start.events, (std::vector<std::string>{"pause 2000", "shell"}));
        EXPECT_EQ(toolAtPause, tool);
        EXPECT_EQ(diskIniAtPause, c.diskIni ? template_ : "");
        ASSERT_EQ(start.calls.size(), 1u);
        const test_support::RecordingStart::ShellCall& call = start.calls[0];
        EXPECT_EQ(call.info.cbSize, 60u);
        EXPECT_EQ(call.info.fMask, 0u);
        EXPECT_NE(windowAtPause, nullptr);
        EXPECT_EQ(call.info.hwnd, windowAtPause);
        EXPECT_EQ(call.verb, "Open");
        EXPECT_EQ(call.file, folder + "QuilletV1.00.exe");
        EXPECT_EQ(call.parameters, std::nullopt);
        EXPECT_EQ(call.directory, std::nullopt);
        EXPECT_EQ(call.info.nShow, SW_HIDE);
        EXPECT_TRUE(call.restZero);
    }
}

}  // namespace
