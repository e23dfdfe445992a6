// core/rezo_sim/profile.cpp
// The device profile's `key = value` text.
#include "core/rezo_sim/profile.h"

#include <algorithm>

#include "core/settings/key_value.h"

namespace rezo_sim {

namespace {

using key_value::ParseInto;
using key_value::ParsePrintable;
using key_value::ParseYesNo;
using key_value::Trim;

// A relative path inside the firmware tree: no drive, no leading separator, no "..".
bool ParseImagePath(std::string_view text, std::string& value)
{
    if (!ParsePrintable(text, 0, 200, value))
        return false;
    if (text.empty())
        return true;
    if (text[0] == '\\' || text[0] == '/' || text.find(':') != std::string_view::npos)
        return false;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of("\\/", start), text.size());
        if (text.substr(start, end - start) == "..")
            return false;
        start = end + 1;
    }
    return true;
}

bool ParseRemoval(std::string_view text, DeviceProfile& p)
{
    const std::size_t blank = text.find_first_of(" \t");
    const std::string_view word = text.substr(0, blank);
    const std::string_view rest = blank == std::string_view::npos ? std::string_view{} : Trim(text.substr(blank));
    if (word == "none" || word == "after") {
        if (!rest.empty())
            return false;
        p.removal = word == "none" ? Removal::None : Removal::After;
        p.removalAt = 0;
        return true;
    }
    if (word == "during" || word == "idle") {
        std::uint32_t at = 0;
        if (!ParseInto(rest, word == "during" ? 100 : 0xFFFFFFFFu, at))
            return false;
        p.removal = word == "during" ? Removal::During : Removal::Idle;
        p.removalAt = at;
        return true;
    }
    return false;
}

// Returns an empty string on success, otherwise what is wrong with the value.
std::string ApplySetting(std::string_view key, std::string_view value, DeviceProfile& p)
{
    if (key == "present") {
        if (!ParseYesNo(value, p.present))
            return "needs yes or no";
    } else if (key == "kind") {
        if (!ParseInto(value, 0xFF, p.kind))
            return "needs a byte";
    } else if (key == "drives") {
        if (!ParseInto(value, 0x7FFFFFFF, p.drives))
            return "needs a count";
    } else if (key == "chip_id") {
        if (!ParseInto(value, 0xFFFF, p.chipId))
            return "needs a number from 0 to 65535";
    } else if (key == "chip_version") {
        if (!ParseInto(value, 0xFFFF, p.chipVersion))
            return "needs a number from 0 to 65535";
    } else if (key == "description") {
        if (!ParsePrintable(value, 0, kMaxDescription, p.description))
            return "needs up to 255 printable characters";
    } else if (key == "firmware") {
        if (!ParsePrintable(value, 1, kMaxFirmware, p.firmware))
            return "needs 1 to 31 printable characters";
    } else if (key.size() == 6 && key.substr(0, 5) == "image" && key[5] >= '0' && key[5] < '0' + static_cast<int>(kFamilyCount)) {
        if (!ParseImagePath(value, p.images[key[5] - '0']))
            return "needs a path inside the firmware tree (no drive, no leading separator, no ..)";
    } else if (key == "progress_step") {
        if (!ParseInto(value, 100, p.progressStep) || p.progressStep == 0)
            return "needs a percentage from 1 to 100";
    } else if (key == "step_ms") {
        if (!ParseInto(value, 600000, p.stepMilliseconds))
            return "needs milliseconds (up to 600000)";
    } else if (key == "finish_ms") {
        if (!ParseInto(value, 600000, p.finishMilliseconds))
            return "needs milliseconds (up to 600000)";
    } else if (key == "final_state") {
        if (!ParseInto(value, 0xFF, p.finalState))
            return "needs a byte";
    } else if (key == "error_code") {
        if (!ParseInto(value, 0xFFFFFFFFu, p.errorCode))
            return "needs a 32-bit number";
    } else if (key == "bad_blocks") {
        if (!ParseInto(value, 0xFFFFFFFFu, p.badBlocks))
            return "needs a 32-bit number";
    } else if (key == "total_blocks") {
        if (!ParseInto(value, 0xFFFFFFFFu, p.totalBlocks))
            return "needs a 32-bit number";
    } else if (key == "block_unit") {
        if (!ParseInto(value, 0xFFFF, p.blockUnit))
            return "needs a 16-bit number";
    } else if (key == "removal") {
        if (!ParseRemoval(value, p))
            return "needs none, during PERCENT (0-100), after or idle MILLISECONDS";
    } else if (key == "log") {
        if (value.empty())
            return "needs a path";
        p.logPath.assign(value);
    } else {
        return "is not a known setting";
    }
    return {};
}

}  // namespace

bool ParseProfile(std::string_view text, DeviceProfile& profile, std::string& error)
{
    return key_value::ReadSettings(
        text, [&](std::string_view key, std::string_view value) { return ApplySetting(key, value, profile); }, error);
}

void ResolveProfilePaths(std::string_view profileFolder, DeviceProfile& profile)
{
    key_value::ResolveAgainst(profileFolder, profile.logPath);
}

}  // namespace rezo_sim
