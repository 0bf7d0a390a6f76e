// Reads a file's version the way the client does, in a process that has not loaded version.dll by
// the time it asks for it — so the planted-DLL check sees which copy the client's code would load.
// Usage: version_probe.exe [--without-kb2533623] <file>   prints the version text
#include <cstdio>
#include <cwchar>
#include <optional>

#include "discovery/game_center_version.h"
#include "support/windows7_loader.h"

int wmain(int argc, wchar_t** argv)
{
    std::optional<TestSupport::ScopedWindows7Loader> windows7;
    if (argc > 2 && std::wcscmp(argv[1], L"--without-kb2533623") == 0) {
        if (!windows7.emplace().Applied())
            return 3;
        --argc;
        ++argv;
    }
    if (argc < 2)
        return 2;
    std::printf("%ls\n", Discovery::ReadFileVersionText(System::FsPath(argv[1]), L"none").c_str());
    return 0;
}
