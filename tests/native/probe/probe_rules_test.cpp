// The dispatcher's decisions: reply patterns, identifier, pass order over the letters, vendor
// texts of hardware ids and the tool each finding selects.
#include "core/probe/probe_rules.h"

#include <array>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using probe::DeviceKind;
using probe::ToolIndex;

std::array<std::uint8_t, 512> Reply(std::initializer_list<int> bytes, std::size_t offset = 0)
{
    std::array<std::uint8_t, 512> reply{};
    std::size_t i = offset;
    for (int b : bytes)
        reply[i++] = static_cast<std::uint8_t>(b);
    return reply;
}

TEST(ChipQuery, CommandBlockIsCaAndFifteenZerosWith512BytesIn)
{
    const smi::VendorCommand command = probe::VendorChipQuery();
    EXPECT_EQ(command.cdb[0], 0xCA);
    for (std::size_t i = 1; i < command.cdb.size(); ++i)
        EXPECT_EQ(command.cdb[i], 0) << "byte " << i;
    EXPECT_EQ(command.dataLength, 512u);
    EXPECT_EQ(command.direction, scsi::Direction::In);
}

struct ReplyCase {
    std::initializer_list<int> bytes;
    bool a, b, c;
};

TEST(ChipQuery, ReplyPatterns)
{
    const ReplyCase cases[] = {
        {{0x28, 0x06, 0x00, 0x00}, true, false, false},
        {{0x28, 0x06, 0xFF, 0x00}, true, false, false},   // d2 is not looked at
        {{0x28, 0x06, 0x00, 0x01}, false, false, false},  // d3 must be 00
        {{0x28, 0x07, 0x00, 0x00}, false, false, false},
        {{0x06, 0x28, 0x00, 0x00}, false, false, false},
        {{0x16, 0x03}, false, true, false},
        {{0x16, 0x03, 0x28, 0x06}, false, true, false},
        {{0x16, 0x04}, false, false, false},
        {{0x03, 0x16}, false, false, false},
        {{0x02, 0x01}, false, false, true},
        {{0x05, 0x02}, false, false, true},
        {{0x02, 0x02}, false, false, false},
        {{0x05, 0x01}, false, false, false},
        {{0x01, 0x02}, false, false, false},
        {{}, false, false, false},  // a cleared buffer: a drive that sent nothing
    };
    for (const ReplyCase& c : cases) {
        const auto reply = Reply(c.bytes);
        SCOPED_TRACE(::testing::Message() << std::hex << int(reply[0]) << " " << int(reply[1]) << " "
                                          << int(reply[2]) << " " << int(reply[3]));
        EXPECT_EQ(probe::MatchesCaReplyA(reply), c.a);
        EXPECT_EQ(probe::MatchesCaReplyB(reply), c.b);
        EXPECT_EQ(probe::MatchesCaReplyC(reply), c.c);
    }
}

TEST(DeviceInfo, IdentifierIsLittleEndianAtOffsetsEightAndNine)
{
    struct Case {
        std::initializer_list<int> bytes;
        std::size_t offset;
        bool match;
    } cases[] = {
        {{0x38, 0x35}, 8, true},   // 0x3538
        {{0x35, 0x38}, 8, false},  // 0x3835
        {{0x0C, 0x09}, 8, true},   // 0x090C
        {{0x09, 0x0C}, 8, false},  // 0x0C09
        {{0x38, 0x35}, 7, false},
        {{0x38, 0x35}, 9, false},
        {{0x00, 0x00}, 8, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.offset);
        EXPECT_EQ(probe::MatchesDeviceInfoId(Reply(c.bytes, c.offset)), c.match);
    }
}

// Drives that answer as the test says, through the real reply rules; every probe is recorded.
class ScriptedDrives final : public probe::Probes {
public:
    bool rezo = false;
    std::map<char, std::array<std::uint8_t, 512>> chipReplies;  // letters that answer 0xCA
    std::map<char, std::array<std::uint8_t, 512>> deviceInfo;   // letters that answer F0 02
    std::vector<std::string> calls;

