#include "support/test_paths.h"

#include <windows.h>

#include <algorithm>

namespace TestSupport {

std::wstring BuildDir()
{
    std::wstring dir = L"Z:" + Utf8ToWide(TGC_BUILD_DIR);
    std::replace(dir.begin(), dir.end(), L'/', L'\\');
    return dir;
}

std::wstring ClientExePath()
{
    return BuildDir() + L"\\bin\\tgc_client.exe";
}

bool HostRuns32BitPrograms()
{
    wchar_t answer[4] = {};
    return !(GetEnvironmentVariableW(L"TGC_HOST_32BIT", answer, 4) == 2 && std::wstring(answer) == L"no");
}

std::wstring ScratchDir()
{
    const std::wstring dir = BuildDir() + L"\\scratch";
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

}  // namespace TestSupport
