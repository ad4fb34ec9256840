// A DLL whose initialisation refuses the process that loads it, so that
// LoadLibrary fails with error 1114.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) { return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE; }
