// Reading the client's command line: the tokens, the game folder, quiet mode, the log file, and the one
// operation to run.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/zgc_api_cli_interface.h"

namespace ZGC {

// Splits a command line by the Windows rules; the first token is the program's own path as written.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// The token after the first "--target-game-folder", verbatim; nothing when absent or when it is the last token.
std::optional<std::wstring> GameFolderArgument(const std::vector<std::wstring>& arguments);

// The token after the first "--log", verbatim: the file the run appends its log to. Nothing when absent or
// when it is the last token. Like "--target-game-folder" it is no operation, and its value is scanned.
std::optional<std::wstring> LogFileArgument(const std::vector<std::wstring>& arguments);

// True when any token is exactly "--quiet".
bool HasQuietSwitch(const std::vector<std::wstring>& arguments);

// Signed decimal value of a token: leading white space skipped, optional sign, digits up to the first
// non-digit; no digits gives 0; values beyond 32 bits stop at the nearest limit.
std::int32_t ParseNotificationCode(const std::wstring& token);

// Acts on the first switch found scanning the tokens in order (only that one), or calls Open when none
// applies. "--propose-zgc-install <code>" shows a notification instead of running an operation (0).
// Returns the operation's result code, which nothing but the log reads.
ResultCode DispatchCommand(const std::vector<std::wstring>& arguments, IZGCApiCli& client,
                           const std::function<void(std::int32_t)>& showNotification);

}  // namespace ZGC
