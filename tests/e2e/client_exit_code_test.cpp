// Whatever goes wrong, the client ends with exit code 0 and, in quiet mode, starts and shows nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <optional>

#include "stand_in_game_center.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using E2e::StartLog;

const wchar_t* const kQuietOperations[] = {
    L"--quiet",
    L"--quiet --update",
    L"--quiet --verify-integrity",
    L"--quiet --uninstall",
    L"--quiet --cct beta",
    L"--quiet --install pkg",
};

TEST(ClientExitCode, QuietClientWithoutUsableGameCenterEndsWithZeroAndStartsNothing)
{
    for (const wchar_t* operation : kQuietOperations) {
        SCOPED_TRACE(TestSupport::WideToUtf8(operation));
        {
            const TestSupport::ScopedNoGameCenter missing;
            const StartLog log;
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(log.nothingStarted(300));
        }
        for (const wchar_t* variant : {L"26.0.2.1045", L"noversion", L"not_a_program"}) {
            const StandInGameCenter outdated(variant);
            EXPECT_EQ(TestSupport::RunClient(operation), 0u);
            EXPECT_TRUE(outdated.nothingStarted(300));
        }
    }
}

TEST(ClientExitCode, NotificationWithoutEntryShowsNothingAndStartsNothing)
{
    for (const wchar_t* arguments : {L"--propose-zgc-install 104 --update", L"--propose-zgc-install none",
                                     L"--propose-zgc-install -110", L"--propose-zgc-install 0x6E"}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        const StandInGameCenter gameCenter;
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
        EXPECT_TRUE(gameCenter.nothingStarted(300));
    }
}

TEST(ClientExitCode, UnresolvableProgramDataEndsWithZeroShowingAndStartingNothing)
{
    const StandInGameCenter gameCenter;  // installed, but the client cannot find where to look
    const E2e::ScopedUnresolvableProgramData broken;
    for (const wchar_t* arguments : {L"--update", L"--uninstall", L"--quiet --verify-integrity", L""}) {
        SCOPED_TRACE(TestSupport::WideToUtf8(arguments));
        EXPECT_EQ(TestSupport::RunClient(arguments, 10000), 0u);
    }
    EXPECT_TRUE(gameCenter.nothingStarted(300));
}

// Where a client that wrote anything would leave it: the game center's data folder, the client's own
// folder (also the game's), and the keys of the game center's and its maker's settings.
std::wstring MachineSnapshot(const std::wstring& clientFolder)
{
    const std::wstring pathFile = TestSupport::PathFilePath();
    std::wstring all = TestSupport::FolderSnapshot(pathFile.substr(0, pathFile.rfind(L"\\GameCenter\\"))) +
                       TestSupport::FolderSnapshot(clientFolder);
    const std::pair<HKEY, REGSAM> views[] = {
        {HKEY_CURRENT_USER, 0}, {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY}, {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}};
    for (const auto& [hive, view] : views)
        all += TestSupport::RegistrySnapshot(hive, TestSupport::kUninstallKeyPath, view) +
               TestSupport::RegistrySnapshot(hive, L"Software\\Tarvo", view);
    return all;
}

TEST(ClientExitCode, NoOperationWritesAnything)
{
    // The data folder is there but holds no path file: looking for it must not create it.
    const TestSupport::ScopedNoGameCenter clean;
    TestSupport::CreatePathFileFolders();
    const std::wstring folder = TestSupport::UniqueScratchPath(L"writes-nothing", L"d");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring copy = folder + L"\\tgc_client.exe";
    ASSERT_TRUE(CopyFileW(TestSupport::ClientExePath().c_str(), copy.c_str(), FALSE));
    for (const bool installed : {false, true}) {
        std::optional<TestSupport::ScopedUninstallEntry> entry;
        if (installed)
            entry.emplace(HKEY_CURRENT_USER, TestSupport::FixtureGameCenterPath(E2e::kCurrentVersion));
        const StartLog log;
        for (const wchar_t* operation : kQuietOperations) {
            SCOPED_TRACE(TestSupport::WideToUtf8(operation) + (installed ? " installed" : " not installed"));
            const std::wstring before = MachineSnapshot(folder);
            EXPECT_EQ(TestSupport::RunClient(operation, 20000, copy), 0u);
            EXPECT_EQ(TestSupport::WideToUtf8(MachineSnapshot(folder)), TestSupport::WideToUtf8(before));
        }
        if (installed) {  // every operation did reach the game center
            EXPECT_EQ(TestSupport::WaitForGameCenterRecords(log.path(), std::size(kQuietOperations)).size(),
                      std::size(kQuietOperations));
        }
    }
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
