// The example NSIS installer, built with the kit's include, run silently under Wine against the
// stand-in game center: what the game center receives, and that the uninstaller waits for it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "installer_support.h"
#include "stand_in_game_center.h"
#include "support/file_and_argv.h"
#include "support/machine_state.h"
#include "support/process_runner.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using InstallerTests::FileExists;
using InstallerTests::GameFolder;
using InstallerTests::InstallerRun;
using InstallerTests::kEndMs;
using InstallerTests::kHoldMs;
using InstallerTests::Quoted;
using TestSupport::ScopedEnvironmentVariable;

constexpr wchar_t kGameFolder[] = L"C:\\Games\\Example Game";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Example Game";

// /D= comes last and unquoted, blanks and all.
void InstallSilently(const GameFolder& game)
{
    const std::wstring setup = InstallerTests::ExamplePath(L"example-game-setup.exe");
    InstallerRun installer({setup, Quoted(setup) + L" /S /D=" + game.path()});
    ASSERT_TRUE(installer.finish()) << "the installer did not end";
    EXPECT_EQ(installer.exitCode(), 0u);
    EXPECT_EQ(installer.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_EQ(TestSupport::ReadFileBytes(game.file(L"tgc_client.exe")),
              TestSupport::ReadFileBytes(InstallerTests::BuiltClientPath()));
}

// _?= makes the uninstaller run in place, so its own process is the one that waits (otherwise it
// starts a copy of itself from the temporary folder and ends at once).
InstallerTests::Command Uninstaller(const GameFolder& game)
{
    const std::wstring uninstaller = game.file(L"uninstall.exe");
    return {uninstaller, Quoted(uninstaller) + L" /S _?=" + game.path()};
}

std::wstring DeepFolder()
{
    std::wstring folder = L"C:\\Games\\Deep";
    while (folder.size() < 200)
        folder += L"\\a folder further down";
    return folder;
}

TEST(Installer, NsisSilentInstallAndUninstallHandTheGameCenterItsFolder)
{
    const std::wstring folders[] = {kGameFolder,
                                    L"C:\\\u0418\u0433\u0440\u044b\\\u041f\u0440\u0438\u043c\u0435\u0440 "
                                    L"\u0438\u0433\u0440\u044b \u00e9t\u00e9",
                                    DeepFolder()};
    for (const std::wstring& folder : folders) {
        SCOPED_TRACE(TestSupport::WideToUtf8(folder));
        const GameFolder game(folder, kUninstallKey);
        const StandInGameCenter gameCenter;
        const ScopedEnvironmentVariable signal(L"TGC_FIXTURE_SET_EVENT", InstallerTests::UninstallEventOf(folder));
        InstallSilently(game);
        auto records = gameCenter.waitForRecords(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].commandLine, InstallerTests::InstallReceived(gameCenter, folder));
        EXPECT_EQ(TestSupport::ArgvOf(records[0].commandLine).at(2), folder);

        InstallerRun uninstaller(Uninstaller(game));
        ASSERT_TRUE(uninstaller.finish(kEndMs)) << "the uninstaller did not end";
        EXPECT_EQ(uninstaller.windowsSeen(), std::vector<std::wstring>{});
        records = gameCenter.waitForRecords(2);
        ASSERT_EQ(records.size(), 2u);
        EXPECT_EQ(records[1].commandLine, InstallerTests::UninstallReceived(gameCenter, folder));
        EXPECT_FALSE(FileExists(game.file(L"example-game.dat")));
        EXPECT_FALSE(FileExists(game.file(L"tgc_client.exe")));
        std::printf("install recorded:   %s\nuninstall recorded: %s\n",
                    TestSupport::WideToUtf8(records[0].commandLine).c_str(),
                    TestSupport::WideToUtf8(records[1].commandLine).c_str());
    }
}

TEST(Installer, NsisSilentUninstallerWaitsUntilTheGameCenterSetsTheEventOrEnds)
{
    const GameFolder game(kGameFolder, kUninstallKey);
    const StandInGameCenter gameCenter;
    for (const auto answer :
         {InstallerTests::GameCenterAnswer::SetsTheEvent, InstallerTests::GameCenterAnswer::EndsWithoutTheEvent}) {
        InstallSilently(game);
        InstallerTests::ExpectUninstallerWaitsForTheGameCenter(gameCenter, answer, Uninstaller(game), game.path(),
                                                               game.file(L"example-game.dat"));
    }
}

