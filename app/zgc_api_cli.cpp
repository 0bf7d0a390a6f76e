#include "app/zgc_api_cli.h"

#include <utility>

#include "app/folder_key.h"
#include "app/game_center_command_line.h"
#include "app/run_log.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ZGCApiCli::ZGCApiCli(const std::wstring& gameFolder, bool quiet) : ZGCApiCli(gameFolder, quiet, SystemClientServices())
{
}

ZGCApiCli::ZGCApiCli(const std::wstring& gameFolder, bool quiet, ClientServices services)
    : services_(std::move(services)), gameFolder_(gameFolder), folderKey_(ComputeFolderKey(gameFolder_)), quiet_(quiet)
{
}

ResultCode ZGCApiCli::Open()
{
    return RunGameCenter(Ui::kGeneralNotification, kOpenArguments);
}

ResultCode ZGCApiCli::Update()
{
    return RunGameCenter(Ui::kUpdateNotification, kUpdateArguments);
}

ResultCode ZGCApiCli::VerifyIntegrity()
{
    return RunGameCenter(Ui::kGeneralNotification, kVerifyIntegrityArguments);
}

ResultCode ZGCApiCli::ChangeClientType(const wchar_t* type)
{
    return RunGameCenter(Ui::kChangeClientTypeNotification, ChangeClientTypeArguments(type));
}

ResultCode ZGCApiCli::Install(const wchar_t* argument)
{
    return RunGameCenter(Ui::kGeneralNotification, InstallArguments(argument));
}

Discovery::DiscoveredGameCenter ZGCApiCli::CheckGameCenter(std::int32_t notificationCode)
{
    Discovery::DiscoveredGameCenter discovered = services_.discoverGameCenter();
    if (quiet_)
        return discovered;
    FlushRunLog();  // a window may stay up for long, and the player may end the run from there
    if (discovered.result == kResultOutdated)
        services_.showOutdatedNotification();
    else if (IsFailure(discovered.result))
        services_.showNotification(notificationCode);
    return discovered;
}

ResultCode ZGCApiCli::RunGameCenter(std::int32_t notificationCode, const std::wstring& operationArguments)
{
    const std::wstring argumentText = GameCenterArgumentText(gameFolder_, operationArguments);
    // Held until it has started: the file checked is the file that runs.
    const Discovery::DiscoveredGameCenter check = CheckGameCenter(notificationCode);
    if (IsFailure(check.result))
        return check.result;
    const ResultCode started = StartGameCenter(notificationCode, check.gameCenter.path(), argumentText);
    return IsFailure(started) ? started : kResultSuccess;
}

}  // namespace ZGC
