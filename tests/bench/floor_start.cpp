#include "floor_start.h"

#include <windows.h>
#include <shellapi.h>

#include "libraries/system/win32/unique_resource.h"

namespace Bench {

std::vector<std::wstring> OwnArguments()
{
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    const System::Win32::UniqueLocalMemory owner(args);
    if (args == nullptr)
        return {};
    return std::vector<std::wstring>(args, args + count);
}

bool StartWithArguments(const std::wstring& program, const std::vector<std::wstring>& arguments, std::size_t first,
                        const std::wstring& directory)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    for (std::size_t i = first; i < arguments.size(); ++i)
        commandLine += L" " + arguments[i];
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &process))
        return false;
    const System::Win32::UniqueHandle thread(process.hThread);
    const System::Win32::UniqueHandle child(process.hProcess);
    return true;
}

}  // namespace Bench
