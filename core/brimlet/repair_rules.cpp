// core/brimlet/repair_rules.cpp
#include "core/brimlet/repair_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace brimlet {

std::uint8_t FamilyFromSelectDevice(std::string_view value)
{
    static constexpr struct {
        std::string_view prefix;
        std::uint8_t family;
    } kFamilies[] = {{"UT160", 3}, {"UT163", 0}, {"BCD", 1}, {"FP", 2}};
    for (const auto& entry : kFamilies) {
        if (value.substr(0, entry.prefix.size()) == entry.prefix)
            return entry.family;
    }
    return 0;
}

bool UpdateFlag(short chipId, bool switchTicked)
{
    return chipId == kChipWithFirmwareUpdate && switchTicked;
}

std::uint8_t ModeByte(std::uint8_t family, bool complete, bool update)
{
    std::uint8_t mode = family & 0x03;
    if (complete)
        mode |= kModeComplete;
    if (update)
        mode |= kModeUpdateFirmware;
    return mode;
}

ChipVerdict CheckChip(short chipId, short chipVersion, std::uint32_t osBuild)
{
    if (chipId == kChipUnsupported)
        return ChipVerdict::Unsupported;
    if (chipId == kChipNeedsOldWindows && chipVersion == kChipVersionNeedsOldWindows && osBuild > 2600)
        return ChipVerdict::WindowsTooNew;
    return ChipVerdict::Supported;
}

int ShownProgress(unsigned progress)
{
    return static_cast<int>(std::min(progress, 99u));
}

bool RepairEnded(std::uint8_t state, bool repairCallReturned)
{
    return state == kStateFinished || repairCallReturned;
}

bool RepairSucceeded(std::uint32_t errorCode)
{
    return (errorCode & ~std::uint32_t{0x13}) == 0;
}

std::string FailureText(std::string_view failure, std::uint32_t errorCode)
{
    char code[32];
    std::snprintf(code, sizeof code, ", ErrCode=0x%lX\n", static_cast<unsigned long>(errorCode));
    return std::string(failure) + code;
}

BadBlockShare ComputeBadBlockShare(std::uint32_t bad, std::uint32_t total, std::uint16_t unit)
{
    BadBlockShare share;
    if (total != 0 && unit != 0) {
        const std::uint32_t capped = std::min(bad, total / unit);
        // 64 bits: a count of millions times 360 does not fit in 32.
        share.sliceDegrees = static_cast<std::uint32_t>(std::uint64_t{capped} * 360 / total);
        share.percent = static_cast<double>(capped) / static_cast<double>(total) * 100.0;
    } else {
        const std::uint32_t capped = std::min(bad, kBadBlockFallbackScale);
        share.sliceDegrees = capped * 360 / kBadBlockFallbackScale;
        share.percent = static_cast<double>(static_cast<float>(capped) / static_cast<float>(kBadBlockFallbackScale)) * 100.0;
    }
    return share;
}

std::string BadBlockText(std::string_view label, double percent)
{
    char number[64];
    std::snprintf(number, sizeof number, " : %.2f %%", percent);
    return std::string(label) + number;
}

bool HasFirmware(std::string_view version)
{
    return version.substr(0, kNoFirmware.size()) != kNoFirmware;
}

std::string DeviceText(std::string_view description, std::string_view version)
{
    std::string text(description);
    text += "\n\nFW Ver:";
    if (HasFirmware(version))
        text += version;
    else
        text += "NO FIRMWARE";
    return text;
}

std::string FirmwareVersionFromTag(const std::uint8_t* tagArea, std::size_t read)
{
    if (tagArea == nullptr || read < 2 + kFirmwareVersionLength)
        return std::string();
    std::string version(reinterpret_cast<const char*>(tagArea) + 2, kFirmwareVersionLength);
    // A zero inside the tag ends the text, as it ends the C string the dialog shows.
    version.resize(version.find('\0') == std::string::npos ? version.size() : version.find('\0'));
    return version;
}

int FirmwareVersionNumber(std::string_view version)
{
    if (version.size() <= 3)
        return 0;
    const std::string digits(version.substr(3));
    return std::atoi(digits.c_str());
}

}  // namespace brimlet
