// The example MSI, built with wixl and the kit's include, installed and removed with msiexec /qn under
// Wine against the stand-in game center: the folder with the trailing backslash Windows Installer
// gives it reaches the game center exactly, and the removal waits for the game center.
#include <gtest/gtest.h>

#include <windows.h>

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
using InstallerTests::InstallerRun;
using InstallerTests::Now;

// A package without a platform is 32-bit: its program files folder is the 32-bit one.
constexpr wchar_t kGameFolder[] = L"C:\\Program Files (x86)\\Example Game\\";
constexpr wchar_t kFolderAsWritten[] = L"\"C:\\Program Files (x86)\\Example Game\\\\\"";
constexpr DWORD kHoldMs = 1500;
constexpr DWORD kEndMs = 30000;

std::wstring PackageArgument()
{
    return L"\"" + InstallerTests::ExamplePath(L"example-game.msi") + L"\"";
}

// Removes the game again if a test stops before its own removal.
class InstalledPackage {
public:
    ~InstalledPackage()
    {
        if (FileExists(std::wstring(kGameFolder) + L"tgc_client.exe")) {
            const TestSupport::ScopedNoGameCenter none;
            InstallerTests::RunMsiexec(L"/x " + PackageArgument() + L" /qn").finish();
        }
        InstallerTests::RemoveFolderTree(kGameFolder);
    }
};

TEST(Installer, MsiQuietInstallAndRemovalHandTheGameCenterTheExactFolderAndWait)
{
    const StandInGameCenter gameCenter;
    const InstalledPackage cleanup;
    {
        InstallerRun install = InstallerTests::RunMsiexec(L"/i " + PackageArgument() + L" /qn");
        ASSERT_TRUE(install.finish(kEndMs)) << "msiexec /i did not end";
        EXPECT_EQ(install.exitCode(), 0u);
        EXPECT_EQ(install.windowsSeen(), std::vector<std::wstring>{});
    }
    const std::wstring folder = kGameFolder;
    EXPECT_EQ(TestSupport::ReadFileBytes(folder + L"tgc_client.exe"),
              TestSupport::ReadFileBytes(InstallerTests::BuiltClientPath()));
    auto records = gameCenter.waitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    const std::wstring gameCenterPath = L"\"" + gameCenter.executable() + L"\"";
    EXPECT_EQ(records[0].commandLine, gameCenterPath + L" --target-game-folder " + kFolderAsWritten +
                                          L" --install -g example-game -d " + kFolderAsWritten);
    EXPECT_EQ(TestSupport::ArgvOf(records[0].commandLine).at(2), folder);

    const TestSupport::ScopedEnvironmentVariable linger(L"TGC_FIXTURE_WAIT_MS", L"30000");
    InstallerRun removal = InstallerTests::RunMsiexec(L"/x " + PackageArgument() + L" /qn");
    records = gameCenter.waitForRecords(2, kEndMs);
    ASSERT_EQ(records.size(), 2u);
    const ULONGLONG started = Now();
    EXPECT_EQ(records[1].commandLine, gameCenterPath + L" --uninstall -d " + kFolderAsWritten +
                                          L" --pa --target-game-folder " + kFolderAsWritten);
    EXPECT_EQ(TestSupport::ArgvOf(records[1].commandLine).at(3), folder);
    EXPECT_TRUE(removal.stillRunningAfter(kHoldMs));
    EXPECT_TRUE(FileExists(folder + L"example-game.dat")) << "removed before the game center was done";
    const ULONGLONG signalled = Now();
    EXPECT_TRUE(InstallerTests::SetUninstallEvent(folder));
    EXPECT_TRUE(removal.finish(kEndMs)) << "msiexec /x did not end after the event";
    EXPECT_EQ(removal.exitCode(), 0u);
    EXPECT_EQ(removal.windowsSeen(), std::vector<std::wstring>{});
    EXPECT_FALSE(FileExists(folder + L"example-game.dat"));
    EXPECT_FALSE(FileExists(folder + L"tgc_client.exe"));
    TestSupport::TerminateProcessById(records[1].processId);
    std::printf("install recorded:   %s\nuninstall recorded: %s\n",
                TestSupport::WideToUtf8(records[0].commandLine).c_str(),
                TestSupport::WideToUtf8(records[1].commandLine).c_str());
    std::printf(
        "game center started at %llu ms; removal still waiting, files in place, at %llu ms; event set then; "
        "removal ended at %llu ms\n",
        started, signalled, removal.endedAt());
}

}  // namespace
