// core/settings/key_value.cpp
#include "core/settings/key_value.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace key_value {

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool ReadLines(std::string_view text, const Syntax& syntax, const LineFunction& line, std::string& error)
{
    std::size_t lineNumber = 0;
    const auto fail = [&](const std::string& problem) {
        error = "line " + std::to_string(lineNumber) + ": " + problem;
        return false;
    };
    while (!text.empty()) {
        ++lineNumber;
        const std::size_t newline = text.find('\n');
        const std::string_view whole = Trim(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
        if (whole.empty() || whole[0] == '#')
            continue;
        const std::size_t equals = whole.find('=');
        if (equals == std::string_view::npos)
            return fail(std::string(syntax.missingEquals));
        const std::string_view key = Trim(whole.substr(0, equals));
        std::string_view value = Trim(whole.substr(equals + 1));
        if (syntax.quotedValues) {
            if (!value.empty() && value[0] == '"') {
                const std::size_t close = value.find('"', 1);
                if (close == std::string_view::npos || !Trim(value.substr(close + 1)).empty())
                    return fail("unterminated quoted value");
                value = value.substr(1, close - 1);
            } else {
                const std::size_t hash = value.find('#');
                if (hash != std::string_view::npos)
                    value = Trim(value.substr(0, hash));
            }
        }
        const std::string problem = line(key, value);
        if (!problem.empty())
            return fail(problem);
    }
    return true;
}

bool ReadSettings(std::string_view text, const LineFunction& setting, std::string& error)
{
    const Syntax syntax{"expected key = value", true};
    return ReadLines(
        text, syntax,
        [&](std::string_view key, std::string_view value) -> std::string {
            if (key.empty())
                return "missing key";
            const std::string problem = setting(key, value);
            return problem.empty() ? problem : "'" + std::string(key) + "' " + problem;
        },
        error);
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

bool ParsePrintable(std::string_view text, std::size_t minimum, std::size_t maximum, std::string& value)
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

bool IsAbsolutePath(std::string_view path)
{
    if (!path.empty() && (path[0] == '/' || path[0] == '\\'))
        return true;
    return path.size() >= 2 && path[1] == ':'
           && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
}

void ResolveAgainst(std::string_view folder, std::string& path)
{
    if (path.empty() || IsAbsolutePath(path) || folder.empty())
        return;
    path = std::string(folder) + path;
}

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string{} : path.substr(0, slash + 1);
}

bool ReadWholeFile(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream whole;
    whole << in.rdbuf();
    text = whole.str();
    return true;
}

}  // namespace key_value
