// Reads a file's version the way the client does, in a process that has not loaded version.dll by
// the time it asks for it — so the planted-DLL check sees which copy the client's code would load.
// Usage: version_probe.exe <file>   prints the version text
#include <cstdio>

#include "discovery/game_center_version.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2)
        return 2;
    std::printf("%ls\n", Discovery::ReadFileVersionText(System::FsPath(argv[1]), L"none").c_str());
    return 0;
}
