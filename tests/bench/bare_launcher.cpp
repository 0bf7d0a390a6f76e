// The floor for start-up timing: starts the program named by its first argument with the rest of
// its own command line, and does nothing else.
#include <windows.h>

#include "floor_start.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    const std::vector<std::wstring> arguments = Bench::OwnArguments();
    if (arguments.size() < 2)
        return 1;
    return Bench::StartWithArguments(arguments[1], arguments, 2) ? 0 : 2;
}
