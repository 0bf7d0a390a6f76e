#include "app/client_services.h"

#include <memory>

#include "app/client_windows.h"
#include "app/game_center_start.h"
#include "app/job_breakaway.h"
#include "discovery/game_center_version.h"
#include "discovery/locate_game_center.h"
#include "libraries/system/win32/token_rights.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

bool RunsWithAdministratorRights()
{
    static const bool answer = System::Win32::TokenHasAdministratorRights();
    return answer;
}

ClientServices SystemClientServices()
{
    return SystemClientServices(RunsWithAdministratorRights());
}

ClientServices SystemClientServices(bool administratorRights)
{
    // One guard for every lookup of the process, so each file's permissions are read once.
    const std::shared_ptr<Discovery::PlantingGuard> guard =
        administratorRights ? std::make_shared<Discovery::PlantingGuard>() : nullptr;
    ClientServices services;
    services.locateGameCenter = [guard] { return Discovery::LocateGameCenter(guard.get()); };
    services.discoverGameCenter = [guard] { return Discovery::DiscoverGameCenter(guard.get()); };
    services.launchProcess = [guard](const std::wstring& argumentText, DWORD& startError) {
        return LaunchGameCenterProcess(argumentText, startError, guard.get());
    };
    services.shellExecuteRunAs = &ShellExecuteRunAs;
    services.jobLimitFlags = &QueryJobLimitFlags;
    services.createUninstallEvent = &CreateUninstallEvent;
    services.startProcess = &System::Win32::StartProcess;
    services.waitForUninstall = &WaitForUninstall;
    services.showNotification = [](std::int32_t code) { Ui::ShowNotification(code); };
    services.showOutdatedNotification = &ShowOutdatedNotification;
    services.showStartFailure = &ShowStartFailureMessage;
    return services;
}

}  // namespace ZGC
