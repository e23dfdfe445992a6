// The version code from what GetVersion and GetVersionExA tell, the theme name, and which look a
// version, a theme and the two draw modes give.
#include "core/menu/look.h"

#include <gtest/gtest.h>

namespace {

using menu::Look;
using menu::VersionRecord;

TEST(WinVersionCode, EachSystemGetsItsCode)
{
    struct Case { const char* system; VersionRecord record; int code; };
    const Case cases[] = {
        {"Win32s 3.1", {true, 3, true, 3, 10}, 0},
        {"Windows 95", {true, 4, true, 4, 0}, 2},
        {"Windows 95 OSR2", {true, 4, true, 4, 3}, 2},
        {"Windows 98", {true, 4, true, 4, 10}, 3},
        {"Windows Me", {true, 4, true, 4, 90}, 4},
        {"9x road, another major", {true, 5, true, 5, 10}, 2},
        {"9x road, no record", {true, 4, false, 0, 0}, 2},
        {"NT 3.51", {false, 3, true, 3, 51}, 1},
        {"NT 4", {false, 4, true, 4, 0}, 5},
        {"Windows 2000", {false, 5, true, 5, 0}, 6},
        {"Windows XP", {false, 5, true, 5, 1}, 7},
        {"Server 2003", {false, 5, true, 5, 2}, 1},
        {"Vista", {false, 6, true, 6, 0}, 1},
        {"Windows 7", {false, 6, true, 6, 1}, 1},
        {"NT road, no record", {false, 5, false, 0, 0}, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::WinVersionCode(c.record), c.code) << c.system;
}

TEST(IsClassicThemeName, EndsInTheClassicThemeWhateverTheCase)
{
    struct Case { const char* value; bool classic; };
    const Case cases[] = {
        {"C:\\WINDOWS\\Resources\\Themes\\Windows Classic.theme", true},
        {"Windows Classic.theme", true},
        {"c:\\windows\\resources\\themes\\WINDOWS CLASSIC.THEME", true},
        {"C:\\WINDOWS\\Resources\\Themes\\Luna.theme", false},
        {"Windows Classic.theme.bak", false},
        {"Classic.theme", false},  // shorter than the name
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(menu::IsClassicThemeName(c.value), c.classic) << c.value;
}

TEST(Look, TheDrawModeOfTheThemedOrThePlainSystemDecides)
{
    struct Case { int code; bool classic; int themedMode; int plainMode; bool modern; bool themed; bool xp; };
    const Case cases[] = {
        {7, false, 1, 0, true, true, true},    // XP themed: the themed mode, 1 by default
        {7, true, 1, 0, true, false, false},   // XP with the classic theme: the plain mode
        {7, true, 1, 1, true, false, true},
        {7, false, 0, 1, true, true, false},
        {6, false, 1, 0, true, false, false},  // Windows 2000 is never themed
        {6, false, 1, 1, true, false, true},
        {3, false, 1, 1, true, false, true},   // Windows 98
        {1, false, 1, 1, false, false, true},  // Vista and later: no modern shell
        {1, false, 1, 0, false, false, false},
        {7, false, 2, 0, true, true, false},   // only mode 1 is the XP look
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << c.code << (c.classic ? " classic" : "") << " modes "
                                        << c.themedMode << "/" << c.plainMode);
        Look look{c.code, c.classic, c.themedMode, c.plainMode};
        EXPECT_EQ(look.HasModernShell(), c.modern);
        EXPECT_EQ(look.IsXpThemed(), c.themed);
        EXPECT_EQ(look.UsesXpStyle(), c.xp);
        EXPECT_EQ(look.CurrentDrawMode(), c.themed ? c.themedMode : c.plainMode);
    }
}

}  // namespace
