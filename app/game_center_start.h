// The two ways the client starts the game center: a plain process start in the game center's folder,
// and the elevated start through the shell for a game center that refuses to run unelevated.
#pragma once

#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

// Starts the game center the operation's lookup holds with "<path>" <argumentText> in its own folder.
// False with startError set when there is no path (ERROR_PATH_NOT_FOUND) or the start fails.
bool LaunchGameCenterProcess(const std::wstring& gameCenterPath, const std::wstring& argumentText, DWORD& startError);

// ShellExecuteExW with COM initialised for the call, no UI of its own and without waiting for the
// shell to return asynchronously. On failure raises the system error (Err::CodeBasedError<Err::SystemError_t>
// or a specific kind) that carries the Win32 code; on success `process` holds the started process, if any.
void ShellExecuteRunAs(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* directory,
                       int showCommand, System::Win32::UniqueHandle& process);

}  // namespace ZGC
