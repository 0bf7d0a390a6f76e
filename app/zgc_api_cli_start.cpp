#include "app/zgc_api_cli.h"

#include "app/client_windows.h"
#include "app/game_center_command_line.h"
#include "errors/err.h"
#include "errors/win32_error_codes.h"

namespace ZGC {

ResultCode ZGCApiCli::StartGameCenter(std::int32_t notificationCode, const std::wstring& gameCenterPath,
                                      const std::wstring& argumentText)
{
    DWORD startError = 0;
    if (services_.launchProcess(gameCenterPath, argumentText, startError))
        return kResultSuccess;

    if (startError == kErrorElevationRequired) {
        try {
            // The shell start passes only the arguments. It runs in the game center's folder too: our current
            // directory (often the game's, which users may write) would stay in its DLL search.
            const std::wstring folder = GameCenterFolder(gameCenterPath);
            System::Win32::UniqueHandle process;
            services_.shellExecuteRunAs(L"runas", gameCenterPath.c_str(), argumentText.c_str(), folder.c_str(),
                                        SW_SHOWNORMAL, process);
            return kResultSuccess;
        } catch (const Err::CodeBasedError<Err::SystemError_t>& error) {
            startError = static_cast<DWORD>(error.code());
        }
    }

    // A declined elevation prompt was the user's own answer: nothing to explain.
    if (startError != ERROR_CANCELLED && !quiet_) {
        services_.showStartFailure(StartFailureMessage(gameCenterPath, startError));
        services_.showNotification(notificationCode);
    }
    return FailureFromWin32(static_cast<std::int32_t>(startError));
}

}  // namespace ZGC
