// Keeps DLLs that other programs can put in the game folder or the current directory out of this
// process, on every Windows the client supports.
#pragma once

#include <windows.h>

#include "libraries/system/win32/unique_resource.h"

namespace System::Win32 {

// Where the system can (Windows 8 and later, 7 with KB2533623), every later load searches only the
// system folder. Elsewhere the current directory leaves the search but the program's own folder stays
// in it: the DLLs that system libraries load by name later are loaded from the system folder first,
// and the DLLs the client loads itself come through LoadSystemLibrary.
void RestrictDllSearch();

// `fileName` (for example L"version.dll") from the system folder, never found by a search. Invalid
// on failure, with the last error set.
UniqueLibrary LoadSystemLibrary(const wchar_t* fileName);

}  // namespace System::Win32
