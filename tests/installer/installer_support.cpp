#include "installer_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "app/folder_key.h"
#include "libraries/system/win32/unique_resource.h"

#include "support/file_and_argv.h"
#include "support/test_paths.h"
#include "support/ui_windows.h"

namespace InstallerTests {

namespace {

constexpr DWORD kPollMs = 20;

std::wstring WinePath(const char* hostPath)
{
    std::wstring path = L"Z:" + TestSupport::Utf8ToWide(hostPath);
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

const ULONGLONG kStart = GetTickCount64();

std::vector<TestSupport::GameCenterRecord> UninstallRecords(const E2e::StandInGameCenter& gameCenter)
{
    std::vector<TestSupport::GameCenterRecord> found;
    for (const auto& record : gameCenter.records()) {
        const auto argv = TestSupport::ArgvOf(record.commandLine);
        if (argv.size() > 1 && argv[1] == L"--uninstall")
            found.push_back(record);
    }
    return found;
}

}  // namespace

std::wstring ExamplePath(const std::wstring& name)
{
    return WinePath(TGC_INSTALLER_EXAMPLES) + L"\\" + name;
}

std::wstring BuiltClientPath()
{
    return WinePath(TGC_CLIENT_EXE);
}

ULONGLONG Now()
{
    return GetTickCount64() - kStart;
}

namespace {

// Every process here has administrator rights and every file is the test account's, which such a run does
// not trust: the installers go as a standard user, whose runs of the client may start the stand-in.
TestSupport::ChildOptions AsStandardUser()
{
    TestSupport::ChildOptions options;
    options.standardUser = true;
    return options;
}

}  // namespace

InstallerRun::InstallerRun(const Command& command)
    : process_(command.application, command.commandLine, AsStandardUser())
{
}

bool InstallerRun::stillRunningAfter(DWORD ms)
{
    return !watchUntil(GetTickCount64() + ms);
}

bool InstallerRun::finish(DWORD timeoutMs)
{
    return watchUntil(GetTickCount64() + timeoutMs);
}

bool InstallerRun::watchUntil(ULONGLONG deadline)
{
    for (;;) {
        for (const auto& window : TestSupport::VisibleTopLevelWindows(0)) {
            // Nobody sees a window without area: Inno Setup keeps one while it waits for a program.
            if (IsRectEmpty(&window.rect))
                continue;
            windowsSeen_.push_back(window.className + L" " + window.title);
            PostMessageW(window.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        if (process_.waitForExit(kPollMs)) {
            if (endedAt_ == 0)
                endedAt_ = Now();
            return true;
        }
        if (GetTickCount64() >= deadline)
            return false;
    }
}

Command Msiexec(const std::wstring& arguments)
{
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring msiexec = std::wstring(system) + L"\\msiexec.exe";
    return {msiexec, L"\"" + msiexec + L"\" " + arguments};
}

std::wstring Quoted(const std::wstring& text)
{
    const size_t kept = text.find_last_not_of(L'\\') + 1;  // 0 when there is none: npos + 1
    return L"\"" + text + std::wstring(text.size() - kept, L'\\') + L"\"";
}

std::wstring InstallReceived(const E2e::StandInGameCenter& gameCenter, const std::wstring& folder,
                             const std::wstring& argument)
{
    return Quoted(gameCenter.executable()) + L" --target-game-folder " + Quoted(folder) + L" --install -g " + argument +
           L" -d " + Quoted(folder);
}

std::wstring UninstallReceived(const E2e::StandInGameCenter& gameCenter, const std::wstring& folder)
{
    return Quoted(gameCenter.executable()) + L" --uninstall -d " + Quoted(folder) + L" --pa --target-game-folder " +
           Quoted(folder);
}

TestSupport::GameCenterRecord ExpectUninstallerWaitsForTheGameCenter(const E2e::StandInGameCenter& gameCenter,
                                                                     GameCenterAnswer answer,
                                                                     const Command& uninstaller,
                                                                     const std::wstring& gameFolder,
                                                                     const std::wstring& gameFile)
{
    const bool setsEvent = answer == GameCenterAnswer::SetsTheEvent;
    SCOPED_TRACE(setsEvent ? "the game center sets the event late, and stays"
                           : "the game center ends without the event");
    constexpr wchar_t kEndsAfterMs[] = L"2500";
    const TestSupport::ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", setsEvent ? L"30000" : kEndsAfterMs);
    // Records of other operations may still come in late: nothing waits for those game centers.
    const std::size_t before = UninstallRecords(gameCenter).size();
    InstallerRun run(uninstaller);
    std::vector<TestSupport::GameCenterRecord> records;
    for (const ULONGLONG deadline = GetTickCount64() + kEndMs;
         (records = UninstallRecords(gameCenter)).size() == before && GetTickCount64() < deadline;)
        Sleep(kPollMs);
    if (records.size() == before) {
        ADD_FAILURE() << "the uninstaller did not start the game center";
        return {};
    }
    const TestSupport::GameCenterRecord record = records.back();
    const ULONGLONG started = Now();
    EXPECT_TRUE(run.stillRunningAfter(kHoldMs)) << "the uninstaller did not wait";
    EXPECT_TRUE(FileExists(gameFile)) << "removed before the game center was done";
    const ULONGLONG answered = Now();
    if (setsEvent) {
        EXPECT_TRUE(SetUninstallEvent(gameFolder));
    }
    EXPECT_TRUE(run.finish(kEndMs)) << "the uninstaller did not end after the game center's answer";
    EXPECT_EQ(TestSupport::ProcessIsRunning(record.processId), setsEvent)
        << (setsEvent ? "the event alone must end the wait" : "the uninstaller ended before the game center");
    TestSupport::TerminateProcessById(record.processId);
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_EQ(run.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_FALSE(FileExists(gameFile));
    if (setsEvent)
        std::printf(
            "game center started at %llu ms; uninstaller still waiting, files in place, at %llu ms; event set then; "
            "uninstaller ended at %llu ms\n",
            started, answered, run.endedAt());
    else
        std::printf(
            "game center started at %llu ms, ends %ls ms after its start; uninstaller still waiting at %llu ms, "
            "ended at %llu ms\n",
            started, kEndsAfterMs, answered, run.endedAt());
    return record;
}

std::wstring UninstallEventOf(const std::wstring& gameFolder)
{
    return ZGC::UninstallEventName(ZGC::ComputeFolderKey(gameFolder));
}

bool SetUninstallEvent(const std::wstring& gameFolder)
{
    const System::Win32::UniqueHandle event(
        OpenEventW(EVENT_MODIFY_STATE, FALSE, UninstallEventOf(gameFolder).c_str()));
    return event && SetEvent(event.get());
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveFolderTree(const std::wstring& folder)
{
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

namespace {

// The outermost of `folder` and the folders above it that does not exist yet: removing it takes away
// everything made on the way to `folder`.
std::wstring OutermostMissingFolder(const std::wstring& folder)
{
    std::filesystem::path missing(folder);
    for (std::filesystem::path above = missing.parent_path(); above != missing && !FileExists(above.wstring());
         above = above.parent_path())
        missing = above;
    return missing.wstring();
}

}  // namespace

GameFolder::GameFolder(std::wstring folder, std::wstring uninstallKey)
    : folder_(std::move(folder)), uninstallKey_(std::move(uninstallKey))
{
    RemoveFolderTree(folder_);
    made_ = OutermostMissingFolder(folder_);
}

GameFolder::~GameFolder()
{
    RemoveFolderTree(made_);
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, uninstallKey_.c_str(), KEY_WOW64_32KEY, 0);
}

std::wstring GameFolder::file(const wchar_t* name) const
{
    return folder_ + (folder_.back() == L'\\' ? L"" : L"\\") + name;
}

}  // namespace InstallerTests
