// The example Inno Setup installer, and one that calls every operation of the kit from a drive root,
// built with the real ISCC.exe and run with /VERYSILENT under Wine against the stand-in game center.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "installer_support.h"
#include "stand_in_game_center.h"
#include "support/file_and_argv.h"
#include "support/machine_state.h"
#include "support/process_runner.h"
#include "support/test_paths.h"

namespace {

using E2e::StandInGameCenter;
using InstallerTests::FileExists;
using InstallerTests::GameCenterAnswer;
using InstallerTests::GameFolder;
using InstallerTests::InstallerRun;
using InstallerTests::Quoted;

constexpr wchar_t kUninstallKeys[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
// {commonpf} of a 32-bit setup.
constexpr wchar_t kDefaultFolder[] = L"C:\\Program Files (x86)\\Example Game";
constexpr wchar_t kSilently[] = L" /VERYSILENT /SUPPRESSMSGBOXES";
// Setups run as a standard user (every Wine process is an administrator otherwise, whose client trusts
// no stand-in) and install for that user: one asking for administrator rights would elevate itself,
// which Wine cannot do from a restricted token (it ends at once with exit code 1 and no log).
constexpr wchar_t kForThisUser[] = L" /CURRENTUSER";

// The setup's own log, which says as whom it ran each [Run] entry.
std::wstring SetupLogPath()
{
    return TestSupport::ScratchDir() + L"\\inno_setup.log";
}

void InstallSilently(const wchar_t* installer, const std::wstring& dirArgument)
{
    const std::wstring setup = InstallerTests::ExamplePath(std::wstring(L"inno\\") + installer);
    ::DeleteFileW(SetupLogPath().c_str());
    InstallerRun run({setup, Quoted(setup) + kSilently + kForThisUser + L" /LOG=" + Quoted(SetupLogPath()) + dirArgument});
    ASSERT_TRUE(run.finish(InstallerTests::kEndMs)) << "the setup did not end";
    EXPECT_EQ(run.exitCode(), 0u);
    EXPECT_EQ(run.windowsSeen(), std::vector<std::wstring>{});
}

InstallerTests::Command Uninstaller(const GameFolder& game)
{
    const std::wstring uninstaller = game.file(L"unins000.exe");
    return {uninstaller, Quoted(uninstaller) + kSilently};
}

void PrintRecorded(const std::wstring& install, const std::wstring& uninstall)
{
    std::printf("install recorded:   %s\nuninstall recorded: %s\n", TestSupport::WideToUtf8(install).c_str(),
                TestSupport::WideToUtf8(uninstall).c_str());
}

// The first lines of the setup log's [Run] entry (the one that starts the client), without their time
// stamps: "-- Run entry --", "Run as: ...", "Type: ...", "Filename: ...".
std::vector<std::string> ClientRunEntry()
{
    std::istringstream log(TestSupport::ReadFileBytes(SetupLogPath()).value_or(""));
    std::vector<std::string> entry;
    std::string line;
    while (std::getline(log, line) && entry.size() < 4) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t header = line.find("-- Run entry --");
        if (entry.empty() && header == std::string::npos)
            continue;
        // "<date> <time>   <text>"
        const std::size_t text = line.find_first_not_of(' ', line.find(' ', line.find(' ') + 1));
        entry.push_back(text == std::string::npos ? line : line.substr(text));
    }
    return entry;
}

struct FolderCase {
    const wchar_t* dirArgument;
    const wchar_t* folder;
    GameCenterAnswer answer;
};

TEST(Installer, InnoSilentInstallAndUninstallHandTheGameCenterTheExactFolderAndWait)
{
    const FolderCase cases[] = {
        {L" /DIR=\"C:\\\u0418\u0433\u0440\u044b\\\u041f\u0440\u0438\u043c\u0435\u0440 \u0438\u0433\u0440\u044b "
         L"\u00e9t\u00e9\"",
         L"C:\\\u0418\u0433\u0440\u044b\\\u041f\u0440\u0438\u043c\u0435\u0440 \u0438\u0433\u0440\u044b \u00e9t\u00e9",
         GameCenterAnswer::SetsTheEvent},
        {L"", kDefaultFolder, GameCenterAnswer::EndsWithoutTheEvent},
    };
    for (const FolderCase& c : cases) {
        SCOPED_TRACE(TestSupport::WideToUtf8(c.folder));
        const GameFolder game(c.folder, std::wstring(kUninstallKeys) + L"ExampleGame_is1");
        const StandInGameCenter gameCenter;
        InstallSilently(L"example-game-setup.exe", c.dirArgument);
        // The start after install runs as the user who started the setup, not with the setup's rights.
        const std::vector<std::string> runEntry = ClientRunEntry();
        for (const std::string& line : runEntry)
            std::printf("setup log: %s\n", line.c_str());
        ASSERT_GE(runEntry.size(), 2u) << "no [Run] entry in the setup log";
        EXPECT_NE(runEntry[1].find("Run as: Original user"), std::string::npos) << runEntry[1];
        EXPECT_EQ(TestSupport::ReadFileBytes(game.file(L"tgc_client.exe")),
                  TestSupport::ReadFileBytes(InstallerTests::BuiltClientPath()));
        const auto records = gameCenter.waitForRecords(1);
        ASSERT_EQ(records.size(), 1u);
        EXPECT_EQ(records[0].commandLine, InstallerTests::InstallReceived(gameCenter, c.folder));
        EXPECT_EQ(TestSupport::ArgvOf(records[0].commandLine).at(2), c.folder);

        const auto uninstall = InstallerTests::ExpectUninstallerWaitsForTheGameCenter(
            gameCenter, c.answer, Uninstaller(game), game.path(), game.file(L"example-game.dat"));
        EXPECT_EQ(uninstall.commandLine, InstallerTests::UninstallReceived(gameCenter, c.folder));
        EXPECT_FALSE(FileExists(game.file(L"tgc_client.exe")));
        PrintRecorded(records[0].commandLine, uninstall.commandLine);
    }
}

TEST(Installer, InnoWithoutGameCenterInstallsAndUninstallsSilentlyShowingNothing)
{
    const GameFolder game(kDefaultFolder, std::wstring(kUninstallKeys) + L"ExampleGame_is1");
    const TestSupport::ScopedNoGameCenter none;
    const E2e::StartLog log;
    InstallSilently(L"example-game-setup.exe", L"");
    InstallerRun uninstaller(Uninstaller(game));
    EXPECT_TRUE(uninstaller.finish(InstallerTests::kEndMs)) << "the uninstaller did not end";
    EXPECT_EQ(uninstaller.exitCode(), 0u);
    EXPECT_EQ(uninstaller.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_FALSE(FileExists(game.file(L"example-game.dat")));
    EXPECT_TRUE(log.nothingStarted(0));
}

// D: is a folder of the build, mapped for this test. The installer runs its [Run] install entry, then
// every [Code] operation; the uninstaller the uninstall.
TEST(Installer, InnoEveryOperationFromADriveRootHandsTheGameCenterTheExactFolder)
{
    const std::wstring folder = L"D:\\";
    const GameFolder game(folder, std::wstring(kUninstallKeys) + L"EveryOperation_is1");
    const StandInGameCenter gameCenter;
    const TestSupport::ScopedEnvironmentVariable signal(L"TGC_FIXTURE_SET_EVENT",
                                                        InstallerTests::UninstallEventOf(folder));
    InstallSilently(L"every-operation-setup.exe", L" /DIR=" + folder);
    InstallerRun uninstaller(Uninstaller(game));
    EXPECT_TRUE(uninstaller.finish(InstallerTests::kEndMs)) << "the uninstaller did not end";
    EXPECT_EQ(uninstaller.windowsSeen(), std::vector<std::wstring>{});

    std::vector<std::wstring> expected = {InstallerTests::UninstallReceived(gameCenter, folder)};
    for (const wchar_t* operation :
         {L"--install -g pkg-7", L"--open", L"--update", L"--verify-integrity", L"-ct -t beta", L"--install -g pkg-8"})
        expected.push_back(Quoted(gameCenter.executable()) + L" --target-game-folder " + Quoted(folder) + L" " +
                           operation + L" -d " + Quoted(folder));
    const auto records = gameCenter.waitForRecords(expected.size());
    ASSERT_EQ(records.size(), expected.size());
    // The client waits for the game center only to uninstall: stand-ins started one after the other may
    // write their records in either order.
    std::vector<std::wstring> got;
    for (const auto& record : records) {
        got.push_back(record.commandLine);
        const auto argv = TestSupport::ArgvOf(record.commandLine);
        EXPECT_EQ(argv.at(argv.at(1) == L"--uninstall" ? 3 : 2), folder);
    }
    PrintRecorded(records.front().commandLine, records.back().commandLine);
    std::sort(expected.begin(), expected.end());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, expected);
}

}  // namespace
