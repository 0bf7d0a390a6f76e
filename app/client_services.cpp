#include "app/client_services.h"

#include <memory>
#include <utility>

#include "app/client_windows.h"
#include "app/game_center_start.h"
#include "app/job_breakaway.h"
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
    const bool administratorRights = RunsWithAdministratorRights();
    return SystemClientServices(administratorRights, Discovery::TrustRuleForRun(administratorRights));
}

ClientServices SystemClientServices(bool administratorRights, Discovery::TrustRule rule)
{
    const auto shared = std::make_shared<const Discovery::TrustRule>(std::move(rule));
    ClientServices services;
    services.discoverGameCenter = [shared] { return Discovery::DiscoverGameCenter(*shared); };
    services.launchProcess = &LaunchGameCenterProcess;
    services.shellExecuteRunAs = &ShellExecuteRunAs;
    services.jobLimitFlags = &QueryJobLimitFlags;
    services.createUninstallEvent = [shared, administratorRights](const std::wstring& name) {
        return CreateUninstallEvent(name, administratorRights, shared->trusted);
    };
    services.startProcess = &System::Win32::StartProcess;
    services.waitForUninstall = &WaitForUninstall;
    services.showNotification = [](std::int32_t code) { Ui::ShowNotification(code); };
    services.showOutdatedNotification = &ShowOutdatedNotification;
    services.showStartFailure = &ShowStartFailureMessage;
    return services;
}

}  // namespace ZGC
