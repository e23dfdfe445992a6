// vexmend/vexmend.cpp
// The launcher's entry point: creating the form does the launch; showing it ends the program.
#include <windows.h>

#include "vexmend/main_form.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return RunApplication("Vexmend", Form1);
}
