// vexmend/payload/msvcp60_payload.cpp
// The file Vexmend writes as "msvcp60.dll" beside Quillet. No program of the toolkit loads it;
// it is a placeholder of our own that says so in its version resource, not Microsoft's library.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
