// core/sim/profile.cpp
// The drive profile's `key = value` text.
#include "core/sim/smi_controller.h"

#include <charconv>

#include "core/settings/key_value.h"

namespace sim {

namespace {

constexpr std::string_view kKindNames[kCommandKindCount] = {
    "inquiry", "device-info", "firmware-info", "flash-info", "isp-begin", "isp-write-bank",
    "isp-read-bank", "isp-end", "read10", "write10", "chip-query", "unknown",
};

using key_value::ParseNumber;
using key_value::ParsePrintable;
using key_value::ParseYesNo;
using key_value::Trim;

bool ParseBytes(std::string_view text, std::size_t minimum, std::size_t maximum, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    while (true) {
        text = Trim(text);
        if (text.empty())
            break;
        const std::size_t blank = text.find_first_of(" \t");
        std::string_view word = text.substr(0, blank);
        text = blank == std::string_view::npos ? std::string_view{} : text.substr(blank);
        if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X'))
            word.remove_prefix(2);
        unsigned value = 0;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value, 16);
        if (word.empty() || word.size() > 2 || ec != std::errc{} || end != word.data() + word.size())
            return false;
        bytes.push_back(static_cast<std::uint8_t>(value));
        if (bytes.size() > maximum)
            return false;
    }
    return bytes.size() >= minimum;
}

// Returns an empty string on success, otherwise what is wrong with the value.
std::string ApplySetting(std::string_view key, std::string_view value, DriveProfile& p)
{
    std::uint64_t number = 0;
    std::vector<std::uint8_t> bytes;
    if (key == "image") {
        if (value.empty())
            return "needs a path";
        p.imagePath.assign(value);
    } else if (key == "capacity") {
        if (!ParseNumber(value, 0xFFFFFFFFu, number) || number == 0)
            return "needs a sector count from 1 to 4294967295";
        p.capacitySectors = number;
    } else if (key == "letter") {
        if (value.size() != 1 || !((value[0] >= 'A' && value[0] <= 'Z') || (value[0] >= 'a' && value[0] <= 'z')))
            return "needs one letter A-Z";
        p.driveLetter = static_cast<char>(value[0] & ~0x20);
    } else if (key == "inquiry") {
        if (value == "SMI")
            p.inquiry = InquiryVariant::UpperSmi;
        else if (value == "smi")
            p.inquiry = InquiryVariant::LowerSmi;
        else if (value == "template")
            p.inquiry = InquiryVariant::ProductTemplate;
        else if (value == "none")
            p.inquiry = InquiryVariant::None;
        else
            return "needs SMI, smi, template or none";
    } else if (key == "controller") {
        if (!ParsePrintable(value, 0, 7, p.controllerModel))
            return "needs up to 7 printable characters";
    } else if (key == "firmware") {
        if (!ParsePrintable(value, 0, 10, p.firmwareVersion))
            return "needs up to 10 printable characters";
    } else if (key == "vendor") {
        if (!ParsePrintable(value, 0, 8, p.vendorText))
            return "needs up to 8 printable characters";
    } else if (key == "product") {
        if (!ParsePrintable(value, 0, 16, p.productText))
            return "needs up to 16 printable characters";
    } else if (key == "flash_id") {
        if (!ParseBytes(value, 4, 4, bytes))
            return "needs 4 hex bytes";
        std::copy(bytes.begin(), bytes.end(), p.flashIdentifier.begin());
    } else if (key == "isp_n") {
        if (!ParseNumber(value, 0xFF, number))
            return "needs a number from 0 to 255";
        p.ispN = static_cast<std::uint8_t>(number);
    } else if (key == "isp_m_bytes") {
        if (!ParseBytes(value, 16, 16, bytes))
            return "needs 16 hex bytes";
        std::copy(bytes.begin(), bytes.end(), p.ispMBytes.begin());
    } else if (key == "device_id") {
        if (!ParseNumber(value, 0xFFFF, number))
            return "needs a number from 0 to 0xFFFF";
        p.deviceIdentifier = static_cast<std::uint16_t>(number);
    } else if (key == "chip_query_reply") {
        if (!ParseBytes(value, 1, 16, bytes))
            return "needs 1 to 16 hex bytes";
        p.chipQueryReply = bytes;
    } else if (key == "firmware_area") {
        if (value.empty())
            return "needs a path";
        p.firmwareAreaPath.assign(value);
    } else if (key == "log") {
        if (value.empty())
            return "needs a path";
        p.commandLogPath.assign(value);
    } else if (key == "fail") {
        const std::size_t colon = value.find(':');
        const auto kind = KindFromName(Trim(value.substr(0, colon)));
        if (colon == std::string_view::npos || !kind || *kind == CommandKind::Unknown)
            return "needs KIND:K or KIND:all with a known command kind";
        const std::string_view which = Trim(value.substr(colon + 1));
        CommandFault fault{*kind, 0};
        if (which != "all") {
            if (!ParseNumber(which, 0xFFFFFFFFu, number) || number == 0)
                return "needs a count from 1 or all after the colon";
            fault.occurrence = static_cast<std::uint32_t>(number);
        }
        p.failures.push_back(fault);
    } else if (key == "readback_corrupt") {
        if (value == "last") {
            p.readBackCorruption = ReadBackCorruption{};
        } else {
            const std::size_t colon = value.find(':');
            std::uint64_t bank = 0;
            std::uint64_t offset = 0;
            if (colon == std::string_view::npos || !ParseNumber(Trim(value.substr(0, colon)), kFirmwareBanks - 1, bank)
                || !ParseNumber(Trim(value.substr(colon + 1)), 2047, offset))
                return "needs BANK:OFFSET (bank 0-63, offset 0-2047) or last";
            p.readBackCorruption = ReadBackCorruption{static_cast<std::uint32_t>(bank), static_cast<std::uint32_t>(offset)};
        }
    } else if (key == "ignore_writes") {
        if (!ParseYesNo(value, p.ignoreWrites))
            return "needs yes or no";
    } else if (key == "write_protect") {
        if (!ParseYesNo(value, p.writeProtected))
            return "needs yes or no";
    } else if (key == "volume_in_use") {
        if (!ParseYesNo(value, p.volumeInUse))
            return "needs yes or no";
    } else if (key == "bad_sectors") {
        const std::size_t dash = value.find('-');
        std::uint64_t first = 0;
        std::uint64_t last = 0;
        if (!ParseNumber(Trim(value.substr(0, dash)), 0xFFFFFFFFu, first))
            return "needs FIRST-LAST or one sector number";
        last = first;
        if (dash != std::string_view::npos && (!ParseNumber(Trim(value.substr(dash + 1)), 0xFFFFFFFFu, last) || last < first))
            return "needs FIRST-LAST with FIRST <= LAST";
        p.badSectors.push_back(SectorRange{first, last});
    } else if (key == "disappear_after") {
        if (!ParseNumber(value, UINT64_MAX, number))
            return "needs a command count";
        p.disappearAfter = number;
    } else {
        return "is not a known setting";
    }
    return {};
}

}  // namespace

