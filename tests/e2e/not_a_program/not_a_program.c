/* A game center that passes the version check but cannot be started: a DLL named tgc.exe.
   CreateProcessW refuses it with ERROR_BAD_EXE_FORMAT. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)instance;
    (void)reason;
    (void)reserved;
    return TRUE;
}
