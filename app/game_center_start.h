// The two ways the client starts the game center: a plain process start in the game center's folder,
// and the elevated start through the shell for a game center that refuses to run unelevated.
#pragma once

#include <windows.h>

#include <string>

#include "discovery/planting_guard.h"
#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

// Looks the game center up afresh and starts it with "<path>" <argumentText> in its own folder.
// False with startError set when there is no game center (ERROR_PATH_NOT_FOUND) or the start fails.
// With a guard the lookup finds only what it trusts (see Discovery::LocateGameCenter).
bool LaunchGameCenterProcess(const std::wstring& argumentText, DWORD& startError,
                             Discovery::PlantingGuard* guard = nullptr);

// ShellExecuteExW with COM initialised for the call, no UI of its own and without waiting for the
// shell to return asynchronously. On failure raises the system error (Err::CodeBasedError<Err::SystemError_t>
// or a specific kind) that carries the Win32 code; on success `process` holds the started process, if any.
void ShellExecuteRunAs(const wchar_t* verb, const wchar_t* file, const wchar_t* parameters, const wchar_t* directory,
                       int showCommand, System::Win32::UniqueHandle& process);

}  // namespace ZGC
