// quillet/quillet.cpp
// The dispatcher's entry point: one form, whose OnShow does the work.
#include <windows.h>

#include "quillet/main_form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunApplication("Vexmend", Form1);
}
