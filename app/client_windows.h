// The windows the launcher client itself shows when the game center is outdated or cannot be started.
#pragma once

#include <windows.h>

#include <string>

namespace ZGC {

// The outdated notification, whatever the operation was.
void ShowOutdatedNotification();

// System text for a Win32 error in the system's default language, trimmed; empty when there is none.
std::wstring SystemMessageText(DWORD error);

// "Failed to start <path>\r\n<system text>"
std::wstring StartFailureMessage(const std::wstring& gameCenterPath, DWORD startError);

// Error message box with no owner and the system's default caption.
void ShowStartFailureMessage(const std::wstring& message);

}  // namespace ZGC
