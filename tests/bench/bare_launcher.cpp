// The floor for start-up timing: starts the program named by its first argument with the rest of
// its own command line, and does nothing else.
#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

using System::Win32::UniqueHandle;
using System::Win32::UniqueLocalMemory;

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    const UniqueLocalMemory argsOwner(args);
    if (args == nullptr || count < 2)
        return 1;
    std::wstring commandLine = L"\"" + std::wstring(args[1]) + L"\"";
    for (int i = 2; i < count; ++i)
        commandLine += L" " + std::wstring(args[i]);
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(args[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return 2;
    const UniqueHandle thread(process.hThread);
    const UniqueHandle child(process.hProcess);
    return 0;
}
