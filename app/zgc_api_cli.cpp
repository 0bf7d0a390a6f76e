#include "app/zgc_api_cli.h"

#include <utility>

#include "app/folder_key.h"
#include "app/game_center_command_line.h"
#include "ui/notification_catalogue.h"

namespace ZGC {

ZGCApiCli::ZGCApiCli(const std::wstring& gameFolder, bool quiet) : ZGCApiCli(gameFolder, quiet, SystemClientServices())
{
}

ZGCApiCli::ZGCApiCli(const std::wstring& gameFolder, bool quiet, ClientServices services)
    : services_(std::move(services)),
      gameCenterPath_(services_.locateGameCenter()),
      gameFolder_(gameFolder),
      folderKey_(ComputeFolderKey(gameFolder_)),
      quiet_(quiet)
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

ResultCode ZGCApiCli::CheckGameCenter(std::int32_t notificationCode)
{
    const ResultCode result = services_.discoverGameCenter();
    if (quiet_)
        return result;
    if (result == kResultOutdated)
        services_.showOutdatedNotification();
    else if (IsFailure(result))
        services_.showNotification(notificationCode);
    return result;
}

ResultCode ZGCApiCli::RunGameCenter(std::int32_t notificationCode, const std::wstring& operationArguments)
{
    const std::wstring argumentText = GameCenterArgumentText(gameFolder_, operationArguments);
    const ResultCode check = CheckGameCenter(notificationCode);
    if (IsFailure(check))
        return check;
    const ResultCode started = StartGameCenter(notificationCode, argumentText);
    return IsFailure(started) ? started : kResultSuccess;
}

}  // namespace ZGC
