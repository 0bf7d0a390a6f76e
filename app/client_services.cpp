#include "app/client_services.h"

#include "app/client_windows.h"
#include "app/game_center_start.h"
#include "app/job_breakaway.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ClientServices SystemClientServices()
{
    ClientServices services;
    services.launchProcess = &LaunchGameCenterProcess;
    services.shellExecuteRunAs = &ShellExecuteRunAs;
    services.jobLimitFlags = &QueryJobLimitFlags;
    services.showNotification = [](std::int32_t code) { Ui::ShowNotification(code); };
    services.showOutdatedNotification = &ShowOutdatedNotification;
    services.showStartFailure = &ShowStartFailureMessage;
    return services;
}

}  // namespace ZGC
