#include <windows.h>

#include "app/client_main.h"
#include "libraries/system/win32/dll_search.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The client lives in a game folder that other programs can write: never load a DLL from there.
    System::Win32::RestrictDllSearch();
    return ZGC::RunClient(GetCommandLineW());
}
