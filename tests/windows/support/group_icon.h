// tests/windows/support/group_icon.h
// The icon directory of an RT_GROUP_ICON resource, as the resource compiler lays it out: the
// sizes an icon comes in, each naming its RT_ICON image by number.
#pragma once

#include <windows.h>

namespace test_support {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconDirectory {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)
static_assert(sizeof(GroupIconEntry) == 14);

}  // namespace test_support
