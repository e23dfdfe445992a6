// core/menu/look.h
// Which look the owner-drawn menu takes: the Windows version code, the theme, and the two draw
// modes (one for a themed Windows XP, one for everything else).
#pragma once

#include <string_view>

namespace menu {

enum WinVersion : int {
    kWin32s = 0,
    kOtherNt = 1,  // NT 3.x, Server 2003, Vista and later
    kWindows95 = 2,
    kWindows98 = 3,
    kWindowsMe = 4,
    kWindowsNt4 = 5,
    kWindows2000 = 6,
    kWindowsXp = 7,
};

// What GetVersion and GetVersionExA tell.
struct VersionRecord {
    bool nineXRoad = false;       // GetVersion's high bit: Windows 9x or Win32s
    unsigned shortMajor = 0;      // GetVersion's low byte
    bool recordRead = true;       // GetVersionExA answered
    unsigned major = 0;
    unsigned minor = 0;
};

int WinVersionCode(const VersionRecord& record);

// The theme registry value names the classic theme: it ends in "Windows Classic.theme", in any case.
bool IsClassicThemeName(std::string_view value);

constexpr int kXpDrawMode = 1;

struct Look {
    int versionCode = kWindowsXp;
    bool classicTheme = false;
    int themedDrawMode = kXpDrawMode;  // used while IsXpThemed holds
    int plainDrawMode = 0;             // used otherwise

    bool HasModernShell() const { return versionCode > kOtherNt; }
    bool IsXpThemed() const { return versionCode == kWindowsXp && !classicTheme; }
    int CurrentDrawMode() const { return IsXpThemed() ? themedDrawMode : plainDrawMode; }
    bool UsesXpStyle() const { return CurrentDrawMode() == kXpDrawMode; }
};

}  // namespace menu
