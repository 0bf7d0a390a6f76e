// Functions that Windows 7 SP1 without updates lacks are looked up here at run time, never imported:
// an import the system does not export stops the program before its first line, with a box that a
// silent installer waits on for ever.
#pragma once

#include <windows.h>

#include "libraries/system/win32/unique_resource.h"

namespace System::Win32 {

// `name` as exported by `module`, a DLL this process has already loaded (kernel32.dll always is);
// null where this Windows lacks it.
template <class Function>
Function FindSystemFunction(const wchar_t* module, const char* name)
{
    const HMODULE loaded = ::GetModuleHandleW(module);
    return loaded ? GetProc<Function>(loaded, name) : nullptr;
}

}  // namespace System::Win32
