// brimlet/skin/menu_system_colours.h
// The system colours the owner-drawn menu works its look out from, as Windows has them now.
#pragma once

#include <windows.h>

#include "core/menu/colours.h"

inline menu::SystemColours ReadMenuSystemColours()
{
    menu::SystemColours colours;
    colours.face3d = ::GetSysColor(COLOR_3DFACE);
    colours.menu = ::GetSysColor(COLOR_MENU);
    colours.buttonFace = ::GetSysColor(COLOR_BTNFACE);
    colours.window = ::GetSysColor(COLOR_WINDOW);
    colours.highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    colours.grayText = ::GetSysColor(COLOR_GRAYTEXT);
    colours.buttonShadow = ::GetSysColor(COLOR_BTNSHADOW);
    return colours;
}
