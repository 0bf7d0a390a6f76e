// The client as it starts on Windows 7 SP1 without KB2533623 (no SetDefaultDllDirectories, no
// LOAD_LIBRARY_SEARCH_* flags): the planted-DLL check runs it in place of the shipped one.
#include <windows.h>

#include "app/client_main.h"
#include "libraries/system/win32/dll_search.h"
#include "support/windows7_loader.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const TestSupport::ScopedWindows7Loader windows7;
    if (!windows7.Applied())
        return ERROR_PROC_NOT_FOUND;  // the check fails on any exit code but 0
    System::Win32::RestrictDllSearch();
    return ZGC::RunClient(GetCommandLineW());
}
