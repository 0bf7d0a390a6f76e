#include "app/zgc_api_cli.h"

#include "app/folder_key.h"
#include "app/game_center_command_line.h"
#include "app/job_breakaway.h"
#include "app/uninstall_wait.h"
#include "libraries/system/win32/process_start.h"
#include "libraries/system/win32/unique_resource.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ResultCode ZGCApiCli::Uninstall()
{
    const ResultCode check = CheckGameCenter(Ui::kUninstallNotification);
    if (IsFailure(check))
        return check;

    const DWORD creationFlags = BreakawayCreationFlags(services_.jobLimitFlags());

    // The event both guards against a second uninstall of the same folder and lets the game center
    // tell us when we may stop waiting.
    const std::wstring eventName = UninstallEventName(folderKey_);
    const System::Win32::UniqueHandle uninstallEvent(CreateEventW(nullptr, TRUE, FALSE, eventName.c_str()));
    const DWORD createError = GetLastError();
    if (!uninstallEvent || createError == ERROR_ALREADY_EXISTS)
        return kResultLaunchFailed;

    const System::Win32::ProcessStart started =
        System::Win32::StartProcess(gameCenterPath_, UninstallCommandLine(gameCenterPath_, gameFolder_, quiet_),
                                    creationFlags, GameCenterFolder(gameCenterPath_));
    if (!started.process) {
        if (!quiet_)
            services_.showNotification(Ui::kUninstallNotification);
        return kResultLaunchFailed;
    }

    const HANDLE waitFor[] = {started.process.get(), uninstallEvent.get()};
    const DWORD waitResult = WaitForMultipleObjects(2, waitFor, FALSE, INFINITE);
    return UninstallWaitResult(waitResult, GetLastError());
}

}  // namespace ZGC
