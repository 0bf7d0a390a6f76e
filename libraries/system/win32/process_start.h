// Starting a program as a new process: the one CreateProcessW of the client.
#pragma once

#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace System::Win32 {

// A started process, or why it did not start.
struct ProcessStart {
    UniqueHandle process;  // empty when the start failed
    DWORD error = 0;       // GetLastError of a failed start (which may be 0); 0 after a successful one
};

// CreateProcessW of `path` with `commandLine` (the whole line, program name first), `creationFlags`,
// no inherited handles (not even standard ones), this process's environment, and `workingFolder` as
// the current directory of the new process (none when empty: it then inherits ours). The thread
// handle is closed at once.
ProcessStart StartProcess(const std::wstring& path, std::wstring commandLine, DWORD creationFlags,
                          const std::wstring& workingFolder);

}  // namespace System::Win32
