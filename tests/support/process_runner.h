// Starting programs from a test and waiting for them with a time-out, so no test can hang on a child.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "libraries/system/win32/unique_resource.h"
#include "support/game_center_record.h"

namespace TestSupport {

// Sets an environment variable of the test process (inherited by its children) for a scope;
// restores the previous value, or its absence, afterwards.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const std::wstring& name, const std::wstring& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::wstring name_;
    std::optional<std::wstring> previous_;
};

// How a launcher may start a child: inside its job, with its output into an inheritable handle (a pipe
// the launcher reads), and as a standard user.
struct ChildOptions {
    HANDLE job = nullptr;     // the child runs in it from its first instruction
    HANDLE output = nullptr;  // inheritable; the child's stdout and stderr
    // The test's token with Administrators made deny-only: the child runs without administrator rights,
    // as most players' launchers do (every process here has them otherwise).
    bool standardUser = false;
};

// A started child process; terminated on destruction if it still runs.
class ChildProcess {
public:
    // Throws std::runtime_error when the process cannot be created or put into the job.
    ChildProcess(const std::wstring& application, const std::wstring& commandLine, const ChildOptions& options = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // True once the process has ended, waiting at most timeoutMs.
    bool waitForExit(DWORD timeoutMs) const;
    bool running() const { return !waitForExit(0); }
    // Exit code of an ended process.
    DWORD exitCode() const;
    DWORD processId() const { return processId_; }
    HANDLE handle() const { return process_.get(); }

private:
    System::Win32::UniqueHandle process_;
    DWORD processId_ = 0;
};

// A new job with these limits (JOB_OBJECT_LIMIT_*); empty when it cannot be made.
System::Win32::UniqueHandle NewJob(DWORD limitFlags);

// Runs the built client (build\bin\tgc_client.exe unless `executable` names another copy) as a standard
// user with `arguments` after its own quoted path; returns its exit code, or nothing when it had not ended
// within timeoutMs (it is then terminated).
std::optional<DWORD> RunClient(const std::wstring& arguments, DWORD timeoutMs = 20000,
                               const std::wstring& executable = {});

// Waits until the log holds at least `count` records or the time is up; returns what is there.
std::vector<GameCenterRecord> WaitForGameCenterRecords(const std::wstring& logPath, std::size_t count,
                                                       DWORD timeoutMs = 10000);

// True while a process with that id exists and has not ended.
bool ProcessIsRunning(DWORD processId);

// Ends a process by id if it still runs (cleanup of a stand-in game center told to linger).
void TerminateProcessById(DWORD processId);

// A fresh file name under the scratch folder (nothing is created): <scratch>\<stem>-<pid>-<counter>.<extension>
std::wstring UniqueScratchPath(const std::wstring& stem, const std::wstring& extension);

}  // namespace TestSupport
