// What the installer tests share: the example installers, starting one the way a deployment tool does
// while watching the display (a silent installer, and the client it starts, must show nothing at all),
// and the game folder's files and uninstall event.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/process_runner.h"

namespace InstallerTests {

// <build>\...\examples\<name>: the example installers built on this machine.
std::wstring ExamplePath(const std::wstring& name);

// The client the examples ship, as built.
std::wstring BuiltClientPath();

// Milliseconds since the test program started, for timelines in the output.
ULONGLONG Now();

class InstallerRun {
public:
    // The command line is handed to CreateProcessW exactly as written: NSIS wants /D= and _?= last and
    // unquoted even when the folder has blanks, which no quoting helper writes.
    InstallerRun(const std::wstring& application, const std::wstring& commandLine);

    // Watches for `ms`; true when the installer still runs afterwards.
    bool stillRunningAfter(DWORD ms);
    // Watches until the installer ends; false when it had not ended within `timeoutMs`.
    bool finish(DWORD timeoutMs = 60000);

    DWORD exitCode() const { return process_.exitCode(); }
    ULONGLONG endedAt() const { return endedAt_; }
    // "class title" of every visible top-level window seen while watching (each is closed at once, so
    // that a failing test still ends).
    const std::vector<std::wstring>& windowsSeen() const { return windowsSeen_; }

private:
    bool watchUntil(ULONGLONG deadline);

    TestSupport::ChildProcess process_;
    ULONGLONG endedAt_ = 0;
    std::vector<std::wstring> windowsSeen_;
};

// The system's msiexec.exe with these arguments.
InstallerRun RunMsiexec(const std::wstring& arguments);

// The name of the uninstall event for `gameFolder`.
std::wstring UninstallEventOf(const std::wstring& gameFolder);

// Sets the uninstall event that the client waiting for `gameFolder` created; false when there is none.
bool SetUninstallEvent(const std::wstring& gameFolder);

bool FileExists(const std::wstring& path);

// Removes a folder with everything in it, if it exists.
void RemoveFolderTree(const std::wstring& folder);

// The outermost of `folder` and the folders above it that does not exist yet: removing it takes away
// everything made on the way to `folder`.
std::wstring OutermostMissingFolder(const std::wstring& folder);

}  // namespace InstallerTests
