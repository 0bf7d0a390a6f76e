#include "app/zgc_api_cli.h"

#include "app/folder_key.h"
#include "app/game_center_command_line.h"
#include "app/job_breakaway.h"
#include "app/run_log.h"
#include "app/uninstall_event.h"
#include "app/uninstall_wait.h"
#include "libraries/system/win32/process_start.h"
#include "log/log_line.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ResultCode ZGCApiCli::Uninstall()
{
    Discovery::DiscoveredGameCenter check = CheckGameCenter(Ui::kUninstallNotification);
    if (IsFailure(check.result))
        return check.result;

    const DWORD creationFlags = BreakawayCreationFlags(services_.jobLimitFlags());

    // The event both guards against a second uninstall of the same folder and lets the game center
    // tell us when we may stop waiting. Without one of our own we wait for the game center's end.
    const UninstallEvent uninstallEvent = services_.createUninstallEvent(UninstallEventName(folderKey_));
    if (uninstallEvent.anotherUninstall) {
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"Another uninstall of this game folder is running");
        return kResultLaunchFailed;
    }

    const std::wstring gameCenterPath = check.gameCenter.path();
    const std::wstring commandLine = UninstallCommandLine(gameCenterPath, gameFolder_, quiet_);
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Starting %1 (creation flags %2)",
              {commandLine, Log::hex32(creationFlags)});
    const System::Win32::ProcessStart started =
        services_.startProcess(gameCenterPath, commandLine, creationFlags, GameCenterFolder(gameCenterPath));
    // Once it runs the game center may change its own files: let them go before the long wait.
    check.gameCenter = {};
    if (!started.process) {
        Log::line(Log::kWarningLevel, LOG_LOCATION(), L"The start failed: error %1", {std::to_wstring(started.error)});
        if (!quiet_)
            services_.showNotification(Ui::kUninstallNotification);
        return kResultLaunchFailed;
    }

    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Started, process %1; waiting for the uninstall to end",
              {std::to_wstring(GetProcessId(started.process.get()))});
    FlushRunLog();  // the wait has no end of its own
    const UninstallWait waited = services_.waitForUninstall(started.process.get(), uninstallEvent.handle.get());
    Log::line(Log::kInfoLevel, LOG_LOCATION(), L"Wait result %1 (error %2)",
              {std::to_wstring(waited.waitResult), std::to_wstring(waited.lastError)});
    return UninstallWaitResult(waited.waitResult, waited.lastError);
}

}  // namespace ZGC
