// core/brimlet/repair_rules.h
// The repair dialog's decisions and texts: the controller family of Device.ini, the mode byte,
// the chips it refuses, the progress it shows, the bad-block share and the result verdict.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace brimlet {

// Device.ini's [Device] SelectDevice: a case-sensitive prefix, tested in the order UT160, UT163,
// BCD, FP; anything else is family 0.
std::uint8_t FamilyFromSelectDevice(std::string_view value);

constexpr std::uint8_t kModeComplete = 0x40;
constexpr std::uint8_t kModeUpdateFirmware = 0x80;
constexpr short kChipWithFirmwareUpdate = 355;
constexpr short kChipUnsupported = 360;
constexpr short kChipNeedsOldWindows = 353;
constexpr short kChipVersionNeedsOldWindows = 17;

// Firmware update only for the chip that takes one, and only with the switch ticked.
bool UpdateFlag(short chipId, bool switchTicked);
// bits 0-1 family, bit 6 complete repair, bit 7 firmware update. Always built from the family,
// so a second request never adds the flags twice.
std::uint8_t ModeByte(std::uint8_t family, bool complete, bool update);

enum class ChipVerdict {
    Supported,
    Unsupported,     // string 16
    WindowsTooNew,   // string 17
};
ChipVerdict CheckChip(short chipId, short chipVersion, std::uint32_t osBuild);

// While the repair runs the bar stops at 99: 100 is shown only once the library says it ended.
int ShownProgress(unsigned progress);

// The library's state once a repair has ended.
constexpr std::uint8_t kStateFinished = 0xFF;
// The repair has ended when the library says so, or when its repair call has returned: a
// library that returns without ever reporting the final state would leave the dialog polling.
bool RepairEnded(std::uint8_t state, bool repairCallReturned);

// Bits outside 0x13 mean the repair failed.
bool RepairSucceeded(std::uint32_t errorCode);
// "<text>, ErrCode=0x<CODE>\n" with the code in upper-case hexadecimal.
std::string FailureText(std::string_view failure, std::uint32_t errorCode);

// The bad-block share for the pie (degrees) and the text (percent).
struct BadBlockShare {
    std::uint32_t sliceDegrees = 0;
    double percent = 0.0;
};
// With a total and a unit: the bad count, at most total / unit, against the total. Without (the
// library reported a zero): the bad count, at most 1536, against 1536.
BadBlockShare ComputeBadBlockShare(std::uint32_t bad, std::uint32_t total, std::uint16_t unit);
constexpr std::uint32_t kBadBlockFallbackScale = 1536;
// "<label> : 12.34 %"
std::string BadBlockText(std::string_view label, double percent);

// Control 1007: the description, an empty line, and the firmware version.
constexpr std::string_view kNoFirmware = "FFFFFF";
bool HasFirmware(std::string_view version);
std::string DeviceText(std::string_view description, std::string_view version);

// The image's tag: eight characters at kFirmwareTagOffset, the version the six from the third.
constexpr std::uint32_t kFirmwareTagOffset = 0xEFF0;
constexpr std::size_t kFirmwareTagRead = 16;
constexpr std::size_t kFirmwareVersionLength = 6;
// `read` bytes of the tag area were read; one that ends before the version gives none.
std::string FirmwareVersionFromTag(const std::uint8_t* tagArea, std::size_t read);
// The decimal number from the fourth character of a version on ("BAR665" -> 665), as traced.
int FirmwareVersionNumber(std::string_view version);

}  // namespace brimlet
