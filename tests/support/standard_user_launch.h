// A standard user's run under a system where every process is an administrator: this process's token
// with the Administrators group made deny-only, so CheckTokenMembership says no and the program under
// test takes the path it would take for a standard user.
#pragma once

#include <windows.h>

#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace TestSupport {

// A primary token of this process's user without administrator rights; invalid when it cannot be made.
System::Win32::UniqueHandle StandardUserToken();

// CreateProcessAsUserW with StandardUserToken(): `commandLine` as for CreateProcessW, `flags` its creation
// flags. False with the last error when the process could not be started.
bool StartAsStandardUser(std::wstring commandLine, DWORD flags, PROCESS_INFORMATION& started);

// The calling thread acts as a standard user for a scope (impersonating StandardUserToken()), so code
// run on it in this process sees no administrator rights; the thread's own token comes back after.
class StandardUserThread {
public:
    StandardUserThread();
    ~StandardUserThread();
    StandardUserThread(const StandardUserThread&) = delete;
    StandardUserThread& operator=(const StandardUserThread&) = delete;

    bool Applied() const { return m_applied; }

private:
    bool m_applied = false;
};

}  // namespace TestSupport