    bool DeviceLibraryReportsDevice() override
    {
        calls.push_back("rezo");
        return rezo;
    }
    bool ProbeCaReplyA(char letter) override { return Chip("A", letter, probe::MatchesCaReplyA); }
    bool ProbeCaReplyB(char letter) override { return Chip("B", letter, probe::MatchesCaReplyB); }
    bool ProbeCaReplyC(char letter) override { return Chip("C", letter, probe::MatchesCaReplyC); }
    bool ProbeVendorId(char letter) override
    {
        calls.push_back(std::string("id ") + letter);
        auto found = deviceInfo.find(letter);
        return found != deviceInfo.end() && probe::MatchesDeviceInfoId(found->second);
    }

private:
    bool Chip(const char* probe, char letter, bool (*matches)(smi::Answer))
    {
        calls.push_back(std::string(probe) + " " + letter);
        auto found = chipReplies.find(letter);
        return found != chipReplies.end() && matches(found->second);
    }
};

std::vector<std::string> ChipCallsUpTo(char last)
{
    std::vector<std::string> calls{"rezo"};
    for (char letter = 'D'; letter <= last; ++letter)
        for (const char* p : {"A ", "B ", "C "})
            calls.push_back(p + std::string(1, letter));
    return calls;
}

TEST(ProbeSequence, DeviceLibraryWinsAndNoDriveIsProbed)
{
    ScriptedDrives drives;
    drives.rezo = true;
    drives.chipReplies['D'] = Reply({0x16, 0x03});
    drives.deviceInfo['D'] = Reply({0x38, 0x35}, 8);
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::RezoDevice);
    EXPECT_EQ(drives.calls, std::vector<std::string>{"rezo"});
}

TEST(ProbeSequence, LetterOrderDecidesBetweenTwoAnsweringDrives)
{
    ScriptedDrives drives;
    drives.chipReplies['E'] = Reply({0x16, 0x03});
    drives.chipReplies['F'] = Reply({0x28, 0x06, 0x00, 0x00});
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::CaReplyB);
    std::vector<std::string> expected = ChipCallsUpTo('D');
    expected.insert(expected.end(), {"A E", "B E"});
    EXPECT_EQ(drives.calls, expected);
}

TEST(ProbeSequence, ReplyThatMissesAIsTestedByBAndCOnTheSameDrive)
{
    ScriptedDrives drives;
    drives.chipReplies['D'] = Reply({0x28, 0x06, 0x00, 0x01});
    drives.chipReplies['E'] = Reply({0x05, 0x02});
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::CaReplyC);
    EXPECT_EQ(drives.calls, ChipCallsUpTo('E'));

    ScriptedDrives anyThirdByte;
    anyThirdByte.chipReplies['D'] = Reply({0x28, 0x06, 0x5A, 0x00});
    EXPECT_EQ(probe::RunProbeSequence(anyThirdByte), DeviceKind::CaReplyA);
}

TEST(ProbeSequence, ChipQueryOnZBeatsIdentifierOnD)
{
    ScriptedDrives drives;
    drives.deviceInfo['D'] = Reply({0x38, 0x35}, 8);
    drives.chipReplies['Z'] = Reply({0x02, 0x01});
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::CaReplyC);
    EXPECT_EQ(drives.calls, ChipCallsUpTo('Z'));
}

TEST(ProbeSequence, IdentifierPassRunsAfterEveryLetterHadItsChipQuery)
{
    ScriptedDrives drives;
    drives.deviceInfo['F'] = Reply({0x35, 0x38}, 8);  // the wrong byte order: no match
    drives.deviceInfo['G'] = Reply({0x0C, 0x09}, 8);
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::DeviceInfoId);
    std::vector<std::string> expected = ChipCallsUpTo('Z');
    expected.insert(expected.end(), {"id D", "id E", "id F", "id G"});
    EXPECT_EQ(drives.calls, expected);
}

TEST(ProbeSequence, NothingFoundProbesExactlyDToZ)
{
    ScriptedDrives drives;
    EXPECT_EQ(probe::RunProbeSequence(drives), DeviceKind::None);
    ASSERT_EQ(drives.calls.size(), 1u + 23 * 3 + 23);
    for (const std::string& call : drives.calls) {
        if (call == "rezo")
            continue;
        const char letter = call.back();
        EXPECT_GE(letter, 'D') << call;
        EXPECT_LE(letter, 'Z') << call;
    }
    EXPECT_EQ(drives.calls.back(), "id Z");
}

