// The discovery check against real executables with version resources.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "discovery/game_center_version.h"
#include "discovery/locate_game_center.h"
#include "errors/result_codes.h"
#include "support/game_center_record.h"
#include "support/machine_state.h"
#include "support/test_paths.h"
#include "support/trust_seam.h"

namespace {

using Discovery::Version;
using Discovery::VersionComponents;
using TestSupport::FixtureGameCenterFolder;
using TestSupport::FixtureGameCenterPath;
using TestSupport::ScopedNoGameCenter;
using TestSupport::ScopedPathFile;
using TestSupport::ScopedUninstallEntry;

// An elevated run's check; the fixtures count as installed by a trusted account.
ResultCode DiscoverGameCenter()
{
    return Discovery::DiscoverGameCenter(TestSupport::TestRunRule(true)).result;
}

bool ReadGameCenterVersion(Version& version)
{
    return Discovery::ReadGameCenterVersion(Discovery::LocateGameCenter(TestSupport::TestRunRule(true)), version);
}

class DiscoverGameCenterCheck : public ::testing::Test {
protected:
    ScopedNoGameCenter clean_;
};

TEST_F(DiscoverGameCenterCheck, ComparesTheInstalledFileVersionWithTheClients)
{
    const struct {
        const wchar_t* variant;
        ResultCode result;
    } cases[] = {
        {L"26.0.2.1046", kResultSuccess}, {L"26.0.2.1045", kResultOutdated},  {L"26.0.3.0", kResultSuccess},
        {L"27.0.0.0", kResultSuccess},    {L"0.0.0.1", kResultSuccess},       {L"0.0.0.2", kResultOutdated},
        {L"noversion", kResultOutdated},  {L"product_older", kResultSuccess}, {L"product_newer", kResultOutdated},
    };
    for (const auto& c : cases) {
        {
            ScopedPathFile file(FixtureGameCenterFolder(c.variant));
            EXPECT_EQ(DiscoverGameCenter(), c.result) << "path file: " << TestSupport::WideToUtf8(c.variant);
        }
        {
            ScopedUninstallEntry entry(HKEY_LOCAL_MACHINE, FixtureGameCenterPath(c.variant) + L",0");
            EXPECT_EQ(DiscoverGameCenter(), c.result) << "registry: " << TestSupport::WideToUtf8(c.variant);
        }
    }
}

TEST_F(DiscoverGameCenterCheck, NothingUsableIsNotInstalled)
{
    EXPECT_EQ(DiscoverGameCenter(), kResultNotInstalled) << "nothing installed";
    {
        // The path file wins, names a folder without tgc.exe, and the good registry entry is not used.
        ScopedUninstallEntry entry(HKEY_LOCAL_MACHINE, FixtureGameCenterPath(L"26.0.2.1046"));
        ScopedPathFile file(TestSupport::BuildDir());
        EXPECT_EQ(DiscoverGameCenter(), kResultNotInstalled) << "folder without the executable";
    }
    {
        // tgc.exe is a folder there.
        const std::wstring folder = TestSupport::ScratchDir() + L"\\exe_is_folder";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"\\tgc.exe").c_str(), nullptr);
        {
            ScopedPathFile file(folder);
            EXPECT_EQ(DiscoverGameCenter(), kResultNotInstalled) << "executable name is a folder";
        }
        RemoveDirectoryW((folder + L"\\tgc.exe").c_str());
        RemoveDirectoryW(folder.c_str());
    }
}

TEST_F(DiscoverGameCenterCheck, ReadGameCenterVersionParsesTheFileVersion)
{
    Version version;
    version.mainComponents = {9, 9};
    EXPECT_FALSE(ReadGameCenterVersion(version)) << "nothing installed";
    EXPECT_EQ(version.mainComponents, (VersionComponents{9, 9})) << "untouched when there is no file";

    {
        ScopedPathFile file(FixtureGameCenterFolder(L"26.0.3.0"));
        EXPECT_TRUE(ReadGameCenterVersion(version));
        EXPECT_EQ(version.mainComponents, (VersionComponents{26, 0, 3, 0}));
        EXPECT_TRUE(version.revisionComponents.empty());
    }
    {
        ScopedPathFile file(FixtureGameCenterFolder(L"noversion"));
        EXPECT_TRUE(ReadGameCenterVersion(version));
        EXPECT_EQ(version.mainComponents, (VersionComponents{0, 0, 0, 0}));
    }
}

}  // namespace
