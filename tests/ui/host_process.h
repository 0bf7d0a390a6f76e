// The notification host, started inside a job so that nothing it starts outlives the test.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "libraries/system/win32/unique_resource.h"

namespace UiTest {

// Whose rights the host runs with. Every process here is an administrator; a client that links open
// as it does for a player must run as a standard user.
enum class HostRights { StandardUser, Administrator };

class HostProcess {
public:
    // Starts bin\notification_host.exe with `arguments`; everything in its job dies with this object.
    explicit HostProcess(const std::wstring& arguments, HostRights rights = HostRights::StandardUser);
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    bool Started() const { return m_process.valid(); }
    DWORD ProcessId() const { return m_processId; }
    DWORD ThreadId() const { return m_threadId; }

    bool WaitForExit(DWORD timeoutMs);
    bool Running();
    // Waits until the host and every process it started (the address recorder) have ended.
    bool WaitUntilJobIsEmpty(DWORD timeoutMs);
    // How many processes ever ran in the job: the host, and whatever it had the shell start.
    unsigned long ProcessesEverStarted();
    // The result=, quit= and owner= lines the host wrote on its way out.
    std::map<std::string, std::string> Outcome() const;

private:
    System::Win32::UniqueHandle m_job;
    System::Win32::UniqueHandle m_process;
    DWORD m_processId = 0;
    DWORD m_threadId = 0;
    std::wstring m_outcomePath;
};

}  // namespace UiTest
