#include "app/client_services.h"

#include "app/client_windows.h"
#include "app/game_center_start.h"
#include "app/job_breakaway.h"
#include "discovery/game_center_version.h"
#include "discovery/locate_game_center.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ClientServices SystemClientServices()
{
    ClientServices services;
    services.locateGameCenter = &Discovery::LocateGameCenter;
    services.discoverGameCenter = &Discovery::DiscoverGameCenter;
    services.launchProcess = &LaunchGameCenterProcess;
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
