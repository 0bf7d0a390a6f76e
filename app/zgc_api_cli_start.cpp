#include "app/zgc_api_cli.h"

#include "app/client_windows.h"
#include "errors/err.h"
#include "errors/win32_error_codes.h"

namespace ZGC {

ResultCode ZGCApiCli::StartGameCenter(std::int32_t notificationCode, const std::wstring& argumentText)
{
    DWORD startError = 0;
    if (services_.launchProcess(argumentText, startError))
        return kResultSuccess;

    if (startError == kErrorElevationRequired) {
        try {
            // The shell start passes only the arguments; it runs in this process's current directory.
            System::Win32::UniqueHandle process;
            services_.shellExecuteRunAs(L"runas", gameCenterPath_.c_str(), argumentText.c_str(), nullptr, SW_SHOWNORMAL,
                                        process);
            return kResultSuccess;
        } catch (const Err::CodeBasedError<Err::SystemError_t>& error) {
            startError = static_cast<DWORD>(error.code());
        }
    }

    // A declined elevation prompt was the user's own answer: nothing to explain.
    if (startError != ERROR_CANCELLED && !quiet_) {
        services_.showStartFailure(StartFailureMessage(gameCenterPath_, startError));
        services_.showNotification(notificationCode);
    }
    return FailureFromWin32(static_cast<std::int32_t>(startError));
}

}  // namespace ZGC
