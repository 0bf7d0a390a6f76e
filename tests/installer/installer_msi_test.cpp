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

using InstallerTests::FileExists;
using InstallerTests::InstallerRun;
using InstallerTests::Msiexec;

// A package without a platform is 32-bit: its program files folder is the 32-bit one. The kit writes
// it as "C:\Program Files (x86)\Example Game\\".
constexpr wchar_t kGameFolder[] = L"C:\\Program Files (x86)\\Example Game\\";

std::wstring PackageArgument()
{
    return InstallerTests::Quoted(InstallerTests::ExamplePath(L"example-game.msi"));
}

// Removes the game again if a test stops before its own removal.
class InstalledPackage {
public:
    ~InstalledPackage()
    {
        if (FileExists(std::wstring(kGameFolder) + L"tgc_client.exe")) {
            const TestSupport::ScopedNoGameCenter none;
            InstallerRun(Msiexec(L"/x " + PackageArgument() + L" /qn")).finish();
        }
        InstallerTests::RemoveFolderTree(kGameFolder);
    }
};

TEST(Installer, MsiQuietInstallAndRemovalHandTheGameCenterTheExactFolderAndWait)
{
    const E2e::StandInGameCenter gameCenter;
    const InstalledPackage cleanup;
    {
        InstallerRun install(Msiexec(L"/i " + PackageArgument() + L" /qn"));
        ASSERT_TRUE(install.finish(InstallerTests::kEndMs)) << "msiexec /i did not end";
        EXPECT_EQ(install.exitCode(), 0u);
        EXPECT_EQ(install.windowsSeen(), std::vector<std::wstring>{});
    }
    const std::wstring folder = kGameFolder;
    EXPECT_EQ(TestSupport::ReadFileBytes(folder + L"tgc_client.exe"),
              TestSupport::ReadFileBytes(InstallerTests::BuiltClientPath()));
    const auto records = gameCenter.waitForRecords(1);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].commandLine, InstallerTests::InstallReceived(gameCenter, folder));
    EXPECT_EQ(TestSupport::ArgvOf(records[0].commandLine).at(2), folder);

    const auto uninstall = InstallerTests::ExpectUninstallerWaitsForTheGameCenter(
        gameCenter, InstallerTests::GameCenterAnswer::SetsTheEvent, Msiexec(L"/x " + PackageArgument() + L" /qn"),
        folder, folder + L"example-game.dat");
    EXPECT_EQ(uninstall.commandLine, InstallerTests::UninstallReceived(gameCenter, folder));
    EXPECT_EQ(TestSupport::ArgvOf(uninstall.commandLine).at(3), folder);
    EXPECT_FALSE(FileExists(folder + L"tgc_client.exe"));
    std::printf("install recorded:   %s\nuninstall recorded: %s\n",
                TestSupport::WideToUtf8(records[0].commandLine).c_str(),
                TestSupport::WideToUtf8(uninstall.commandLine).c_str());
}

}  // namespace
