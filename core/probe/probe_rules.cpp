// core/probe/probe_rules.cpp
#include "core/probe/probe_rules.h"

namespace probe {

smi::VendorCommand VendorChipQuery()
{
    smi::VendorCommand command;
    command.cdb[0] = 0xCA;
    command.dataLength = smi::kAnswerSize;
    command.direction = smi::Direction::In;
    return command;
}

bool MatchesCaReplyA(smi::Answer reply)
{
    return reply[0] == 0x28 && reply[1] == 0x06 && reply[3] == 0x00;
}

bool MatchesCaReplyB(smi::Answer reply) { return reply[0] == 0x16 && reply[1] == 0x03; }

bool MatchesCaReplyC(smi::Answer reply)
{
    return (reply[0] == 0x02 && reply[1] == 0x01) || (reply[0] == 0x05 && reply[1] == 0x02);
}

bool MatchesDeviceInfoId(smi::Answer deviceInfo)
{
    const std::uint16_t identifier = smi::DeviceIdentifier(deviceInfo);
    return identifier == 0x3538 || identifier == 0x090C;
}

DeviceKind RunProbeSequence(Probes& probes)
{
    if (probes.DeviceLibraryReportsDevice())
        return DeviceKind::RezoDevice;
    for (char letter = kFirstProbedLetter; letter <= kLastProbedLetter; ++letter) {
        if (probes.ProbeCaReplyA(letter))
            return DeviceKind::CaReplyA;
        if (probes.ProbeCaReplyB(letter))
            return DeviceKind::CaReplyB;
        if (probes.ProbeCaReplyC(letter))
            return DeviceKind::CaReplyC;
    }
    for (char letter = kFirstProbedLetter; letter <= kLastProbedLetter; ++letter) {
        if (probes.ProbeVendorId(letter))
            return DeviceKind::DeviceInfoId;
    }
    return DeviceKind::None;
}

ToolIndex ToolForHardwareId(std::string_view firstHardwareId)
{
    static constexpr ToolIndex kTools[kVendorTextCount] = {
        ToolIndex::ExeOti, ToolIndex::ExeSky, ToolIndex::ExeUsbest, ToolIndex::ExeUsbest, ToolIndex::ExeSmi};
    if (firstHardwareId.size() < kShortestHardwareId)
        return ToolIndex::None;
    const std::string_view vendor = firstHardwareId.substr(kVendorTextOffset, kVendorTextLength);
    for (int i = 0; i < kVendorTextCount; ++i) {
        if (vendor == kVendorTexts.substr(i * kVendorTextLength, kVendorTextLength))
            return kTools[i];
    }
    return ToolIndex::None;
}

ToolIndex ToolForKind(DeviceKind kind)
{
    switch (kind) {
    case DeviceKind::RezoDevice: return ToolIndex::ExeUsbest;
    case DeviceKind::DeviceInfoId: return ToolIndex::ExeSmi;
    case DeviceKind::CaReplyA:
    case DeviceKind::CaReplyB:
    case DeviceKind::CaReplyC: return ToolIndex::ExeSky;
    default: return ToolIndex::None;
    }
}

const char* ToolResourceName(ToolIndex tool)
{
    switch (tool) {
    case ToolIndex::ExeSky: return "EXESKY";
    case ToolIndex::ExeUsbest: return "EXEUSBEST";
    case ToolIndex::ExeSmi: return "EXESMI";
    case ToolIndex::ExeOti: return "EXEOTI";
    default: return nullptr;
    }
}

}  // namespace probe
