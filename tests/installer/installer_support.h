// What the installer tests share: the example installers, starting one the way a deployment tool does
// while watching the display (a silent installer, and the client it starts, must show nothing at all),
// the game folder's files and uninstall event, what the game center receives, and the uninstaller's
// wait for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "stand_in_game_center.h"
#include "support/process_runner.h"

namespace InstallerTests {

// Long enough for an uninstaller that does not wait to have ended; the bound on any installer run.
inline constexpr DWORD kHoldMs = 1500;
inline constexpr DWORD kEndMs = 30000;

// <build>\...\examples\<name>: the example installers built on this machine.
std::wstring ExamplePath(const std::wstring& name);

// The client the examples ship, as built.
std::wstring BuiltClientPath();

// Milliseconds since the test program started, for timelines in the output.
ULONGLONG Now();

// How to start an installer or uninstaller. The command line is handed to CreateProcessW exactly as
// written: NSIS wants /D= and _?= last and unquoted even when the folder has blanks, which no quoting
// helper writes.
struct Command {
    std::wstring application, commandLine;
};

class InstallerRun {
public:
    explicit InstallerRun(const Command& command);

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
Command Msiexec(const std::wstring& arguments);

// `text` between quote marks, as the kits write a folder: backslashes before the closing quote doubled,
// so that the Windows argument rules read back exactly `text`.
std::wstring Quoted(const std::wstring& text);

// The command lines the stand-in records when a kit installs or uninstalls the game in `folder` (quiet).
std::wstring InstallReceived(const E2e::StandInGameCenter& gameCenter, const std::wstring& folder,
                             const std::wstring& argument = L"example-game");
std::wstring UninstallReceived(const E2e::StandInGameCenter& gameCenter, const std::wstring& folder);

// The game center's answer to an uninstall: set the uninstall event (and stay), or end without it.
enum class GameCenterAnswer { SetsTheEvent, EndsWithoutTheEvent };

// Runs `uninstaller` for the game in `gameFolder` and checks that it waits for the game center: still
// running, `gameFile` still there, until the game center answers; then it ends, without a window, and
// the file is gone. Prints the timeline; returns the game center's uninstall record.
TestSupport::GameCenterRecord ExpectUninstallerWaitsForTheGameCenter(const E2e::StandInGameCenter& gameCenter,
                                                                     GameCenterAnswer answer,
                                                                     const Command& uninstaller,
                                                                     const std::wstring& gameFolder,
                                                                     const std::wstring& gameFile);

// The name of the uninstall event for `gameFolder`.
std::wstring UninstallEventOf(const std::wstring& gameFolder);

// Sets the uninstall event that the client waiting for `gameFolder` created; false when there is none.
bool SetUninstallEvent(const std::wstring& gameFolder);

bool FileExists(const std::wstring& path);

// Removes a folder with everything in it, if it exists.
void RemoveFolderTree(const std::wstring& folder);

// A game folder for one test: whatever the installers leave behind (a running uninstaller cannot
// delete itself, a failing test may stop half-way) is removed at the end, with the folders made above
// it (or, for a drive root, what was made in it) and the game's uninstall entry (HKLM, 32-bit view).
class GameFolder {
public:
    GameFolder(std::wstring folder, std::wstring uninstallKey);
    ~GameFolder();
    GameFolder(const GameFolder&) = delete;
    GameFolder& operator=(const GameFolder&) = delete;

    const std::wstring& path() const { return folder_; }
    std::wstring file(const wchar_t* name) const;

private:
    std::wstring folder_, uninstallKey_, made_;
};

}  // namespace InstallerTests
