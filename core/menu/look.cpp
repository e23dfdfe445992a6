// core/menu/look.cpp
#include "core/menu/look.h"

#include <cctype>

namespace menu {

int WinVersionCode(const VersionRecord& record)
{
    if (record.nineXRoad) {
        if (record.shortMajor < 4)
            return kWin32s;
        if (!record.recordRead || record.major != 4)
            return kWindows95;
        if (record.minor == 10)
            return kWindows98;
        if (record.minor == 90)
            return kWindowsMe;
        return kWindows95;
    }
    if (!record.recordRead)
        return kOtherNt;
    if (record.major == 4)
        return kWindowsNt4;
    if (record.major == 5 && record.minor == 0)
        return kWindows2000;
    if (record.major == 5 && record.minor == 1)
        return kWindowsXp;
    return kOtherNt;
}

bool IsClassicThemeName(std::string_view value)
{
    constexpr std::string_view kClassic = "Windows Classic.theme";
    if (value.size() < kClassic.size())
        return false;
    std::string_view tail = value.substr(value.size() - kClassic.size());
    for (size_t i = 0; i < kClassic.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(tail[i])) != std::tolower(static_cast<unsigned char>(kClassic[i])))
            return false;
    }
    return true;
}

}  // namespace menu
