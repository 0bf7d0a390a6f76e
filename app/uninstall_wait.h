// How the wait of an uninstall on the game-center process (first) and the uninstall event (second) ends.
#pragma once

#include <windows.h>

#include "errors/result_codes.h"

namespace ZGC {

struct UninstallWait {
    DWORD waitResult = WAIT_FAILED;
    DWORD lastError = 0;  // read right after the wait: why it failed
};

// Waits without time-out until the process ends or the event (when there is one) is set.
UninstallWait WaitForUninstall(HANDLE process, HANDLE uninstallEvent);

// 1 when the process ended (it wins when both are set), 0 when the event was set; a failed wait is
// reported with its Win32 error, since nobody knows how the uninstall went.
ResultCode UninstallWaitResult(DWORD waitResult, DWORD lastError);

}  // namespace ZGC