TEST(HardwareId, VendorTextAtOffsetEightSelectsTheTool)
{
    struct Case {
        const char* id;
        ToolIndex tool;
    } cases[] = {
        {"USB\\VID_2168&PID_1000&REV_0100", ToolIndex::ExeOti},
        {"USB\\VID_1516&PID_1000", ToolIndex::ExeSky},
        {"USB\\VID_1307&PID_0163", ToolIndex::ExeUsbest},
        {"USB\\VID_0457&PID_0151", ToolIndex::ExeUsbest},
        {"USB\\VID_090C&PID_1000&REV_1100", ToolIndex::ExeSmi},
        {"USB\\VID_090C", ToolIndex::ExeSmi},                // exactly 12 characters
        {"USB\\VID_090", ToolIndex::None},                   // 11
        {"usb\\vid_090c&pid_1000", ToolIndex::None},         // byte for byte: case counts
        {"USB\\VID_090c&PID_1000", ToolIndex::None},
        {"HID\\VID_090C&PID_1000", ToolIndex::ExeSmi},       // only the four characters count
        {"USB\\VID_845E&PID_0001", ToolIndex::None},
        {"PCI\\VEN_8086&DEV_7010", ToolIndex::None},
        {"USB\\VID_0000090C", ToolIndex::None},
        {"", ToolIndex::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(probe::ToolForHardwareId(c.id), c.tool);
    }
}

TEST(ToolChoice, KindsSelectTheirToolsAndTheWalkRunsOnlyWhenNothingWasFound)
{
    struct Case {
        DeviceKind kind;
        ToolIndex walkResult;
        ToolIndex tool;
        int walks;
    } cases[] = {
        {DeviceKind::RezoDevice, ToolIndex::ExeSmi, ToolIndex::ExeUsbest, 0},
        {DeviceKind::DeviceInfoId, ToolIndex::ExeOti, ToolIndex::ExeSmi, 0},
        {DeviceKind::CaReplyA, ToolIndex::ExeSmi, ToolIndex::ExeSky, 0},
        {DeviceKind::CaReplyB, ToolIndex::ExeSmi, ToolIndex::ExeSky, 0},
        {DeviceKind::CaReplyC, ToolIndex::ExeSmi, ToolIndex::ExeSky, 0},
        {DeviceKind::None, ToolIndex::None, ToolIndex::ExeOti, 1},
        {DeviceKind::None, ToolIndex::ExeSmi, ToolIndex::ExeSmi, 1},
        {DeviceKind::None, ToolIndex::ExeSky, ToolIndex::ExeSky, 1},
        {DeviceKind::None, ToolIndex::ExeUsbest, ToolIndex::ExeUsbest, 1},
        {static_cast<DeviceKind>(6), ToolIndex::None, ToolIndex::ExeOti, 1},   // any other value
        {static_cast<DeviceKind>(-1), ToolIndex::ExeSmi, ToolIndex::ExeSmi, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind));
        int walks = 0;
        EXPECT_EQ(probe::ChooseTool(c.kind, [&] { ++walks; return c.walkResult; }), c.tool);
        EXPECT_EQ(walks, c.walks);
    }
}

TEST(ToolChoice, ResourceNamesAndNumbers)
{
    EXPECT_STREQ(probe::ToolResourceName(ToolIndex::ExeSky), "EXESKY");
    EXPECT_STREQ(probe::ToolResourceName(ToolIndex::ExeUsbest), "EXEUSBEST");
    EXPECT_STREQ(probe::ToolResourceName(ToolIndex::ExeSmi), "EXESMI");
    EXPECT_STREQ(probe::ToolResourceName(ToolIndex::ExeOti), "EXEOTI");
    EXPECT_EQ(probe::ToolResourceName(ToolIndex::None), nullptr);
    EXPECT_EQ(static_cast<int>(ToolIndex::ExeSky), 2);
    EXPECT_EQ(static_cast<int>(ToolIndex::ExeUsbest), 3);
    EXPECT_EQ(static_cast<int>(ToolIndex::ExeSmi), 4);
    EXPECT_EQ(static_cast<int>(ToolIndex::ExeOti), 6);
}

}  // namespace
