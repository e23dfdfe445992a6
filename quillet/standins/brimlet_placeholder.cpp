// quillet/standins/brimlet_placeholder.cpp
// Carried as EXEUSBEST while the build has no Brimlet: says so instead of repairing.
#include "quillet/standins/standin.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return ShowStandInMessage(
        "Vexmend: Brimlet not built",
        "The flash drive has a USBest controller, whose repair tool Brimlet was not part of this "
        "build.");
}
