#include "tests/native/archive/support/windows_path_model.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace path_model {

namespace {

std::vector<std::string> Components(std::string_view path)
{
    std::vector<std::string> parts;
    std::string current;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!current.empty())
                parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty())
        parts.push_back(current);
    return parts;
}

std::string TrimDotsAndBlanks(std::string text)
{
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}

bool Device(const std::string& component)
{
    std::string base = component.substr(0, component.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    static const char* const kNames[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
    for (const char* name : kNames) {
        if (base == name)
            return true;
    }
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0)) {
        const auto last = static_cast<unsigned char>(base[3]);
        return std::isdigit(last) || last == 0xB9 || last == 0xB2 || last == 0xB3;
    }
    return false;
}

// < > : " / \ | ? * and the control characters, in no name Windows makes.
bool ForbiddenInName(char c)
{
    return static_cast<unsigned char>(c) < 32 || std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos;
}

}  // namespace

const char* FolderRefusal(std::string_view folder)
{
    // 260 less room for an 8.3 name and its terminator.
    if (folder.size() >= 248)
        return "folder path of 248 characters or more";
    // "X\" is the folder X.
    while (!folder.empty() && folder.back() == '\\')
        folder.remove_suffix(1);
    if (HoldsForbiddenCharacter(folder.substr(folder.rfind('\\') + 1)))
        return "folder name Windows cannot make";
    return nullptr;
}

bool HoldsForbiddenCharacter(std::string_view name)
{
    return std::any_of(name.begin(), name.end(), ForbiddenInName);
}

Resolution Resolve(std::string_view base, std::string_view name)
{
    Resolution resolution;
    resolution.usesStream = name.find(':') != std::string_view::npos;
    const std::vector<std::string> baseParts = Components(base.substr(3));  // after "X:\"
    std::vector<std::string> stack;
    // A leading separator starts again at the root of the drive.
    if (name.empty() || (name[0] != '\\' && name[0] != '/'))
        stack = baseParts;
    bool climbedOut = false;
    for (const std::string& part : Components(name)) {
        if (part == ".")
            continue;
        const std::string trimmed = TrimDotsAndBlanks(part);
        if (part == ".." || trimmed.empty()) {
            if (stack.empty())
                climbedOut = true;
            else
                stack.pop_back();
            continue;
        }
        if (Device(part))
            resolution.opensDevice = true;
        stack.push_back(trimmed);
    }
    resolution.insideBase = !climbedOut && stack.size() > baseParts.size()
                            && std::equal(baseParts.begin(), baseParts.end(), stack.begin());
    for (const std::string& part : stack)
        resolution.resolved += (resolution.resolved.empty() ? "" : "\\") + part;
    return resolution;
}

}  // namespace path_model