TEST(Installer, NsisSecondUninstallerWhileTheFirstWaitsEndsAtOnceAndStartsNothing)
{
    const GameFolder game(kGameFolder, kUninstallKey);
    const StandInGameCenter gameCenter;
    InstallSilently(game);
    const ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"30000");
    InstallerRun first(Uninstaller(game));
    const auto records = gameCenter.waitForRecords(2);
    ASSERT_EQ(records.size(), 2u);

    InstallerRun second(Uninstaller(game));
    EXPECT_TRUE(second.finish(kEndMs)) << "the second uninstaller hangs";
    EXPECT_EQ(second.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_TRUE(first.stillRunningAfter(0)) << "the first uninstaller stopped waiting";
    EXPECT_EQ(gameCenter.waitForRecords(3, kHoldMs).size(), 2u) << "the second uninstall started the game center";

    EXPECT_TRUE(InstallerTests::SetUninstallEvent(game.path()));
    EXPECT_TRUE(first.finish(kEndMs)) << "the first uninstaller hangs";
    EXPECT_EQ(first.windowsSeen(), std::vector<std::wstring>{});
    TestSupport::TerminateProcessById(records[1].processId);
}

TEST(Installer, NsisWithoutGameCenterInstallsAndUninstallsSilentlyShowingNothing)
{
    const GameFolder game(kGameFolder, kUninstallKey);
    const TestSupport::ScopedNoGameCenter none;
    const E2e::StartLog log;
    InstallSilently(game);
    InstallerRun uninstaller(Uninstaller(game));
    EXPECT_TRUE(uninstaller.finish(kEndMs)) << "the uninstaller did not end";
    EXPECT_EQ(uninstaller.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_FALSE(FileExists(game.file(L"example-game.dat")));
    EXPECT_TRUE(log.nothingStarted(0));
}

struct QuietModeCase {
    const wchar_t* installer;
    bool quiet;  // under /S
};

// Each installer calls open, update, verify, change client type, install and uninstall, in this order,
// for its folder written with a trailing backslash.
TEST(Installer, NsisEveryMacroHandsTheGameCenterItsOperationInEachQuietMode)
{
    const QuietModeCase cases[] = {
        {L"every-macro-quiet.exe", true},
        {L"every-macro-when-silent.exe", true},
        {L"every-macro-shown.exe", false},
    };
    const std::wstring folder = std::wstring(kGameFolder) + L"\\";
    const std::wstring written = Quoted(folder);  // "C:\...\Example Game\\": the closing quote must not be escaped
    for (const QuietModeCase& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.installer));
        const GameFolder game(kGameFolder, kUninstallKey);
        const std::wstring setup = InstallerTests::ExamplePath(c.installer);
        {
            const StandInGameCenter gameCenter;
            const ScopedEnvironmentVariable signal(L"TGC_FIXTURE_SET_EVENT", InstallerTests::UninstallEventOf(folder));
            InstallerRun installer({setup, Quoted(setup) + L" /S /D=" + game.path()});
            ASSERT_TRUE(installer.finish()) << "the installer did not end";
            EXPECT_EQ(installer.windowsSeen(), std::vector<std::wstring>{});
            const std::wstring around = L"--target-game-folder " + written;
            const std::wstring received[] = {
                around + L" --open -d " + written,
                around + L" --update -d " + written,
                around + L" --verify-integrity -d " + written,
                around + L" -ct -t beta -d " + written,
                around + L" --install -g pkg-7 -d " + written,
                L"--uninstall -d " + written + (c.quiet ? L" --pa " : L"  ") + around,
            };
            const auto records = gameCenter.waitForRecords(std::size(received));
            ASSERT_EQ(records.size(), std::size(received));
            // The client waits for the game center only to uninstall, so two stand-ins started one
            // after the other may write their records in either order: compare as sets.
            std::vector<std::wstring> expected, got;
            for (const std::wstring& r : received)
                expected.push_back(Quoted(gameCenter.executable()) + L" " + r);
            for (const auto& record : records) {
                got.push_back(record.commandLine);
                const auto argv = TestSupport::ArgvOf(record.commandLine);
                EXPECT_EQ(argv.at(argv.at(1) == L"--uninstall" ? 3 : 2), folder);
            }
            std::sort(expected.begin(), expected.end());
            std::sort(got.begin(), got.end());
            EXPECT_EQ(got, expected);
        }
        {
            // Without a game center only a client that is not quiet says so (the test closes each window).
            const TestSupport::ScopedNoGameCenter none;
            InstallerRun installer({setup, Quoted(setup) + L" /S /D=" + game.path()});
            ASSERT_TRUE(installer.finish()) << "the installer did not end";
            EXPECT_EQ(installer.windowsSeen().empty(), c.quiet);
        }
    }
}

}  // namespace