std::string_view KindName(CommandKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    return index < kCommandKindCount ? kKindNames[index] : std::string_view{"unknown"};
}

std::optional<CommandKind> KindFromName(std::string_view name)
{
    for (std::size_t i = 0; i < kCommandKindCount; ++i) {
        if (kKindNames[i] == name)
            return static_cast<CommandKind>(i);
    }
    return std::nullopt;
}

bool ParseProfile(std::string_view text, DriveProfile& profile, std::string& error)
{
    return key_value::ReadSettings(
        text, [&](std::string_view key, std::string_view value) { return ApplySetting(key, value, profile); }, error);
}

bool LoadProfileFile(const std::string& path, DriveProfile& profile, std::string& error)
{
    std::string text;
    if (!key_value::ReadWholeFile(path, text)) {
        error = "cannot open profile '" + path + "'";
        return false;
    }
    DriveProfile loaded = profile;
    // Paths the caller already set stay as they are; only those from the file are resolved.
    loaded.imagePath.clear();
    loaded.firmwareAreaPath.clear();
    loaded.commandLogPath.clear();
    if (!ParseProfile(text, loaded, error)) {
        error = path + ": " + error;
        return false;
    }
    const std::string folder = key_value::FolderOf(path);
    for (auto [fromFile, kept] : {std::pair{&loaded.imagePath, &profile.imagePath},
                                  std::pair{&loaded.firmwareAreaPath, &profile.firmwareAreaPath},
                                  std::pair{&loaded.commandLogPath, &profile.commandLogPath}}) {
        if (fromFile->empty())
            *fromFile = *kept;
        else
            key_value::ResolveAgainst(folder, *fromFile);
    }
    profile = std::move(loaded);
    return true;
}

}  // namespace sim
