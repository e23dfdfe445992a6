// core/rezo_sim/profile.cpp
// The device profile's `key = value` text.
#include "core/rezo_sim/profile.h"

#include <algorithm>
#include <charconv>

namespace rezo_sim {

namespace {

std::string_view Trim(std::string_view s)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool ParseNumber(std::string_view text, std::uint64_t maximum, std::uint64_t& value)
{
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty())
        return false;
    std::uint64_t parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    if (ec != std::errc{} || end != text.data() + text.size() || parsed > maximum)
        return false;
    value = parsed;
    return true;
}

template <class Number>
bool ParseInto(std::string_view text, std::uint64_t maximum, Number& field)
{
    std::uint64_t value = 0;
    if (!ParseNumber(text, maximum, value))
        return false;
    field = static_cast<Number>(value);
    return true;
}

bool ParseYesNo(std::string_view text, bool& value)
{
    if (text == "yes" || text == "true" || text == "1" || text == "on") {
        value = true;
        return true;
    }
    if (text == "no" || text == "false" || text == "0" || text == "off") {
        value = false;
        return true;
    }
    return false;
}

// Printable ASCII only: the texts travel through the callers' ANSI buffers unchanged.
bool ParseText(std::string_view text, std::size_t minimum, std::size_t maximum, std::string& value)
{
    if (text.size() < minimum || text.size() > maximum)
        return false;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E)
            return false;
    }
    value.assign(text);
    return true;
}

// A relative path inside the firmware tree: no drive, no leading separator, no "..".
bool ParseImagePath(std::string_view text, std::string& value)
{
    if (!ParseText(text, 0, 200, value))
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
        if (!ParseText(value, 0, kMaxDescription, p.description))
            return "needs up to 255 printable characters";
    } else if (key == "firmware") {
        if (!ParseText(value, 1, kMaxFirmware, p.firmware))
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

bool IsAbsolutePath(std::string_view path)
{
    if (!path.empty() && (path[0] == '/' || path[0] == '\\'))
        return true;
    return path.size() >= 2 && path[1] == ':'
           && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

}  // namespace

bool ParseProfile(std::string_view text, DeviceProfile& profile, std::string& error)
{
    std::size_t lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);

        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            error = "line " + std::to_string(lineNumber) + ": expected key = value";
            return false;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        std::string_view value = Trim(line.substr(equals + 1));
        if (!value.empty() && value[0] == '"') {
            const std::size_t close = value.find('"', 1);
            if (close == std::string_view::npos || !Trim(value.substr(close + 1)).empty()) {
                error = "line " + std::to_string(lineNumber) + ": unterminated quoted value";
                return false;
            }
            value = value.substr(1, close - 1);
        } else {
            const std::size_t hash = value.find('#');
            if (hash != std::string_view::npos)
                value = Trim(value.substr(0, hash));
        }
        if (key.empty()) {
            error = "line " + std::to_string(lineNumber) + ": missing key";
            return false;
        }
        const std::string problem = ApplySetting(key, value, profile);
        if (!problem.empty()) {
            error = "line " + std::to_string(lineNumber) + ": '" + std::string(key) + "' " + problem;
            return false;
        }
    }
    return true;
}

void ResolveProfilePaths(std::string_view profileFolder, DeviceProfile& profile)
{
    if (!profile.logPath.empty() && !IsAbsolutePath(profile.logPath) && !profileFolder.empty())
        profile.logPath = std::string(profileFolder) + profile.logPath;
}

}  // namespace rezo_sim
