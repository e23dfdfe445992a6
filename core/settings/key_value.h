// core/settings/key_value.h
// The `key = value` text of the simulation profiles (drive, road and device): the line walk, the
// value forms they share (numbers, yes/no, printable text) and their file and path handling.
// Each profile keeps its own keys and messages.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace key_value {

// Without leading and trailing blanks, tabs and line ends.
std::string_view Trim(std::string_view text);

// What a line tells the reader: an empty string when the setting is taken, otherwise what is
// wrong with it.
using LineFunction = std::function<std::string(std::string_view key, std::string_view value)>;

struct Syntax {
    std::string_view missingEquals;  // the problem of a line without '='
    // A value may stand in double quotes (to keep blanks or a '#'); unquoted, '#' starts a
    // comment.
    bool quotedValues = false;
};

// Walks the lines of `text`: blank lines and lines starting with '#' are passed over; key and
// value reach `line` trimmed. Stops at the first problem, which `error` gets as "line N: ...".
bool ReadLines(std::string_view text, const Syntax& syntax, const LineFunction& line, std::string& error);

// The form of the drive and the device profile: quoted values and comments, a line without a
// key refused, and a refused setting reported as "'key' problem".
bool ReadSettings(std::string_view text, const LineFunction& setting, std::string& error);

// Decimal or 0x-hex, at most `maximum`.
bool ParseNumber(std::string_view text, std::uint64_t maximum, std::uint64_t& value);

template <class Number>
bool ParseInto(std::string_view text, std::uint64_t maximum, Number& field)
{
    std::uint64_t value = 0;
    if (!ParseNumber(text, maximum, value))
        return false;
    field = static_cast<Number>(value);
    return true;
}

// yes/true/1/on or no/false/0/off.
bool ParseYesNo(std::string_view text, bool& value);

// Printable ASCII only, `minimum` to `maximum` characters: the texts travel through the
// programs' ANSI buffers unchanged.
bool ParsePrintable(std::string_view text, std::size_t minimum, std::size_t maximum, std::string& value);

// A path that starts with a separator or a drive letter and a colon.
bool IsAbsolutePath(std::string_view path);

// A relative `path` becomes relative to `folder` (which ends in a separator); an empty one, an
// absolute one or an empty folder leave it as it is.
void ResolveAgainst(std::string_view folder, std::string& path);

// The folder part of `path` with its separator, or "" when there is none.
std::string FolderOf(const std::string& path);

// The whole file, byte for byte; false when it cannot be opened.
bool ReadWholeFile(const std::string& path, std::string& text);

}  // namespace key_value
