#include "app/uninstall_wait.h"

namespace ZGC {

UninstallWait WaitForUninstall(HANDLE process, HANDLE uninstallEvent)
{
    const HANDLE waitFor[] = {process, uninstallEvent};
    UninstallWait waited;
    waited.waitResult = ::WaitForMultipleObjects(uninstallEvent ? 2 : 1, waitFor, FALSE, INFINITE);
    waited.lastError = ::GetLastError();
    return waited;
}

ResultCode UninstallWaitResult(DWORD waitResult, DWORD lastError)
{
    if (waitResult == WAIT_OBJECT_0)
        return kResultUninstallProcessEnded;
    if (waitResult == WAIT_FAILED)
        return FailureFromWin32(static_cast<std::int32_t>(lastError));
    return kResultSuccess;
}

}  // namespace ZGC
