// Makes this program's own calls meet the loader of Windows 7 SP1 without KB2533623, for a scope:
// GetProcAddress finds no SetDefaultDllDirectories, and LoadLibraryExW refuses the LOAD_LIBRARY_SEARCH_*
// flags with ERROR_INVALID_PARAMETER. Wine has both, so this is how a test reaches the path without them.
#pragma once

#include "support/import_patch.h"

namespace TestSupport {

class ScopedWindows7Loader {
public:
    ScopedWindows7Loader();
    bool Applied() const { return m_getProcAddress.Applied() && m_loadLibraryEx.Applied(); }

private:
    ScopedImportPatch m_getProcAddress;
    ScopedImportPatch m_loadLibraryEx;
};

}  // namespace TestSupport
