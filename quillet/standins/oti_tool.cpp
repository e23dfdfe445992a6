// quillet/standins/oti_tool.cpp
// Carried as EXEOTI in place of the outside vendor tool started when no other tool fits, which
// is not ours to ship.
#include "quillet/standins/standin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return ShowStandInMessage(
        "Vexmend: vendor tool not included",
        "No controller that this package repairs was found on the drives D: to Z:, or the "
        "drive's USB vendor is one whose own tool serves it.\r\n\r\n"
        "That vendor's tool is not part of this package, so this drive cannot be repaired here.");
}
