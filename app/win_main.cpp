#include <windows.h>

#include "app/client_main.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The client lives in a game folder that other programs can write: never load
    // a DLL from there.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    return ZGC::RunClient(GetCommandLineW());
}
