// core/probe/probe_rules.h
// What Quillet decides from what the drives answer: the chip query and its three reply
// patterns, the device-information identifier, the order of the probe passes over the drive
// letters, the USB vendor texts of hardware ids, and the tool each finding selects.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/smi/vendor_commands.h"

namespace probe {

// The kind of device the probe found (stored as a 32-bit integer).
enum class DeviceKind : std::int32_t {
    None = 0,
    RezoDevice = 1,    // REZO.dll reports a device
    DeviceInfoId = 2,  // F0 02 answered with a listed identifier
    CaReplyC = 3,      // chip query answered 02 01 or 05 02
    CaReplyB = 4,      // chip query answered 16 03
    CaReplyA = 5,      // chip query answered 28 06, any byte, 00
};

// The tool to write and start (stored as a 32-bit integer; 0 = none chosen).
enum class ToolIndex : std::int32_t {
    None = 0,
    ExeSky = 2,     // the vendor installer for controllers that answer the chip query
    ExeUsbest = 3,  // Brimlet
    ExeSmi = 4,     // Sarrow, with "Disk.ini" beside it
    ExeOti = 6,     // the fallback vendor tool
};

// Drives A:, B: and C: are never probed.
constexpr char kFirstProbedLetter = 'D';
constexpr char kLastProbedLetter = 'Z';

// The pass-through time-out of both probe commands, in seconds.
constexpr std::uint32_t kProbeTimeoutSeconds = 2;
// Sense bytes the probe asks for (nobody reads them).
constexpr std::uint8_t kProbeSenseLength = 24;

// CA 00 ... 00, 16 bytes, 512 bytes in.
smi::VendorCommand VendorChipQuery();

// The reply is the start of the 512-byte answer, cleared before the command.
bool MatchesCaReplyA(smi::Answer reply);  // d0 = 28, d1 = 06, d3 = 00; d2 is not looked at
bool MatchesCaReplyB(smi::Answer reply);  // d0 = 16, d1 = 03
bool MatchesCaReplyC(smi::Answer reply);  // 02 01 or 05 02

// The F0 02 identifier (data bytes 8 and 9, little-endian) is 0x3538 or 0x090C.
bool MatchesDeviceInfoId(smi::Answer deviceInfo);

// The probes as the dispatcher runs them; each answers whether it matched.
class Probes {
public:
    virtual bool DeviceLibraryReportsDevice() = 0;
    virtual bool ProbeCaReplyA(char letter) = 0;
    virtual bool ProbeCaReplyB(char letter) = 0;
    virtual bool ProbeCaReplyC(char letter) = 0;
    virtual bool ProbeVendorId(char letter) = 0;

protected:
    ~Probes() = default;
};

// The probe sequence, first success ends it: the device library; then for each letter D to Z
// the chip-query probes A, B and C; then for each letter D to Z the identifier probe.
DeviceKind RunProbeSequence(Probes& probes);

// The vendor table of hardware ids: "2168151613070457090C", five texts of four characters, each
// with its tool.
constexpr std::string_view kVendorTexts = "2168151613070457090C";
constexpr int kVendorTextCount = 5;
constexpr int kVendorTextLength = 4;
// Where the vendor text sits in a USB hardware id (after "USB\VID_"), and the shortest id looked at.
constexpr std::size_t kVendorTextOffset = 8;
constexpr std::size_t kShortestHardwareId = 12;

// The tool the first hardware id of a device selects: its four characters at offset 8 compared
// byte for byte (so case-sensitive) with the vendor texts in table order; None when the text is
// shorter than 12 characters or no vendor text is equal.
ToolIndex ToolForHardwareId(std::string_view firstHardwareId);

// The tool a found kind selects, or None when the hardware ids must decide.
ToolIndex ToolForKind(DeviceKind kind);

// The final choice: the kind's tool; else (None, or any value not listed) what the hardware-id
// walk finds, which runs only then; else the fallback EXEOTI.
template <class HardwareIdWalk>
ToolIndex ChooseTool(DeviceKind kind, HardwareIdWalk&& detectByHardwareId)
{
    ToolIndex tool = ToolForKind(kind);
    if (tool == ToolIndex::None)
        tool = detectByHardwareId();
    return tool == ToolIndex::None ? ToolIndex::ExeOti : tool;
}

// The resource name (type EXEFILE) of a tool; null for None.
const char* ToolResourceName(ToolIndex tool);

}  // namespace probe
