#include "app/game_center_start.h"

#include <shellapi.h>

#include "app/game_center_command_line.h"
#include "errors/err.h"
#include "libraries/system/win32/com_scope.h"
#include "libraries/system/win32/process_start.h"
#include "log/log_line.h"

// The shell is handed a record of the size the 32-bit system expects from the shipped client.
static_assert(sizeof(void*) != 4 || sizeof(SHELLEXECUTEINFOW) == 60, "the elevated start's record is 60 bytes");

namespace ZGC {

bool LaunchGameCenterProcess(const std::wstring& gameCenterPath, const std::wstring& argumentText, DWORD& startError)
{
    if (gameCenterPath.empty()) {
        startError = ERROR_PATH_NOT_FOUND;
        return false;
    }
    const std::wstring commandLine = GameCenterProcessCommandLine(gameCenterPath, argumentText);
    const std::wstring folder = GameCenterFolder(gameCenterPath);
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Starting %1 in %2", {commandLine, folder});
    const System::Win32::ProcessStart started = System::Win32::StartProcess(gameCenterPath, commandLine, 0, folder);
    if (!started.process) {
        startError = started.error;
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"The start failed: error %1", {std::to_wstring(startError)});
        return false;
    }
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Started, process %1",
              {std::to_wstring(GetProcessId(started.process.get()))});
    return true;  // nobody waits for the game center: its handle closes here
}

void ShellExecuteRunAs(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* directory,
                       int showCommand, System::Win32::UniqueHandle& process)
{
    // The shell needs COM on the calling thread; without it the start is still attempted.
    const System::Win32::ComScope com;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.lpDirectory = directory;
    info.nShow = showCommand;
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Starting elevated (%1): %2 %3 in %4",
              {verb ? verb : L"", file ? file : L"", parameters ? parameters : L"", directory ? directory : L""});
    if (!ShellExecuteExW(&info)) {
        const DWORD error = GetLastError();
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"The elevated start failed: error %1", {std::to_wstring(error)});
        SetLastError(error);
        Err::makeLastSystemError()->raise();
    }
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Started elevated");
    process.reset(info.hProcess);
}

}  // namespace ZGC
