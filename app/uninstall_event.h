// The named event of an uninstall: it refuses a second uninstall of the same game folder while the
// first one runs, and the game center sets it to end the client's wait.
#pragma once

#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace ZGC {

struct UninstallEvent {
    System::Win32::UniqueHandle handle;  // empty when it could not be created
    DWORD error = 0;                     // GetLastError right after the creation: ERROR_ALREADY_EXISTS when taken
};

// A manual-reset event of that name, initially not set.
UninstallEvent CreateUninstallEvent(const std::wstring& name);

}  // namespace ZGC
