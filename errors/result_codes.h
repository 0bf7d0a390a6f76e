// Result codes of the client's operations, in HRESULT layout: negative means failure.
#pragma once

#include <windows.h>

#include <cstdint>

using ResultCode = std::int32_t;

inline constexpr ResultCode kResultSuccess = 0;
// Uninstall ended because the game-center process ended before it signalled.
inline constexpr ResultCode kResultUninstallProcessEnded = 1;
inline constexpr ResultCode kResultNotInstalled = static_cast<ResultCode>(0x80EE0002u);
inline constexpr ResultCode kResultOutdated = static_cast<ResultCode>(0x80EE000Cu);
inline constexpr ResultCode kResultLaunchFailed = static_cast<ResultCode>(0x80EE1001u);
// A start that failed without the system naming a reason: still a failure, never success.
inline constexpr ResultCode kResultFailedWithoutCode = E_FAIL;

// For a call known to have failed: HRESULT_FROM_WIN32 of its error, except that an error the system
// did not name (0) gives kResultFailedWithoutCode instead of success.
ResultCode FailureFromWin32(std::int32_t error);

inline bool IsFailure(ResultCode code)
{
    return code < 0;
}
