// quillet/standins/sky_installer.cpp
// Carried as EXESKY in place of the vendor installer for the controllers that answer the chip
// query, which is not ours to ship.
#include "quillet/standins/standin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return ShowStandInMessage(
        "Vexmend: vendor installer not included",
        "The flash drive's controller answered the chip query: it is a kind that its vendor's own "
        "installer serves.\r\n\r\n"
        "That vendor's installer is not part of this package, so this drive cannot be repaired "
        "here.");
}
